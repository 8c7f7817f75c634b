#pragma once
// A Prompter for tests and headless runs: records every text shown and returns queued answers
// (or the defaults: Ok/Yes for messages, 3 for three-button prompts, nothing for text and files).
#include <deque>
#include <string>
#include <vector>

#include "data/Prompter.h"

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string kind;  // "message", "three", "text", "open", "save"
        std::string text;
        std::string caption;
    };

    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    int ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                     const std::string& b2, const std::string& b3) override;
    std::optional<std::string> TextInput(const std::string& prompt, const std::string& initial) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;

    std::deque<PromptResult> messageAnswers;
    std::deque<int> threeButtonAnswers;
    std::deque<std::optional<std::string>> textAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<Shown> shown;
};

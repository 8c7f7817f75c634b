#pragma once
// The prompter of a headless sweep: every message the engine shows is printed on stderr (line ends
// as the terminal wants them) and answered with the default; the last one is kept for the summary.

#include <functional>

#include "data/ScriptedPrompter.h"

class StderrPrompter final : public ScriptedPrompter {
public:
    // Called before a message is printed, so that a progress line can be ended first.
    std::function<void()> beforeMessage;

    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
};

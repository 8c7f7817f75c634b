#pragma once
// The tour's user at the prompts: every question and message is logged and answered from the
// queues a step fills, else as a careful user would (OK, Yes, No to "Save changes", a file
// in the output folder for every Save). It also plays the operator at the fixture: the RLC
// panel's "open the circuit", "close the circuit" and "insert the component" requests
// reconfigure the simulated fixture before they are answered.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/Prompter.h"

class TourRecorder;

class TourPrompter : public Prompter {
public:
    TourPrompter(TourRecorder& recorder, std::function<int(const std::string&)> configureSimulator);

    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    int ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                     const std::string& b2, const std::string& b3) override;
    std::optional<std::string> TextInput(const std::string& prompt, const std::string& initial) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;

    // True when a shown text (message, question or prompt) contains `part` since index `from`.
    bool Saw(const std::string& part, size_t from = 0) const;
    size_t Count() const { return m_shown.size(); }

    std::deque<PromptResult> messageAnswers;
    std::deque<int> threeButtonAnswers;
    std::deque<std::string> textAnswers;
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;

private:
    TourRecorder& m_recorder;
    std::function<int(const std::string&)> m_configure;
    std::vector<std::string> m_shown;
};

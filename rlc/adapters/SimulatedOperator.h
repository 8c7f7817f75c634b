#pragma once
// The user at the test fixture of a simulated analyzer, as a Prompter: asked to open, short or
// fill the fixture, it switches the simulator's fixture before answering; it continues and
// keeps each calibration sweep, names the measurement and answers the file choosers with the
// calibration file. For headless measurements and their tests.
#include <functional>
#include <string>

#include "data/ScriptedPrompter.h"

class SimulatedOperator final : public ScriptedPrompter {
public:
    // configure: the simulator's talsim_configure.
    SimulatedOperator(int (*configure)(const char*), std::string measurementName, std::string calibrationFile = "");

    // Every text shown, with its caption ("" for none), as it is shown.
    std::function<void(const std::string& caption, const std::string& text)> show;

    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    int ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                     const std::string& b2, const std::string& b3) override;
    std::optional<std::string> TextInput(const std::string& prompt, const std::string& initial) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;

    // An error message ("Error" caption) was shown.
    bool ErrorShown() const { return m_errorShown; }

private:
    void Show(const std::string& caption, const std::string& text) const;

    int (*m_configure)(const char*);
    std::string m_name;
    std::string m_calibrationFile;
    bool m_errorShown = false;
};

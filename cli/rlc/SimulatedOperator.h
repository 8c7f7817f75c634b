#pragma once
// The user at the test fixture of a headless RLC measurement: every message is printed on
// stderr; asked to open, short or fill the fixture, it switches the simulated analyzer's fixture
// before answering; it continues and keeps each calibration sweep, names the measurement and
// answers the file choosers with the calibration file.
#include <string>

#include "data/ScriptedPrompter.h"

class SimulatedOperator final : public ScriptedPrompter {
public:
    // configure: the simulator's talsim_configure.
    SimulatedOperator(int (*configure)(const char*), std::string measurementName, std::string calibrationFile);

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
    int (*m_configure)(const char*);
    std::string m_name;
    std::string m_calibrationFile;
    bool m_errorShown = false;
};

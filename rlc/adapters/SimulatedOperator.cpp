#include "rlc/adapters/SimulatedOperator.h"

SimulatedOperator::SimulatedOperator(int (*configure)(const char*), std::string measurementName,
                                     std::string calibrationFile)
    : m_configure(configure), m_name(std::move(measurementName)), m_calibrationFile(std::move(calibrationFile))
{
}

void SimulatedOperator::Show(const std::string& caption, const std::string& text) const
{
    if (show)
        show(caption, text);
}

PromptResult SimulatedOperator::Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                                        PromptIcon icon)
{
    Show(caption, text);
    if (caption == "Error")
        m_errorShown = true;
    if (text == "Please open the circuit, then press 'OK'")
        m_configure("fixture=open");
    else if (text == "Please close the circuit, then press 'OK'")
        m_configure("fixture=short");
    else if (text == "Please insert the component to measure, then press 'OK'")
        m_configure("fixture=dut");
    return ScriptedPrompter::Message(text, caption, buttons, icon);
}

int SimulatedOperator::ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                                    const std::string& b2, const std::string& b3)
{
    Show(caption, text + " -> " + b1);
    ScriptedPrompter::ThreeButtons(text, caption, b1, b2, b3);
    return 1;  // Continue, Keep it
}

std::optional<std::string> SimulatedOperator::TextInput(const std::string& prompt, const std::string& initial)
{
    Show("", prompt + " -> " + m_name);
    ScriptedPrompter::TextInput(prompt, initial);
    return m_name;
}

std::optional<std::string> SimulatedOperator::OpenFileName(const FileRequest& request)
{
    ScriptedPrompter::OpenFileName(request);
    return m_calibrationFile;
}

std::optional<std::string> SimulatedOperator::SaveFileName(const FileRequest& request)
{
    ScriptedPrompter::SaveFileName(request);
    return m_calibrationFile;
}

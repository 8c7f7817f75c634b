#include "app/core/ApplicationLifecycle.h"

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "app/core/MessageReporter.h"
#include "app/prefs/PreferencesFile.h"
#include "app/prefs/PreferencesText.h"
#include "app/settings/SettingsStore.h"

bool SelectAnalyzerTypeFromCommandLine(const std::vector<std::string>& arguments,
                                       ApplicationValues& values, MessageReporter& reporter)
{
    const AnalyzerTypeChoice choice = ChooseAnalyzerType(arguments);
    if (!choice.valid) {
        reporter.ShowMessage(InvalidAnalyzerTypeMessage());
        return false;
    }
    values.SelectAnalyzerType(choice.id);
    return true;
}

void LoadSettingsAtStartUp(ApplicationValues& values, const SettingsStore& store,
                           const PreferencesLocation& location, MessageReporter& reporter,
                           const VoltageLimitHooks& hooks)
{
    if (const std::string damage = store.DamageMessage(); !damage.empty())
        reporter.ShowMessage(damage);
    const std::string path = PreferencesPathForReading(location, values.analyzerType);
    if (ReadPreferencesFile(path, values, reporter) &&
        (values.analyzerType == kAnalyzer2600 || values.analyzerType == kAnalyzer1370)) {
        const std::string& block = values.Block(PreferenceBlock::Family2600);
        const bool input = block.find("Input Impedance=50") != std::string::npos;
        const bool output = block.find("Output Impedance=2") != std::string::npos;
        values.inputLimitActive = input;
        if (hooks.setInput15Vmax)
            hooks.setInput15Vmax(input, false);
        values.outputLimitActive = output;
        if (hooks.setOutput5Vmax)
            hooks.setOutput5Vmax(output, false);
    }
    values.ReadStartUpSettings(store);
    RefreshParameterText(values);
}

void SaveSettingsAtProgramEnd(const ApplicationValues& values, SettingsStore& store,
                              const PreferencesLocation& location, MessageReporter& reporter)
{
    if (values.analyzerType == kAnalyzer2600) {
        const std::string reminder =
            VoltageLimitReminder(values.inputLimitActive, values.outputLimitActive);
        if (!reminder.empty())
            reporter.ShowMessage(reminder);
    }
    if (!values.settingsLoaded || !FindAnalyzerType(values.analyzerType))
        return;
    values.WriteProgramEndSettings(store);
    WritePreferencesFile(PreferencesPathForWriting(location, values.analyzerType), values,
                         reporter);
}

std::string VoltageLimitReminder(bool inputActive, bool outputActive)
{
    if (!inputActive && !outputActive)
        return {};
    std::string text = "Please power off the analyzer to restore higher voltage limits.";
    if (inputActive)
        text += "\r\nInput is vulnerable to damage above 15 Vpk until powered off.";
    if (outputActive)
        text += "\r\nOutput is vulnerable to damage above 5 Vpk until powered off.";
    return text;
}

void RefreshParameterText(ApplicationValues& values)
{
    values.shared.parameterText = FormatPreferences(values);
}

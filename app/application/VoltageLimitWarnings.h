#pragma once
// The reduced voltage limits of the 2600 series: with the 50-ohm input impedance the inputs
// withstand 15 Vpk, with the 2-ohm output impedance the output 5 Vpk. For id 10 the states show
// in red in the status-bar panes 299 and 300 and a warning dialog opens unless the user has
// silenced it; for other ids the states are only recorded. The "show" switches are written to
// "ShowVmax" at once when they change.
#include <functional>
#include <string>

class ApplicationValues;
class QWidget;
class SettingsStore;

class VoltageLimitWarnings {
public:
    struct Hooks {
        std::function<void(int paneId, const std::string& text)> setPaneText;
        std::function<QWidget*()> owner;  // of the warning dialogs
    };

    VoltageLimitWarnings(ApplicationValues& values, SettingsStore& store, Hooks hooks);

    void SetInput15Vmax(bool active, bool quiet);
    void SetOutput5Vmax(bool active, bool quiet);

    // Panes 299 and 300 double-clicked: the warning, while the limit is active.
    void OnInputPane();
    void OnOutputPane();
    // Menu commands 32861 and 32862: toggle the "show" switch.
    void ToggleShowInputWarning();
    void ToggleShowOutputWarning();
    // The menu commands are enabled for id 10 only.
    bool CommandsEnabled() const;

private:
    bool ForThisType() const;
    void ShowInputWarning();
    void ShowOutputWarning();

    ApplicationValues& m_values;
    SettingsStore& m_store;
    Hooks m_hooks;
};

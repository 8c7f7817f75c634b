#pragma once
// The settings part of the application's start-up and program end, in the order the program
// performs them. The window layer calls these from its own start-up and shut-down.
#include <functional>
#include <string>
#include <vector>

class ApplicationValues;
class MessageReporter;
class SettingsStore;
struct PreferencesLocation;

// The reduced-voltage-limit switches of the 2600 series (active, quiet). Unset hooks only
// record the state in the values.
struct VoltageLimitHooks {
    std::function<void(bool active, bool quiet)> setInput15Vmax;
    std::function<void(bool active, bool quiet)> setOutput5Vmax;
};

// Chooses the analyzer type from the command line and sets the channel count. Shows the
// invalid-type message and returns false when the type named is unknown (start-up ends).
bool SelectAnalyzerTypeFromCommandLine(const std::vector<std::string>& arguments,
                                       ApplicationValues& values, MessageReporter& reporter);

// Reports a settings store that was set aside as damaged, reads the preferences file (the 2600
// block sets the voltage limits for ids 10 and 11), then the settings store values, and
// refreshes the preferences text stored in documents.
void LoadSettingsAtStartUp(ApplicationValues& values, const SettingsStore& store,
                           const PreferencesLocation& location, MessageReporter& reporter,
                           const VoltageLimitHooks& hooks = {});

// Shows the voltage-limit reminder (id 10), writes the per-type settings and the preferences
// file. Writes nothing when the start-up reads never ran, so that a failed start keeps what
// is stored.
void SaveSettingsAtProgramEnd(const ApplicationValues& values, SettingsStore& store,
                              const PreferencesLocation& location, MessageReporter& reporter);

// The program-end reminder for active reduced limits; empty when neither is active.
std::string VoltageLimitReminder(bool inputActive, bool outputActive);

// Rebuilds the preferences text that documents store; call before a document is saved.
void RefreshParameterText(ApplicationValues& values);

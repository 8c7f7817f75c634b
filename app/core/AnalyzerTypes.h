#pragma once
// The analyzer type table: the analyzer types one run of the program can serve, each with its
// type code, per-type settings section, model code and control dialog family, and the choice
// of the type from the command line ("/t:<type>" or "-t:<type>").
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

enum class AnalyzerFamily { NF5060, A1960, S1800, A2600 };

struct AnalyzerTypeInfo {
    int id;
    const char* code;             // "RLC2600"; names the preferences file and the title
    const char* settingsSection;  // "Settings2600"
    int fixedModelCode;           // 0 when the model code comes from the store
    bool gpibOnly;                // no USB interface (interface index 4)
    AnalyzerFamily family;
    int channelCount;             // channel count set at start-up (0: learnt from the analyzer)
};

constexpr int kNoAnalyzerType = -1;
constexpr int kAnalyzer2600 = 10;
constexpr int kAnalyzer1370 = 11;
constexpr int kDefaultAnalyzerType = kAnalyzer2600;  // when the command line names none
constexpr int kDefaultModelCode = 0x3231;
constexpr int kUsbInterfaceIndex = 4;

// The selectable types in id order (ids 1 to 5 are reserved and absent).
std::span<const AnalyzerTypeInfo> AnalyzerTypeTable();
// The entry of a selectable id, or nullptr.
const AnalyzerTypeInfo* FindAnalyzerType(int id);
// The id of a type code ("RLC0880" is taken as "RLC880"), compared case-sensitively.
std::optional<int> AnalyzerTypeFromCode(std::string_view code);

// Main window title: "Talvern Systems <code>", or "Talvern RLC Stability Analysis" for id 10.
std::string MainWindowTitle(int id);
// Preferences file name "Talpref<code>.txt"; ids 0 to 2 use "RLC880". Empty for other ids
// without a type code.
std::string PreferencesFileName(int id);

// The message shown for a "/t:" code outside the list.
std::string InvalidAnalyzerTypeMessage();

struct AnalyzerTypeChoice {
    bool valid;  // false: the command line names an unknown code
    int id;      // the chosen id when valid
};
// Chooses the type from the command-line arguments (program name excluded). The last
// "/t:" or "-t:" parameter counts; with none the default type applies.
AnalyzerTypeChoice ChooseAnalyzerType(const std::vector<std::string>& arguments);

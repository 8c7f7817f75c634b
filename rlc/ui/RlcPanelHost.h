#pragma once
// What the RLC control panel needs of the program beyond its windows: the program-wide values it
// reads and sets, and the settings section it keeps its values in. The application hands over
// both (app/core/RlcPanelBinding), so the panel includes nothing of app/.
#include <climits>
#include <string>
#include <string_view>

struct ApplicationData;

// The program-wide values the panel reads and sets, as references into the application's.
struct RlcProgramValues {
    const int& analyzerType;
    const int& optionBits;      // 2: the 2600 series' high-voltage input option
    double& referenceResistor;  // ohm
    double& frequencyMinimum;   // the analyzer frequency limits the panel sets, Hz
    double& frequencyMaximum;
    ApplicationData& shared;    // channel count, input range, default nodes
};

// The "RLC Settings" section of the program's settings store. Reads are checked: a missing
// value, one of the wrong type, an integer outside [min, max] or an overlong text reads as the
// fallback.
class RlcSettingsSection {
public:
    virtual ~RlcSettingsSection() = default;
    virtual int GetInt(std::string_view name, int fallback, int min = INT_MIN, int max = INT_MAX) const = 0;
    virtual std::string GetString(std::string_view name, std::string_view fallback) const = 0;
    virtual void WriteInt(std::string_view name, int value) = 0;
    virtual void WriteString(std::string_view name, std::string_view value) = 0;
};

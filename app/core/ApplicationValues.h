#pragma once
// The program-wide values the application object owns, with their defaults, and their
// persistence in the settings store: read at construction and start-up, written at program
// end. Values the data layer also reads (data-set defaults, voltage format, math scale factor,
// channel count, the 880 and synthesis blocks) live in the shared ApplicationData, so there is
// one copy of each; the rest live here. Other parts read and write the members directly.
#include <array>
#include <string>

#include "app/core/AnalyzerTypes.h"
#include "data/ApplicationData.h"

class SettingsStore;

// The ten preference blocks, in the order of the preferences file.
enum class PreferenceBlock {
    Family880, Family2688, Family2600, Series1800, Family1960,
    Family945, Family915, Family965, Family6088, Synthesis,
};
inline constexpr int kPreferenceBlockCount = 10;

// The block an analyzer family's control dialog reads and replaces.
PreferenceBlock FamilyPreferenceBlock(AnalyzerFamily family);

struct PageSetup {
    int marginLeft = 1000;
    int marginTop = 1000;
    int marginRight = 1000;
    int marginBottom = 1000;
    int minMarginLeft = 40;
    int minMarginTop = 250;
    int minMarginRight = 586;
    int minMarginBottom = 250;
    int orientation = 2;  // 1 portrait, 2 landscape
};

// Ranges a stored value must lie in to be taken; anything else reads as the default.
inline constexpr int kMaxInterfaceIndex = 4;  // 0-3 "GPIB0".."GPIB3", 4 "USB"
inline constexpr int kMaxPlotType = 3;        // 0 Gain, 1 Imp, 2 Text, 3 Nyq

// The GPIB addresses an analyzer type takes, in the Settings dialog and read back at start-up:
// 1 to 30 for the 2600-series types (10, 11), 0 to 31 for the others.
struct GpibAddressRange {
    int minimum;
    int maximum;
};
GpibAddressRange GpibAddressesOf(int analyzerType);

class ApplicationValues {
public:
    // Puts every value, the shared ones included, at its default.
    explicit ApplicationValues(ApplicationData& shared = appData());
    ApplicationValues(const ApplicationValues&) = delete;
    ApplicationValues& operator=(const ApplicationValues&) = delete;

    ApplicationData& shared;

    int analyzerType = -1;  // fixed once chosen at start-up
    int interfaceIndex = 0;
    int gpibAddressApplication = 8;
    int gpibAddressAnalyzer = 8;
    int modelCode = 0x3231;
    int serialNumber = 0;
    int optionBits = 0;
    double frequencyMinimum = 0.0;
    double frequencyMaximum = 0.0;
    double referenceResistor = 100.0;
    PageSetup page;
    int portAddress965 = 0x300;
    int defaultPlotType = 1;
    bool automaticDefaultType = true;
    bool maximized = true;
    bool inputLimitActive = false;
    bool outputLimitActive = false;
    bool showInputWarning = true;
    bool showOutputWarning = true;
    std::string helpFilePath;

    // True once the start-up reads have run; program end writes nothing before that.
    bool settingsLoaded = false;

    std::string& Block(PreferenceBlock block);
    const std::string& Block(PreferenceBlock block) const;

    bool IsGpibOnly() const;  // derived from the analyzer type

    // Fixes the analyzer type and sets the channel count from it.
    void SelectAnalyzerType(int id);
    // Construction: the two "ShowVmax" switches.
    void ReadConstructionSettings(const SettingsStore& store);
    // Start-up, after the preferences file: the "Settings" values, the per-type section over
    // them, the math scale factor, the type's fixed model and interface rules, the File New
    // defaults and "Maximized".
    void ReadStartUpSettings(const SettingsStore& store);
    // Program end: the five hardware values and the math scale factor to the per-type section.
    void WriteProgramEndSettings(SettingsStore& store) const;

    // The warning switches, written at once when they change.
    void SetShowInputWarning(bool show, SettingsStore& store);
    void SetShowOutputWarning(bool show, SettingsStore& store);

private:
    std::array<std::string, kPreferenceBlockCount> m_blocks;  // 880 and synthesis live in shared
};

// A decimal number as the settings texts hold it ("1.0", "100"): the value of its leading
// number, or `fallback` when it has none or it is not finite.
double ParseSettingsNumber(const std::string& text, double fallback);

#include "app/core/ApplicationValues.h"

#include <cmath>

#include "app/core/AnalyzerTypes.h"
#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"
#include "data/CLocaleNumbers.h"

namespace names = settings_names;

ApplicationValues::ApplicationValues(ApplicationData& sharedData) : shared(sharedData)
{
    shared.defaultInputNode = 1;
    shared.defaultOutputNode = 2;
    shared.defaultScaleFactor = 1.0;
    shared.defaultGainColor = 255;
    shared.defaultPhaseColor = 16711680;
    shared.defaultNodeColor[0] = 255;
    shared.defaultNodeColor[1] = 16711935;
    shared.defaultNodeColor[2] = 16711680;
    shared.defaultNodeColor[3] = 33023;
    shared.inputRange = 0;
    shared.channelPair = 0;
    shared.mathScaleFactor = 1.0;
    shared.voltageFormat = true;
    shared.parameterText.clear();
    shared.preferenceBlock880.clear();
    shared.preferenceBlockSynthesis.clear();
}

std::string& ApplicationValues::Block(PreferenceBlock block)
{
    switch (block) {
    case PreferenceBlock::Family880:
        return shared.preferenceBlock880;
    case PreferenceBlock::Synthesis:
        return shared.preferenceBlockSynthesis;
    default:
        return m_blocks[static_cast<size_t>(block)];
    }
}

const std::string& ApplicationValues::Block(PreferenceBlock block) const
{
    return const_cast<ApplicationValues*>(this)->Block(block);
}

bool ApplicationValues::IsGpibOnly() const
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(analyzerType);
    return !type || type->gpibOnly;
}

void ApplicationValues::SelectAnalyzerType(int id)
{
    analyzerType = id;
    if (const AnalyzerTypeInfo* type = FindAnalyzerType(id))
        shared.channelCount = type->channelCount;
}

GpibAddressRange GpibAddressesOf(int analyzerType)
{
    if (analyzerType == kAnalyzer2600 || analyzerType == kAnalyzer1370)
        return {1, 30};
    return {0, 31};
}

void ApplicationValues::ReadConstructionSettings(const SettingsStore& store)
{
    showInputWarning = store.GetInt(names::kShowVmax, names::kInput15Vmax, 1) != 0;
    showOutputWarning = store.GetInt(names::kShowVmax, names::kOutput5Vmax, 1) != 0;
}

void ApplicationValues::ReadStartUpSettings(const SettingsStore& store)
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(analyzerType);
    if (!type)
        return;

    // "Settings" holds only the defaults of the per-type section.
    const char* common = names::kSettings;
    const GpibAddressRange addresses = GpibAddressesOf(analyzerType);
    interfaceIndex = store.GetInt(common, names::kGpibInterface, 0, 0, kMaxInterfaceIndex);
    gpibAddressApplication = store.GetInt(common, names::kGpibAddressApplication, 8, addresses.minimum,
                                          addresses.maximum);
    gpibAddressAnalyzer =
        store.GetInt(common, names::kGpibAddressAnalyzer, 8, addresses.minimum, addresses.maximum);
    serialNumber = store.GetInt(common, names::kSerialNumber, 0);
    modelCode = store.GetInt(common, names::kModelNumber,
                             analyzerType == kAnalyzer1370 ? 0x1370 : kDefaultModelCode, 0);

    const char* section = type->settingsSection;
    interfaceIndex =
        store.GetInt(section, names::kGpibInterface, interfaceIndex, 0, kMaxInterfaceIndex);
    gpibAddressApplication = store.GetInt(section, names::kGpibAddressApplication,
                                          gpibAddressApplication, addresses.minimum, addresses.maximum);
    gpibAddressAnalyzer = store.GetInt(section, names::kGpibAddressAnalyzer, gpibAddressAnalyzer,
                                       addresses.minimum, addresses.maximum);
    serialNumber = store.GetInt(section, names::kSerialNumber, serialNumber);
    modelCode = store.GetInt(section, names::kModelNumber, modelCode, 0);
    shared.mathScaleFactor =
        ParseSettingsNumber(store.GetString(section, names::kMathScaleFactor, "1.0"), 1.0);

    if (type->fixedModelCode != 0)
        modelCode = type->fixedModelCode;
    if (type->gpibOnly && interfaceIndex > 3)
        interfaceIndex = 0;

    defaultPlotType = store.GetInt(names::kRlcSettings, names::kDefaultPlotType, 1, 0, kMaxPlotType);
    automaticDefaultType = store.GetInt(names::kRlcSettings, names::kAutomaticDefaultType, 1) != 0;
    maximized = store.GetInt(names::kSettings, names::kMaximized, 1) != 0;
    settingsLoaded = true;
}

void ApplicationValues::WriteProgramEndSettings(SettingsStore& store) const
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(analyzerType);
    if (!type || !settingsLoaded)
        return;
    const char* section = type->settingsSection;
    store.WriteInt(section, names::kGpibInterface, interfaceIndex);
    store.WriteInt(section, names::kGpibAddressApplication, gpibAddressApplication);
    store.WriteInt(section, names::kGpibAddressAnalyzer, gpibAddressAnalyzer);
    store.WriteInt(section, names::kSerialNumber, serialNumber);
    store.WriteInt(section, names::kModelNumber, modelCode);
    store.WriteString(section, names::kMathScaleFactor, FormatC("%g", shared.mathScaleFactor));
}

void ApplicationValues::SetShowInputWarning(bool show, SettingsStore& store)
{
    showInputWarning = show;
    store.WriteInt(names::kShowVmax, names::kInput15Vmax, show ? 1 : 0);
}

void ApplicationValues::SetShowOutputWarning(bool show, SettingsStore& store)
{
    showOutputWarning = show;
    store.WriteInt(names::kShowVmax, names::kOutput5Vmax, show ? 1 : 0);
}

PreferenceBlock FamilyPreferenceBlock(AnalyzerFamily family)
{
    switch (family) {
    case AnalyzerFamily::NF5060:
        return PreferenceBlock::Family880;
    case AnalyzerFamily::A1960:
        return PreferenceBlock::Family1960;
    case AnalyzerFamily::S1800:
        return PreferenceBlock::Series1800;
    case AnalyzerFamily::A2600:
        break;
    }
    return PreferenceBlock::Family2600;
}

double ParseSettingsNumber(const std::string& text, double fallback)
{
    char* end = nullptr;
    const double value = StrtodC(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value))
        return fallback;
    return value;
}

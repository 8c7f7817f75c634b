#include "rlc/ui/PanelSettings.h"

#include <string>

#include "app/core/ApplicationValues.h"
#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"
#include "data/CLocaleNumbers.h"

namespace {

constexpr const char* kSection = settings_names::kRlcSettings;

constexpr const char* kSinglePoint = "RLC Freq Single Point";
constexpr const char* kStartFrequency = "RLC Start Freq";
constexpr const char* kStopFrequency = "RLC Stop Freq";
constexpr const char* kIntegrationTime = "RLC Integration Time";
constexpr const char* kAcVoltage = "AC Voltage";
constexpr const char* kDcVoltage = "DC Voltage";
constexpr const char* kInputCoupling = "RLC Input Coupling";
constexpr const char* kLimitPhaseChange = "Limit max phase change between data points";
constexpr const char* kMaxPhaseChange = "Max phase change between data points";

constexpr const char* kTextOutput = "RLC Report Text Output";
constexpr const char* kIncludeVoltage = "RLC Report Include Voltage";
constexpr const char* kCalibrationSubreport = "RLC Report Calibration Subreport";
constexpr const char* kPlotModelCircuit = "RLC Report Plot Model Circuit";

constexpr const char* kPanelLeft = "RLC Control Panel Left";
constexpr const char* kPanelTop = "RLC Control Panel Top";

constexpr int kMinimumCoordinate = 50;

double ReadNumber(const SettingsStore& store, const char* name, const char* fallbackText, double fallback)
{
    return ParseSettingsNumber(store.GetString(kSection, name, fallbackText), fallback);
}

void WriteNumber(SettingsStore& store, const char* name, double value)
{
    store.WriteString(kSection, name, FormatC("%f", value));
}

bool ReadCheck(const SettingsStore& store, const char* name, bool fallback)
{
    return store.GetInt(kSection, name, fallback ? 1 : 0) != 0;
}

int Place(int stored, int room)
{
    if (stored < kMinimumCoordinate || room < kMinimumCoordinate)
        return kMinimumCoordinate;
    return stored < room ? stored : room;
}

}  // namespace

MeasurementPageSettings ReadMeasurementPageSettings(const SettingsStore& store)
{
    MeasurementPageSettings s;
    s.singlePoint = ReadCheck(store, kSinglePoint, false);
    s.startFrequency = ReadNumber(store, kStartFrequency, "1.0", 1.0);
    if (s.startFrequency == 0)
        s.startFrequency = 1.0;
    s.stopFrequency = ReadNumber(store, kStopFrequency, "1000.0", 1000.0);
    if (s.stopFrequency == 0)
        s.stopFrequency = 1000.0;
    s.integrationTime = store.GetInt(kSection, kIntegrationTime, 1, 0, 3);
    s.acVoltage = ReadNumber(store, kAcVoltage, "1.0", 1.0);
    s.dcVoltage = ReadNumber(store, kDcVoltage, "0.0", 0.0);
    s.inputCoupling = store.GetInt(kSection, kInputCoupling, 1, 0, 1);
    s.limitPhaseChange = ReadCheck(store, kLimitPhaseChange, false);
    s.maxPhaseChange = ReadNumber(store, kMaxPhaseChange, "20.0", 20.0);
    return s;
}

void WriteMeasurementPageSettings(SettingsStore& store, const MeasurementPageSettings& s)
{
    store.WriteInt(kSection, kSinglePoint, s.singlePoint ? 1 : 0);
    WriteNumber(store, kStartFrequency, s.startFrequency);
    WriteNumber(store, kStopFrequency, s.stopFrequency);
    store.WriteInt(kSection, kIntegrationTime, s.integrationTime);
    WriteNumber(store, kAcVoltage, s.acVoltage);
    WriteNumber(store, kDcVoltage, s.dcVoltage);
    store.WriteInt(kSection, kInputCoupling, s.inputCoupling);
    store.WriteInt(kSection, kLimitPhaseChange, s.limitPhaseChange ? 1 : 0);
    WriteNumber(store, kMaxPhaseChange, s.maxPhaseChange);
}

ReportOptions ReadReportPageSettings(const SettingsStore& store)
{
    ReportOptions o;
    o.textOutput = ReadCheck(store, kTextOutput, true);
    o.includeVoltage = ReadCheck(store, kIncludeVoltage, false);
    o.includeCalibration = ReadCheck(store, kCalibrationSubreport, true);
    o.displayCircuit = ReadCheck(store, kPlotModelCircuit, true);
    return o;
}

void WriteReportPageSettings(SettingsStore& store, const ReportOptions& o)
{
    store.WriteInt(kSection, kTextOutput, o.textOutput ? 1 : 0);
    store.WriteInt(kSection, kIncludeVoltage, o.includeVoltage ? 1 : 0);
    store.WriteInt(kSection, kCalibrationSubreport, o.includeCalibration ? 1 : 0);
    store.WriteInt(kSection, kPlotModelCircuit, o.displayCircuit ? 1 : 0);
}

PanelPosition ReadPanelPosition(const SettingsStore& store)
{
    return {store.GetInt(kSection, kPanelLeft, 30), store.GetInt(kSection, kPanelTop, 40)};
}

void WritePanelPosition(SettingsStore& store, const PanelPosition& position)
{
    store.WriteInt(kSection, kPanelLeft, position.left);
    store.WriteInt(kSection, kPanelTop, position.top);
}

double ReadReferenceResistor(const SettingsStore& store)
{
    return ReadNumber(store, settings_names::kReferenceResistor, "100.0", 100.0);
}

PanelPosition PlacePanel(const PanelPosition& stored, int screenWidth, int screenHeight, int panelWidth,
                         int panelHeight)
{
    return {Place(stored.left, screenWidth - panelWidth), Place(stored.top, screenHeight - panelHeight)};
}

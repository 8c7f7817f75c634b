#include "rlc/ui/PanelSettings.h"

#include <cmath>
#include <string>

#include "data/CLocaleNumbers.h"
#include "rlc/ui/RlcPanelHost.h"

namespace {

constexpr const char* kReferenceResistor = "RLC Ref Resistor Value";
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

// The value of the text's leading decimal number; fallback when it has none or it is not finite.
double ReadNumber(const RlcSettingsSection& store, const char* name, const char* fallbackText, double fallback)
{
    const std::string text = store.GetString(name, fallbackText);
    char* end = nullptr;
    const double value = StrtodC(text.c_str(), &end);
    return end != text.c_str() && std::isfinite(value) ? value : fallback;
}

void WriteNumber(RlcSettingsSection& store, const char* name, double value)
{
    store.WriteString(name, FormatC("%f", value));
}

bool ReadCheck(const RlcSettingsSection& store, const char* name, bool fallback)
{
    return store.GetInt(name, fallback ? 1 : 0) != 0;
}

int Place(int stored, int room)
{
    if (stored < kMinimumCoordinate || room < kMinimumCoordinate)
        return kMinimumCoordinate;
    return stored < room ? stored : room;
}

}  // namespace

MeasurementPageSettings ReadMeasurementPageSettings(const RlcSettingsSection& store)
{
    MeasurementPageSettings s;
    s.singlePoint = ReadCheck(store, kSinglePoint, false);
    s.startFrequency = ReadNumber(store, kStartFrequency, "1.0", 1.0);
    if (s.startFrequency == 0)
        s.startFrequency = 1.0;
    s.stopFrequency = ReadNumber(store, kStopFrequency, "1000.0", 1000.0);
    if (s.stopFrequency == 0)
        s.stopFrequency = 1000.0;
    s.integrationTime = store.GetInt(kIntegrationTime, 1, 0, 3);
    s.acVoltage = ReadNumber(store, kAcVoltage, "1.0", 1.0);
    s.dcVoltage = ReadNumber(store, kDcVoltage, "0.0", 0.0);
    s.inputCoupling = store.GetInt(kInputCoupling, 1, 0, 1);
    s.limitPhaseChange = ReadCheck(store, kLimitPhaseChange, false);
    s.maxPhaseChange = ReadNumber(store, kMaxPhaseChange, "20.0", 20.0);
    return s;
}

void WriteMeasurementPageSettings(RlcSettingsSection& store, const MeasurementPageSettings& s)
{
    store.WriteInt(kSinglePoint, s.singlePoint ? 1 : 0);
    WriteNumber(store, kStartFrequency, s.startFrequency);
    WriteNumber(store, kStopFrequency, s.stopFrequency);
    store.WriteInt(kIntegrationTime, s.integrationTime);
    WriteNumber(store, kAcVoltage, s.acVoltage);
    WriteNumber(store, kDcVoltage, s.dcVoltage);
    store.WriteInt(kInputCoupling, s.inputCoupling);
    store.WriteInt(kLimitPhaseChange, s.limitPhaseChange ? 1 : 0);
    WriteNumber(store, kMaxPhaseChange, s.maxPhaseChange);
}

ReportOptions ReadReportPageSettings(const RlcSettingsSection& store)
{
    ReportOptions o;
    o.textOutput = ReadCheck(store, kTextOutput, true);
    o.includeVoltage = ReadCheck(store, kIncludeVoltage, false);
    o.includeCalibration = ReadCheck(store, kCalibrationSubreport, true);
    o.displayCircuit = ReadCheck(store, kPlotModelCircuit, true);
    return o;
}

void WriteReportPageSettings(RlcSettingsSection& store, const ReportOptions& o)
{
    store.WriteInt(kTextOutput, o.textOutput ? 1 : 0);
    store.WriteInt(kIncludeVoltage, o.includeVoltage ? 1 : 0);
    store.WriteInt(kCalibrationSubreport, o.includeCalibration ? 1 : 0);
    store.WriteInt(kPlotModelCircuit, o.displayCircuit ? 1 : 0);
}

PanelPosition ReadPanelPosition(const RlcSettingsSection& store)
{
    return {store.GetInt(kPanelLeft, 30), store.GetInt(kPanelTop, 40)};
}

void WritePanelPosition(RlcSettingsSection& store, const PanelPosition& position)
{
    store.WriteInt(kPanelLeft, position.left);
    store.WriteInt(kPanelTop, position.top);
}

double ReadReferenceResistor(const RlcSettingsSection& store)
{
    return ReadNumber(store, kReferenceResistor, "100.0", 100.0);
}

PanelPosition PlacePanel(const PanelPosition& stored, int screenWidth, int screenHeight, int panelWidth,
                         int panelHeight)
{
    return {Place(stored.left, screenWidth - panelWidth), Place(stored.top, screenHeight - panelHeight)};
}

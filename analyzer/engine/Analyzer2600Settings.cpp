// The handlers of the dialog's fields and lists: clamps, limits, and the commands they queue while
// measuring or write at once. The keys and spin buttons are KeyAndSpinHandlers'.

#include "analyzer/engine/Analyzer2600Engine.h"

#include <cmath>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/family2600/Commands.h"
#include "analyzer/sweep/ChannelLists.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/NumberText.h"
#include "data/ApplicationData.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

double Shown(double value)
{
    return RoundToSignificant(value, 4);
}

} // namespace

// --- Queueing --------------------------------------------------------------------------------------

// A queue that user edits during a measurement have filled is written first, so that a command
// (above all the next measure command) is never dropped.
void Analyzer2600Engine::QueueIfMeasuring(const std::string& command)
{
    if (!IsMeasuring() || command.empty())
        return;
    if (!m_queue.QueueCommand(command) && SendQueue())
        m_queue.QueueCommand(command);
}

bool Analyzer2600Engine::QueueWritingFirst(const std::string& command)
{
    if (m_queue.QueueCommand(command))
        return true;
    if (!SendQueue())
        return false;
    m_queue.QueueCommand(command);
    return true;
}

void Analyzer2600Engine::QueueSettingOnce(unsigned settingBit, const std::string& command)
{
    if (!IsMeasuring())
        return;
    if (!m_queue.QueueOnce(settingBit, command) && SendQueue())
        m_queue.QueueOnce(settingBit, command);
}

void Analyzer2600Engine::QueueAmplitude()
{
    QueueSettingOnce(kQueuedAmplitude, AmplitudeCommand(m_fields.acVoltsOut));
}

// --- Frequencies and steps -------------------------------------------------------------------------

void Analyzer2600Engine::SetStartFrequency(double hertz)
{
    if (std::isfinite(hertz))
        m_fields.startFrequency = Shown(hertz);
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetStopFrequency(double hertz)
{
    if (std::isfinite(hertz))
        m_fields.stopFrequency = Shown(hertz);
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetStepsPerDecade(double steps)
{
    m_fields.stepsPerDecade = Shown(ClampStepsPerDecade(steps));
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetFrequencyStep(double hertz)
{
    m_fields.frequencyStep = Shown(ClampFrequencyStep(hertz));
    EmitFieldsChanged();
}

// --- Output amplitude ------------------------------------------------------------------------------

bool Analyzer2600Engine::ApplyAcVoltsOut(double volts, double frequency)
{
    const double limited = LimitAcVoltsOut(volts, m_caps.minimumAcOutput, m_fields.outputImpedance, IsMeasuring(),
                                           frequency, m_fields.dcVoltsOut);
    const bool changed = limited != m_fields.acVoltsOut;
    m_fields.acVoltsOut = limited;
    return changed;
}

void Analyzer2600Engine::ApplyMaxAcVoltsOut(double volts, double frequency)
{
    m_fields.maxAcVoltsOut = LimitMaxAcVoltsOut(volts, m_fields.outputImpedance, IsMeasuring(), frequency,
                                                m_fields.dcVoltsOut);
}

void Analyzer2600Engine::SetAcVoltsOutField(double volts)
{
    ApplyAcVoltsOut(volts, m_sweep.reading.frequency);
    QueueAmplitude();
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetMaxAcVoltsOutField(double volts)
{
    ApplyMaxAcVoltsOut(volts, m_sweep.reading.frequency);
    SetAcVoltsOutField(m_fields.acVoltsOut);
}

void Analyzer2600Engine::SetDcVoltsOut(double volts)
{
    m_fields.dcVoltsOut = ClampDcVoltsOut(volts);
    // The AC output leaves the DC its share of the 10 V.
    if (ApplyAcVoltsOut(m_fields.acVoltsOut, m_sweep.reading.frequency))
        QueueAmplitude();
    EmitFieldsChanged();
    if (IsMeasuring())
        QueueIfMeasuring(DcOffsetCommand(m_fields.dcVoltsOut));
    else if (m_dcOn && !m_busError && !m_analyzerError)
        WriteAtOnce(DcOffsetCommand(m_fields.dcVoltsOut), "OnKillfocusEditDcVolts");
}

// --- Waveform and impedances -------------------------------------------------------------------------

void Analyzer2600Engine::SelectWaveform(std::string_view entry)
{
    if (entry == "Sine")
        m_fields.waveform = Waveform::Sine;
    else if (entry == "Square")
        m_fields.waveform = Waveform::Square;
    else {
        ShowMessage("Error parsing Output wave type", kAnalyzerMenuCaption);
        return;
    }
    ApplyWaveform();
}

void Analyzer2600Engine::ApplyWaveform()
{
    m_limits.maximumForSettings = MaximumForCurrentSettings(m_caps, m_fields.waveform, m_fields.outputImpedance);
    ApplyFrequencyLimits();
    QueueSettingOnce(kQueuedWaveform, WaveformCommand(m_fields.waveform));
}

void Analyzer2600Engine::SelectOutputImpedance(std::string_view entry)
{
    if (entry == "50")
        m_fields.outputImpedance = OutputImpedance::Ohms50;
    else if (entry == "2")
        m_fields.outputImpedance = OutputImpedance::Ohms2;
    else {
        ShowMessage("Error parsing Output Impedance", kAnalyzerMenuCaption);
        return;
    }
    ApplyOutputImpedance();
    SetMaxAcVoltsOutField(m_fields.maxAcVoltsOut);
    EmitControlsChanged();
}

void Analyzer2600Engine::ApplyOutputImpedance()
{
    if (m_fields.outputImpedance == OutputImpedance::Ohms50) {
        QueueIfMeasuring(OutputImpedanceCommand(OutputImpedance::Ohms50));
        if (!IsMeasuring()) {
            m_controls.dcEnabled = true;
            m_controls.dcText = m_dcOn ? "Turn Off DC Voltage" : "Turn On DC Voltage";
        }
        ApplyWaveform();
        m_host.SetOutput5Vmax(false, false);
        m_controls.outputWarningShown = false;
        return;
    }
    // The DC output needs the 50 Ohm output: it is switched off, on the analyzer too unless a
    // measurement runs (its stop switches the bias off now that the DC output is off).
    if (m_dcOn) {
        m_dcOn = false;
        m_controls.dcText = "Turn On DC Voltage";
        if (IsMeasuring() || WriteAtOnce(kBiasOff, "OnCbnSelchangeComboZout"))
            WriteAtOnce(OutputImpedanceCommand(OutputImpedance::Ohms2), "OnCbnSelchangeComboZout");
    }
    m_controls.dcEnabled = false;
    ApplyMaxAcVoltsOut(m_fields.maxAcVoltsOut, m_sweep.reading.frequency);
    ApplyAcVoltsOut(m_fields.acVoltsOut, m_sweep.reading.frequency);
    m_limits.maximumForSettings = MaximumForCurrentSettings(m_caps, m_fields.waveform, m_fields.outputImpedance);
    ApplyFrequencyLimits();
    m_host.SetOutput5Vmax(true, false);
    m_controls.outputWarningShown = true;
    QueueIfMeasuring(OutputImpedanceCommand(OutputImpedance::Ohms2));
}

void Analyzer2600Engine::SelectInputImpedance(std::string_view entry)
{
    if (entry == "50")
        m_fields.inputImpedance = InputImpedance::Ohms50;
    else if (entry == "1 Meg")
        m_fields.inputImpedance = InputImpedance::OneMeg;
    else {
        ShowMessage("Error parsing Input Impedance", kAnalyzerMenuCaption);
        return;
    }
    ApplyInputImpedance();
    SetMaxAcVoltsOutField(m_fields.maxAcVoltsOut);
    EmitControlsChanged();
}

void Analyzer2600Engine::ApplyInputImpedance()
{
    QueueIfMeasuring(InputImpedanceCommand(m_fields.inputImpedance, m_caps));
    const bool fifty = m_fields.inputImpedance == InputImpedance::Ohms50;
    m_host.SetInput15Vmax(fifty, false);
    m_controls.inputWarningShown = fifty;
}

void Analyzer2600Engine::SelectIntegrationOption(std::string_view entry)
{
    if (m_busError || m_analyzerError)
        return;
    if (entry == "Off")
        m_fields.option = IntegrationOption::Off;
    else if (entry == "High Noise Algorithm")
        m_fields.option = IntegrationOption::HighNoise;
    else {
        ShowMessage("Error parsing Integration Option", kAnalyzerMenuCaption);
        return;
    }
    EmitFieldsChanged();
    WriteAtOnce(IntegrationOptionCommand(m_fields.option), "OnSelchangeIntegrationOption");
}

void Analyzer2600Engine::SelectInputRange(std::string_view entry)
{
    static constexpr InputRange kRanges[] = {InputRange::Below10V, InputRange::Below100V, InputRange::Below500V};
    for (int index = 0; index < 3; ++index) {
        if (entry != InputRangeText(kRanges[index]))
            continue;
        m_fields.inputRange = kRanges[index];
        appData().inputRange = index;
        EmitFieldsChanged();
        const std::string command = AttenuatorCommand(kRanges[index], appData().defaultOutputNode);
        if (HasInputAttenuator(m_caps) && !command.empty())
            WriteAtOnce(command, "OnSelchangePeakVoltageSelectCombo");
        return;
    }
}

// --- Integration -------------------------------------------------------------------------------------

void Analyzer2600Engine::SetIntegrationByTime(bool byTime)
{
    m_fields.integrationByTime = byTime;
    ApplyIntegration();
    EmitFieldsChanged();
}

void Analyzer2600Engine::ApplyIntegration()
{
    if (m_fields.integrationByTime) {
        QueueIfMeasuring(DelayTimeCommand(m_fields.delayTime));
        QueueIfMeasuring(IntegrationTimeCommand(m_fields.integrationTime));
    } else {
        QueueIfMeasuring(DelayCyclesCommand(m_fields.delayCycles));
        QueueIfMeasuring(CyclesCommand(m_fields.cycles));
    }
}

void Analyzer2600Engine::SetIntegrationTime(double seconds)
{
    m_fields.integrationTime = Shown(ClampIntegrationTime(seconds));
    QueueIfMeasuring(IntegrationTimeCommand(m_fields.integrationTime));
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetDelayTime(double seconds)
{
    m_fields.delayTime = Shown(ClampDelayTime(seconds));
    QueueIfMeasuring(DelayTimeCommand(m_fields.delayTime));
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetCycles(double cycles)
{
    m_fields.cycles = ClampCycles(cycles);
    QueueIfMeasuring(CyclesCommand(m_fields.cycles));
    EmitFieldsChanged();
}

void Analyzer2600Engine::SetDelayCycles(double cycles)
{
    m_fields.delayCycles = ClampDelayCycles(cycles);
    QueueIfMeasuring(DelayCyclesCommand(m_fields.delayCycles));
    EmitFieldsChanged();
}

// --- Servo, channel ratio and maximum change ----------------------------------------------------------

void Analyzer2600Engine::SelectServoChannel(std::string_view entry)
{
    m_fields.servoChannel = ServoChoiceFromEntry(entry);
    EmitFieldsChanged();
}

void Analyzer2600Engine::SelectChannelRatio(std::string_view entry)
{
    for (const std::string& candidate : ChannelRatioEntries()) {
        if (candidate != entry)
            continue;
        m_fields.numeratorChannel = candidate[2] - '0';
        m_fields.denominatorChannel = candidate[6] - '0';
        EmitFieldsChanged();  // the servo list's pair entries follow the ratio
        return;
    }
}

void Analyzer2600Engine::FillChannelLists()
{
    const ChannelPair ratio = RatioForNumerator(m_fields.numeratorChannel, m_caps.channelCount);
    m_fields.numeratorChannel = ratio.numerator;
    m_fields.denominatorChannel = ratio.denominator;
    m_fields.servoChannel = ServoChoice::Channel1;
    EmitFieldsChanged();
}


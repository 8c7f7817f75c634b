// The field and list handlers: each validates its value and, while a sweep or the start-frequency
// readings run, adds its command to the text that travels with the next measurement command.

#include "analyzer/engine/Analyzer5060Engine.h"

#include <algorithm>
#include <cmath>

#include "analyzer/family5060/Commands.h"
#include "analyzer/sweep/NumberText.h"

using namespace analyzer;
using namespace analyzer::family5060;

void Analyzer5060Engine::QueueIfMeasuring(const std::string& command)
{
    if (IsMeasuring())
        m_queue += command;
}

void Analyzer5060Engine::SetStartFrequency(double hertz)
{
    m_fields.startFrequency = hertz;
    ApplyFrequencyLimits();
}

void Analyzer5060Engine::SetStopFrequency(double hertz)
{
    m_fields.stopFrequency = hertz;
    ApplyFrequencyLimits();
}

void Analyzer5060Engine::SetStepsPerDecade(double steps)
{
    m_fields.stepsPerDecade = std::isnan(steps) ? 10.0 : std::clamp(steps, 0.1, 2000.0);
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetFrequencyStep(double hertz)
{
    m_fields.frequencyStep = std::isnan(hertz) ? 1000.0 : std::clamp(hertz, 1e-4, m_limits.maximum);
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetAcVoltsOutField(double volts)
{
    m_fields.acVoltsOut = std::max(VoltsAsSent(ClampAcVolts(volts), m_fields.maxAcVoltsOut), 0.001);
    QueueIfMeasuring(AmplitudeCommand(m_fields.acVoltsOut));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetMaxAcVoltsOutField(double volts)
{
    m_fields.maxAcVoltsOut = RoundToSignificant(ClampAcVolts(volts), 4);
    SetAcVoltsOutField(m_fields.acVoltsOut);
}

void Analyzer5060Engine::SetDcVoltsOut(double volts)
{
    m_fields.dcVoltsOut = ClampDcVoltsOut(volts);
    if (IsMeasuring())
        m_queue += OffsetCommand(m_fields.dcVoltsOut);
    else if (m_dcOn && !m_busError && !m_analyzerError)
        WriteAtOnce(OffsetCommand(m_fields.dcVoltsOut), "OnKillfocusEditDcVolts");
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetIntegrationMode(IntegrationMode mode)
{
    m_fields.integrationMode = mode;
    m_controls.secondsFieldsEnabled = mode == IntegrationMode::Time;
    m_controls.cyclesFieldsEnabled = mode == IntegrationMode::Cycles;
    m_controls.automaticListsEnabled = mode == IntegrationMode::Automatic;
    QueueIfMeasuring(IntegrationCommands(m_fields));
    EmitFieldsChanged();
    emit ControlsChanged();
}

void Analyzer5060Engine::SetIntegrationTime(double seconds)
{
    m_fields.integrationTime = ClampIntegrationTime(seconds);
    QueueIfMeasuring(IntegrationTimeCommand(m_fields.integrationTime));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetDelayTime(double seconds)
{
    m_fields.delayTime = ClampDelayTime(seconds);
    QueueIfMeasuring(DelayTimeCommand(m_fields.delayTime));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetIntegrationCycles(double cycles)
{
    m_fields.integrationCycles = ClampIntegrationCycles(cycles);
    QueueIfMeasuring(IntegrationCyclesCommand(m_fields.integrationCycles));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SetDelayCycles(double cycles)
{
    m_fields.delayCycles = ClampDelayCycles(cycles);
    QueueIfMeasuring(DelayCyclesCommand(m_fields.delayCycles));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SelectAutomaticChannel(std::string_view entry)
{
    if (entry != "1" && entry != "2" && entry != "3")
        return;
    m_fields.automaticChannel = entry[0] - '1';
    if (m_fields.integrationMode == IntegrationMode::Automatic)
        QueueIfMeasuring(AutomaticChannelCommand(m_fields.automaticChannel));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SelectAutomaticMode(std::string_view entry)
{
    if (entry != "Short" && entry != "Long")
        return;
    m_fields.automaticMode = entry == "Long" ? 1 : 0;
    QueueIfMeasuring(
        AutomaticModeCommand(m_fields.integrationMode == IntegrationMode::Automatic, m_fields.automaticMode));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SelectWaveform(std::string_view entry)
{
    Waveform waveform;
    if (!WaveformFromText(entry, waveform)) {
        ShowMessage("Error parsing Output wave type", kAnalyzerMenuCaption);
        return;
    }
    m_fields.waveform = waveform;
    const double maximum = waveform == Waveform::Sine ? m_limits.maximum : 1e5;
    if (maximum != m_limits.maximumForSettings) {
        m_limits.maximumForSettings = maximum;
        ApplyFrequencyLimits();
    }
    QueueIfMeasuring(WaveformCommand(waveform));
    EmitFieldsChanged();
}

void Analyzer5060Engine::SelectServoChannel(std::string_view entry)
{
    m_fields.servoChannel = ServoChoiceFromEntry(entry);
    if (m_fields.servoChannel == ServoChoice::Channel4)
        m_fields.servoChannel = ServoChoice::Channel1;
    EmitFieldsChanged();
}

void Analyzer5060Engine::SelectChannelRatio(std::string_view entry)
{
    RatioFromEntry(entry, m_fields.numeratorChannel, m_fields.denominatorChannel);
    EmitFieldsChanged();
}

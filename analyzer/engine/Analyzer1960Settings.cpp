// The field and list handlers: each validates its value and, while a sweep or the start-frequency
// readings run, adds its command to the text that travels with the next measurement command.

#include "analyzer/engine/Analyzer1960Engine.h"

#include <cmath>

#include "analyzer/family1960/Commands.h"
#include "analyzer/sweep/NumberText.h"

using namespace analyzer;
using namespace analyzer::family1960;

void Analyzer1960Engine::QueueIfMeasuring(const std::string& command)
{
    if (IsMeasuring())
        m_queue += command;
}

void Analyzer1960Engine::SetStartFrequency(double hertz)
{
    m_fields.startFrequency = hertz;
    ApplyFrequencyLimits();
}

void Analyzer1960Engine::SetStopFrequency(double hertz)
{
    m_fields.stopFrequency = hertz;
    ApplyFrequencyLimits();
}

void Analyzer1960Engine::SetStepsPerDecade(double steps)
{
    m_fields.stepsPerDecade = ClampStepsPerDecade(steps);
    EmitFieldsChanged();
}

void Analyzer1960Engine::SetFrequencyStep(double hertz)
{
    m_fields.frequencyStep = ClampFrequencyStep(hertz, FrequencyStepMinimum(), m_limits.maximum);
    EmitFieldsChanged();
}

void Analyzer1960Engine::SetAcVoltsOutField(double volts)
{
    m_fields.acVoltsOut = RoundToSignificant(LimitAcVoltsOut(volts, m_fields.maxAcVoltsOut, AcVoltsMinimum()), 4);
    if (!m_holdAmplitude)
        QueueIfMeasuring(AmplitudeCommand(m_fields.acVoltsOut));
    EmitFieldsChanged();
}

void Analyzer1960Engine::SetMaxAcVoltsOutField(double volts)
{
    const MaxAcResult result = LimitMaxAcVoltsOut(volts, m_fields.acVoltsOut, m_fields.dcVoltsOut, m_previousDc,
                                                  AcVoltsMinimum(), HardwareCeiling());
    m_fields.maxAcVoltsOut = RoundToSignificant(result.maxAcVoltsOut, 4);
    if (result.releaseHold)
        m_holdAmplitude = false;
    MaxAcVoltsOutChanged();
    SetAcVoltsOutField(m_fields.acVoltsOut);
}

void Analyzer1960Engine::SetDcVoltsOut(double volts)
{
    m_fields.dcVoltsOut = ClampDcVoltsOut(volts);
    // The ceiling is checked against the new DC; the amplitude goes out only if that lowers it.
    m_holdAmplitude = true;
    SetMaxAcVoltsOutField(m_fields.maxAcVoltsOut);
    m_holdAmplitude = false;
    m_previousDc = m_fields.dcVoltsOut;
    if (IsMeasuring())
        m_queue += OffsetCommand(m_fields.dcVoltsOut);
    else if (m_dcOn && !m_busError && !m_analyzerError)
        WriteAtOnce(IdleDcCommand(m_fields.dcVoltsOut), "OnKillfocusEditDcVolts");
    EmitFieldsChanged();
}

void Analyzer1960Engine::SetIntegrationByTime(bool byTime)
{
    m_fields.integrationByTime = byTime;
    m_controls.speedListEnabled = byTime;
    m_controls.cyclesFieldEnabled = !byTime;
    EmitFieldsChanged();
    emit ControlsChanged();
}

void Analyzer1960Engine::SetCycles(double cycles)
{
    m_fields.cycles = ClampCycles(cycles);
    QueueIfMeasuring(IntegrationCommand(false, m_fields.speed, m_fields.cycles));
    EmitFieldsChanged();
}

void Analyzer1960Engine::SetDelay(double seconds)
{
    m_fields.delay = ClampDelay(seconds);
    QueueIfMeasuring(DelayCommand(m_fields.delay));
    EmitFieldsChanged();
}

void Analyzer1960Engine::SelectWaveform(std::string_view entry)
{
    Waveform waveform;
    if (!WaveformFromText(entry, waveform)) {
        ShowMessage("Error parsing Output wave type", kAnalyzerMenuCaption);
        return;
    }
    m_fields.waveform = waveform;
    const double maximum = waveform == Waveform::Sine ? m_limits.maximum : 1e6;
    if (maximum != m_limits.maximumForSettings) {
        m_limits.maximumForSettings = maximum;
        ApplyFrequencyLimits();
    }
    QueueIfMeasuring(WaveformCommand(waveform));
    EmitFieldsChanged();
}

void Analyzer1960Engine::SelectCoupling(std::string_view entry)
{
    Coupling coupling;
    if (!CouplingFromText(entry, coupling)) {
        ShowMessage("Error parsing Coupling", kAnalyzerMenuCaption);
        return;
    }
    m_fields.coupling = coupling;
    m_limits.minimum = coupling == Coupling::Dc ? 1e-4 : 0.01;
    ApplyFrequencyLimits();
    QueueIfMeasuring(CouplingCommand(coupling));
}

void Analyzer1960Engine::SelectSpeed(std::string_view entry)
{
    Speed speed;
    if (!SpeedFromText(entry, speed)) {
        ShowMessage("Error parsing Integration time", kAnalyzerMenuCaption);
        return;
    }
    m_fields.speed = speed;
    QueueIfMeasuring(m_fields.integrationByTime ? IntegrationCommand(true, speed, 0) : SpeedCommand(speed));
    EmitFieldsChanged();
}

void Analyzer1960Engine::SelectServoChannel(std::string_view entry)
{
    m_fields.servoChannel = ServoChoiceFromEntry(entry);
    if (m_fields.servoChannel == ServoChoice::Channel3 || m_fields.servoChannel == ServoChoice::Channel4)
        m_fields.servoChannel = ServoChoice::Channel1;
    EmitFieldsChanged();
}

void Analyzer1960Engine::SelectChannelRatio(std::string_view entry)
{
    RatioFromEntry(entry, m_fields.numeratorChannel, m_fields.denominatorChannel);
    EmitFieldsChanged();
}

void Analyzer1960Engine::QueueBandFor(double frequency)
{
    const int band = FilterBand(frequency);
    if (band == 0) {
        ShowMessage("Error Setting Filter", kAnalyzerMenuCaption);
        return;
    }
    if (band == m_bandSent)
        return;
    m_bandSent = band;
    m_queue += FilterBandCommand(band);
}

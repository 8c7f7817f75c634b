#include "analyzer/engine/Analyzer1852Engine.h"

#include <cmath>

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/family1800/Commands.h"
#include "analyzer/family1800/Texts.h"
#include "analyzer/family1960/Commands.h"
#include "analyzer/family1960/ParameterDump.h"
#include "analyzer/sweep/NumberText.h"

using namespace analyzer;
using namespace analyzer::family1960;
namespace f1800 = analyzer::family1800;

Analyzer1852Engine::Analyzer1852Engine(AnalyzerHost& host, QObject* parent) : Analyzer1960Engine(host, parent)
{
    m_limits.maximum = f1800::MaximumFrequency(m_host.AnalyzerType());
    m_limits.maximumForSettings = m_limits.maximum;
    for (int band = 0; band < f1800::kBandCount; ++band)
        m_bandCeilings[band] = f1800::HardwareCeiling(band);
}

const DialogTexts& Analyzer1852Engine::Texts() const
{
    return f1800::Texts();
}

double Analyzer1852Engine::HardwareCeiling() const
{
    return f1800::HardwareCeiling(f1800::BandOf(m_currentFrequency));
}

void Analyzer1852Engine::MaxAcVoltsOutChanged()
{
    m_bandCeilings[f1800::BandOf(m_currentFrequency)] = m_fields.maxAcVoltsOut;
}

void Analyzer1852Engine::ApplyBandCeiling(double frequency)
{
    // The band's ceiling leaves the DC output its share of the 10 V as the field's rule does.
    m_fields.maxAcVoltsOut = std::min(m_bandCeilings[f1800::BandOf(frequency)], 10.0 - std::fabs(m_fields.dcVoltsOut));
    SetAcVoltsOutField(m_fields.acVoltsOut);
}

void Analyzer1852Engine::FrequencyLimitsApplied()
{
    // The start frequency as its command will carry it (four digits) decides its band.
    m_currentFrequency = RoundToSignificant(m_fields.startFrequency, 4);
}

void Analyzer1852Engine::QueueStartSettings()
{
    m_holdAmplitude = true;
    ApplyBandCeiling(RoundToSignificant(m_sweep.startFrequency, 4));
    m_holdAmplitude = false;
    m_amplitudeInEffect = AmplitudeAsSent(m_fields.acVoltsOut);
    // The analyzer may still have the amplitude of the last stop (0 V with the DC output on), so
    // the first point is measured with the amplitude it is recorded with.
    m_queue += AmplitudeCommand(m_fields.acVoltsOut);
    SetDcVoltsOut(m_fields.dcVoltsOut);
    m_queue += CouplingCommand(m_fields.coupling);
    m_queue += f1800::InputTypeCommand(m_differentialInput);
    m_queue += DelayCommand(m_fields.delay);
    QueueIntegration();
    m_queue += f1800::kSineOutputCommand;
}

void Analyzer1852Engine::QueueBandFor(double frequency)
{
    const int bandwidth = f1800::Bandwidth(frequency);
    if (bandwidth == 0) {
        ShowMessage("Error Setting Bandwidth", kAnalyzerMenuCaption);
        return;
    }
    if (bandwidth == m_bandSent)
        return;
    m_bandSent = bandwidth;
    m_queue += f1800::BandwidthCommand(bandwidth);
}

void Analyzer1852Engine::QueueNextPointSettings(double frequency)
{
    QueueBandFor(frequency);
    m_currentFrequency = frequency;
    ApplyBandCeiling(frequency);
}

void Analyzer1852Engine::SelectCoupling(std::string_view entry)
{
    if (entry != "AC" && entry != "DC")
        ShowMessage("Error parsing Coupling", kAnalyzerMenuCaption);
    m_fields.coupling = entry == "AC" ? Coupling::AcLow : Coupling::Dc;
    m_limits.minimum = m_fields.coupling == Coupling::Dc ? 1e-5 : 0.01;
    ApplyFrequencyLimits();
    QueueIfMeasuring(CouplingCommand(m_fields.coupling));
}

std::string Analyzer1852Engine::CouplingText() const
{
    return m_fields.coupling == Coupling::Dc ? "DC" : "AC";
}

void Analyzer1852Engine::SelectInputType(std::string_view entry)
{
    if (entry != "Main" && entry != "Diff") {
        ShowMessage("Error parsing Coupling", kAnalyzerMenuCaption);
        return;
    }
    m_differentialInput = entry == "Diff";
    QueueIfMeasuring(f1800::InputTypeCommand(m_differentialInput));
    EmitFieldsChanged();
}

void Analyzer1852Engine::DumpParameters(std::string& target) const
{
    family1960::DumpParameters(m_fields, BlockKind::Series1800, m_differentialInput, target);
}

void Analyzer1852Engine::ApplyPreferences(const std::string& text)
{
    family1960::ApplyPreferences(text, BlockKind::Series1800, m_fields, m_differentialInput);
    m_limits.minimum = m_fields.coupling == Coupling::Dc ? 1e-5 : 0.01;
    SetIntegrationByTime(m_fields.integrationByTime);
    EmitFieldsChanged();
}

void Analyzer1852Engine::CloseWithoutDisplay()
{
    DumpParameters(m_host.PreferenceBlock());
    emit HideRequested();
}

#pragma once
// The 1800-series analyzer engine (types 7, 8 and 9: the 1842, 1852 and 1862), the
// "1800 Analyzer Control Menu" without a window. It works as the 1960 engine does, with the
// model's frequency range, an output ceiling kept per frequency band, the input-type list, its
// bandwidths and a sine output only.

#include <array>

#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/family1800/Bands.h"

class Analyzer1852Engine final : public Analyzer1960Engine {
    Q_OBJECT
public:
    explicit Analyzer1852Engine(AnalyzerHost& host, QObject* parent = nullptr);

    // "AC" or "DC"; any other entry shows "Error parsing Coupling" and is taken as "DC".
    void SelectCoupling(std::string_view entry) override;
    // "Main" or "Diff".
    void SelectInputType(std::string_view entry);
    std::string CouplingText() const override;
    std::string InputTypeText() const { return m_differentialInput ? "Diff" : "Main"; }
    bool DifferentialInput() const { return m_differentialInput; }

    // The Max AC Volts Out chosen for each frequency band, and the current frequency's band.
    const std::array<double, analyzer::family1800::kBandCount>& BandCeilings() const { return m_bandCeilings; }
    double CurrentFrequency() const { return m_currentFrequency; }

    void DumpParameters(std::string& target) const override;
    void ApplyPreferences(const std::string& text) override;

protected:
    const analyzer::family1960::DialogTexts& Texts() const override;
    double AcVoltsMinimum() const override { return 0.001; }
    double FrequencyStepMinimum() const override { return 1e-5; }
    double HardwareCeiling() const override;
    void MaxAcVoltsOutChanged() override;
    void QueueStartSettings() override;
    void QueueBandFor(double frequency) override;
    void QueueNextPointSettings(double frequency) override;
    void FrequencyLimitsApplied() override;
    void CloseWithoutDisplay() override;
    bool CloseTakesDeviceOffline() const override { return false; }

private:
    // Max AC Volts Out becomes the ceiling of the band holding frequency, and AC Volts Out is applied.
    void ApplyBandCeiling(double frequency);

    std::array<double, analyzer::family1800::kBandCount> m_bandCeilings{};
    double m_currentFrequency = 10.0;
    bool m_differentialInput = false;
};

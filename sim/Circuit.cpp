#include "sim/Circuit.h"

#include <cmath>

namespace talsim {

namespace {

using Complex = std::complex<double>;
constexpr double kPi = 3.141592653589793;

Complex Parallel(Complex a, Complex b)
{
    return a * b / (a + b);
}

double WrapDegrees(double degrees)
{
    double d = std::fmod(degrees, 360.0);
    if (d <= -180.0)
        d += 360.0;
    else if (d > 180.0)
        d -= 360.0;
    return d;
}

} // namespace

Complex DutImpedance(const DutModel& dut, double w)
{
    const Complex jwL(0.0, w * dut.l);
    const Complex zC = Complex(0.0, -1.0 / (w * dut.c));
    switch (dut.kind) {
    case DutModel::R: return dut.r;
    case DutModel::L: return jwL;
    case DutModel::C: return zC;
    case DutModel::RSeriesL: return dut.r + jwL;
    case DutModel::RSeriesC: return dut.r + zC;
    case DutModel::RSeriesLSeriesC: return dut.r + jwL + zC;
    case DutModel::RParallelL: return Parallel(dut.r, jwL);
    case DutModel::RParallelC: return Parallel(dut.r, zC);
    case DutModel::RSeriesRpParallelC: return dut.r + Parallel(dut.rp, zC);
    case DutModel::RSeriesLParallelC: return dut.r + 1.0 / (1.0 / jwL + 1.0 / zC);
    case DutModel::RParallelLParallelC: return 1.0 / (1.0 / dut.r + 1.0 / jwL + 1.0 / zC);
    case DutModel::LowPass:
    case DutModel::HighPass: break;
    }
    return 0.0;
}

std::array<Complex, 4> ChannelVoltages(const SimConfig& config, const GeneratorState& generator)
{
    const double w = 2.0 * kPi * generator.frequency;
    const Complex source(generator.amplitude, 0.0);
    const int low = config.pairLow - 1;
    std::array<Complex, 4> v;

    if (config.dut.IsGainNetwork()) {
        // The network's input is high impedance, so the generator is not loaded.
        const Complex s(0.0, generator.frequency / config.dut.fc);
        const Complex h = config.dut.kind == DutModel::LowPass ? config.dut.k / (1.0 + s) : config.dut.k * s / (1.0 + s);
        v.fill(source);
        v[low + 1] = source * h;
        return v;
    }

    // Admittance across the fixture terminals: stray parts plus the device (none when open).
    Complex terminals(0.0, w * config.parallelC);
    if (config.parallelR > 0.0)
        terminals += 1.0 / config.parallelR;
    const bool shorted = config.fixture == Fixture::Short;
    if (config.fixture == Fixture::Dut) {
        const Complex z = DutImpedance(config.dut, w);
        const double magnitude = std::abs(z);
        if (magnitude == 0.0)
            terminals = Complex(INFINITY, 0.0);
        else if (std::isfinite(magnitude))
            terminals += 1.0 / z;   // an infinite impedance (exact resonance) adds nothing
    }
    const Complex leads(config.seriesR, w * config.seriesL);
    const bool isolated = !shorted && std::abs(terminals) == 0.0 && !std::isinf(terminals.real());

    Complex load, current;
    if (isolated) {
        // Nothing connected and no stray path: no current, the full source voltage at the fixture.
        load = source;
        current = 0.0;
    } else {
        const Complex zLoad = (shorted || std::isinf(terminals.real())) ? leads : leads + 1.0 / terminals;
        current = source / (generator.sourceImpedance + config.rref + zLoad);
        load = current * zLoad;
    }
    const Complex terminal = source - current * generator.sourceImpedance;
    v.fill(terminal);
    v[low] = -current * config.rref;
    v[low + 1] = load;
    return v;
}

std::array<ChannelReading, 4> MeasureChannels(const SimConfig& config, const GeneratorState& generator,
                                              std::mt19937_64& rng)
{
    const std::array<Complex, 4> v = ChannelVoltages(config, generator);
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::array<ChannelReading, 4> readings;
    for (std::size_t i = 0; i < v.size(); ++i) {
        // Draw for every channel so that the sequence does not depend on which values are zero.
        const double amplitudeNoise = gauss(rng) * config.noise;
        const double phaseNoise = gauss(rng) * config.noise;
        const Complex noisy = v[i] * (1.0 + amplitudeNoise) * std::polar(1.0, phaseNoise);
        readings[i].amplitude = std::abs(noisy);
        readings[i].phase = readings[i].amplitude > 0.0 ? WrapDegrees(std::arg(noisy) * 180.0 / kPi) : 0.0;
    }
    return readings;
}

} // namespace talsim

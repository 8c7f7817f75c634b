#pragma once
// The circuit the analyzer measures. Impedance work: generator (output impedance) -> reference
// resistor -> fixture (series R and L, then stray C and R across the terminals) -> device under
// test. The voltage channel of the pair reads the voltage across fixture and device; the current
// channel reads the voltage across the reference resistor with reversed sense (-I * rref), which
// is what the program's scale factor of minus rref turns into the impedance. Gain networks: the
// low channel of the pair reads the network's input, the high channel its output. Channels outside
// the pair read the generator's terminal voltage.

#include "sim/SimConfig.h"

#include <array>
#include <complex>
#include <random>

namespace talsim {

struct ChannelReading {
    double amplitude = 0.0;   // volts peak
    double phase = 0.0;       // degrees, in (-180, 180]
};

struct GeneratorState {
    double frequency = 1000.0;     // Hz
    double amplitude = 0.0;        // volts peak of the fundamental; 0 while the output is off
    double sourceImpedance = 50.0; // ohm
};

// Impedance of the device under test (one of the eleven kinds) at angular frequency w.
std::complex<double> DutImpedance(const DutModel& dut, double w);

// Noise-free complex voltages of channels 1-4.
std::array<std::complex<double>, 4> ChannelVoltages(const SimConfig& config, const GeneratorState& generator);

// The readings of channels 1-4 with the configured noise drawn from rng.
std::array<ChannelReading, 4> MeasureChannels(const SimConfig& config, const GeneratorState& generator,
                                              std::mt19937_64& rng);

} // namespace talsim

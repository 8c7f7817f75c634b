#include "rlc/model/CircuitNetwork.h"

#include "rlc/model/CircuitKind.h"

namespace {

using Complex = std::complex<double>;

constexpr NetworkElement kR{NetworkPart::Resistor, 0};
constexpr NetworkElement kL{NetworkPart::Inductor, 1};
constexpr NetworkElement kC{NetworkPart::Capacitor, 2};
constexpr NetworkElement kRp{NetworkPart::Resistor, 1};

Complex PartImpedance(NetworkPart part, double value, double w)
{
    switch (part) {
    case NetworkPart::Resistor: return value;
    case NetworkPart::Inductor: return {0, w * value};
    case NetworkPart::Capacitor: return {0, -1 / (w * value)};
    }
    return 0;
}

// d z / d(ln value) = sign x z: +1 for R and L (z grows with the value), -1 for C.
double LogSlope(NetworkPart part)
{
    return part == NetworkPart::Capacitor ? -1 : 1;
}

}  // namespace

std::vector<NetworkStage> CircuitNetwork(int kind)
{
    switch (kind) {
    case KIND_R: return {{kR}};
    case KIND_L: return {{kL}};
    case KIND_C: return {{kC}};
    case KIND_R_PLUS_L: return {{kR}, {kL}};
    case KIND_R_PLUS_C: return {{kR}, {kC}};
    case KIND_R_PLUS_L_PLUS_C: return {{kR}, {kL}, {kC}};
    case KIND_R_PAR_L: return {{kR, kL}};
    case KIND_R_PAR_C: return {{kR, kC}};
    case KIND_R_PLUS_R_PAR_C: return {{kR}, {kRp, kC}};
    case KIND_R_PLUS_L_PAR_C: return {{kR}, {kL, kC}};
    case KIND_R_PAR_L_PAR_C: return {{kR, kL, kC}};
    default: return {};
    }
}

Complex NetworkImpedance(const std::vector<NetworkStage>& network, const std::array<double, 3>& values,
                         double w, std::array<Complex, 3>* derivatives)
{
    Complex z = 0;
    for (const NetworkStage& stage : network) {
        if (stage.size() == 1) {
            const NetworkElement& e = stage.front();
            const Complex ze = PartImpedance(e.part, values[e.value], w);
            z += ze;
            if (derivatives)
                (*derivatives)[e.value] = LogSlope(e.part) * ze;
            continue;
        }
        // A parallel group: Zs = 1 / sum(1 / z), and dZs = Zs^2 x dz / z^2 = sign x Zs^2 / z.
        Complex admittance = 0;
        std::array<Complex, 3> parts{};
        for (const NetworkElement& e : stage) {
            parts[e.value] = PartImpedance(e.part, values[e.value], w);
            admittance += 1.0 / parts[e.value];
        }
        const Complex zs = 1.0 / admittance;
        z += zs;
        if (derivatives)
            for (const NetworkElement& e : stage)
                (*derivatives)[e.value] = LogSlope(e.part) * zs * zs / parts[e.value];
    }
    return z;
}

std::array<double, 3> AsArray(const ModelValues& values)
{
    return {values.r, values.second, values.c};
}

ModelValues AsModelValues(const std::array<double, 3>& values)
{
    return {values[0], values[1], values[2]};
}

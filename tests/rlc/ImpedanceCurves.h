#pragma once
// Data sets holding a known impedance curve: node 1 reads 1 V at 0 degrees, node 2 reads
// |Z| at arg Z, so that gain and phase (input 1, output 2, scale factor 1) are Z itself.
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <vector>

#include "data/DataSet.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelFit.h"

namespace rlctest {

using Complex = std::complex<double>;
constexpr double kPi = 3.141592653589793;

// `perDecade` logarithmic steps from `start` to `stop` (both included).
inline std::vector<double> LogFrequencies(double start, double stop, int perDecade)
{
    std::vector<double> f;
    const int steps = static_cast<int>(std::lround(std::log10(stop / start) * perDecade));
    for (int i = 0; i <= steps; ++i)
        f.push_back(start * std::pow(10.0, static_cast<double>(i) / perDecade));
    return f;
}

inline std::unique_ptr<CDataSet> CurveSet(const std::vector<double>& frequencies,
                                          const std::function<Complex(double w)>& z)
{
    auto set = std::make_unique<CDataSet>();
    set->m_inputNode = 1;
    set->m_outputNode = 2;
    for (double f : frequencies) {
        const Complex value = z(2 * kPi * f);
        set->AddPoint(f, 1, 0, std::abs(value), std::arg(value) * 180 / kPi);
    }
    set->SetScaleFactor(1);
    return set;
}

// The impedance of each circuit kind written out from its circuit, independently of the code
// under test.
inline Complex IdealImpedance(int kind, const ModelValues& v, double w)
{
    const Complex j(0, 1);
    const Complex zr = v.r, zl = j * w * v.second, zc = 1.0 / (j * w * v.c);
    const auto par = [](Complex a, Complex b) { return a * b / (a + b); };
    switch (kind) {
    case KIND_R: return zr;
    case KIND_L: return zl;
    case KIND_C: return zc;
    case KIND_R_PLUS_L: return zr + zl;
    case KIND_R_PLUS_C: return zr + zc;
    case KIND_R_PLUS_L_PLUS_C: return zr + zl + zc;
    case KIND_R_PAR_L: return par(zr, zl);
    case KIND_R_PAR_C: return par(zr, zc);
    case KIND_R_PLUS_R_PAR_C: return zr + par(Complex(v.second), zc);
    case KIND_R_PLUS_L_PAR_C: return zr + par(zl, zc);
    default: return par(par(zr, zl), zc);
    }
}

}  // namespace rlctest

#include "rlc/model/ImpedanceCurve.h"

#include <algorithm>
#include <cmath>

#include "data/DataSet.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegreesToRadians = 0.017453292519943295;

}  // namespace

std::vector<ImpedanceSample> ImpedanceSamples(const CDataSet& set)
{
    std::vector<ImpedanceSample> samples;
    samples.reserve(static_cast<size_t>(set.GetPointCount()));
    for (int i = 0; i < set.GetPointCount(); ++i) {
        const double f = set.GetFrequency(i);
        const double gain = set.GetGain(i);
        const double phase = set.GetPhase(i) * kDegreesToRadians;
        const std::complex<double> z(gain * std::cos(phase), gain * std::sin(phase));
        const double w = kTwoPi * f;
        if (!(f > 0) || !std::isfinite(w) || !std::isfinite(std::abs(z)) || std::abs(z) == 0)
            continue;
        samples.push_back({w, z});
    }
    std::stable_sort(samples.begin(), samples.end(),
                     [](const ImpedanceSample& a, const ImpedanceSample& b) { return a.w < b.w; });
    return samples;
}

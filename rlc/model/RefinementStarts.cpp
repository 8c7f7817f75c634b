#include "rlc/model/RefinementStarts.h"

#include <algorithm>
#include <cmath>

#include "rlc/model/CircuitKind.h"

namespace {

// Adds a positive finite candidate unless one within 5% of it is already listed.
void AddCandidate(std::vector<double>& list, double value)
{
    if (!std::isfinite(value) || value <= 0)
        return;
    for (double v : list)
        if (std::fabs(std::log(v / value)) < 0.05)
            return;
    list.push_back(value);
}

template <typename Key>
size_t ArgMin(const std::vector<ImpedanceSample>& s, Key key)
{
    size_t best = 0;
    for (size_t i = 1; i < s.size(); ++i)
        if (key(s[i]) < key(s[best]))
            best = i;
    return best;
}

}  // namespace

std::vector<ModelValues> CharacteristicStarts(const std::vector<ImpedanceSample>& s, int kind)
{
    if (s.empty() || !IsCircuitKind(kind))
        return {};
    const auto magnitude = [](const ImpedanceSample& p) { return std::abs(p.z); };
    const auto phase = [](const ImpedanceSample& p) { return std::arg(p.z); };
    const size_t first = 0, last = s.size() - 1;
    const size_t minZ = ArgMin(s, magnitude);
    const size_t maxZ = ArgMin(s, [&](const ImpedanceSample& p) { return -magnitude(p); });
    const size_t flat = ArgMin(s, [&](const ImpedanceSample& p) { return std::fabs(phase(p)); });
    const size_t inductive = ArgMin(s, [&](const ImpedanceSample& p) { return -phase(p); });
    const size_t capacitive = ArgMin(s, phase);
    const size_t points[] = {first, last, minZ, maxZ, flat, inductive, capacitive};

    std::vector<double> r, l, c;
    AddCandidate(r, s[flat].z.real());
    for (size_t i : points) {
        AddCandidate(r, magnitude(s[i]));
        AddCandidate(r, s[i].z.real());
        AddCandidate(l, magnitude(s[i]) / s[i].w);
        AddCandidate(c, 1 / (magnitude(s[i]) * s[i].w));
    }
    const UsedValues used = ValuesUsedBy(kind);
    if (kind == KIND_R_PLUS_R_PAR_C) {
        l = r;  // the second value is Rp
    } else if (used.second && used.c) {
        // L and C that resonate where |Z| has its extremes (series and parallel resonance).
        const std::vector<double> inductances = l;
        for (double w0 : {s[minZ].w, s[maxZ].w})
            for (double value : inductances)
                AddCandidate(c, 1 / (w0 * w0 * value));
    }

    const std::vector<double> none{-1};
    std::vector<ModelValues> starts;
    for (double rv : used.r ? r : none)
        for (double sv : used.second ? l : none)
            for (double cv : used.c ? c : none)
                starts.push_back({rv, sv, cv});
    return starts;
}

#include "rlc/model/ModelFit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/DataSet.h"
#include "rlc/model/CircuitKind.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kDegreesToRadians = 0.017453292519943295;

// The curve in the forms the rules read, ordered by ascending angular frequency.
struct Curve {
    std::vector<double> re, x, g, b, w, p;

    int Size() const { return static_cast<int>(w.size()); }
};

Curve BuildCurve(const CDataSet& set)
{
    Curve c;
    for (int i = 0; i < set.GetPointCount(); ++i) {
        const double gain = set.GetGain(i);
        const double phase = set.GetPhase(i);
        const double re = gain * std::cos(phase * kDegreesToRadians);
        const double x = gain * std::sin(phase * kDegreesToRadians);
        const double m2 = re * re + x * x;
        c.re.push_back(re);
        c.x.push_back(x);
        c.g.push_back(re / m2);
        c.b.push_back(-x / m2);
        c.w.push_back(kTwoPi * set.GetFrequency(i));
        c.p.push_back(phase);
    }
    if (c.Size() > 0 && c.w.back() < c.w.front()) {
        for (auto* v : {&c.re, &c.x, &c.g, &c.b, &c.w, &c.p})
            std::reverse(v->begin(), v->end());
    }
    return c;
}

// Among the points with X > 0, the one with the smallest B below 1 (the most inductive).
int MostInductivePoint(const Curve& c)
{
    int best = -1;
    double minB = 1;
    for (int i = 0; i < c.Size(); ++i)
        if (c.x[i] > 0 && c.b[i] < minB) {
            minB = c.b[i];
            best = i;
        }
    return best;
}

// Among the points with X < 0, the one with the largest B above -1 (the most capacitive).
int MostCapacitivePoint(const Curve& c)
{
    int best = -1;
    double maxB = -1;
    for (int i = 0; i < c.Size(); ++i)
        if (c.x[i] < 0 && c.b[i] > maxB) {
            maxB = c.b[i];
            best = i;
        }
    return best;
}

// Among the points with B > 0, the one with the most negative X below 1; for a parallel R and
// C it lies at w R C = 1, where X = -R / 2.
int MostNegativeReactancePoint(const Curve& c)
{
    int best = -1;
    double minX = 1;
    for (int i = 0; i < c.Size(); ++i)
        if (c.b[i] > 0 && c.x[i] < minX) {
            minX = c.x[i];
            best = i;
        }
    return best;
}

// The first j where the phase rises through zero (p(j) <= 0 < p(j+1)), or falls through it
// (p(j) >= 0 > p(j+1)); -1 without one.
int PhaseZeroCrossing(const Curve& c, bool rising)
{
    for (int j = 0; j + 1 < c.Size(); ++j) {
        if (rising ? (c.p[j] <= 0 && c.p[j + 1] > 0) : (c.p[j] >= 0 && c.p[j + 1] < 0))
            return j;
    }
    return -1;
}

// Resonance interpolated on log10 w between j and j+1 where the phase passes zero.
double ResonanceAt(const Curve& c, int j)
{
    const double lw0 = std::log10(c.w[j]);
    const double lw1 = std::log10(c.w[j + 1]);
    return std::pow(10.0, lw0 - c.p[j] * (lw1 - lw0) / (c.p[j + 1] - c.p[j]));
}

// The point whose log10 w lies nearest to log10(w0 / 1.62).
int PointBelowResonance(const Curve& c, double w0)
{
    const double target = std::log10(w0 / 1.62);
    int best = -1;
    double distance = 1000;
    for (int i = 0; i < c.Size(); ++i) {
        const double d = std::fabs(std::log10(c.w[i]) - target);
        if (d < distance) {
            distance = d;
            best = i;
        }
    }
    return best;
}

// Of j and j+1, the point with the smaller |phase| (j on a tie).
int NearerToZeroPhase(const Curve& c, int j)
{
    return std::fabs(c.p[j + 1]) < std::fabs(c.p[j]) ? j + 1 : j;
}

double Known(double value)
{
    return std::isfinite(value) && value > 0 ? value : -1;
}

}  // namespace

std::optional<ModelValues> FitModel(const CDataSet& set, int kind)
{
    if (!IsCircuitKind(kind))
        return std::nullopt;
    const Curve c = BuildCurve(set);
    if (c.Size() == 0)
        return std::nullopt;

    ModelValues v;
    switch (kind) {
    case KIND_R: {
        int best = -1;
        double minAbs = 180;
        for (int i = 0; i < c.Size(); ++i)
            if (std::fabs(c.p[i]) < minAbs) {
                minAbs = std::fabs(c.p[i]);
                best = i;
            }
        if (best >= 0)
            v.r = c.re[best];
        break;
    }
    case KIND_L:
    case KIND_R_PLUS_L:
        if (const int i = MostInductivePoint(c); i >= 0) {
            v.second = c.x[i] / c.w[i];
            if (kind == KIND_R_PLUS_L)
                v.r = c.re[i];
        }
        break;
    case KIND_C:
    case KIND_R_PLUS_C:
        if (const int i = MostCapacitivePoint(c); i >= 0) {
            v.c = -1 / (c.x[i] * c.w[i]);
            if (kind == KIND_R_PLUS_C)
                v.r = c.re[i];
        }
        break;
    case KIND_R_PLUS_L_PLUS_C:
        if (const int j = PhaseZeroCrossing(c, true); j >= 0) {
            const double w0 = ResonanceAt(c, j);
            const int k = PointBelowResonance(c, w0);
            v.r = c.re[NearerToZeroPhase(c, j)];
            v.second = c.x[k] / (c.w[k] - w0 * w0 / c.w[k]);
            v.c = 1 / (w0 * w0 * v.second);
        }
        break;
    case KIND_R_PAR_L: {
        int best = -1;
        double maxX = -1;
        for (int i = 0; i < c.Size(); ++i)
            if (c.b[i] < 0 && c.x[i] > maxX) {
                maxX = c.x[i];
                best = i;
            }
        if (best >= 0) {
            v.second = -1 / (c.b[best] * c.w[best]);
            v.r = 1 / c.g[best];
        }
        break;
    }
    case KIND_R_PAR_C:
    case KIND_R_PLUS_R_PAR_C:
        if (const int i = MostNegativeReactancePoint(c); i >= 0) {
            const double x = c.x[i];
            v.c = -1 / (2 * x * c.w[i]);
            if (kind == KIND_R_PAR_C) {
                v.r = -2 * x;
            } else {
                v.second = -2 * x;
                v.r = c.re[i] + x;
            }
        }
        break;
    case KIND_R_PLUS_L_PAR_C:
        if (const int i = MostInductivePoint(c); i >= 0) {
            v.second = c.x[i] / c.w[i];
            v.r = c.re[i];
        }
        if (const int j = PhaseZeroCrossing(c, false); j >= 0 && v.second > 0) {
            const double w0 = ResonanceAt(c, j);
            v.c = 1 / (w0 * w0 * v.second);
        }
        break;
    case KIND_R_PAR_L_PAR_C:
        if (const int j = PhaseZeroCrossing(c, false); j >= 0) {
            const double w0 = ResonanceAt(c, j);
            const int k = PointBelowResonance(c, w0);
            v.r = 1 / c.g[NearerToZeroPhase(c, j)];
            v.c = c.b[k] / (c.w[k] - w0 * w0 / c.w[k]);
            v.second = 1 / (w0 * w0 * v.c);
        }
        break;
    default:
        break;
    }
    return ModelValues{Known(v.r), Known(v.second), Known(v.c)};
}

#include "data/DataSetMath.h"

#include <algorithm>
#include <cmath>

#include "data/ApplicationData.h"
#include "data/TalDocument.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRadiansPerDegree = kPi / 180.0;

struct Sample {
    double frequency;
    double gainX, phaseX;
    double gainY, phaseY;
};

void AppendCombined(CDataSet& result, const Sample& s, MathOperation op)
{
    switch (op) {
    case MATH_ADD:
    case MATH_SUBTRACT: {
        const double sign = op == MATH_ADD ? 1.0 : -1.0;
        const double re = s.gainX * std::cos(s.phaseX * kRadiansPerDegree) +
                          sign * s.gainY * std::cos(s.phaseY * kRadiansPerDegree);
        const double im = s.gainX * std::sin(s.phaseX * kRadiansPerDegree) +
                          sign * s.gainY * std::sin(s.phaseY * kRadiansPerDegree);
        AppendMathResultPoint(result, s.frequency, std::pow(re * re + im * im, 0.5),
                              std::atan2(im, re) * 180.0 / kPi);
        break;
    }
    case MATH_MULTIPLY:
        AppendMathResultPoint(result, s.frequency, s.gainX * s.gainY, s.phaseX + s.phaseY);
        break;
    case MATH_DIVIDE:
        AppendMathResultPoint(result, s.frequency, s.gainX / s.gainY, s.phaseX - s.phaseY);
        break;
    default:
        break;
    }
}

// Walks one sorted operand's points inside [lo, hi].
struct Cursor {
    const CDataSet& set;
    double hi;
    int index;

    bool Live() const { return index >= 0 && index < set.GetPointCount() && Frequency() <= hi; }
    double Frequency() const { return set.GetFrequency(index); }
    void Advance() { ++index; }
};

}  // namespace

std::unique_ptr<CDataSet> NewMathResultSet()
{
    auto set = std::make_unique<CDataSet>();
    const double factor = appData().mathScaleFactor;
    if (!std::isfinite(factor) || factor == 0.0 || !set->SetScaleFactor(factor))
        set->SetScaleFactor(1.0);
    const auto usable = [](int node) { return node >= 1 && node <= 4; };
    if (!usable(set->m_inputNode) || !usable(set->m_outputNode) ||
        set->m_inputNode == set->m_outputNode) {
        // Defaults that cannot carry a ratio: fall back to the plain input 1 / output 2 form.
        set->m_inputNode = 1;
        set->m_outputNode = 2;
    }
    return set;
}

void AppendMathResultPoint(CDataSet& set, double frequency, double magnitude, double phase)
{
    // Nodes below the higher of the pair hold zeros (stored as 1e-99) so that the entries
    // run 1..n in order: input 2 / output 3 gives node 1 = 0, node 2 = 1, node 3 = value.
    auto point = std::make_unique<CDataPoint>(frequency);
    const int last = std::max(set.m_inputNode, set.m_outputNode);
    for (int node = 1; node <= last; ++node) {
        if (node == set.m_inputNode)
            point->AddNode(node, 1.0, 0.0);
        else if (node == set.m_outputNode)
            point->AddNode(node, magnitude, phase);
        else
            point->AddNode(node, 0.0, 0.0);
    }
    set.AppendPoint(std::move(point));
}

std::unique_ptr<CDataSet> MakeConstantDataSet(double constant, bool dense)
{
    auto set = NewMathResultSet();
    const double magnitude = std::fabs(constant);
    const double phase = constant < 0 ? 180.0 : 0.0;
    if (dense) {
        for (int m = -60; m <= 150; ++m) {
            // Clamped so that rounding of pow never pushes an end point out of the range.
            const double f = std::clamp(std::pow(10.0, m / 10.0), MIN_FREQUENCY, MAX_FREQUENCY);
            AppendMathResultPoint(*set, f, magnitude, phase);
        }
    } else {
        AppendMathResultPoint(*set, MIN_FREQUENCY, magnitude, phase);
        AppendMathResultPoint(*set, MAX_FREQUENCY, magnitude, phase);
    }
    return set;
}

std::unique_ptr<CDataSet> CombineDataSets(const CDataSet& x, const CDataSet& y, MathOperation op)
{
    CDataSet a(x);
    CDataSet b(y);
    a.SortByFrequency();
    b.SortByFrequency();
    const double lo = std::max(a.GetMinFrequency(), b.GetMinFrequency());
    const double hi = std::min(a.GetMaxFrequency(), b.GetMaxFrequency());

    auto result = NewMathResultSet();
    Cursor ca{a, hi, a.FindIndex(lo)};
    Cursor cb{b, hi, b.FindIndex(lo)};
    // Each step consumes a point of at least one operand, so the walk always ends, whatever
    // frequencies a file put into the points.
    while (ca.Live() || cb.Live()) {
        // Live frequencies are numbers <= hi, so at least one operand is taken.
        const bool takeA = ca.Live() && (!cb.Live() || ca.Frequency() <= cb.Frequency());
        const bool takeB = cb.Live() && (!ca.Live() || cb.Frequency() <= ca.Frequency());
        Sample s{};
        if (takeA && takeB) {
            s = {ca.Frequency(), a.GetGain(ca.index), a.GetPhase(ca.index), b.GetGain(cb.index),
                 b.GetPhase(cb.index)};
        } else if (takeA) {
            const double f = ca.Frequency();
            s = {f, a.GetGain(ca.index), a.GetPhase(ca.index), b.GetGainAt(f), b.GetPhaseAt(f)};
        } else {
            const double f = cb.Frequency();
            s = {f, a.GetGainAt(f), a.GetPhaseAt(f), b.GetGain(cb.index), b.GetPhase(cb.index)};
        }
        AppendCombined(*result, s, op);
        if (takeA)
            ca.Advance();
        if (takeB)
            cb.Advance();
    }
    return result;
}

int CTalDocument::OnViewMath(int index1, double constant1, int index2, double constant2,
                             int operation)
{
    if (operation < MATH_ADD || operation > MATH_SUBTRACT_PARALLEL)
        return -1;
    const bool bothConstant = index1 < 0 && index2 < 0;
    std::unique_ptr<CDataSet> owned1, owned2;
    // A data-set operand is used in place (the operations copy it); a constant becomes a set.
    const auto operand = [this](int index, double constant, bool dense,
                                std::unique_ptr<CDataSet>& owned) -> const CDataSet* {
        if (index >= 0)
            return GetDataSet(index);
        if (!std::isfinite(constant))
            return nullptr;
        owned = MakeConstantDataSet(constant, dense);
        return owned.get();
    };
    const CDataSet* a = operand(index1, constant1, bothConstant, owned1);
    const CDataSet* b = operand(index2, constant2, false, owned2);
    if (!a || !b)
        return -1;

    std::unique_ptr<CDataSet> z;
    switch (operation) {
    case MATH_ADD_PARALLEL:
    case MATH_SUBTRACT_PARALLEL: {
        const auto product = CombineDataSets(*a, *b, MATH_MULTIPLY);
        const auto sum = CombineDataSets(
            *b, *a, operation == MATH_ADD_PARALLEL ? MATH_ADD : MATH_SUBTRACT);
        z = CombineDataSets(*product, *sum, MATH_DIVIDE);
        break;
    }
    default:
        z = CombineDataSets(*a, *b, static_cast<MathOperation>(operation));
        break;
    }
    auto result = std::make_unique<CDataSet>();
    result->CopyFrom(*z);
    return AddDataSet(std::move(result));
}

int CreateTransferFunction(CTalDocument& document, int index1, double constant1, int index2,
                           double constant2)
{
    const int sum = document.OnViewMath(index1, constant1, index2, constant2, MATH_ADD);
    if (sum < 0)
        return -1;
    const int ratio = document.OnViewMath(index2, constant2, sum, 0.0, MATH_DIVIDE);
    document.DeleteDataSet(sum);
    if (ratio < 0)
        return -1;
    return ratio > sum ? ratio - 1 : ratio;
}

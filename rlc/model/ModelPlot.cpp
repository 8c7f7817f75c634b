#include "rlc/model/ModelPlot.h"

#include <cmath>
#include <vector>

#include "data/DataSetMath.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr uint32_t kModelGainColor = 0xFF00FF;
constexpr uint32_t kModelPhaseColor = 0xFF8000;

using Complex = std::complex<double>;

}  // namespace

Complex ModelImpedance(int kind, const ModelValues& v, double w)
{
    const double r = v.r, l = v.second, c = v.c;
    switch (kind) {
    case KIND_R_PAR_L: return 1.0 / Complex(1 / r, -1 / (w * l));
    case KIND_R_PAR_C: return 1.0 / Complex(1 / r, w * c);
    case KIND_R_PAR_L_PAR_C: return 1.0 / Complex(1 / r, w * c - 1 / (w * l));
    case KIND_R_PLUS_R_PAR_C: return r + 1.0 / Complex(1 / l, w * c);
    case KIND_R_PLUS_L_PAR_C: return {r, -1 / (w * c - 1 / (w * l))};
    default: break;
    }
    double a = 0, b = 0;
    if (kind == KIND_R || kind == KIND_R_PLUS_L || kind == KIND_R_PLUS_C || kind == KIND_R_PLUS_L_PLUS_C)
        a = r;
    if (kind == KIND_L || kind == KIND_R_PLUS_L || kind == KIND_R_PLUS_L_PLUS_C)
        b += w * l;
    if (kind == KIND_C || kind == KIND_R_PLUS_C || kind == KIND_R_PLUS_L_PLUS_C)
        b += -1 / (w * c);
    return {a, b};
}

bool ModelValuesPlottable(int kind, const ModelValues& v)
{
    if (!IsCircuitKind(kind) || !(v.r > 0 || v.second > 0 || v.c > 0))
        return false;
    if (kind == KIND_R_PLUS_R_PAR_C)
        return true;
    const UsedValues used = ValuesUsedBy(kind);
    return !(used.r && v.r < 0) && !(used.second && v.second < 0) && !(used.c && v.c < 0);
}

std::unique_ptr<CDataSet> MakeModelDataSet(int kind, const ModelValues& values, const CDataSet& source)
{
    if (!ModelValuesPlottable(kind, values))
        return nullptr;
    struct Sample {
        double f, magnitude, phase;
    };
    std::vector<Sample> samples;
    samples.reserve(source.GetPointCount());
    for (int i = 0; i < source.GetPointCount(); ++i) {
        const double f = source.GetFrequency(i);
        const Complex z = ModelImpedance(kind, values, 2 * kPi * f);
        const double magnitude = std::sqrt(z.real() * z.real() + z.imag() * z.imag());
        const double phase = std::atan2(z.imag(), z.real()) * 180 / kPi;
        if (!std::isfinite(magnitude) || !std::isfinite(phase))
            return nullptr;
        samples.push_back({f, magnitude, phase});
    }

    // Encoded like a math result on the default nodes; the scale factor is 1 so that the
    // gain reads |Z| itself, whatever scale the application gives math results.
    auto set = NewMathResultSet();
    set->SetScaleFactor(1.0);
    set->m_name = "Model (" + CircuitKindText(kind) + ")";
    set->SetGainColor(kModelGainColor);
    set->SetPhaseColor(kModelPhaseColor);
    for (const Sample& s : samples)
        AppendMathResultPoint(*set, s.f, s.magnitude, s.phase);
    return set;
}

int CreateModelPlot(CTalDocument& document, int sourceIndex, int kind, const ModelValues& values)
{
    const CDataSet* source = document.GetDataSet(sourceIndex);
    if (!source)
        return -1;
    auto set = MakeModelDataSet(kind, values, *source);
    if (!set)
        return -1;
    const int index = document.AddDataSet(std::move(set));
    document.SetModifiedFlag();
    document.UpdateAllViews(HINT_ALL);
    return index;
}

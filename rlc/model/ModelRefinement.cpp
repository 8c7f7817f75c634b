#include "rlc/model/ModelRefinement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include "rlc/model/CircuitKind.h"
#include "rlc/model/CircuitNetwork.h"
#include "rlc/model/ImpedanceCurve.h"
#include "rlc/model/RefinementStarts.h"

namespace {

using Complex = std::complex<double>;
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Values stay within e^-80 .. e^80 (about 1e-35 .. 5e34), so that no impedance or residual the
// solver tries overflows, whatever direction an undetermined value drifts in.
constexpr double kLogLimit = 80;
// Starts screened on at most this many points, and refined from the best few of them.
constexpr size_t kScreenPoints = 40;
constexpr size_t kRefinedStarts = 4;

// The kind's network and which of the three values are its parameters, in R, second, C order.
struct Model {
    explicit Model(int kind) : network(CircuitNetwork(kind))
    {
        const UsedValues used = ValuesUsedBy(kind);
        for (int v : {0, 1, 2})
            if (v == 0 ? used.r : v == 1 ? used.second : used.c)
                parameters.push_back(v);
    }

    std::array<double, 3> Values(const Eigen::VectorXd& theta) const
    {
        std::array<double, 3> values{-1, -1, -1};
        for (size_t k = 0; k < parameters.size(); ++k)
            values[parameters[k]] = std::exp(std::clamp(theta[static_cast<Eigen::Index>(k)], -kLogLimit, kLogLimit));
        return values;
    }

    std::vector<NetworkStage> network;
    std::vector<int> parameters;
};

// The residual vector (real and imaginary part of (Z_model - Z) / |Z| per point) and its
// Jacobian with respect to the logarithms of the values, for Eigen's Levenberg-Marquardt.
class CurveResidual : public Eigen::DenseFunctor<double> {
public:
    CurveResidual(const Model& model, const std::vector<ImpedanceSample>& samples)
        : DenseFunctor(static_cast<int>(model.parameters.size()), static_cast<int>(2 * samples.size())),
          m_model(model), m_samples(samples)
    {
    }

    int operator()(const InputType& theta, ValueType& f) const
    {
        const std::array<double, 3> values = m_model.Values(theta);
        for (size_t i = 0; i < m_samples.size(); ++i) {
            const ImpedanceSample& s = m_samples[i];
            const Complex r = (NetworkImpedance(m_model.network, values, s.w) - s.z) / std::abs(s.z);
            f[static_cast<Eigen::Index>(2 * i)] = r.real();
            f[static_cast<Eigen::Index>(2 * i + 1)] = r.imag();
        }
        return f.allFinite() ? 0 : -1;
    }

    int df(const InputType& theta, JacobianType& jacobian) const
    {
        const std::array<double, 3> values = m_model.Values(theta);
        std::array<Complex, 3> d{};
        for (size_t i = 0; i < m_samples.size(); ++i) {
            const ImpedanceSample& s = m_samples[i];
            NetworkImpedance(m_model.network, values, s.w, &d);
            const double scale = 1 / std::abs(s.z);
            for (size_t k = 0; k < m_model.parameters.size(); ++k) {
                const Complex dk = d[static_cast<size_t>(m_model.parameters[k])] * scale;
                jacobian(static_cast<Eigen::Index>(2 * i), static_cast<Eigen::Index>(k)) = dk.real();
                jacobian(static_cast<Eigen::Index>(2 * i + 1), static_cast<Eigen::Index>(k)) = dk.imag();
            }
        }
        return jacobian.allFinite() ? 0 : -1;
    }

private:
    const Model& m_model;
    const std::vector<ImpedanceSample>& m_samples;
};

// Relative RMS residual of `values` over `samples` (every `stride`-th one); infinite when a
// value the model uses is unknown or the result is not finite.
double RmsResidual(const Model& model, const std::array<double, 3>& values,
                   const std::vector<ImpedanceSample>& samples, size_t stride = 1)
{
    for (int v : model.parameters)
        if (!(values[static_cast<size_t>(v)] > 0) || !std::isfinite(values[static_cast<size_t>(v)]))
            return kInfinity;
    double sum = 0;
    size_t count = 0;
    for (size_t i = 0; i < samples.size(); i += stride, ++count)
        sum += std::norm((NetworkImpedance(model.network, values, samples[i].w) - samples[i].z) / std::abs(samples[i].z));
    const double rms = count ? std::sqrt(sum / static_cast<double>(count)) : kInfinity;
    return std::isfinite(rms) ? rms : kInfinity;
}

Eigen::VectorXd LogParameters(const Model& model, const std::array<double, 3>& values)
{
    Eigen::VectorXd theta(static_cast<Eigen::Index>(model.parameters.size()));
    for (size_t k = 0; k < model.parameters.size(); ++k)
        theta[static_cast<Eigen::Index>(k)] = std::log(values[static_cast<size_t>(model.parameters[k])]);
    return theta;
}

bool Converged(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    switch (status) {
    case RelativeReductionTooSmall:
    case RelativeErrorTooSmall:
    case RelativeErrorAndReductionTooSmall:
    case CosinusTooSmall:
    case FtolTooSmall:  // the tolerances are finer than the arithmetic can tell: at the minimum
    case XtolTooSmall:
    case GtolTooSmall: return true;
    default: return false;
    }
}

// Standard uncertainty of each value: the covariance s^2 (J^T J)^-1 of the log parameters with
// s^2 the residual sum of squares over the degrees of freedom, scaled back by the value.
std::array<double, 3> Uncertainties(const Model& model, const std::array<double, 3>& values,
                                    const std::vector<ImpedanceSample>& samples)
{
    std::array<double, 3> u{-1, -1, -1};
    const CurveResidual residual(model, samples);
    const Eigen::Index n = residual.inputs(), m = residual.values();
    if (m <= n)
        return u;
    const Eigen::VectorXd theta = LogParameters(model, values);
    Eigen::VectorXd f(m);
    Eigen::MatrixXd jacobian(m, n);
    if (residual(theta, f) != 0 || residual.df(theta, jacobian) != 0)
        return u;
    const double variance = f.squaredNorm() / static_cast<double>(m - n);
    const Eigen::MatrixXd normal = jacobian.transpose() * jacobian;
    const Eigen::FullPivLU<Eigen::MatrixXd> lu(normal);
    if (!lu.isInvertible())
        return u;
    const Eigen::MatrixXd covariance = lu.inverse() * variance;
    for (Eigen::Index k = 0; k < n; ++k) {
        const double logSigma = std::sqrt(covariance(k, k));
        const size_t v = static_cast<size_t>(model.parameters[static_cast<size_t>(k)]);
        if (std::isfinite(logSigma))
            u[v] = values[v] * logSigma;
    }
    return u;
}

struct Candidate {
    std::array<double, 3> values;
    double residual;
    bool converged;
};

Candidate Solve(const Model& model, const std::vector<ImpedanceSample>& samples, const std::array<double, 3>& start)
{
    CurveResidual residual(model, samples);
    Eigen::LevenbergMarquardt<CurveResidual> solver(residual);
    solver.setXtol(1e-10);
    solver.setFtol(1e-12);
    solver.setGtol(0);
    solver.setMaxfev(200);
    Eigen::VectorXd theta = LogParameters(model, start);
    const auto status = solver.minimize(theta);
    const std::array<double, 3> values = model.Values(theta);
    return {values, RmsResidual(model, values, samples), Converged(status)};
}

}  // namespace

std::optional<ModelRefinement> RefineModel(const CDataSet& set, int kind)
{
    if (!IsCircuitKind(kind))
        return std::nullopt;
    const Model model(kind);
    const std::vector<ImpedanceSample> samples = ImpedanceSamples(set);
    if (samples.size() < model.parameters.size())
        return std::nullopt;

    ModelRefinement result;
    result.kind = kind;
    result.points = static_cast<int>(samples.size());
    result.estimate = FitModel(set, kind).value_or(ModelValues{});
    result.estimateResidual = RmsResidual(model, AsArray(result.estimate), samples);

    // Screen the characteristic starts on a thinned curve; refine from the best and the estimate.
    const size_t stride = std::max<size_t>(1, samples.size() / kScreenPoints);
    std::vector<std::pair<double, std::array<double, 3>>> starts;
    for (const ModelValues& start : CharacteristicStarts(samples, kind)) {
        const std::array<double, 3> values = AsArray(start);
        starts.emplace_back(RmsResidual(model, values, samples, stride), values);
    }
    const size_t keep = std::min(kRefinedStarts, starts.size());
    std::partial_sort(starts.begin(), starts.begin() + static_cast<std::ptrdiff_t>(keep), starts.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
    starts.resize(keep);

    Candidate best{AsArray(result.estimate), result.estimateResidual, false};
    if (std::isfinite(result.estimateResidual)) {
        // The solver only accepts steps that lower the residual, so from the estimate it ends at
        // or, within rounding, next to it; when the estimate stays the best, a solver that
        // converged from it has confirmed it as the minimum.
        const Candidate fromEstimate = Solve(model, samples, best.values);
        if (fromEstimate.residual < best.residual)
            best = fromEstimate;
        else
            best.converged = fromEstimate.converged;
    }
    for (const auto& start : starts) {
        if (!std::isfinite(start.first))
            continue;
        const Candidate refined = Solve(model, samples, start.second);
        if (refined.residual < best.residual)
            best = refined;
    }
    if (!std::isfinite(best.residual))
        return result;  // nothing to refine from: no value known and no usable start

    result.refined = AsModelValues(best.values);
    result.residual = best.residual;
    result.converged = best.converged;
    result.uncertainty = AsModelValues(Uncertainties(model, best.values, samples));
    return result;
}

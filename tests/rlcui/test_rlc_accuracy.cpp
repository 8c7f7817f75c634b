// How closely each circuit kind's estimation rule, and the least-squares refinement, recover the
// simulated component, measured end to end as the panel does it: calibration and component sweeps of the simulated analyzer
// without noise, in a fixture with 50 mOhm and 20 nH in series and 5 pF across the terminals,
// at 50 steps per decade over a sweep holding the frequencies the rule looks at.
#include <complex>
#include <cstdio>

#include "RlcUiFixture.h"
#include "rlc/adapters/HeadlessEngine.h"
#include "rlc/adapters/HeadlessMeasurement.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelRefinement.h"

namespace rlcuitest {
namespace {

struct Expected {
    double value;      // simulated; 0 when the kind has no such value
    double tolerance;  // relative
};

struct AccuracyCase {
    int kind;
    const char* dut;
    double start, stop;  // Hz
    Expected r, second, c;
};

// Tolerances: 1e-3 where the rule reads the component's own impedance at one point (the
// readings' five digits and the fixture's removal leave far less). Rules that interpolate the
// resonance between two points (kinds 5 and 10) keep a second-order error of the 0.02-decade
// step: 0.2%. Kinds 7 and 8 take the point of most negative reactance as if it lay exactly at
// w R C = 1; a grid point up to half a step (0.01 decade) away gives C an error of up to
// 2.3% (first order) and the series R of kind 8 one of up to 1.2% of Rp. Kind 9 takes L at
// the point where X = R, which is L / (1 - (w / w0)^2) there (so R << sqrt(L / C) is needed:
// 0.1 Ohm against 31.6 Ohm gives 1e-5), and finds its resonance where the phase jumps from
// +90 to -90 degrees: the interpolation lands up to half a step from w0, 4.7% in C.
const AccuracyCase kCases[] = {
    {KIND_R, "R:R=100", 10, 100e3, {100, 1e-3}, {0, 0}, {0, 0}},
    {KIND_L, "L:L=1m", 100, 100e3, {0, 0}, {1e-3, 1e-3}, {0, 0}},
    {KIND_C, "C:C=1u", 10, 100e3, {0, 0}, {0, 0}, {1e-6, 1e-3}},
    {KIND_R_PLUS_L, "R+L:R=10,L=1m", 10, 100e3, {10, 1e-3}, {1e-3, 1e-3}, {0, 0}},
    {KIND_R_PLUS_C, "R+C:R=10,C=1u", 10, 100e3, {10, 1e-3}, {0, 0}, {1e-6, 1e-3}},
    {KIND_R_PLUS_L_PLUS_C, "R+L+C:R=10,L=1m,C=1u", 100, 100e3, {10, 1e-3}, {1e-3, 2e-3}, {1e-6, 2e-3}},
    {KIND_R_PAR_L, "R||L:R=100,L=1m", 100, 1e6, {100, 1e-3}, {1e-3, 1e-3}, {0, 0}},
    {KIND_R_PAR_C, "R||C:R=1k,C=1u", 10, 100e3, {1000, 1e-3}, {0, 0}, {1e-6, 0.025}},
    {KIND_R_PLUS_R_PAR_C, "R+(R||C):R=1k,Rp=1k,C=1u", 10, 100e3, {1000, 0.013}, {1000, 1e-3}, {1e-6, 0.025}},
    {KIND_R_PLUS_L_PAR_C, "R+(L||C):R=0.1,L=1m,C=1u", 1, 100e3, {0.1, 1e-3}, {1e-3, 1e-3}, {1e-6, 0.048}},
    {KIND_R_PAR_L_PAR_C, "R||L||C:R=100,L=1m,C=1u", 100, 100e3, {100, 1e-3}, {1e-3, 2e-3}, {1e-6, 2e-3}},
};

void PrintTo(const AccuracyCase& c, std::ostream* os)
{
    *os << c.dut;
}

class RlcAccuracyTest : public testing::TestWithParam<AccuracyCase> {
protected:
    void SetUp() override { appData() = ApplicationData{}; }
    NoSleep noSleep;
    instrument::ScopedSleeper useSleeper{noSleep};
};

void ExpectClose(const char* name, const Expected& expected, double fitted)
{
    if (expected.value == 0)
        return;
    EXPECT_NEAR(fitted / expected.value, 1.0, expected.tolerance) << name << " fitted " << fitted;
}

TEST_P(RlcAccuracyTest, FitRecoversTheSimulatedComponent)
{
    const AccuracyCase& c = GetParam();
    ASSERT_EQ(ConfigureSimulator(std::string("reset;time_factor=0;tmo_factor=0;noise=0;series_r=0.05;"
                                             "series_l=20n;parallel_c=5p;dut=") + c.dut),
              0);
    SimulatedOperator user(ConfigureSimulator, "DUT");
    SetPrompter(&user);
    BasicAnalyzerHost host;
    Analyzer2600Engine engine(host);
    ASSERT_TRUE(engine.InitDialogStage2(""));
    HeadlessMeasurementSetup setup;
    setup.start = c.start;
    setup.stop = c.stop;
    setup.stepsPerDecade = 50;
    setup.kind = c.kind;
    HeadlessMeasurement measurement(engine, host, user, setup);
    ASSERT_EQ(measurement.Run(), HeadlessMeasurement::Outcome::Done);
    const ModelValues fitted = measurement.Model().Values();
    ExpectClose("R", c.r, fitted.r);
    ExpectClose(SecondValueLabel(c.kind).c_str(), c.second, fitted.second);
    ExpectClose("C", c.c, fitted.c);

    // The refinement reads the whole curve: what is left is the readings' digits and the
    // fixture's removal, about 1e-6 (measured up to 8e-7).
    const CDataSet* set = measurement.Document()->GetDataSet(measurement.Model().SelectedPosition());
    ASSERT_NE(set, nullptr);
    const auto refined = RefineModel(*set, c.kind);
    ASSERT_TRUE(refined.has_value());
    EXPECT_TRUE(refined->converged);
    const auto refinedClose = [](const char* name, const Expected& expected, double value) {
        ExpectClose(name, {expected.value, 1e-5}, value);
    };
    refinedClose("refined R", c.r, refined->refined.r);
    refinedClose("refined L/Rp", c.second, refined->refined.second);
    refinedClose("refined C", c.c, refined->refined.c);
    engine.ShutDownAnalyzer();
    SetPrompter(nullptr);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, RlcAccuracyTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<AccuracyCase>& info) {
                             return "Kind" + std::to_string(info.param.kind);
                         });

// The whole workflow on each analyzer type's simulated analyzer: calibration, the component with
// the fixture removed and the fit, against the component's own impedance at every point.
class RlcEveryTypeTest : public testing::TestWithParam<int> {
protected:
    void SetUp() override { appData() = ApplicationData{}; }
    NoSleep noSleep;
    instrument::ScopedSleeper useSleeper{noSleep};
};

TEST_P(RlcEveryTypeTest, TheCorrectedCurveIsTheComponentsImpedance)
{
    const int type = GetParam();
    BasicAnalyzerHost host;
    host.analyzerType = type;
    if (const int fixed = FixedModelCode(type))
        host.modelCode = fixed;
    char model[8];
    std::snprintf(model, sizeof model, "%x", static_cast<unsigned>(host.modelCode));
    ASSERT_EQ(ConfigureSimulator(std::string("reset;family=") + SimulatorFamily(type) + ";model=" + model +
                                 ";time_factor=0;tmo_factor=0;noise=0;series_r=0.05;series_l=20n;parallel_c=5p;"
                                 "dut=R+L:R=10,L=1m"),
              0);
    appData().channelCount = StartChannelCount(type);
    SimulatedOperator user(ConfigureSimulator, "DUT");
    SetPrompter(&user);
    const std::unique_ptr<AnalyzerDialog> engine = OpenHeadlessEngine(type, host);
    ASSERT_NE(engine, nullptr);
    HeadlessMeasurementSetup setup;
    setup.analyzerType = type;
    setup.start = 10;
    setup.stop = 100e3;
    setup.stepsPerDecade = 10;
    setup.kind = KIND_R_PLUS_L;
    HeadlessMeasurement measurement(*engine, host, user, setup);
    ASSERT_EQ(measurement.Run(), HeadlessMeasurement::Outcome::Done);

    const CTalDocument& doc = *measurement.Document();
    int corrected = -1;
    for (int i = 0; i < doc.GetDataSetCount(); ++i)
        if (doc.GetCalibrationRole(i) == 5)
            corrected = i;
    ASSERT_GE(corrected, 0);
    ASSERT_EQ(doc.GetPointCount(corrected), 41);
    for (int p = 0; p < doc.GetPointCount(corrected); ++p) {
        const double f = doc.GetFrequency(corrected, p);
        const std::complex<double> z(10.0, 2.0 * 3.141592653589793 * f * 1e-3);
        EXPECT_NEAR(doc.GetGain(corrected, p) / std::abs(z), 1.0, 1e-3) << f << " Hz";
        EXPECT_NEAR(doc.GetPhase(corrected, p), std::arg(z) * 180.0 / 3.141592653589793, 0.05) << f << " Hz";
    }
    const ModelValues fitted = measurement.Model().Values();
    EXPECT_NEAR(fitted.r / 10.0, 1.0, 1e-3);
    EXPECT_NEAR(fitted.second / 1e-3, 1.0, 1e-3);
    SetPrompter(nullptr);
}

INSTANTIATE_TEST_SUITE_P(EachType, RlcEveryTypeTest,
                         testing::Values(RLC2600, RLC1370, RLC1960, RLC1842, RLC1852, RLC1862, RLC880),
                         [](const testing::TestParamInfo<int>& info) { return "Type" + std::to_string(info.param); });

}  // namespace
}  // namespace rlcuitest

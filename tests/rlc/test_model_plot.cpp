#include <gtest/gtest.h>

#include <string>

#include "ImpedanceCurves.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelFit.h"
#include "rlc/model/ModelPlot.h"

using namespace rlctest;

namespace {

class ModelPlotTest : public ::testing::Test {
protected:
    void SetUp() override { saved = appData(); }
    void TearDown() override { appData() = saved; }

    int AddSweep(CTalDocument& doc, const std::vector<double>& f)
    {
        return doc.AddDataSet(CurveSet(f, [](double) { return Complex(1, 0); }));
    }

    ApplicationData saved;
};

TEST_F(ModelPlotTest, ModelOfEveryKindIsItsCircuitsImpedance)
{
    const ModelValues values[kCircuitKindCount] = {
        {100, -1, -1},    {-1, 1e-3, -1},   {-1, -1, 1e-6},    {10, 1e-3, -1},
        {10, -1, 1e-6},   {10, 1e-3, 1e-6}, {1000, 10e-3, -1}, {1000, -1, 1e-6},
        {10, 1000, 1e-6}, {1, 1e-3, 1e-6},  {1000, 1e-3, 1e-6},
    };
    const auto source = CurveSet(LogFrequencies(1, 1e6, 10), [](double) { return 1.0; });
    for (int kind = 0; kind < kCircuitKindCount; ++kind) {
        const auto model = MakeModelDataSet(kind, values[kind], *source);
        ASSERT_TRUE(model) << kind;
        ASSERT_EQ(model->GetPointCount(), source->GetPointCount());
        for (int i = 0; i < model->GetPointCount(); ++i) {
            const Complex z = IdealImpedance(kind, values[kind], 2 * kPi * source->GetFrequency(i));
            EXPECT_NEAR(model->GetGain(i) / std::abs(z), 1, 1e-9) << kind << " at " << i;
            EXPECT_NEAR(model->GetPhase(i), std::arg(z) * 180 / kPi, 1e-7) << kind << " at " << i;
        }
    }
}

TEST_F(ModelPlotTest, ModelSetTakesTheSourceFrequenciesNameAndColours)
{
    // Math results read back times the math scale factor; the model must read |Z| anyway.
    appData().mathScaleFactor = 3;
    CTalDocument doc;
    const std::vector<double> f = {30, 10, 100, 1000};
    const int source = AddSweep(doc, f);
    const int index = CreateModelPlot(doc, source, KIND_R_PLUS_L, {10, 1e-3, -1});
    ASSERT_EQ(index, 1);
    EXPECT_TRUE(doc.IsModified());
    const CDataSet& model = *doc.GetDataSet(index);
    EXPECT_EQ(model.m_name, "Model (R + L)");
    EXPECT_EQ(model.GetGainColor(), 0xFF00FFu);
    EXPECT_EQ(model.GetPhaseColor(), 0xFF8000u);
    ASSERT_EQ(model.GetPointCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(model.GetFrequency(i), f[i]);
        const Complex z(10, 2 * kPi * f[i] * 1e-3);
        EXPECT_NEAR(model.GetGain(i), std::abs(z), 1e-9);
        EXPECT_NEAR(model.GetPhase(i), std::arg(z) * 180 / kPi, 1e-9);
    }
}

TEST_F(ModelPlotTest, ChecksOfCreatePlot)
{
    struct Case {
        int kind;
        ModelValues values;
        bool plotted;
    };
    const Case cases[] = {
        {KIND_L, {1, -1e-3, -1}, false},           // negative L on an L kind
        {KIND_R, {-1, -1, -1}, false},             // nothing positive
        {KIND_R, {0, 0, 0}, false},
        {KIND_R, {50, -1, -1}, true},              // unused values may be negative
        {KIND_R_PLUS_R_PAR_C, {-5, -7, 1e-9}, true},  // kind 8 is not checked
        {KIND_R_PLUS_R_PAR_C, {-5, -7, -1}, false},   // but needs one positive value
        {KIND_R_PLUS_C, {10, -1, -1e-6}, false},
        {KIND_R_PAR_L_PAR_C, {1000, 1e-3, -1e-6}, false},
        {KIND_R_PLUS_L, {0, 1e-3, -1}, true},      // zero R in series is an ideal inductor
        {KIND_C, {5, -1, 0}, false},               // infinite impedance: no curve
        {11, {1, 1, 1}, false},
    };
    for (const Case& c : cases) {
        CTalDocument doc;
        const int source = AddSweep(doc, {10, 100});
        EXPECT_EQ(CreateModelPlot(doc, source, c.kind, c.values) >= 0, c.plotted)
            << "kind " << c.kind << " R " << c.values.r << " L " << c.values.second << " C "
            << c.values.c;
        EXPECT_EQ(doc.GetDataSetCount(), c.plotted ? 2 : 1);
        EXPECT_EQ(doc.IsModified(), c.plotted);
    }
    CTalDocument doc;
    EXPECT_EQ(CreateModelPlot(doc, 0, KIND_R, {1, -1, -1}), -1);  // no such data set
}

}  // namespace

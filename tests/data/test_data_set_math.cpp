#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "data/ApplicationData.h"
#include "data/DataSetMath.h"
#include "data/TalDocument.h"

namespace {

// Restores the program-wide defaults that the math reads.
class MathTest : public ::testing::Test {
protected:
    void SetUp() override { saved = appData(); }
    void TearDown() override { appData() = saved; }

    // A set on nodes 1 (input, 1 V) and 2 (output) reading `gain` at `phase` everywhere.
    int AddFlatSet(std::vector<double> frequencies, double gain, double phase = 0,
                   double scaleFactor = 1)
    {
        auto set = std::make_unique<CDataSet>();
        for (double f : frequencies)
            set->AddPoint(f, 1, 0, gain, phase);
        set->SetScaleFactor(scaleFactor);
        return doc.AddDataSet(std::move(set));
    }

    const CDataSet& Result(int index) const
    {
        const CDataSet* set = doc.GetDataSet(index);
        EXPECT_NE(set, nullptr);
        return *set;
    }

    ApplicationData saved;
    CTalDocument doc;
};

std::vector<double> Frequencies(const CDataSet& set)
{
    std::vector<double> f;
    for (int i = 0; i < set.GetPointCount(); ++i)
        f.push_back(set.GetFrequency(i));
    return f;
}

TEST_F(MathTest, SamplesUnionOfFrequenciesInsideCommonRange)
{
    // a reads f/10 (a power law, so its log-log interpolation is exact); b reads 1.
    auto rising = std::make_unique<CDataSet>();
    for (double f : {10.0, 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0})
        rising->AddPoint(f, 1, 0, f / 10, 0);
    const int a = doc.AddDataSet(std::move(rising));
    const int b = AddFlatSet({100, 150, 300, 1000, 3000, 10000}, 1);

    const CDataSet& diff = Result(doc.OnViewMath(a, 0, b, 0, MATH_SUBTRACT));
    const std::vector<double> expected = {100, 150, 200, 300, 500, 1000};
    ASSERT_EQ(Frequencies(diff), expected);
    for (int i = 0; i < diff.GetPointCount(); ++i) {
        EXPECT_NEAR(diff.GetGain(i), expected[i] / 10 - 1, 1e-9) << expected[i];
        EXPECT_NEAR(diff.GetPhase(i), 0, 1e-9);
    }

    const CDataSet& reversed = Result(doc.OnViewMath(b, 0, a, 0, MATH_SUBTRACT));
    ASSERT_EQ(Frequencies(reversed), expected);
    EXPECT_NEAR(reversed.GetGain(1), 14, 1e-9);
    EXPECT_NEAR(reversed.GetPhase(1), 180, 1e-9);
}

TEST_F(MathTest, DisjointRangesGiveEmptyResultThatIsStillAdded)
{
    const int a = AddFlatSet({10, 100}, 1);
    const int b = AddFlatSet({1000, 10000}, 1);
    const int r = doc.OnViewMath(a, 0, b, 0, MATH_ADD);
    EXPECT_EQ(r, 2);
    EXPECT_EQ(Result(r).GetPointCount(), 0);
}

TEST_F(MathTest, DownwardSweepIsSortedOnACopy)
{
    const int down = AddFlatSet({1000, 100, 10}, 2);
    const int up = AddFlatSet({10, 30, 1000}, 3);
    const CDataSet& sum = Result(doc.OnViewMath(down, 0, up, 0, MATH_ADD));
    EXPECT_EQ(Frequencies(sum), (std::vector<double>{10, 30, 100, 1000}));
    EXPECT_NEAR(sum.GetGain(1), 5, 1e-9);
    EXPECT_EQ(Frequencies(Result(down)), (std::vector<double>{1000, 100, 10}));
}

// Operand: a flat data set at 10, 100, 1000 Hz, or a constant.
struct Operand {
    bool constant;
    double value;  // gain, or the constant
    double phase = 0;
    double scaleFactor = 1;
};

struct OperationCase {
    const char* name;
    Operand a, b;
    int operation;
    double mathScaleFactor;
    double gain, phase;
    int points;
};

class OperationTest : public MathTest, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(OperationTest, ComputesValueAtEveryPoint)
{
    const OperationCase& c = GetParam();
    const auto index = [this](const Operand& o) {
        return o.constant ? -1 : AddFlatSet({10, 100, 1000}, o.value, o.phase, o.scaleFactor);
    };
    const int ia = index(c.a);
    const int ib = index(c.b);
    appData().mathScaleFactor = c.mathScaleFactor;
    const int count = doc.GetDataSetCount();
    const int r = doc.OnViewMath(ia, c.a.value, ib, c.b.value, c.operation);
    ASSERT_EQ(r, count);
    const CDataSet& z = Result(r);
    ASSERT_EQ(z.GetPointCount(), c.points);
    for (int i = 0; i < z.GetPointCount(); ++i) {
        EXPECT_NEAR(z.GetGain(i), c.gain, std::fabs(c.gain) * 1e-12) << "point " << i;
        EXPECT_NEAR(z.GetPhase(i), c.phase, 1e-9) << "point " << i;
    }
}

constexpr Operand Set(double gain, double phase = 0, double scaleFactor = 1)
{
    return {false, gain, phase, scaleFactor};
}
constexpr Operand Constant(double value) { return {true, value}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, OperationTest,
    ::testing::Values(
        OperationCase{"DoublingKeepsPhase", Set(2, 30), Set(2, 30), MATH_ADD, 1, 4, 30, 3},
        OperationCase{"PlusMinusOneShiftsRealPart", Set(3, 90), Constant(-1), MATH_ADD, 1,
                      std::sqrt(10.0), 180 - std::atan(3.0) * 180 / M_PI, 3},
        OperationCase{"SetMinusConstant", Set(5), Constant(2), MATH_SUBTRACT, 1, 3, 0, 3},
        OperationCase{"ProductWrapsPhase", Set(2, 120), Set(3, 120), MATH_MULTIPLY, 1, 6, -120,
                      3},
        OperationCase{"Quotient", Set(10, 45), Set(2, -45), MATH_DIVIDE, 1, 5, 90, 3},
        OperationCase{"OperandScaleFactorApplies", Set(2, 0, -10), Constant(1), MATH_MULTIPLY, 1,
                      20, 180, 3},
        OperationCase{"TwoConstantsGiveDenseSet", Constant(2), Constant(3), MATH_MULTIPLY, 1, 6,
                      0, 211},
        OperationCase{"Parallel", Set(100), Set(100), MATH_ADD_PARALLEL, 1, 50, 0, 3},
        OperationCase{"SubtractParallel", Set(50), Set(100), MATH_SUBTRACT_PARALLEL, 1, 100, 0,
                      3},
        OperationCase{"SubtractParallelOperandOrder", Set(100), Set(50), MATH_SUBTRACT_PARALLEL,
                      1, 100, 180, 3},
        OperationCase{"ParallelOfConstants", Constant(30), Constant(60), MATH_ADD_PARALLEL, 1,
                      20, 0, 211},
        OperationCase{"ScaleFactorMultiply", Set(1), Set(1), MATH_MULTIPLY, 2, 2, 0, 3},
        OperationCase{"ScaleFactorAppliesOnceInParallel", Set(100), Set(100), MATH_ADD_PARALLEL,
                      2, 100, 0, 3},
        OperationCase{"ScaleFactorAlsoScalesConstants", Set(1), Constant(3), MATH_ADD, 2, 14, 0,
                      3},
        OperationCase{"ZeroScaleFactorLeavesValuesUnscaled", Set(2), Set(3), MATH_MULTIPLY, 0, 6,
                      0, 3}),
    [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

TEST_F(MathTest, ConstantsSpanWholeFrequencyRange)
{
    const CDataSet& z = Result(doc.OnViewMath(-1, 2, -1, 3, MATH_MULTIPLY));
    ASSERT_EQ(z.GetPointCount(), 211);
    EXPECT_EQ(z.GetFrequency(0), 1e-6);
    EXPECT_EQ(z.GetFrequency(210), 1e15);
    EXPECT_NEAR(z.GetFrequency(60), 1.0, 1e-12);
    for (int i = 1; i < z.GetPointCount(); ++i)
        EXPECT_GT(z.GetFrequency(i), z.GetFrequency(i - 1));
}

TEST_F(MathTest, DividingByConstantZeroGivesLargeValue)
{
    const int a = AddFlatSet({10, 100}, 1);
    const CDataSet& z = Result(doc.OnViewMath(a, 0, -1, 0, MATH_DIVIDE));
    ASSERT_EQ(z.GetPointCount(), 2);
    EXPECT_GT(z.GetGain(0), 1e90);
}

struct NodePairCase {
    int input, output;
    int entries;  // node entries of a result point
};

class NodePairTest : public MathTest, public ::testing::WithParamInterface<NodePairCase> {};

TEST_P(NodePairTest, ResultReadsBackOnDefaultNodes)
{
    const int a = AddFlatSet({10, 100}, 4, 20);
    const int b = AddFlatSet({10, 100}, 2, -50);
    appData().defaultInputNode = GetParam().input;
    appData().defaultOutputNode = GetParam().output;
    const CDataSet& z = Result(doc.OnViewMath(a, 0, b, 0, MATH_MULTIPLY));
    ASSERT_EQ(z.GetPointCount(), 2);
    EXPECT_EQ(z.GetLastNodeIndex(0) + 1, GetParam().entries);
    EXPECT_NEAR(z.GetGain(0), 8, 1e-12);
    EXPECT_NEAR(z.GetPhase(0), -30, 1e-12);
    EXPECT_EQ(z.GetNodeVoltage(0, z.GetInputNode()), 1);
    for (int node = 1; node < std::max(z.GetInputNode(), z.GetOutputNode()); ++node) {
        if (node != z.GetInputNode() && node != z.GetOutputNode()) {
            EXPECT_EQ(z.GetNodeVoltage(0, node), ABSENT_VOLTAGE) << node;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pairs, NodePairTest,
                         ::testing::Values(NodePairCase{1, 2, 2}, NodePairCase{2, 3, 3},
                                           NodePairCase{3, 4, 4}, NodePairCase{2, 1, 2},
                                           NodePairCase{1, 3, 3}, NodePairCase{2, 2, 2},
                                           NodePairCase{0, 7, 2}));

TEST_F(MathTest, NodePairTwoThreeLayout)
{
    appData().defaultInputNode = 2;
    appData().defaultOutputNode = 3;
    const CDataSet& z = Result(doc.OnViewMath(-1, 5, -1, 1, MATH_ADD));
    const CDataPoint& p = *z.m_points.at(0);
    ASSERT_EQ(p.m_nodes.size(), 3u);
    EXPECT_EQ(p.m_nodes[0].node, 1);
    EXPECT_EQ(p.m_nodes[0].voltage, ABSENT_VOLTAGE);
    EXPECT_EQ(p.m_nodes[1].node, 2);
    EXPECT_EQ(p.m_nodes[1].voltage, 1);
    EXPECT_EQ(p.m_nodes[2].node, 3);
    EXPECT_NEAR(p.m_nodes[2].voltage, 6, 1e-12);
}

TEST_F(MathTest, InvalidOperandsAddNothing)
{
    const int a = AddFlatSet({10, 100}, 1);
    EXPECT_EQ(doc.OnViewMath(a, 0, 5, 0, MATH_ADD), -1);
    EXPECT_EQ(doc.OnViewMath(a, 0, a, 0, 6), -1);
    EXPECT_EQ(doc.OnViewMath(a, 0, a, 0, -1), -1);
    EXPECT_EQ(doc.OnViewMath(a, 0, -1, std::nan(""), MATH_ADD), -1);
    EXPECT_EQ(CreateTransferFunction(doc, 3, 0, a, 0), -1);
    EXPECT_EQ(doc.GetDataSetCount(), 1);
}

TEST_F(MathTest, TransferFunctionOfEqualSetsIsHalfWhateverTheScaleFactor)
{
    for (double factor : {1.0, 2.0}) {
        appData().mathScaleFactor = factor;
        const int a = AddFlatSet({10, 100, 1000}, 7, 40);
        const int b = AddFlatSet({10, 100, 1000}, 7, 40);
        const int numberBefore = doc.GetNextNumber();
        const int t = CreateTransferFunction(doc, a, 0, b, 0);
        ASSERT_EQ(t, doc.GetDataSetCount() - 1) << factor;
        EXPECT_EQ(t, b + 1);
        // The intermediate sum took a number before it was deleted.
        EXPECT_EQ(doc.GetDataSetNumber(t), numberBefore + 1);
        const CDataSet& z = Result(t);
        ASSERT_EQ(z.GetPointCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(z.GetGain(i), 0.5, 1e-12) << factor;
            EXPECT_NEAR(z.GetPhase(i), 0, 1e-9) << factor;
        }
    }
}

TEST_F(MathTest, TransferFunctionWithConstantOperands)
{
    const int a = AddFlatSet({10, 100}, 1);
    const CDataSet& divider = Result(CreateTransferFunction(doc, a, 0, -1, 3));
    ASSERT_EQ(divider.GetPointCount(), 2);
    EXPECT_NEAR(divider.GetGain(0), 0.75, 1e-12);  // 3 / (1 + 3)

    const CDataSet& constants = Result(CreateTransferFunction(doc, -1, 1, -1, 1));
    EXPECT_EQ(constants.GetPointCount(), 211);
    EXPECT_NEAR(constants.GetGain(100), 0.5, 1e-12);
    EXPECT_EQ(doc.GetDataSetCount(), 3);
}

}  // namespace

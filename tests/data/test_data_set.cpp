#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

#include "data/ApplicationData.h"
#include "data/DataSet.h"

namespace {

// Gain/phase set with node 1 as input (1 V, 0 deg) and node 2 as output.
CDataSet MakeGainSet(std::initializer_list<std::array<double, 3>> rows)
{
    CDataSet set;
    for (const auto& r : rows)
        set.AddPoint(r[0], 1.0, 0.0, r[1], r[2]);
    return set;
}

}  // namespace

TEST(WrapPhase, MapsIntoHalfOpenRange)
{
    const struct {
        double in, out;
    } cases[] = {{0, 0},     {190, -170}, {-190, 170}, {180, 180}, {-180, 180},
                 {540, 180}, {359, -1},   {-540, 180}, {720, 0},   {-0.5, -0.5}};
    for (const auto& c : cases)
        EXPECT_NEAR(WrapPhase(c.in), c.out, 1e-9) << c.in;
}

TEST(DataPoint, ConstructorClampsFrequencyToLowestValue)
{
    const double out[] = {0.0, -5.0, 2e15, std::numeric_limits<double>::quiet_NaN()};
    for (double f : out)
        EXPECT_EQ(CDataPoint(f).m_frequency, MIN_FREQUENCY) << f;
    EXPECT_EQ(CDataPoint(MIN_FREQUENCY).m_frequency, MIN_FREQUENCY);
    EXPECT_EQ(CDataPoint(MAX_FREQUENCY).m_frequency, MAX_FREQUENCY);
    EXPECT_EQ(CDataPoint(1234.5).m_frequency, 1234.5);
}

TEST(DataPoint, AddNodeNormalisesAndRefusesDuplicates)
{
    CDataPoint p(100);
    EXPECT_EQ(p.AddNode(1, -2.0, 30.0), 1);
    EXPECT_EQ(p.GetVoltage(1), 2.0);
    EXPECT_NEAR(p.GetPhase(1), -150.0, 1e-12);
    EXPECT_EQ(p.AddNode(2, 0.0, 200.0), 1);
    EXPECT_EQ(p.GetVoltage(2), ABSENT_VOLTAGE);
    EXPECT_NEAR(p.GetPhase(2), -160.0, 1e-12);

    EXPECT_EQ(p.AddNode(1, 5.0, 10.0), 0);
    EXPECT_EQ(p.GetVoltage(1), 2.0);
    ASSERT_EQ(p.m_nodes.size(), 2u);

    EXPECT_EQ(p.GetVoltage(3), ABSENT_VOLTAGE);
    EXPECT_EQ(p.GetPhase(3), ABSENT_PHASE);
}

TEST(DataPoint, MultiNodeConstructorsAndCopy)
{
    CDataPoint p(50, 1, 10, 2, 20, 3, 30, 4, 40);
    ASSERT_EQ(p.m_nodes.size(), 4u);
    for (int n = 1; n <= 4; ++n) {
        EXPECT_EQ(p.m_nodes[n - 1].node, n);
        EXPECT_EQ(p.GetVoltage(n), n);
        EXPECT_NEAR(p.GetPhase(n), 10.0 * n, 1e-12);
    }
    EXPECT_EQ(CDataPoint(50, 1, 0, 2, 0, 3, 0).m_nodes.size(), 3u);

    // A copy keeps an out-of-range frequency (points read from a file are not checked).
    p.m_frequency = 0;
    CDataPoint copy(p);
    EXPECT_EQ(copy.m_frequency, 0.0);
    ASSERT_EQ(copy.m_nodes.size(), 4u);
    EXPECT_EQ(copy.GetVoltage(3), 3.0);
}

TEST(DataSet, NewSetTakesApplicationDefaults)
{
    ApplicationData saved = appData();
    appData().defaultInputNode = 3;
    appData().defaultOutputNode = 4;
    appData().defaultScaleFactor = 2.5;
    appData().defaultGainColor = 0x123456;
    appData().inputRange = 2;
    appData().channelPair = 1;
    CDataSet set;
    appData() = saved;

    EXPECT_EQ(set.GetInputNode(), 3);
    EXPECT_EQ(set.GetOutputNode(), 4);
    EXPECT_EQ(set.GetScaleFactor(), 2.5);
    EXPECT_EQ(set.GetGainColor(), 0x123456u);
    EXPECT_EQ(set.GetPhaseColor(), 0xFF0000u);
    EXPECT_EQ(set.GetNodeColor(2), 0xFF00FFu);
    EXPECT_EQ(set.GetNodeColor(7), 0x0080FFu);
    EXPECT_EQ(set.GetInputRange(), 2);
    EXPECT_EQ(set.GetChannelPair(), 1);
    EXPECT_EQ(set.m_version, 5);
    EXPECT_EQ(set.m_reserved, 3);
    EXPECT_EQ(set.GetMinFrequency(), 1e15);
    EXPECT_EQ(set.GetMaxFrequency(), 1e-6);
    EXPECT_EQ(set.GetMinGain(), 1e99);
    EXPECT_EQ(set.GetMaxGain(), 1e-99);
    EXPECT_EQ(set.GetMinPhase(), 10000);
    EXPECT_EQ(set.GetMaxPhase(), -10000);
}

TEST(DataSet, DerivedGainAndPhase)
{
    CDataSet set;
    set.AddPoint(100, 2.0, 10.0, 6.0, 170.0);
    EXPECT_DOUBLE_EQ(set.GetGain(0), 3.0);
    EXPECT_NEAR(set.GetPhase(0), 160.0, 1e-9);

    ASSERT_EQ(set.SetScaleFactor(-2.0), 1);
    EXPECT_DOUBLE_EQ(set.GetGain(0), 6.0);
    EXPECT_NEAR(set.GetPhase(0), -20.0, 1e-9);  // 160 + 180 wrapped

    // Output over a node the point lacks: divides by 1e-99, no error.
    set.m_inputNode = 3;
    EXPECT_GT(set.GetGain(0), 1e98);

    for (int bad : {-1, 1}) {
        EXPECT_EQ(set.GetFrequency(bad), NO_DATA_VALUE);
        EXPECT_EQ(set.GetGain(bad), NO_DATA_VALUE);
        EXPECT_EQ(set.GetPhase(bad), NO_DATA_VALUE);
        EXPECT_EQ(set.GetNodeVoltage(bad, 1), NO_DATA_VALUE);
        EXPECT_EQ(set.GetNodePhase(bad, 1), NO_DATA_VALUE);
    }
    EXPECT_EQ(set.GetLastNodeIndex(0), 1);
    EXPECT_EQ(set.GetNodeId(0, 1), 2);
    EXPECT_EQ(set.GetNodeVoltage(0, 2), 6.0);
    EXPECT_EQ(set.GetNodePhase(0, 4), ABSENT_PHASE);
}

TEST(DataSet, LimitsFollowPointsAndRemoveAllResets)
{
    CDataSet set = MakeGainSet({{100, 2, 30}, {10, 0.5, -45}, {1000, 8, 90}});
    EXPECT_EQ(set.GetMinFrequency(), 10);
    EXPECT_EQ(set.GetMaxFrequency(), 1000);
    EXPECT_DOUBLE_EQ(set.GetMinGain(), 0.5);
    EXPECT_DOUBLE_EQ(set.GetMaxGain(), 8);
    EXPECT_NEAR(set.GetMinPhase(), -45, 1e-9);
    EXPECT_NEAR(set.GetMaxPhase(), 90, 1e-9);
    EXPECT_EQ(set.m_minVoltage[1], 0.5);
    EXPECT_EQ(set.m_maxVoltage[1], 8);
    EXPECT_EQ(set.m_minVoltage[2], ABSENT_VOLTAGE);  // node 3 absent everywhere

    set.RemoveAll();
    EXPECT_EQ(set.GetPointCount(), 0);
    EXPECT_EQ(set.GetMinFrequency(), 1e15);
    EXPECT_EQ(set.GetMaxGain(), 1e-99);
}

TEST(DataSet, FindIndexUpwardAndDownward)
{
    const CDataSet up = MakeGainSet({{10, 1, 0}, {100, 1, 0}, {1000, 1, 0}});
    const CDataSet down = MakeGainSet({{1000, 1, 0}, {100, 1, 0}, {10, 1, 0}});
    const struct {
        const CDataSet* set;
        double f;
        int index;
    } cases[] = {
        {&up, 10, 0},      {&up, 50, 1},     {&up, 100, 1},   {&up, 101, 2},
        {&up, 1000, 2},    {&up, 9.99, -1},  {&up, 1001, -1}, {&down, 1000, 0},
        {&down, 500, 1},   {&down, 100, 1},  {&down, 10, 2},  {&down, 5, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.set->FindIndex(c.f), c.index) << c.f;
    EXPECT_EQ(CDataSet().FindIndex(100), -1);
    EXPECT_EQ(up.FindPoint(100), 1);
    EXPECT_EQ(up.FindPoint(99), -1);
}

TEST(DataSet, GainInterpolatesLogLog)
{
    const CDataSet set = MakeGainSet({{10, 1, 0}, {1000, 100, 0}});
    EXPECT_NEAR(set.GetGainAt(100), 10.0, 1e-9);
    EXPECT_NEAR(set.GetGainAt(1000), 100.0, 1e-9);
    EXPECT_DOUBLE_EQ(set.GetGainAt(10), 1.0);
    EXPECT_EQ(set.GetGainAt(5), NO_DATA_VALUE);
    EXPECT_EQ(set.GetGainAt(2000), NO_DATA_VALUE);
}

TEST(DataSet, PhaseInterpolatesTheShortWayRound)
{
    const struct {
        double e, d, f, expected;
    } cases[] = {
        {-170, 170, 100, 180},   // midpoint through 180, never through 0
        {-170, 170, std::sqrt(1000.0), -175},
        {170, -170, std::sqrt(1000.0) * 10, -175},
        {170, -170, std::sqrt(1000.0), 175},
        {-40, 20, 100, -10},     // ordinary linear case
    };
    for (const auto& c : cases) {
        const CDataSet set = MakeGainSet({{10, 1, c.e}, {1000, 1, c.d}});
        EXPECT_NEAR(set.GetPhaseAt(c.f), c.expected, 1e-9) << c.e << " -> " << c.d << " at " << c.f;
    }
    const CDataSet set = MakeGainSet({{10, 1, 33}, {1000, 1, 40}});
    EXPECT_NEAR(set.GetPhaseAt(10), 33, 1e-9);
    EXPECT_EQ(set.GetPhaseAt(1), NO_DATA_VALUE);
}

TEST(DataSet, SlopeInDecadesPerDecade)
{
    const CDataSet set = MakeGainSet({{10, 1, 0}, {100, 10, 0}, {1000, 0.1, 0}});
    EXPECT_NEAR(set.GetSlopeAt(10), 1.0, 1e-12);  // first point uses the first segment
    EXPECT_NEAR(set.GetSlopeAt(50), 1.0, 1e-12);
    EXPECT_NEAR(set.GetSlopeAt(500), -2.0, 1e-12);
    EXPECT_EQ(set.GetSlopeAt(5000), NO_DATA_VALUE);
    // One point has no slope.
    EXPECT_EQ(MakeGainSet({{10, 1, 0}}).GetSlopeAt(10), NO_DATA_VALUE);
}

TEST(DataSet, SettersRefuseWhatTheDataCannotSupport)
{
    CDataSet empty;
    EXPECT_EQ(empty.SetInputNode(1), 0);
    EXPECT_EQ(empty.SetOutputNode(2), 0);

    CDataSet set;
    set.AddPoint(100, 1, 0, 4, 0, 2, 0);
    set.AddPoint(200, 1, 0, 8, 0);  // later points need not carry node 3
    EXPECT_EQ(set.SetInputNode(4), 0);
    EXPECT_EQ(set.GetInputNode(), 1);
    EXPECT_EQ(set.SetScaleFactor(0), 0);
    EXPECT_EQ(set.SetScaleFactor(std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(set.SetScaleFactor(std::nan("")), 0);
    EXPECT_EQ(set.GetScaleFactor(), 1.0);
    EXPECT_DOUBLE_EQ(set.GetMaxGain(), 8);

    EXPECT_EQ(set.SetInputNode(3), 1);  // gains 2 and 8/1e-99: limits recomputed
    EXPECT_DOUBLE_EQ(set.GetMinGain(), 2);
    EXPECT_EQ(set.SetOutputNode(1), 1);
    EXPECT_EQ(set.SetScaleFactor(3), 1);
    EXPECT_DOUBLE_EQ(set.GetMinGain(), 1.5);
}

TEST(DataSet, AddNodeReadingBuildsPointsByFrequency)
{
    CDataSet set;
    EXPECT_EQ(set.AddNodeReading(100, 1, 2.0, 10), 1);
    EXPECT_EQ(set.AddNodeReading(200, 1, 1.0, 0), 1);
    EXPECT_EQ(set.AddNodeReading(100, 2, 4.0, 30), 1);
    EXPECT_EQ(set.AddNodeReading(100, 2, 9.0, 30), 0);
    ASSERT_EQ(set.GetPointCount(), 2);
    EXPECT_EQ(set.GetNodeVoltage(0, 2), 4.0);
    EXPECT_EQ(set.m_maxVoltage[1], 4.0);
    EXPECT_EQ(set.GetMaxFrequency(), 200);
    set.RecalcLimits();
    EXPECT_DOUBLE_EQ(set.GetGain(0), 2.0);
    EXPECT_NEAR(set.GetPhase(0), 20.0, 1e-9);
}

TEST(DataSet, CopyFromKeepsTargetIdentity)
{
    CDataSet source = MakeGainSet({{10, 2, 5}, {100, 4, 15}});
    source.SetOutputNode(1);
    source.SetInputNode(2);
    source.SetScaleFactor(3);
    source.m_gainColor = 1;
    source.m_phaseColor = 2;
    source.m_nodeColor[0] = 3;
    source.m_reserved = 9;
    source.m_inputRange = 1;
    source.m_channelPair = 2;
    source.m_name = "src";
    source.m_description = "from source";
    source.m_number = 7;
    source.m_calibrationRole = 2;

    CDataSet target = MakeGainSet({{1, 1, 1}});
    target.m_name = "dst";
    target.m_description = "mine";
    target.m_number = 4;
    target.m_calibrationRole = 5;
    target.m_nodeColor[0] = 0xABCDEF;
    target.CopyFrom(source);

    ASSERT_EQ(target.GetPointCount(), 2);
    EXPECT_DOUBLE_EQ(target.GetGain(1), 1.0 / 4.0 * 3.0);
    EXPECT_EQ(target.GetMinGain(), source.GetMinGain());
    EXPECT_EQ(target.GetMaxPhase(), source.GetMaxPhase());
    EXPECT_EQ(target.GetMinFrequency(), 10);
    EXPECT_EQ(target.GetOutputNode(), 1);
    EXPECT_EQ(target.GetInputNode(), 2);
    EXPECT_EQ(target.GetScaleFactor(), 3);
    EXPECT_EQ(target.m_gainColor, 1u);
    EXPECT_EQ(target.m_phaseColor, 2u);
    EXPECT_EQ(target.m_reserved, 9);
    EXPECT_EQ(target.m_inputRange, 1);
    EXPECT_EQ(target.m_channelPair, 2);
    EXPECT_EQ(target.m_nodeColor[0], 0xABCDEFu);
    EXPECT_EQ(target.m_name, "dst");
    EXPECT_EQ(target.m_description, "mine");
    EXPECT_EQ(target.m_number, 4);
    EXPECT_EQ(target.m_calibrationRole, 5);

    EXPECT_EQ(&target.CopyFrom(target), &target);
    EXPECT_EQ(target.GetPointCount(), 2);
    // The copy is deep.
    source.m_points[0]->m_frequency = 55;
    EXPECT_EQ(target.GetFrequency(0), 10);
}

TEST(DataSet, CopyConstructionTakesIdentityButNotDescription)
{
    CDataSet source = MakeGainSet({{10, 2, 5}, {100, 4, 15}});
    source.SetScaleFactor(-1);
    source.m_nodeColor[3] = 0x111111;
    source.m_gainColor = 0x222222;
    source.m_reserved = 8;
    source.m_inputRange = 2;
    source.m_channelPair = 1;
    source.m_name = "name";
    source.m_description = "desc";
    source.m_number = 12;
    source.m_calibrationRole = 3;
    source.m_version = 2;

    const CDataSet copy(source);
    EXPECT_EQ(copy.GetPointCount(), 2);
    EXPECT_NE(copy.m_points[0].get(), source.m_points[0].get());
    EXPECT_EQ(copy.m_nodeColor[3], 0x111111u);
    EXPECT_EQ(copy.m_gainColor, 0x222222u);
    EXPECT_EQ(copy.m_reserved, 8);
    EXPECT_EQ(copy.m_inputRange, 2);
    EXPECT_EQ(copy.m_channelPair, 1);
    EXPECT_EQ(copy.GetScaleFactor(), -1);
    EXPECT_EQ(copy.m_name, "name");
    EXPECT_EQ(copy.m_calibrationRole, 3);
    EXPECT_EQ(copy.m_description, "");
    EXPECT_EQ(copy.m_number, 0);
    EXPECT_EQ(copy.m_version, 5);
    EXPECT_DOUBLE_EQ(copy.GetMaxGain(), 4);
    EXPECT_NEAR(copy.GetMinPhase(), -175, 1e-9);
    EXPECT_EQ(copy.GetMaxFrequency(), 100);
}

TEST(DataSet, SortByFrequencyOrdersPointsAndPutsNaNLast)
{
    CDataSet set = MakeGainSet({{300, 3, 0}, {10, 1, 0}, {1e5, 5, 0}, {20, 2, 0}});
    set.m_points[2]->m_frequency = std::nan("");
    set.SortByFrequency();
    EXPECT_EQ(set.GetFrequency(0), 10);
    EXPECT_EQ(set.GetFrequency(1), 20);
    EXPECT_EQ(set.GetFrequency(2), 300);
    EXPECT_TRUE(std::isnan(set.GetFrequency(3)));
    EXPECT_EQ(set.GetNodeVoltage(2, 2), 3.0);
}

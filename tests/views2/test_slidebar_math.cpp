// Slide-bar placement, typed frequencies, the phase window and the equivalent circuit.
#include <cmath>
#include <gtest/gtest.h>

#include "views/slidebar/SlideBarMath.h"

namespace {

TEST(SlideBarMath, NewBarsStartAtAThirdAndDouble)
{
    EXPECT_NEAR(InitialSlideBarFrequency(1, 1e6, 0), 100, 1e-9);
    EXPECT_NEAR(InitialSlideBarFrequency(1, 1e6, 1), 200, 1e-9);
    EXPECT_NEAR(InitialSlideBarFrequency(1, 1e6, 2), 400, 1e-9);
    EXPECT_EQ(InitialSlideBarFrequency(1, 1e6, 20), 1e6);  // clamped
    const ClientPoint second = SlideBarDialogPosition(1, 800, 600);
    EXPECT_EQ(second.x, 20);
    EXPECT_EQ(second.y, 20);
    const ClientPoint late = SlideBarDialogPosition(40, 500, 300);
    EXPECT_EQ(late.x, 484);
    EXPECT_EQ(late.y, 284);
}

TEST(SlideBarMath, TypedFrequency)
{
    struct Case {
        double typed, setMin, setMax, displayMin, displayMax, previous, result;
    } cases[] = {
        {5e6, 10, 1e5, 1, 1e6, 1000, 1e5},     // clamped to the data set
        {5e6, 10, 1e5, 1, 5e4, 1000, 1000},    // outside the display: kept
        {2, 10, 1e5, 1, 1e6, 1000, 10},
        {2, 10, 1e5, 20, 1e6, 1000, 1000},
        {3000, 10, 1e5, 1, 1e6, 1000, 3000},
        {NAN, 10, 1e5, 1, 1e6, 1000, 1000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypedSlideBarFrequency(c.typed, c.setMin, c.setMax, c.displayMin, c.displayMax, c.previous),
                  c.result)
            << c.typed;
}

TEST(SlideBarMath, PhaseWindow)
{
    EXPECT_EQ(WrapPhaseToWindow(-90, -180, 180), -90);
    EXPECT_EQ(WrapPhaseToWindow(-180, -180, 180), 180);  // the lower edge belongs to the upper
    EXPECT_EQ(WrapPhaseToWindow(-90, 0, 360), 270);
    EXPECT_EQ(WrapPhaseToWindow(10, -400, -200), -350);  // window wider than a turn is cut to 360
    EXPECT_EQ(WrapPhaseToWindow(9e99, -180, 180), 9e99);
    EXPECT_NEAR(WrapPhaseToWindow(3600000 + 45, -180, 180), 45, 1e-6);
}

TEST(SlideBarMath, EquivalentCircuit)
{
    // -90 degrees, 1 kOhm at 1 kHz: 159.2 nF in series with practically no resistance.
    const EquivalentCircuit series = ComputeEquivalentCircuit(1000, 1000, -90, false);
    ASSERT_TRUE(series.valid);
    EXPECT_TRUE(series.capacitance);
    EXPECT_NEAR(series.reactive, 159.15e-9, 0.01e-9);
    EXPECT_LT(std::fabs(series.resistance), 1e-9);
    // +45 degrees, 100 Ohm at 1 kHz.
    const EquivalentCircuit inductive = ComputeEquivalentCircuit(1000, 100, 45, false);
    EXPECT_FALSE(inductive.capacitance);
    EXPECT_NEAR(inductive.resistance, 70.71, 0.01);
    EXPECT_NEAR(inductive.reactive, 100 * std::sqrt(0.5) / (2 * M_PI * 1000), 1e-12);
    const EquivalentCircuit parallel = ComputeEquivalentCircuit(1000, 100, -45, true);
    EXPECT_TRUE(parallel.capacitance);
    EXPECT_NEAR(parallel.resistance, 141.42, 0.01);
    EXPECT_NEAR(parallel.reactive, std::sqrt(0.5) / (2 * M_PI * 1000 * 100), 1e-15);
    EXPECT_FALSE(ComputeEquivalentCircuit(1000, 9e99, -90, false).valid);
    EXPECT_FALSE(ComputeEquivalentCircuit(1000, 100, 9e99, true).valid);
}

}  // namespace

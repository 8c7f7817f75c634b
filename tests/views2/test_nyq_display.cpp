// The Nyquist display: its scale, automatic range, grid step and labels, and curves drawn on
// pixels of a display laid out on a 1000 x 1000 device.
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "data/ScriptedPrompter.h"
#include "views/nyq/NyqScale.h"
#include "views/nyq/TalViewNyq.h"

using namespace viewtest;

namespace {

TEST(NyqScale, AutomaticRangeTakesTheLargerPartAndRoundsUp)
{
    struct Case {
        double real, imag, range;
        NyqRangeAxis axis;
    } cases[] = {
        {120, 300, 300, NyqRangeAxis::Y},
        {1200, 10, 2000, NyqRangeAxis::X},
        {0.0423, 0.01, 0.043, NyqRangeAxis::X},
        {0, 0, 0.0001, NyqRangeAxis::X},
        {5, 5, 5, NyqRangeAxis::X},                   // equal parts: X
        {2.5e6, 1, 3e6, NyqRangeAxis::X},
        {0.5, 12.2, 13, NyqRangeAxis::Y},
        {0.00012345, 0, 0.000124, NyqRangeAxis::X},   // micro-ohms
        {0.043, 0, 0.043, NyqRangeAxis::X},           // already whole milliohms
    };
    for (const Case& c : cases) {
        const NyqRange r = AutomaticNyqRange(c.real, c.imag);
        EXPECT_NEAR(r.range, c.range, c.range * 1e-9) << c.real << " " << c.imag;
        EXPECT_EQ(r.axis, c.axis) << c.real << " " << c.imag;
    }
}

TEST(NyqScale, PixelsPerOhmAndOrigin)
{
    // Graph 100..900 x 100..700: 100 ohms on X reach from the centre to the right edge, or span
    // the whole width with only positive X; on Y half the height.
    const NyqScale centred = NyqScale::For(100, 100, 900, 700, {100, NyqRangeAxis::X}, false, false);
    EXPECT_DOUBLE_EQ(centred.pixelsPerOhm, 4.0);
    EXPECT_EQ(centred.x0, 500);
    EXPECT_EQ(centred.y0, 400);
    EXPECT_EQ(centred.X(100), 900);
    const NyqScale positive = NyqScale::For(100, 100, 900, 700, {100, NyqRangeAxis::X}, true, false);
    EXPECT_EQ(positive.x0, 100);
    EXPECT_EQ(positive.X(100), 900);
    const NyqScale onY = NyqScale::For(100, 100, 900, 700, {100, NyqRangeAxis::Y}, true, false);
    EXPECT_DOUBLE_EQ(onY.pixelsPerOhm, 3.0);
    EXPECT_EQ(onY.Y(100), 100);
    // A pure resistance lies on the axis; inverted, capacitive parts rise above it.
    EXPECT_EQ(centred.Y(0), 400);
    EXPECT_EQ(centred.Y(-10), 440);
    const NyqScale inverted = NyqScale::For(100, 100, 900, 700, {100, NyqRangeAxis::X}, false, true);
    EXPECT_EQ(inverted.Y(-10), 360);
    // Halves go away from zero.
    const NyqScale half = NyqScale::For(0, 0, 100, 100, {100, NyqRangeAxis::X}, false, false);
    EXPECT_EQ(half.X(1), 51);
    EXPECT_EQ(half.X(-1), 49);
}

TEST(NyqScale, GridStepAndLabels)
{
    struct Case {
        double pixelsPerOhm, step;
        int exponent;
    } cases[] = {
        {4.0, 10, 0}, {100.0, 0.5, -3}, {0.04, 1000, 3}, {1e6, 0.001, -3}, {2e-5, 2e6, 6},
    };
    for (const Case& c : cases) {
        const auto step = ChooseNyqGridStep(c.pixelsPerOhm);
        ASSERT_TRUE(step) << c.pixelsPerOhm;
        EXPECT_NEAR(step->value, c.step, c.step * 1e-12) << c.pixelsPerOhm;
        EXPECT_EQ(step->exponent, c.exponent) << c.pixelsPerOhm;
    }
    EXPECT_FALSE(ChooseNyqGridStep(1e-9));
    EXPECT_EQ(NyqGridLabel(0.5, -3), "500 mOhm");
    EXPECT_EQ(NyqGridLabel(20, 0), "20 Ohm");
    EXPECT_EQ(NyqGridLabel(-2000, 3), "2 kOhm");
}

struct NyqFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewNyq> view;

    void SetUp() override { SetPrompter(&prompts); }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
    }
    void Open()
    {
        view = std::make_unique<CTalViewNyq>(&doc, nullptr);
        view->resize(1000, 1000);
        view->OnInitialUpdate();
    }
    QImage Picture() { return view->RenderPicture(); }
};

TEST_F(NyqFixture, EmptyDocumentKeepsItsTinyRangeWhenDataArrives)
{
    Open();
    Picture();
    EXPECT_DOUBLE_EQ(view->NyqRenderer().range, 0.0001);
    EXPECT_EQ(view->NyqRenderer().rangeAxis, NyqRangeAxis::X);
    doc.AddDataSet(MakeImpedanceSet({{100, 50, 0}, {1000, 60, -30}}));
    Picture();
    EXPECT_DOUBLE_EQ(view->NyqRenderer().range, 0.0001);
}

TEST_F(NyqFixture, RangeComputedOnceFromTheVisibleDataSets)
{
    // 300 ohm imaginary (phase 90) against 120 ohm real: range 300 on Y.
    doc.AddDataSet(MakeImpedanceSet({{100, 120, 0}, {1000, 300, 90}}));
    Open();
    Picture();
    EXPECT_DOUBLE_EQ(view->NyqRenderer().range, 300);
    EXPECT_EQ(view->NyqRenderer().rangeAxis, NyqRangeAxis::Y);
    doc.AddDataSet(MakeImpedanceSet({{100, 5000, 0}}));
    Picture();
    EXPECT_DOUBLE_EQ(view->NyqRenderer().range, 300);
}

TEST_F(NyqFixture, ResistanceDrawnOnTheAxisAtItsScaledDistance)
{
    doc.AddDataSet(MakeImpedanceSet({{100, 50, 0}, {1000, 100, 0}}));
    Open();
    view->NyqRenderer().range = 100;
    view->Fields().dataNumbersShown = 0;
    view->Fields().attribs[0].selected = false;
    const QImage image = Picture();
    const LogicalRect g = view->Fields().graphRect;
    const int x0 = (g.left + g.right) / 2, y0 = (g.top + g.bottom) / 2;
    const QRgb color = Pixel(doc.GetDataSet(0)->GetPhaseColor());
    // The curve runs from 50 to 100 ohms along the horizontal axis, ending at the right edge.
    EXPECT_GT(CountInRect(image, x0 + (g.right - x0) / 2 + 5, y0 - 2, g.right - 5, y0 + 2, color), 0);
    EXPECT_EQ(CountInRect(image, g.left + 5, g.top + 5, x0 - 5, g.bottom - 5, color), 0);
    EXPECT_DOUBLE_EQ(view->NyqRenderer().OhmRight(), 100);
    EXPECT_DOUBLE_EQ(view->NyqRenderer().OhmLeft(), -100);
}

TEST_F(NyqFixture, SelectedPointsNextToASlideBarTakeTheAuxiliaryColour)
{
    doc.AddDataSet(MakeImpedanceSet({{100, 40, -60}, {1000, 60, -30}, {10000, 80, 0}}));
    Open();
    view->Fields().slideBars.push_back({0, 500.0, 0, {}, false, {}});
    const QImage image = Picture();
    EXPECT_EQ(view->NyqRenderer().PointsNextTo(0, 500.0), (std::vector<int>{0, 1}));
    EXPECT_EQ(view->NyqRenderer().PointsNextTo(0, 1000.0), (std::vector<int>{1}));
    const QRgb aux = Pixel(view->Fields().nyquistAuxColor);
    EXPECT_GT(CountInRect(image, 0, 0, 999, 999, aux), 0);
    // The marker's grab band: 4 units each side of its line.
    const HitGeometry band = view->NyqRenderer().SlideBarRegion(500.0, 0);
    const int x = view->NyqRenderer().XFromReal(doc.GetDataSet(0)->GetGainAt(500.0) *
                                                std::cos(doc.GetDataSet(0)->GetPhaseAt(500.0) * M_PI / 180));
    const int y = view->Fields().graphRect.bottom - 20;
    EXPECT_TRUE(band.Contains(x + 4, y));
    EXPECT_TRUE(band.Contains(x - 4, y));
    EXPECT_FALSE(band.Contains(x + 6, y));
}

TEST_F(NyqFixture, ClickOnACurveHitsItsDataSet)
{
    doc.AddDataSet(MakeImpedanceSet({{100, 100, 0}, {1000, 100, 90}}));
    Open();
    view->NyqRenderer().range = 100;
    Picture();
    const LogicalRect g = view->Fields().graphRect;
    const int x0 = (g.left + g.right) / 2, y0 = (g.top + g.bottom) / 2;
    // From (100, 0) to (0, 100): the midpoint of the straight segment and a point beside it.
    const int mx = (g.right + x0) / 2, my = (y0 + (y0 - (g.right - x0))) / 2;
    EXPECT_EQ(view->HitDataSet(mx, my), 0);
    EXPECT_EQ(view->HitDataSet(mx - 40, my + 40), -1);
    EXPECT_EQ(view->HitDataSet(mx - 4, my + 4), 0);  // within 6 units of the line
}

}  // namespace

// Grid steps, the impedance chart's lines and labels, and the geometry helpers.
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "views/base/CurvePath.h"
#include "views/base/HitGeometry.h"
#include "views/base/PaintMessages.h"
#include "views/base/ViewPrinting.h"
#include "views/gain/GridStep.h"
#include "views/imp/ImpRenderer.h"

using namespace viewtest;

namespace {

TEST(GridStep, OneTwoOrFiveTimesAPowerOfTenWithinATenthOfTheSpan)
{
    struct Case {
        double minimum, maximum, gain, phase;
    };
    const Case cases[] = {
        {-60, 60, 10, 10},    // a tenth of the span, 12, prints as 1E+01
        {-45, 5, 5, 5},       // 5E+00
        {-180, 180, 20, 30},  // 4E+01 rounds down to 2E+01; the phase prefers 30
        {-90, 0, 5, 5},       // 9E+00 -> 5
        {0, 3, 0.2, 0.2},     // 3E-01 -> 2E-01
        {-200, 100, 20, 30},  // 3E+01 -> 2E+01
        {-100, 100, 20, 20},
        {0, 150, 20, 15},     // 15 prints as 2E+01
        {5, 5, 0, 0},         // empty range: no lines
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(GainGridStep(c.minimum, c.maximum), c.gain) << c.minimum << ".." << c.maximum;
        EXPECT_DOUBLE_EQ(PhaseGridStep(c.minimum, c.maximum), c.phase) << c.minimum << ".." << c.maximum;
    }
}

struct ImpFixture : ::testing::Test {
    CTalDocument doc;
    ViewFields fields;
    CImpRenderer renderer{doc, fields};
    void SetUp() override
    {
        fields.displayMode = "Imp & Phase";
        Layout(renderer, 1000, 1000);
    }
};

TEST_F(ImpFixture, CapacitanceAndInductanceLinesOfTheDefaultChart)
{
    // 1 Hz .. 1 MHz, 1 .. 10 kOhm.
    const auto c = renderer.CapacitanceLines();
    ASSERT_FALSE(c.empty());
    EXPECT_NEAR(c.front().value, 20e-12, 1e-24);
    const auto firstDecade = std::find_if(c.begin(), c.end(), [](const auto& l) { return l.decade; });
    ASSERT_NE(firstDecade, c.end());
    EXPECT_NEAR(firstDecade->value, 100e-12, 1e-22);
    EXPECT_LT(c.back().value, 0.159);
    EXPECT_NEAR(c.back().value, 0.1, 1e-12);
    const auto l = renderer.InductanceLines();
    ASSERT_FALSE(l.empty());
    EXPECT_NEAR(l.front().value, 200e-9, 1e-20);
    EXPECT_NEAR(l.back().value, 1000, 1e-9);
    const LogicalRect& g = fields.graphRect;
    for (const auto& line : c) {
        EXPECT_GE(line.start.x, g.left);
        EXPECT_LE(line.end.x, g.right);
        EXPECT_GE(line.start.y, g.top);
        EXPECT_LE(line.end.y, g.bottom);
    }
}

TEST_F(ImpFixture, CapacitanceLineEnteringAtTheLeftStartsAtTheFrequencyMinimum)
{
    const auto lines = renderer.CapacitanceLines();
    const auto it = std::find_if(lines.begin(), lines.end(), [](const auto& l) { return std::fabs(l.value - 0.01) < 1e-12; });
    ASSERT_NE(it, lines.end());
    EXPECT_EQ(it->start.x, fields.graphRect.left);
    EXPECT_EQ(it->start.y, renderer.YImpedance(1 / (2 * M_PI * 0.01)));
    EXPECT_GT(it->start.y, fields.graphRect.top);
}

TEST_F(ImpFixture, LabelTextsAndRotation)
{
    EXPECT_EQ(CImpRenderer::ComponentLabel(100e-12, "F"), " 100 pF ");
    EXPECT_EQ(CImpRenderer::ComponentLabel(1, "H"), " 1 H ");
    EXPECT_EQ(CImpRenderer::ComponentLabel(1000, "H"), " 1 kH ");
    // Four impedance decades and six frequency decades on a square graph.
    const int escapement = renderer.LabelEscapement(LogicalMapping(0, 0, 1000, 1000));
    EXPECT_NEAR(escapement, std::atan2(880 / 4.0, 880 / 6.0) * 1800 / M_PI, 1);
}

TEST_F(ImpFixture, PhaseOnlyDrawsNoChartLines)
{
    const QRgb green = Pixel(0x00FF00);
    const int y = 333;
    const QImage chart = Render(renderer, 1000, 1000);
    fields.displayMode = "Phase Only";
    const QImage phase = Render(renderer, 1000, 1000);
    // Row y holds only the vertical frequency lines without the chart's diagonals.
    const int verticals = CountInRow(phase, y, fields.graphRect.left + 2, fields.graphRect.right - 2, green);
    EXPECT_LT(verticals, CountInRow(chart, y, fields.graphRect.left + 2, fields.graphRect.right - 2, green));
    EXPECT_LE(verticals, 60);
}

TEST(HitGeometry, SquaresBandsAndBoxes)
{
    HitGeometry hit;
    hit.AddSquare(100, 100);
    hit.AddBand(200, 300, 400, 500);
    hit.AddBand(600, 100, 600, 900);  // vertical: no area
    hit.AddRect({700, 700, 720, 710});
    EXPECT_TRUE(hit.Contains(94, 94));
    EXPECT_FALSE(hit.Contains(106, 100));
    EXPECT_TRUE(hit.Contains(300, 400));
    EXPECT_TRUE(hit.Contains(300, 405));
    EXPECT_FALSE(hit.Contains(300, 407));
    EXPECT_FALSE(hit.Contains(600, 500));
    EXPECT_TRUE(hit.Contains(710, 705));
    hit.Clear();
    EXPECT_FALSE(hit.Contains(300, 400));
}

TEST(CurvePath, ColumnRunsBecomeFirstLowestHighestLast)
{
    CurvePath path;
    path.AddPiece({10, 50}, {11, 40});
    path.AddPiece({11, 40}, {11, 70});
    path.AddPiece({11, 70}, {11, 20});
    path.AddPiece({11, 20}, {11, 45});
    path.AddPiece({11, 45}, {12, 44});
    path.AddMarker(11, 40);
    path.AddMarker(11, 45);
    path.AddMarker(11, 70);
    path.Finish(5);
    ASSERT_EQ(path.Polylines().size(), 1u);
    const std::vector<LogicalPoint> expected = {{10, 50}, {11, 40}, {11, 70}, {11, 20}, {11, 45}, {12, 44}};
    EXPECT_EQ(path.Polylines()[0], expected);
    ASSERT_EQ(path.Markers().size(), 2u);
    EXPECT_EQ(path.Markers()[0], (LogicalRect{6, 35, 16, 50}));
    EXPECT_EQ(path.Markers()[1], (LogicalRect{6, 65, 16, 75}));

    CurvePath dense;
    for (int i = 0; i < 1000; ++i)
        dense.AddPiece({5, i % 2 ? 10 : 90}, {5, i % 2 ? 90 : 10});
    dense.Finish(5);
    ASSERT_EQ(dense.Polylines().size(), 1u);
    EXPECT_LE(dense.Polylines()[0].size(), 4u);
}

TEST(CurvePath, DisconnectedPiecesStartNewPolylines)
{
    CurvePath path;
    path.AddPiece({0, 0}, {10, 10});
    path.AddPiece({20, 0}, {30, 10});
    path.Finish(5);
    EXPECT_EQ(path.Polylines().size(), 2u);
}

TEST(PaintMessages, EachCauseOnceUntilACompleteDrawingNoLongerRaisesIt)
{
    PaintMessages messages;
    messages.BeginDrawing();
    messages.Raise("A");
    messages.Raise("A");
    messages.EndDrawing(true);
    EXPECT_EQ(messages.TakeNew(), std::vector<std::string>{"A"});
    messages.BeginDrawing();
    messages.EndDrawing(false);  // a partial repaint keeps the cause
    messages.BeginDrawing();
    messages.Raise("A");
    messages.EndDrawing(true);
    EXPECT_TRUE(messages.TakeNew().empty());
    messages.BeginDrawing();
    messages.EndDrawing(true);
    messages.BeginDrawing();
    messages.Raise("A");
    messages.EndDrawing(true);
    EXPECT_EQ(messages.TakeNew().size(), 1u);
}

TEST(PrintViewport, MarginsBeyondThePrinterMinimum)
{
    // A 10 x 8 inch printable area at 100 dpi.
    PrintArea area;
    area.right = 1000;
    area.bottom = 800;
    area.widthMM = 254;
    area.heightMM = 203;
    PageMargins margins;  // 1000 each; minimum 40, 250, 586, 250
    const QRect r = PrintViewport(area, margins);
    EXPECT_EQ(r.left(), 96);
    EXPECT_EQ(r.left() + r.width(), 1000 - 41);
    EXPECT_EQ(r.top(), 75);
    EXPECT_EQ(r.top() + r.height(), 800 - 75);
    margins = PageMargins{40, 250, 586, 250, 40, 250, 586, 250, 2};
    EXPECT_EQ(PrintViewport(area, margins), QRect(0, 0, 1000, 800));
}

}  // namespace

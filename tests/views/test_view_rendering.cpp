// The drawing rules of the frequency axis and of the curves, checked on pixels of displays
// drawn into images of a fixed size (1000 x 1000 pixels: one pixel per logical unit).
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "views/base/ViewPainter.h"
#include "views/gain/GainRenderer.h"

using namespace viewtest;

namespace {

constexpr int kSize = 1000;
const QRgb kGreen = Pixel(0x00FF00);
const QRgb kRed = Pixel(0x0000FF);
const QRgb kBlue = Pixel(0xFF0000);
const QRgb kBlack = Pixel(0x000000);

struct Canvas {
    QImage image{kSize, kSize, QImage::Format_ARGB32_Premultiplied};
    QPainter painter;
    ViewPainter dc;
    Canvas() : painter((image.fill(Qt::white), &image)), dc(painter, LogicalMapping(0, 0, kSize, kSize)) {}
};

struct GainFixture : ::testing::Test {
    CTalDocument doc;
    ViewFields fields;
    CGainRenderer renderer{doc, fields};

    void SetUp() override
    {
        fields.dataNumbersShown = 0;
        Layout(renderer, kSize, kSize);
    }
    int Add(std::unique_ptr<CDataSet> set)
    {
        const int index = doc.AddDataSet(std::move(set));
        fields.attribs.resize(doc.GetDataSetCount());
        return index;
    }
    QImage DrawData()
    {
        Canvas canvas;
        renderer.DrawData(canvas.dc);
        canvas.painter.end();
        return canvas.image;
    }
};

TEST(FrequencyGrid, DecadesHeavyInsideTheFrameAndTwoToNineLight)
{
    CTalDocument doc;
    ViewFields fields;
    CGraphRenderer renderer(doc, fields);
    Layout(renderer, kSize, kSize);
    ASSERT_EQ(fields.graphRect, (LogicalRect{60, 60, 940, 940}));
    Canvas canvas;
    renderer.DrawFrequencyGrid(canvas.dc);
    const QImage& image = canvas.image;
    for (int i = 1; i <= 5; ++i) {
        const int x = renderer.XFromFrequency(std::pow(10.0, i));
        EXPECT_EQ(CountInRow(image, 500, x - 3, x + 3, kGreen), 2) << "decade 1e" << i;
    }
    for (int j = 2; j <= 9; ++j) {
        const int x = renderer.XFromFrequency(j * 1000.0);
        EXPECT_EQ(CountInRow(image, 500, x - 1, x + 1, kGreen), 1) << j << " kHz";
    }
    // 1 Hz and 1 MHz lie on the frame: no grid line there.
    EXPECT_EQ(CountInRow(image, 500, 55, 65, kGreen), 0);
    EXPECT_EQ(CountInRow(image, 500, 935, 945, kGreen), 0);
}

TEST(FrequencyGrid, LinesAtOrBelowTheMinimumAreSkipped)
{
    CTalDocument doc;
    ViewFields fields;
    fields.frequencyMin = 0.05;
    CGraphRenderer renderer(doc, fields);
    Layout(renderer, kSize, kSize);
    Canvas canvas;
    renderer.DrawFrequencyGrid(canvas.dc);
    for (double f : {0.06, 0.09}) {
        const int x = renderer.XFromFrequency(f);
        EXPECT_EQ(CountInRow(canvas.image, 500, x - 1, x + 1, kGreen), 1) << f;
    }
    EXPECT_EQ(CountInRow(canvas.image, 500, 55, 62, kGreen), 0);
}

TEST(DecadeLabels, WrittenBelowTheMaximumAndOmittedPastTheRightEdge)
{
    CTalDocument doc;
    ViewFields fields;
    fields.frequencyMax = 1.05e6;
    CGraphRenderer renderer(doc, fields);
    Layout(renderer, kSize, kSize);
    Canvas canvas;
    renderer.DrawDecadeLabels(canvas.dc);
    const int bottom = fields.graphRect.bottom;
    for (int i = 0; i <= 5; ++i) {
        const int x = renderer.XFromFrequency(std::pow(10.0, i));
        EXPECT_GT(CountInked(canvas.image, x, bottom - 80, x + 20, bottom), 20) << "1e" << i;
    }
    // 1 MHz is inside the range, but its label would run past the graph's right edge.
    const int x = renderer.XFromFrequency(1e6);
    EXPECT_EQ(CountInked(canvas.image, x, bottom - 120, kSize - 1, bottom), 0);
}

TEST_F(GainFixture, SegmentCrossingTheMinimumStartsAtTheInterpolatedValue)
{
    // 0.2 -> 0.5 Hz lies wholly below 1 Hz; 0.5 -> 2 Hz is cut at 1 Hz, halfway in log frequency.
    Add(MakeGainSet({{0.2, -40, 0}, {0.5, 0, 0}, {2, 20, 0}, {4, 20, 0}}));
    const QImage image = DrawData();
    const int left = fields.graphRect.left;
    const int y = renderer.YGain(10);
    EXPECT_TRUE(fields.attribs[0].hit.Contains(left + 1, y));
    EXPECT_FALSE(fields.attribs[0].hit.Contains(left - 3, renderer.YGain(-20)));
    EXPECT_GT(CountInColumn(image, left + 1, y - 4, y + 4, kRed), 0);
    EXPECT_EQ(CountInColumn(image, left + 1, renderer.YGain(0) - 20, renderer.YGain(0) + 20, kRed), 0);
}

TEST_F(GainFixture, CurveLeavingTheTopIsTwoPiecesWithoutMarkersAtTheCutEnds)
{
    Add(MakeGainSet({{10, 0, 0}, {150, 80, 0}, {1000, 0, 0}}));
    fields.displayMode = "Gain Only";
    const QImage image = DrawData();
    const LogicalRect& g = fields.graphRect;
    // Nothing is drawn where the curve is above the top.
    EXPECT_EQ(CountInColumn(image, renderer.XFromFrequency(150), g.top + 1, g.bottom, kRed), 0);
    // Both pieces reach the top edge; the cut ends carry no selection square.
    const double lf0 = 1, lf1 = std::log10(150.0), lf2 = 3;
    const int cutLeft = renderer.XFromLogFrequency(lf0 + (lf1 - lf0) * 60 / 80);
    const int cutRight = renderer.XFromLogFrequency(lf2 + (lf1 - lf2) * 60 / 80);
    for (int x : {cutLeft, cutRight}) {
        EXPECT_GT(CountInRect(image, x - 3, g.top, x + 3, g.top + 3, kRed), 0) << x;
        EXPECT_EQ(CountInRect(image, x - 6, g.top, x + 6, g.top + 8, kBlack), 0) << x;
    }
    // The real points do.
    for (double f : {10.0, 1000.0}) {
        const int x = renderer.XFromFrequency(f);
        EXPECT_GT(CountInRect(image, x - 4, renderer.YGain(0) - 4, x + 4, renderer.YGain(0) + 4, kBlack), 40) << f;
    }
}

TEST_F(GainFixture, UnselectedCurveHasNoMarkers)
{
    Add(MakeGainSet({{10, 0, 0}, {1000, 0, 0}}));
    fields.attribs[0].selected = false;
    fields.displayMode = "Gain Only";
    const QImage image = DrawData();
    EXPECT_EQ(CountInRect(image, 0, 0, kSize - 1, kSize - 1, kBlack), 0);
    EXPECT_GT(CountInRow(image, renderer.YGain(0), 0, kSize - 1, kRed), 250);
}

TEST_F(GainFixture, PhaseThroughTheSeamIsTwoPiecesMeetingTopAndBottom)
{
    Add(MakeGainSet({{100, 0, 170}, {1000, 0, -170}}));
    fields.displayMode = "Phase Only";
    const QImage image = DrawData();
    const LogicalRect& g = fields.graphRect;
    EXPECT_EQ(CountInRect(image, g.left, g.top + 60, g.right, g.bottom - 60, kBlue), 0);
    const int seam = renderer.XFromLogFrequency(2.5);
    EXPECT_GT(CountInRect(image, seam - 4, g.top, seam + 4, g.top + 4, kBlue), 0);
    EXPECT_GT(CountInRect(image, seam - 4, g.bottom - 4, seam + 4, g.bottom, kBlue), 0);
    EXPECT_TRUE(renderer.Messages().TakeNew().empty());
}

TEST_F(GainFixture, PhaseWindowIsFoldedToStartWithinPlusMinus180)
{
    // -270..90 is drawn as 90..450: -120 degrees appears at 240.
    fields.phaseMin = -270;
    fields.phaseMax = 90;
    fields.displayMode = "Phase Only";
    Add(MakeGainSet({{100, 0, -120}, {1000, 0, -120}}));
    fields.attribs[0].selected = false;
    const QImage image = DrawData();
    const int y = renderer.YFromValue(240, 90, 450);
    EXPECT_GE(CountInRow(image, y, renderer.XFromFrequency(100), renderer.XFromFrequency(1000), kBlue),
              renderer.XFromFrequency(1000) - renderer.XFromFrequency(100));
}

TEST_F(GainFixture, LabelNearTheBottomRightCornerStaysInsideTheGraph)
{
    Canvas canvas;
    fields.dataNumbersShown = 1;
    const LogicalRect box = renderer.DrawTraceLabel(canvas.dc, 935, 935, " 12-Gain ", 0x0000FF, true);
    EXPECT_LE(box.right, fields.graphRect.right);
    EXPECT_LE(box.bottom, fields.graphRect.bottom);
    EXPECT_FALSE(box.IsEmpty());
    fields.dataNumbersShown = 0;
    EXPECT_TRUE(renderer.DrawTraceLabel(canvas.dc, 500, 500, " 1-Gain ", 0x0000FF, true).IsEmpty());
}

TEST_F(GainFixture, LabelsAddToTheHitGeometryOnlyWhenShown)
{
    fields.dataNumbersShown = 1;
    Add(MakeGainSet({{10, 0, 0}, {1000, 0, 0}}));
    fields.displayMode = "Gain Only";
    DrawData();
    const int x = renderer.XFromFrequency(10) + 20, y = renderer.YGain(0) + 10;
    EXPECT_TRUE(fields.attribs[0].hit.Contains(x, y));
    fields.dataNumbersShown = 0;
    DrawData();
    EXPECT_FALSE(fields.attribs[0].hit.Contains(x, y));
}

TEST_F(GainFixture, EmptyGainRangeReportsOnceUntilTheRangeChanges)
{
    fields.gainMin = fields.gainMax = 5;
    const auto draw = [this] {
        Canvas canvas;
        renderer.Draw(canvas.dc);
        return renderer.Messages().TakeNew();
    };
    EXPECT_EQ(draw(), std::vector<std::string>{"Error in CTalViewGain::DrawGridLinesGain"});
    EXPECT_TRUE(draw().empty());
    fields.gainMax = 10;
    EXPECT_TRUE(draw().empty());
    fields.gainMax = 5;
    EXPECT_EQ(draw().size(), 1u);
}

TEST_F(GainFixture, DenseCurveKeepsItsExtremesInEveryColumn)
{
    // 20,000 points in one decade: many per pixel column, alternating between two levels.
    auto set = std::make_unique<CDataSet>();
    for (int i = 0; i < 20000; ++i) {
        const double f = 100 * std::pow(10.0, i / 20000.0);
        set->AddPoint(f, 1.0, 0.0, i % 2 ? 10.0 : 0.1, 0.0);
    }
    set->RecalcLimits();
    Add(std::move(set));
    fields.attribs[0].selected = false;
    fields.displayMode = "Gain Only";
    const QImage image = DrawData();
    const int x = renderer.XFromFrequency(300);
    // The column is filled from -20 dB to +20 dB.
    EXPECT_GE(CountInColumn(image, x, renderer.YGain(20), renderer.YGain(-20), kRed),
              renderer.YGain(-20) - renderer.YGain(20));
}

TEST_F(GainFixture, BandRepaintAfterAReadingMatchesACompleteDrawing)
{
    fields.dataNumbersShown = 1;
    auto sweep = std::make_unique<CDataSet>();
    for (int i = 0; i < 400; ++i)
        sweep->AddPoint(10 * std::pow(10.0, i / 200.0), 1.0, 0.0, 1 + 0.3 * std::sin(i * 0.7), 100 * std::sin(i * 0.05));
    doc.m_acquisitionSet = sweep.get();
    Add(std::move(sweep));
    Add(MakeGainSet({{20, 10, 170}, {3000, -10, -170}, {1e5, 0, 10}}));
    const auto draw = [this](QImage& image, const QRect& area) {
        QPainter painter(&image);
        painter.setClipRect(area);
        painter.fillRect(area, Qt::white);
        ViewPainter dc(painter, LogicalMapping(0, 0, kSize, kSize));
        dc.SetPaintBounds(area);
        renderer.Draw(dc);
    };
    QImage banded(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    draw(banded, banded.rect());
    for (int step = 0; step < 3; ++step) {
        const double previous = doc.GetFrequency(0, doc.GetPointCount(0) - 1);
        const double next = previous * 1.05;
        doc.AppendAcquisitionPoint(next, 1.0, 0.0, 2.0 + step, -120.0 + 100 * step, 0, 0, 0, 0);
        const int x0 = renderer.XFromFrequency(previous) - fields.markerHalfSize - 3;
        const int x1 = renderer.XFromFrequency(next) + fields.markerHalfSize + 3;
        draw(banded, QRect(QPoint(x0, fields.graphRect.top - 3), QPoint(x1, fields.graphRect.bottom + 3)));
    }
    const HitGeometry afterBands = fields.attribs[0].hit;
    QImage complete(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    draw(complete, complete.rect());
    EXPECT_EQ(banded, complete);
    // The newest segment is selectable after the band repaints already.
    const int last = doc.GetPointCount(0) - 1;
    const int x = (renderer.XFromFrequency(doc.GetFrequency(0, last)) +
                   renderer.XFromFrequency(doc.GetFrequency(0, last - 1))) / 2;
    const int y = (renderer.YGain(doc.GetGainDB(0, last)) + renderer.YGain(doc.GetGainDB(0, last - 1))) / 2;
    EXPECT_TRUE(afterBands.Contains(x, y));
}

}  // namespace

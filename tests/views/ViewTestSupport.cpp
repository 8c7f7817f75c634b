#include "ViewTestSupport.h"

#include <QApplication>
#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>

#include "views/base/ViewPainter.h"

namespace {

// One application for the whole suite, on the offscreen platform.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_views";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

namespace viewtest {

std::unique_ptr<CDataSet> MakeGainSet(std::initializer_list<GainPoint> points)
{
    auto set = std::make_unique<CDataSet>();
    for (const GainPoint& p : points)
        set->AddPoint(p.frequency, 1.0, 0.0, std::pow(10.0, p.gainDB / 20.0), p.phase);
    set->SetInputNode(1);
    set->SetOutputNode(2);
    set->RecalcLimits();
    return set;
}

std::unique_ptr<CDataSet> MakeImpedanceSet(std::initializer_list<GainPoint> points)
{
    auto set = std::make_unique<CDataSet>();
    for (const GainPoint& p : points)
        set->AddPoint(p.frequency, 1.0, 0.0, p.gainDB, p.phase);
    set->SetInputNode(1);
    set->SetOutputNode(2);
    set->RecalcLimits();
    return set;
}

void Layout(CGraphRenderer& renderer, int width, int height)
{
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    const LogicalMapping mapping(0, 0, width, height);
    ViewPainter dc(painter, mapping);
    renderer.ComputeGraphRect(mapping);
    renderer.ComputeTextRect(dc);
}

QImage Render(CGraphRenderer& renderer, int width, int height)
{
    Layout(renderer, width, height);
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ViewPainter dc(painter, LogicalMapping(0, 0, width, height));
    renderer.Draw(dc);
    return image;
}

QRgb Pixel(uint32_t colorRef)
{
    return qRgb(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

int CountInRect(const QImage& image, int x0, int y0, int x1, int y1, QRgb color)
{
    int count = 0;
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
        for (int x = std::max(0, x0); x <= std::min(image.width() - 1, x1); ++x)
            count += (image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF);
    return count;
}

int CountInRow(const QImage& image, int y, int x0, int x1, QRgb color)
{
    return CountInRect(image, x0, y, x1, y, color);
}

int CountInColumn(const QImage& image, int x, int y0, int y1, QRgb color)
{
    return CountInRect(image, x, y0, x, y1, color);
}

int CountInked(const QImage& image, int x0, int y0, int x1, int y1)
{
    const int area = (std::min(image.width() - 1, x1) - std::max(0, x0) + 1) *
                     (std::min(image.height() - 1, y1) - std::max(0, y0) + 1);
    return area - CountInRect(image, x0, y0, x1, y1, qRgb(255, 255, 255));
}

}  // namespace viewtest

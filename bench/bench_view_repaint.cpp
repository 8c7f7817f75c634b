// Repaint of a 1920 x 1080 gain display (offscreen, ARGB32_Premultiplied image): a full repaint
// with 10 data sets of 100,000 points each against QCustomPlot drawing the same 20 curves
// (gain and phase, logarithmic frequency axis) into the same image, the heavy against the
// one-pixel pen, and the per-reading repaint of a sweep into a display holding 10 data sets of
// 10,000 points. After the Google Benchmark figures, interleaved rounds print medians and ratios.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "analyzer/target/SweepBand.h"
#include "data/DocumentView.h"
#include "data/TalDocument.h"
#include "views/base/ViewPainter.h"
#include "views/gain/GainRenderer.h"
#include "views/gain/TalViewGain.h"

#ifdef TALVERN_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kSets = 10;

// A resonance with measurement noise, different for every set, from 10 Hz to 1 MHz.
void FillSet(CDataSet& set, int index, int points, double fmin = 10, double fmax = 1e6)
{
    uint32_t state = 12345u + 977u * uint32_t(index);
    const auto noise = [&state] {
        state = state * 1103515245u + 12345u;
        return ((state >> 16) & 0x7FFF) / 32767.0 - 0.5;
    };
    const double resonance = 100.0 * std::pow(10.0, index * 0.35);
    for (int i = 0; i < points; ++i) {
        const double f = fmin * std::pow(fmax / fmin, i / double(points - 1));
        const double x = f / resonance;
        const double gain = (1 + 0.05 * noise()) * 10.0 / std::sqrt((1 - x * x) * (1 - x * x) + 0.04 * x * x);
        // Falls towards -162 degrees, clear of the +-180 seam.
        const double phase = -0.9 * std::atan2(0.2 * x, 1 - x * x) * 57.29577951308232 + 2 * noise();
        set.AddPoint(f, 1.0, 0.0, gain, phase);
    }
    set.RecalcLimits();
}

struct GainScene {
    CTalDocument doc;
    ViewFields fields;
    CGainRenderer renderer{doc, fields};
    QImage image{kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};

    explicit GainScene(int points)
    {
        for (int k = 0; k < kSets; ++k) {
            auto set = std::make_unique<CDataSet>();
            FillSet(*set, k, points);
            doc.AddDataSet(std::move(set));
        }
        fields.attribs.assign(kSets, GraphAttrib{});
        for (GraphAttrib& a : fields.attribs)
            a.selected = false;
        fields.frequencyMin = 10;
        fields.frequencyMax = 1e6;
        fields.gainMin = -20;
        fields.gainMax = 60;
        QPainter painter(&image);
        const LogicalMapping mapping(0, 0, kWidth, kHeight);
        ViewPainter dc(painter, mapping);
        renderer.ComputeGraphRect(mapping);
        renderer.ComputeTextRect(dc);
    }
    void Draw()
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        ViewPainter dc(painter, LogicalMapping(0, 0, kWidth, kHeight));
        renderer.Draw(dc);
    }
};

// The scenes live until main ends them, before the application object goes.
std::unique_ptr<GainScene> g_bigScene;

GainScene& BigScene()
{
    if (!g_bigScene)
        g_bigScene = std::make_unique<GainScene>(100000);
    return *g_bigScene;
}

#ifdef TALVERN_HAVE_QCUSTOMPLOT
struct CustomPlotScene {
    QCustomPlot plot;
    QImage image{kWidth, kHeight, QImage::Format_ARGB32_Premultiplied};

    explicit CustomPlotScene(const CTalDocument& doc)
    {
        plot.resize(kWidth, kHeight);
        // QCustomPlot's own advice for many points: one polyline call per graph.
        plot.setPlottingHint(QCP::phFastPolylines, true);
        plot.xAxis->setScaleType(QCPAxis::stLogarithmic);
        plot.xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
        plot.xAxis->setRange(10, 1e6);
        plot.yAxis->setRange(-20, 60);
        plot.yAxis2->setVisible(true);
        plot.yAxis2->setRange(-180, 180);
        const int penPixels = LogicalMapping(0, 0, kWidth, kHeight).PenPixels(2);
        for (int k = 0; k < doc.GetDataSetCount(); ++k) {
            const int n = doc.GetPointCount(k);
            QVector<double> keys(n), gains(n), phases(n);
            for (int i = 0; i < n; ++i) {
                keys[i] = doc.GetFrequency(k, i);
                gains[i] = doc.GetGainDB(k, i);
                phases[i] = doc.GetPhase(k, i);
            }
            QCPGraph* gain = plot.addGraph(plot.xAxis, plot.yAxis);
            gain->setPen(QPen(Qt::red, penPixels));
            gain->setData(keys, gains, true);
            QCPGraph* phase = plot.addGraph(plot.xAxis, plot.yAxis2);
            phase->setPen(QPen(Qt::blue, penPixels));
            phase->setData(keys, phases, true);
        }
    }
    void Draw()
    {
        image.fill(Qt::white);
        QCPPainter painter(&image);
        plot.toPainter(&painter, kWidth, kHeight);
    }
};

std::unique_ptr<CustomPlotScene> g_customPlot;

CustomPlotScene& BigCustomPlot()
{
    if (!g_customPlot)
        g_customPlot = std::make_unique<CustomPlotScene>(BigScene().doc);
    return *g_customPlot;
}
#endif

// A display of 10 x 10,000 points whose last set is the running sweep's data set.
struct SweepScene {
    CTalDocument doc;
    std::unique_ptr<CTalViewGain> view;
    double frequency = 1e5;

    SweepScene()
    {
        for (int k = 0; k < kSets; ++k) {
            auto set = std::make_unique<CDataSet>();
            FillSet(*set, k, 10000, 10, 1e5);
            if (k == kSets - 1)
                doc.m_acquisitionSet = set.get();
            doc.AddDataSet(std::move(set));
        }
        view = std::make_unique<CTalViewGain>(&doc, nullptr);
        view->resize(kWidth, kHeight);
        view->Fields().frequencyMin = 10;
        view->Fields().frequencyMax = 1e6;
        view->Fields().gainMin = -20;
        view->Fields().gainMax = 60;
        for (GraphAttrib& a : view->Fields().attribs)
            a.selected = false;
        view->PaintToBuffer(view->rect());
    }
    // One accepted reading: appended to the sweep's set, then the band between the last two
    // readings repainted, as the sweep target and the display do.
    void Reading()
    {
        const double next = frequency * 1.0002;
        doc.AppendAcquisitionPoint(next, 1.0, 0.0, 3.0, -45.0, 0, 0, 0, 0);
        sweepBand().previousFrequency = frequency;
        sweepBand().currentFrequency = next;
        frequency = next > 9e5 ? 1e5 : next;
        view->OnUpdate(HINT_POINT_APPENDED);
        view->PaintToBuffer(view->PointBandRect());
    }
};

std::unique_ptr<SweepScene> g_sweep;

SweepScene& Sweep()
{
    if (!g_sweep)
        g_sweep = std::make_unique<SweepScene>();
    return *g_sweep;
}

void BM_FullRepaintHeavyPen(benchmark::State& state)
{
    GainScene& scene = BigScene();
    scene.fields.heavyPenWidth = 2;
    for (auto _ : state)
        scene.Draw();
}
BENCHMARK(BM_FullRepaintHeavyPen)->Unit(benchmark::kMillisecond);

void BM_FullRepaintOnePixelPen(benchmark::State& state)
{
    GainScene& scene = BigScene();
    scene.fields.heavyPenWidth = 0;  // drawn one pixel wide
    for (auto _ : state)
        scene.Draw();
    scene.fields.heavyPenWidth = 2;
}
BENCHMARK(BM_FullRepaintOnePixelPen)->Unit(benchmark::kMillisecond);

void BM_FullRepaintAfterDocumentChange(benchmark::State& state)
{
    GainScene& scene = BigScene();
    for (auto _ : state) {
        scene.fields.cacheValid = 0;
        scene.Draw();
    }
}
BENCHMARK(BM_FullRepaintAfterDocumentChange)->Unit(benchmark::kMillisecond);

#ifdef TALVERN_HAVE_QCUSTOMPLOT
void BM_QCustomPlotSameCurves(benchmark::State& state)
{
    CustomPlotScene& scene = BigCustomPlot();
    for (auto _ : state)
        scene.Draw();
}
BENCHMARK(BM_QCustomPlotSameCurves)->Unit(benchmark::kMillisecond);
#endif

void BM_ReadingRepaint(benchmark::State& state)
{
    SweepScene& scene = Sweep();
    for (auto _ : state)
        scene.Reading();
}
BENCHMARK(BM_ReadingRepaint)->Unit(benchmark::kMicrosecond);

// Processor time of this thread: the figure that holds while other programs share the machine.
double Milliseconds(const std::function<void()>& work)
{
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    };
    const double start = now();
    work();
    return now() - start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Interleaved rounds, so that both sides see the same machine load.
void PrintInterleavedFigures()
{
    constexpr int kRounds = 21;
    GainScene& scene = BigScene();
    std::vector<double> heavy, onePixel, custom, reading;
    for (int round = 0; round < kRounds; ++round) {
        scene.fields.heavyPenWidth = 2;
        heavy.push_back(Milliseconds([&] { scene.Draw(); }));
        scene.fields.heavyPenWidth = 0;
        onePixel.push_back(Milliseconds([&] { scene.Draw(); }));
        scene.fields.heavyPenWidth = 2;
#ifdef TALVERN_HAVE_QCUSTOMPLOT
        custom.push_back(Milliseconds([&] { BigCustomPlot().Draw(); }));
#endif
        reading.push_back(Milliseconds([&] {
            for (int i = 0; i < 10; ++i)
                Sweep().Reading();
        }) / 10);
    }
    std::printf("\nmedians of %d interleaved rounds, 1920 x 1080, thread processor time:\n", kRounds);
    std::printf("  full repaint, 10 x 100,000 points, heavy pen:     %8.2f ms (limit 25 ms)\n", Median(heavy));
    std::printf("  full repaint, one-pixel pen:                      %8.2f ms (heavy/one-pixel %.2f)\n",
                Median(onePixel), Median(heavy) / Median(onePixel));
#ifdef TALVERN_HAVE_QCUSTOMPLOT
    std::printf("  QCustomPlot, same 20 curves:                      %8.2f ms (ours/QCustomPlot %.2f, limit 1.5)\n",
                Median(custom), Median(heavy) / Median(custom));
#else
    std::printf("  QCustomPlot not found: no comparison\n");
#endif
    std::printf("  per-reading repaint, 10 x 10,000 points:          %8.3f ms (limit 2 ms)\n", Median(reading));
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    PrintInterleavedFigures();
    benchmark::Shutdown();
    g_sweep.reset();
#ifdef TALVERN_HAVE_QCUSTOMPLOT
    g_customPlot.reset();
#endif
    g_bigScene.reset();
    return 0;
}

// Writing the JPEG of a rendered 1920 x 1080 Nyquist display: WriteJpegFile (RGB rows built
// from the picture, then libjpeg) against QImage::save to JPEG at the same quality, of the same
// image into the same folder, in interleaved rounds. Prints both medians and their ratio
// (target: <= 1.3).
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <vector>

#include "data/TalDocument.h"
#include "views/nyq/TalViewNyq.h"
#include "views/picture/DisplayPicture.h"
#include "views/picture/JpegWriter.h"

namespace {

constexpr int kQuality = 70;

QImage RenderedDisplay()
{
    CTalDocument doc;
    for (int s = 0; s < 5; ++s) {
        auto set = std::make_unique<CDataSet>();
        const double r = 100.0 * (s + 1), c = 1e-6 / (s + 1);
        for (int i = 0; i < 400; ++i) {
            const double f = 10 * std::pow(1e5, i / 399.0), w = 2 * M_PI * f;
            // A resistor in parallel with a capacitor: a semicircle below the axis.
            const double den = 1 + (w * r * c) * (w * r * c);
            const double re = r / den, im = -w * r * r * c / den;
            set->AddPoint(f, 1.0, 0.0, std::hypot(re, im), std::atan2(im, re) * 180 / M_PI);
        }
        set->RecalcLimits();
        doc.AddDataSet(std::move(set));
    }
    CTalViewNyq view(&doc, nullptr);
    view.resize(1920, 1080);
    view.OnInitialUpdate();
    return view.RenderPicture();
}

const QImage& Picture()
{
    static const QImage picture = RenderedDisplay();
    return picture;
}

double WriteOurs(const std::string& path)
{
    QElapsedTimer timer;
    timer.start();
    const std::vector<uint8_t> rows = RgbRowsFromImage(Picture());
    if (!WriteJpegFile(rows, Picture().width(), Picture().height(), kQuality, path))
        std::fprintf(stderr, "WriteJpegFile failed\n");
    return timer.nsecsElapsed() / 1e6;
}

double WriteQt(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    if (!Picture().save(path, "JPEG", kQuality))
        std::fprintf(stderr, "QImage::save failed\n");
    return timer.nsecsElapsed() / 1e6;
}

QTemporaryDir& Folder()
{
    static QTemporaryDir folder;
    return folder;
}

void BM_WriteJpegFile(benchmark::State& state)
{
    const std::string path = Folder().filePath("ours.jpg").toStdString();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteOurs(path));
}
BENCHMARK(BM_WriteJpegFile)->Unit(benchmark::kMillisecond);

void BM_QImageSaveJpeg(benchmark::State& state)
{
    const QString path = Folder().filePath("qt.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteQt(path));
}
BENCHMARK(BM_QImageSaveJpeg)->Unit(benchmark::kMillisecond);

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::vector<double> ours, qt;
    const std::string oursPath = Folder().filePath("ours.jpg").toStdString();
    const QString qtPath = Folder().filePath("qt.jpg");
    for (int round = 0; round < 31; ++round) {
        ours.push_back(WriteOurs(oursPath));
        qt.push_back(WriteQt(qtPath));
    }
    const double a = Median(ours), b = Median(qt);
    std::printf("1920 x 1080 at quality %d: WriteJpegFile %.2f ms, QImage::save %.2f ms, ratio %.2f (target <= 1.3)\n",
                kQuality, a, b, a / b);
    benchmark::Shutdown();
    return 0;
}

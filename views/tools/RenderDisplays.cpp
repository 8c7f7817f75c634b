// Writes pictures of the gain and impedance displays, holding several random data sets, in
// every display mode, with and without a selection: talvern-render-displays <folder>.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

#include "data/RandomGenerator.h"
#include "data/TalDocument.h"
#include "views/base/TalView.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"

namespace {

void Save(CTalView& view, const QString& folder, const QString& name)
{
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!view.RenderPicture().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Shoot(CTalView& view, const QString& folder, const QString& prefix, const char* const* modes)
{
    for (int m = 0; modes[m]; ++m) {
        view.Fields().displayMode = modes[m];
        QString mode = QString::fromLatin1(modes[m]).replace(QLatin1Char(' '), QLatin1Char('_'));
        mode.replace(QLatin1Char('&'), QStringLiteral("and"));
        for (GraphAttrib& a : view.Fields().attribs)
            a.selected = false;
        view.Redraw();
        Save(view, folder, prefix + mode + QStringLiteral("-none"));
        view.Fields().attribs[1].selected = true;
        view.RecalcCurrentDataSet();
        view.Redraw();
        Save(view, folder, prefix + mode + QStringLiteral("-selected"));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("display-pictures");
    QDir().mkpath(folder);

    CTalDocument doc;
    processRandom().Seed(7);
    for (int i = 0; i < 4; ++i)
        doc.AddRandomData();
    const uint32_t colors[][2] = {{0x0000FF, 0xFF0000}, {0x008000, 0x800080}, {0x0080FF, 0x808000}, {0x000080, 0xFF8000}};
    for (int i = 0; i < doc.GetDataSetCount(); ++i) {
        doc.SetGainColor(i, colors[i][0]);
        doc.SetPhaseColor(i, colors[i][1]);
    }

    CTalViewGain gain(&doc, nullptr);
    gain.resize(1000, 700);
    gain.OnInitialUpdate();
    gain.Fields().automaticScaling = 1;
    gain.AutoScale();
    const char* const gainModes[] = {"Gain & Phase", "Gain Only", "Phase Only", nullptr};
    Shoot(gain, folder, QStringLiteral("gain-"), gainModes);
    gain.Fields().legend.obj.shown = 1;
    gain.Fields().automaticScaling = 0;
    gain.Fields().frequencyMin = 1;
    gain.Fields().frequencyMax = 1e6;
    gain.Fields().gainMin = -60;
    gain.Fields().gainMax = 60;
    gain.Fields().displayMode = "Gain & Phase";
    gain.Redraw();
    Save(gain, folder, QStringLiteral("gain-fixed-range"));

    CTalViewImp imp(&doc, nullptr);
    imp.resize(1000, 700);
    imp.OnInitialUpdate();
    imp.Fields().automaticScaling = 0;
    imp.Fields().frequencyMin = 1;
    imp.Fields().frequencyMax = 1e6;
    imp.Fields().impedanceMin = 1e-2;
    imp.Fields().impedanceMax = 1e6;
    const char* const impModes[] = {"Imp & Phase", "Impedance Only", "Phase Only", nullptr};
    Shoot(imp, folder, QStringLiteral("imp-"), impModes);
    std::printf("pictures in %s\n", qPrintable(folder));
    return 0;
}

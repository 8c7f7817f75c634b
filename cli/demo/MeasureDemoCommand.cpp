// talvern-cli measure-demo: a whole RLC measurement on the simulated analyzer without a window,
// for a first look at the program where there is no display: the calibration and the component
// sweep of an R + L through the RLC panel's workflow, the fit, the document, the report and a
// picture of the impedance display drawn off-screen.

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SimulatorLocation.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/HeadlessMeasurement.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/report/ReportFile.h"
#include "rlc/report/ReportWriter.h"
#include "views/imp/TalViewImp.h"
#include "views/picture/DisplayPicture.h"
#include "views/picture/JpegWriter.h"

namespace {

constexpr int kExitMeasurementError = 4;
// What sits in the simulated fixture, and how the simulator behaves: readings at once, a
// little noise, the fixture's default leads.
constexpr const char* kComponent = "dut=R+L:R=10,L=1m;noise=0.001;time_factor=0";
constexpr const char* kComponentText = "R + L (10 Ohm in series with 1 mH)";
constexpr int kPictureWidth = 900, kPictureHeight = 650;
constexpr int kJpegQuality = 70;  // the "Jpeg Quality" dialog's default

class PrompterScope {
public:
    explicit PrompterScope(Prompter& prompter) { SetPrompter(&prompter); }
    ~PrompterScope() { SetPrompter(nullptr); }
    PrompterScope(const PrompterScope&) = delete;
    PrompterScope& operator=(const PrompterScope&) = delete;
};

// The impedance display of the document as the user would see it after the measurement: the
// calibration and intermediate sets hidden, the corrected component and its model shown.
QImage ImpedancePicture(CTalDocument& document)
{
    CTalViewImp view(&document, nullptr);
    view.resize(kPictureWidth, kPictureHeight);
    view.OnInitialUpdate();
    for (int i = 0; i < document.GetDataSetCount(); ++i) {
        const int role = document.GetDataSet(i)->m_calibrationRole;
        if (role != 0 && role != 5)
            view.ApplyDataSetProperties(i, false);
    }
    view.AutoScale();
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    view.Render(painter, view.ClientMapping(), true);
    painter.end();
    return picture;
}

}  // namespace

int RunMeasureDemo(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(args, {}, {}, 1, "one OUTDIR");
    const std::filesystem::path dir = parsed.positional[0];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        throw FileError(dir.string() + ": " + error.message());
    const std::string documentPath = (dir / "measurement.tal").string();
    const std::string reportPath = (dir / "measurement-report.xml").string();
    const std::string picturePath = (dir / "impedance.jpg").string();

    // The picture needs a GUI application; without a display it is drawn on the offscreen one.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "talvern-cli";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    const std::string library = SimulatorLibraryLocation();
    void* simulator = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!simulator)
        throw FileError(library + ": " + dlerror());
    auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simulator, "talsim_configure"));
    if (!configure || configure((std::string("reset;") + kComponent).c_str()) != 0)
        throw FileError(library + ": the simulator cannot be configured");
    gpib::SetLibraryPath(library);
    visa::SetLibraryPath(library);

    SimulatedOperator user(configure, "L1");
    user.show = [](const std::string& caption, const std::string& text) {
        std::string printed;
        for (const char c : text)
            if (c != '\r')
                printed += c == '\n' ? ' ' : c;
        std::cout << "  [" << (caption.empty() ? "message" : caption) << "] " << printed << '\n';
    };
    PrompterScope usePrompter(user);

    std::cout << "Simulated RLC2600 analyzer; in the fixture: " << kComponentText << "\n"
              << "Calibrating (open and closed fixture), then measuring 10 Hz to 100 kHz...\n";
    BasicAnalyzerHost host;
    host.analyzerType = RLC2600;
    appData().channelCount = 0;
    Analyzer2600Engine engine(host);
    if (!engine.InitDialogStage2("")) {
        std::cerr << "talvern-cli: the simulated analyzer could not be opened\n";
        return kExitMeasurementError;
    }
    HeadlessMeasurementSetup setup;
    setup.start = 10;
    setup.stop = 1e5;
    setup.kind = 3;  // R + L
    HeadlessMeasurement measurement(engine, host, user, setup);
    const HeadlessMeasurement::Outcome outcome = measurement.Run();
    engine.ShutDownAnalyzer();
    QCoreApplication::processEvents();
    if (outcome != HeadlessMeasurement::Outcome::Done || !measurement.Document()) {
        std::cerr << "talvern-cli: the demonstration measurement did not complete\n";
        return kExitMeasurementError;
    }

    CTalDocument& document = *measurement.Document();
    const ModelPage& model = measurement.Model();
    std::cout << "Fitted " << CircuitKindText(model.Kind()) << ": R: " << model.m_r.text << " Ohm, "
              << SecondValueLabel(model.Kind()) << ' ' << model.m_second.text << " H\n";

    SaveDocumentOrThrow(document, documentPath);
    ReportOptions reportOptions;
    reportOptions.displayCircuit = true;
    const std::string report = FormatReport(document, reportOptions, ReportCircuitOf(model), CurrentReportTimeStamp());
    if (const std::string failure = WriteReportFile(reportPath, report); !failure.empty())
        throw FileError(reportPath + ": " + failure);
    if (const QImage picture = ImpedancePicture(document);
        !WriteJpegFile(RgbRowsFromImage(picture), picture.width(), picture.height(), kJpegQuality, picturePath))
        throw FileError(picturePath + ": the picture could not be written");

    std::cout << "\nWritten:\n"
              << "  document  " << documentPath << "  (" << document.GetDataSetCount()
              << " data sets; open it with talvern-rlc or `talvern-cli info`)\n"
              << "  report    " << reportPath << "  (SpreadsheetML)\n"
              << "  picture   " << picturePath << "  (the impedance display)\n";
    return kExitOk;
}

// talvern-cli rlc: the RLC control panel's measurement without a window, through the same
// workflow, engine and sweep target as the program: the open-circuit and closed-circuit sweeps
// (or a calibration file), the component sweep with the fixture's parasitics removed, the model
// fit and plot, the document and the report.

#include <QCoreApplication>

#include <dlfcn.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "analyzer/target/SweepTarget.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/rlc/RlcOptions.h"
#include "cli/rlc/SimulatedOperator.h"
#include "data/ApplicationData.h"
#include "data/CLocaleNumbers.h"
#include "data/TalDocument.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/EngineMeasurementAnalyzer.h"
#include "rlc/adapters/HookedWorkspace.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelPage.h"
#include "rlc/report/ReportFile.h"
#include "rlc/workflow/MeasurementWorkflow.h"
#include "rlc/workflow/PanelForwarding.h"

namespace {

constexpr int kExitSweepError = 4;
constexpr double kReferenceResistor = 100.0;  // the simulator's default "rref"
constexpr auto kQuietLimit = std::chrono::seconds(30);

std::string SimulatorLibrary()
{
    if (const char* path = std::getenv("TALVERN_SIM_LIBRARY"); path && *path)
        return path;
#ifdef TALVERN_CLI_SIM_LIBRARY
    std::error_code error;
    if (std::filesystem::exists(TALVERN_CLI_SIM_LIBRARY, error))
        return TALVERN_CLI_SIM_LIBRARY;
#endif
    return "libtalvern-sim.so";
}

// What the panel's displays do for a sweep while the panel exists: the scale factor is minus
// the reference resistor, so the data set's gain reads as impedance.
class RlcTargetHost final : public SweepTargetHost {
public:
    std::optional<double> RlcReferenceResistor() const override { return kReferenceResistor; }
};

// The documents of the run, the last one active, each with the sweep target a display gives it.
class Documents {
public:
    explicit Documents(BasicAnalyzerHost& host) : m_host(host) {}

    CTalDocument* Active() { return m_open.empty() ? nullptr : m_open.back().document.get(); }
    CTalDocument* Open()
    {
        Entry entry;
        entry.document = std::make_unique<CTalDocument>();
        entry.document->OnNewDocument();
        entry.target = std::make_unique<SweepTarget>(*entry.document, &m_targetHost);
        m_open.push_back(std::move(entry));
        m_host.activeDisplay = m_open.back().target.get();
        return Active();
    }
    void CloseActive()
    {
        if (!m_open.empty())
            m_open.pop_back();
        m_host.activeDisplay = m_open.empty() ? nullptr : m_open.back().target.get();
    }
    HookedWorkspace::Hooks Hooks()
    {
        HookedWorkspace::Hooks hooks;
        hooks.hasActiveDisplay = [this] { return Active() != nullptr; };
        hooks.activeDocument = [this] { return Active(); };
        hooks.closeActiveDocument = [this] { CloseActive(); };
        hooks.openImpedanceDocument = [this] { return Open(); };
        return hooks;  // no display: nothing to hide
    }

private:
    struct Entry {
        std::unique_ptr<CTalDocument> document;
        std::unique_ptr<SweepTarget> target;
    };
    BasicAnalyzerHost& m_host;
    RlcTargetHost m_targetHost;
    std::vector<Entry> m_open;
};

class PrompterScope {
public:
    explicit PrompterScope(Prompter& prompter) { SetPrompter(&prompter); }
    ~PrompterScope() { SetPrompter(nullptr); }
    PrompterScope(const PrompterScope&) = delete;
    PrompterScope& operator=(const PrompterScope&) = delete;
};

// Runs the event loop until done() holds; false when the analyzer stays quiet too long.
bool WaitFor(Analyzer2600Engine& engine, const std::function<bool()>& done)
{
    auto lastHeard = std::chrono::steady_clock::now();
    const QMetaObject::Connection heard = QObject::connect(
        &engine, &Analyzer2600Engine::ReadingShown, [&] { lastHeard = std::chrono::steady_clock::now(); });
    bool finished = true;
    while (!done()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        if (!done() && std::chrono::steady_clock::now() - lastHeard > kQuietLimit) {
            std::cerr << "talvern-cli: no reading from the analyzer for " << kQuietLimit.count() << " s\n";
            finished = false;
            break;
        }
    }
    QObject::disconnect(heard);
    return finished;
}

void PrintFit(const ModelPage& page)
{
    const int kind = page.Kind();
    const UsedValues used = ValuesUsedBy(kind);
    std::cout << "Model " << CircuitKindText(kind) << ":";
    const auto show = [](const char* label, const ModelValueField& field, const char* unit) {
        std::cout << ' ' << label << ' ' << (field.value > 0 ? FormatC("%.4g %s", field.value, unit) : field.text);
    };
    if (used.r)
        show("R:", page.m_r, "Ohm");
    if (used.second)
        show(SecondValueLabel(kind).c_str(), page.m_second, SecondValueUnit(kind).c_str());
    if (used.c)
        show("C:", page.m_c, "F");
    std::cout << '\n';
}

}  // namespace

int RunRlc(const Arguments& args)
{
    const RlcOptions options = ParseRlcOptions(args);

    static int argc = 1;
    static char name[] = "talvern-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    const std::string library = SimulatorLibrary();
    void* simulator = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!simulator)
        throw FileError(library + ": " + dlerror());
    auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simulator, "talsim_configure"));
    if (!configure)
        throw FileError(library + ": no talsim_configure");
    if (const int rejected = configure(("reset;" + options.simulatorConfig).c_str()); rejected != 0)
        throw UsageError("--simulate: the configuration is rejected at item " + std::to_string(rejected));
    gpib::SetLibraryPath(library);
    visa::SetLibraryPath(library);

    const bool loadCalibration = !options.calibration.empty() && std::filesystem::exists(options.calibration);
    SimulatedOperator user(configure, options.name, options.calibration);
    PrompterScope usePrompter(user);

    BasicAnalyzerHost host;
    host.analyzerType = options.analyzerType;
    appData().channelCount = options.analyzerType == RLC1370 ? 2 : 0;
    Documents documents(host);
    documents.Open();
    Analyzer2600Engine engine(host);
    if (!engine.InitDialogStage2("")) {
        std::cerr << "talvern-cli: the analyzer could not be opened\n";
        return kExitSweepError;
    }
    engine.SetLogSweep(true);
    engine.SetStepsPerDecade(options.stepsPerDecade);

    EngineMeasurementAnalyzer analyzer(&engine);
    HookedWorkspace workspace(documents.Hooks());
    MeasurementSetup setup;
    setup.analyzerType = options.analyzerType;
    setup.channelCount = appData().channelCount;
    setup.limits = *AnalyzerFrequencyLimits(options.analyzerType);
    MeasurementWorkflow workflow(setup, analyzer, workspace, user);

    // The Measurement page's start with its default values and the frequencies given.
    ForwardIntegrationTime(options.analyzerType, 1, analyzer);
    workflow.m_acVoltage = ForwardAcVoltage(options.acVolts.value_or(1.0), analyzer);
    ForwardDcVoltage(0.0, analyzer);
    const FrequencyCheck check = workflow.StartPage(options.start, options.stop, false);
    if (!check.rangeSet)
        throw UsageError("--start/--stop: " + check.status);

    const auto failed = [&](const char* what) {
        std::cerr << "talvern-cli: " << what << '\n';
        engine.ShutDownAnalyzer();
        return kExitSweepError;
    };
    if (loadCalibration) {
        if (!workflow.LoadCalibration())
            return failed("the calibration file could not be used");
    } else {
        workflow.OnCalibrate();
        if (!WaitFor(engine, [&] { return !workflow.m_calibrating || user.ErrorShown(); }) ||
            !workflow.IsCalibrated())
            return failed("the calibration did not complete");
        if (!options.calibration.empty() && !workflow.SaveCalibration())
            return failed("the calibration file could not be written");
    }
    workflow.OnTestComponent();
    if (!WaitFor(engine, [&] { return !workflow.m_measuring || user.ErrorShown(); }) || workflow.m_measuring)
        return failed("the component sweep did not complete");
    engine.ShutDownAnalyzer();

    CTalDocument& document = *documents.Active();
    ModelPage model;
    ReportOptions reportOptions;
    reportOptions.displayCircuit = options.kind.has_value();
    if (options.kind) {
        model.ChooseKind(*options.kind, document);
        PrintFit(model);
        model.CreatePlot(document);
    }
    const std::string report =
        FormatReport(document, reportOptions, ReportCircuitOf(model), CurrentReportTimeStamp());
    if (const std::string error = WriteReportFile(options.report, report); !error.empty())
        throw FileError(options.report + ": " + error);
    SaveDocumentOrThrow(document, options.out);
    std::cout << document.GetDataSetCount() << " data sets written to " << options.out << ", report "
              << options.report << '\n';
    QCoreApplication::processEvents();
    return kExitOk;
}

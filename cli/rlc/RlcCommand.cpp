// talvern-cli rlc: the RLC control panel's measurement without a window, through the same
// workflow, engine and sweep target as the program: the open-circuit and closed-circuit sweeps
// (or a calibration file), the component sweep with the fixture's parasitics removed, the model
// fit and plot, the document and the report.

#include <QCoreApplication>

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SimulatorLocation.h"
#include "cli/rlc/RlcOptions.h"
#include "data/ApplicationData.h"
#include "data/CLocaleNumbers.h"
#include "data/TalDocument.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/HeadlessEngine.h"
#include "rlc/adapters/HeadlessMeasurement.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/report/ReportFile.h"

namespace {

constexpr int kExitSweepError = 4;

class PrompterScope {
public:
    explicit PrompterScope(Prompter& prompter) { SetPrompter(&prompter); }
    ~PrompterScope() { SetPrompter(nullptr); }
    PrompterScope(const PrompterScope&) = delete;
    PrompterScope& operator=(const PrompterScope&) = delete;
};

void PrintFit(const ModelPage& page)
{
    const int kind = page.Kind();
    const UsedValues used = ValuesUsedBy(kind);
    std::cout << "Model " << CircuitKindText(kind) << ":";
    const auto show = [](const std::string& label, const ModelValueField& field, const char* unit) {
        std::cout << ' ' << label << ' ' << (field.value > 0 ? FormatC("%.4g %s", field.value, unit) : field.text);
    };
    if (used.r)
        show("R:", page.m_r, "Ohm");
    if (used.second)
        show(SecondValueLabel(kind), page.m_second, SecondValueUnit(kind).c_str());
    if (used.c)
        show("C:", page.m_c, "F");
    std::cout << '\n';
}

const char* FailureText(HeadlessMeasurement::Outcome outcome)
{
    switch (outcome) {
    case HeadlessMeasurement::Outcome::CalibrationFailed: return "the calibration did not complete";
    case HeadlessMeasurement::Outcome::CalibrationFileFailed: return "the calibration file could not be used";
    case HeadlessMeasurement::Outcome::MeasurementFailed: return "the component sweep did not complete";
    default: return "";
    }
}

}  // namespace

int RunRlc(const Arguments& args)
{
    const RlcOptions options = ParseRlcOptions(args);

    static int argc = 1;
    static char name[] = "talvern-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    const std::string library = SimulatorLibraryLocation();
    void* simulator = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!simulator)
        throw FileError(library + ": " + dlerror());
    auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(simulator, "talsim_configure"));
    if (!configure)
        throw FileError(library + ": no talsim_configure");
    // The simulated analyzer of the type's family, where the engine looks for it (board 0,
    // address 5), with the type's model; then the user's configuration.
    BasicAnalyzerHost host;
    host.analyzerType = options.analyzerType;
    if (const int fixed = FixedModelCode(options.analyzerType))
        host.modelCode = fixed;
    char model[8];
    std::snprintf(model, sizeof model, "%x", static_cast<unsigned>(host.modelCode));
    const std::string placement = std::string("reset;family=") + SimulatorFamily(options.analyzerType) +
                                  ";board=0;address=" + std::to_string(host.gpibAddressAnalyzer) +
                                  ";model=" + model + ";serial=" + std::to_string(host.serialNumber);
    if (configure(placement.c_str()) != 0)
        throw UsageError("the simulator does not take this analyzer's model");
    if (!options.simulatorConfig.empty())
        if (const int rejected = configure(options.simulatorConfig.c_str()); rejected != 0)
            throw UsageError("--simulate: the configuration is rejected at item " + std::to_string(rejected));
    gpib::SetLibraryPath(library);
    visa::SetLibraryPath(library);

    SimulatedOperator user(configure, options.name, options.calibration);
    user.show = [](const std::string& caption, const std::string& text) {
        std::string printed;
        for (const char c : text)
            if (c != '\r')
                printed += c == '\n' ? ' ' : c;
        std::cerr << "talvern-cli: " << (caption.empty() ? "" : caption + ": ") << printed << '\n';
    };
    PrompterScope usePrompter(user);

    appData().channelCount = StartChannelCount(options.analyzerType);
    const std::unique_ptr<AnalyzerDialog> engine = OpenHeadlessEngine(options.analyzerType, host);
    if (!engine) {
        std::cerr << "talvern-cli: the analyzer could not be opened\n";
        return kExitSweepError;
    }

    HeadlessMeasurementSetup setup;
    setup.analyzerType = options.analyzerType;
    setup.start = options.start;
    setup.stop = options.stop;
    setup.stepsPerDecade = options.stepsPerDecade;
    setup.acVolts = options.acVolts.value_or(1.0);
    setup.calibrationFile = options.calibration;
    setup.loadCalibration = !options.calibration.empty() && std::filesystem::exists(options.calibration);
    setup.kind = options.kind;
    HeadlessMeasurement measurement(*engine, host, user, setup);
    const HeadlessMeasurement::Outcome outcome = measurement.Run();
    // Releases a 2600-series analyzer as the panel does when it goes; the other families' orderly
    // stop has released theirs.
    if (auto* engine2600 = qobject_cast<Analyzer2600Engine*>(engine.get()))
        engine2600->ShutDownAnalyzer();
    QCoreApplication::processEvents();
    if (outcome == HeadlessMeasurement::Outcome::BadFrequencies)
        throw UsageError("--start/--stop: " + measurement.FrequencyStatus());
    if (outcome != HeadlessMeasurement::Outcome::Done) {
        std::cerr << "talvern-cli: " << FailureText(outcome) << '\n';
        return kExitSweepError;
    }

    CTalDocument& document = *measurement.Document();
    if (options.kind)
        PrintFit(measurement.Model());
    ReportOptions reportOptions;
    reportOptions.displayCircuit = options.kind.has_value();
    const std::string report =
        FormatReport(document, reportOptions, ReportCircuitOf(measurement.Model()), CurrentReportTimeStamp());
    if (const std::string error = WriteReportFile(options.report, report); !error.empty())
        throw FileError(options.report + ": " + error);
    SaveDocumentOrThrow(document, options.out);
    std::cout << document.GetDataSetCount() << " data sets written to " << options.out << ", report "
              << options.report << '\n';
    return kExitOk;
}

// talvern-cli sweep: one sweep of an analyzer of any family, headless, through the same engine and
// sweep target as the program, written as a document.

#include <QCoreApplication>

#include <dlfcn.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "analyzer/target/SweepTarget.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/SimulatorLocation.h"
#include "cli/sweep/StderrPrompter.h"
#include "cli/sweep/SweepOptions.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"

namespace {

constexpr int kExitSweepError = 4;
constexpr int kExitRuleBreach = 5;  // the simulated analyzer recorded breaches of its rules

using ViolationsCall = int (*)(char*, int, int);

// Loads the simulator (the bindings then share this instance) and configures it to stand where
// the options say the analyzer is. Returns its referee's record of rule breaches.
ViolationsCall ConfigureSimulator(const std::string& library, const SweepOptions& options)
{
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw FileError(library + ": " + dlerror());
    auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(handle, "talsim_configure"));
    if (!configure)
        throw FileError(library + ": no talsim_configure");
    char model[8];
    std::snprintf(model, sizeof model, "%x", static_cast<unsigned>(options.modelCode));
    const int type = options.analyzerType;
    const char* family = type == 0 ? "5060" : type == 6 ? "1960" : (type >= 7 && type <= 9) ? "1800" : "2600";
    const std::string placement = std::string("family=") + family + ";board=" + std::to_string(options.gpibBoard) + ";address=" +
                                  std::to_string(options.address) + ";model=" + model +
                                  ";serial=" + std::to_string(options.serialNumber) + ";";
    if (configure(placement.c_str()) != 0)
        throw UsageError("the simulator does not take this analyzer's model, serial number or address");
    if (!options.simulatorConfig.empty())
        if (const int rejected = configure(options.simulatorConfig.c_str()); rejected != 0)
            throw UsageError("--simulate: the configuration is rejected at item " + std::to_string(rejected));
    auto violations = reinterpret_cast<ViolationsCall>(dlsym(handle, "talsim_violations"));
    if (!violations)
        throw FileError(library + ": no talsim_violations");
    violations(nullptr, 0, 1);
    // The handle stays open: the simulator lives until the process ends.
    return violations;
}

// Prints what the simulated analyzer's referee recorded; the number of breaches.
int ReportViolations(ViolationsCall violations)
{
    constexpr int kReportBytes = 64 * 1024;
    std::string text(kReportBytes, '\0');
    const int count = violations(text.data(), kReportBytes, 1);
    text.resize(std::strlen(text.c_str()));
    if (count > 0)
        std::cerr << "talvern-cli: the simulated analyzer recorded " << count
                  << (count == 1 ? " breach" : " breaches") << " of its rules:\n" << text;
    return count;
}

// "[#####.....]  45%" on stderr, rewritten in place.
class ProgressLine {
public:
    void Show(int percent)
    {
        // 0 resets the indicator at the end of a sweep.
        if (percent <= 0) {
            End();
            return;
        }
        if (shown_ && percent == last_)
            return;
        last_ = percent;
        constexpr int kWidth = 40;
        const int filled = percent * kWidth / 100;
        std::cerr << '\r' << '[' << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] "
                  << percent << "%  " << std::flush;
        shown_ = true;
    }
    void End()
    {
        if (shown_)
            std::cerr << '\n';
        shown_ = false;
        last_ = -1;
    }

private:
    bool shown_ = false;
    int last_ = -1;
};

// The 2600 series is opened with the dialog; the other families connect at the first measurement.
bool OpenAnalyzer(Analyzer2600Engine& engine) { return engine.InitDialogStage2(""); }
template <typename Engine>
bool OpenAnalyzer(Engine&)
{
    return true;
}

// Releases the analyzer as the program does; a lost bus is not written to again. The other
// families' orderly stop has already released it.
void ReleaseAnalyzer(Analyzer2600Engine& engine, int completion)
{
    if (completion != 1)
        engine.ShutDownAnalyzer();
}
template <typename Engine>
void ReleaseAnalyzer(Engine&, int)
{
}

template <typename Engine>
void ApplyOptions(Engine& engine, const SweepOptions& options)
{
    engine.SetSweepRange(options.start, options.stop);
    engine.SetLogSweep(options.logSweep);
    if (options.logSweep)
        engine.SetStepsPerDecade(options.stepsPerDecade);
    else
        engine.SetFrequencyStep(options.linearStep);
    if (options.maxAcVolts)
        engine.SetMaxAcVoltsOutField(*options.maxAcVolts);
    if (options.acVolts)
        engine.SetAcVoltsOutField(*options.acVolts);
    if (options.dcVolts)
        engine.SetDcVoltsOut(*options.dcVolts);
    if (options.servo) {
        engine.SetServoOn(true);
        engine.SelectServoChannel(options.servoChannel);
        engine.SetServoAcVoltsIn(options.servoTarget);
        if (options.servoStepDb)
            engine.SetServoStepDb(*options.servoStepDb);
    }
    if (options.maxGainDb)
        engine.SetMaxChangeGain(true, *options.maxGainDb);
    if (options.maxPhaseDegrees)
        engine.SetMaxChangePhase(true, *options.maxPhaseDegrees);
}

// One sweep with the family's engine; completion as the callback hears it (1 when it never ends).
template <typename Engine>
void SweepWith(BasicAnalyzerHost& host, const SweepOptions& options, ProgressLine& progress, std::ofstream& commLog,
               int& completion, bool& opened)
{
    {
        Engine engine(host);
        QObject::connect(&engine, &Engine::CommLogAppended, [&](const std::string& text, bool) {
            if (commLog)
                commLog << text;
        });
        QObject::connect(&engine, &AnalyzerDialog::ProgressChanged, [&](int percent) { progress.Show(percent); });
        QObject::connect(&engine, &AnalyzerDialog::SweepComplete, [&](int code) { completion = code; });

        opened = OpenAnalyzer(engine);
        if (opened) {
            ApplyOptions(engine, options);
            // The engine's watchdog ends a sweep the analyzer stopped answering.
            engine.OnButtonRunSweep();
            if (!engine.IsSweeping() && completion < 0)
                completion = 1;
            while (completion < 0)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
            progress.End();
            ReleaseAnalyzer(engine, completion);
            QCoreApplication::processEvents();
        } else {
            completion = 1;
        }
    }
}

class PrompterScope {
public:
    explicit PrompterScope(Prompter& prompter) { SetPrompter(&prompter); }
    ~PrompterScope() { SetPrompter(nullptr); }
    PrompterScope(const PrompterScope&) = delete;
    PrompterScope& operator=(const PrompterScope&) = delete;
};

} // namespace

int RunSweep(const Arguments& args)
{
    const SweepOptions options = ParseSweepOptions(args);

    static int argc = 1;
    static char name[] = "talvern-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);

    ProgressLine progress;
    StderrPrompter prompter;
    prompter.beforeMessage = [&] { progress.End(); };
    PrompterScope usePrompter(prompter);

    ViolationsCall violations = nullptr;
    if (options.simulate) {
        const std::string library = SimulatorLibraryLocation();
        violations = ConfigureSimulator(library, options);
        gpib::SetLibraryPath(library);
        visa::SetLibraryPath(library);
    } else {
        if (!options.gpibLibrary.empty())
            gpib::SetLibraryPath(options.gpibLibrary);
        if (!options.visaLibrary.empty())
            visa::SetLibraryPath(options.visaLibrary);
    }

    std::ofstream commLog;
    if (!options.commLog.empty()) {
        commLog.open(options.commLog, std::ios::binary | std::ios::trunc);
        if (!commLog)
            throw FileError(options.commLog + ": cannot be written");
    }

    BasicAnalyzerHost host;
    host.analyzerType = options.analyzerType;
    host.interfaceIndex = options.usb ? 4 : options.gpibBoard;
    host.gpibAddressApplication = host.gpibAddressAnalyzer = options.address;
    host.modelCode = options.modelCode;
    host.serialNumber = options.serialNumber;
    appData().channelCount = options.analyzerType == 11 ? 2 : 0;

    CTalDocument document;
    document.OnNewDocument();
    SweepTarget target(document);
    host.activeDisplay = &target;

    int completion = -1;
    bool opened = false;
    switch (options.analyzerType) {
    case 0: SweepWith<Analyzer5060Engine>(host, options, progress, commLog, completion, opened); break;
    case 6: SweepWith<Analyzer1960Engine>(host, options, progress, commLog, completion, opened); break;
    case 7:
    case 8:
    case 9: SweepWith<Analyzer1852Engine>(host, options, progress, commLog, completion, opened); break;
    default: SweepWith<Analyzer2600Engine>(host, options, progress, commLog, completion, opened); break;
    }

    SaveDocumentOrThrow(document, options.out);
    const int points = document.GetDataSetCount() > 0 ? document.GetPointCount(0) : 0;
    std::cout << points << (points == 1 ? " reading" : " readings") << " written to " << options.out << '\n';
    const int breaches = violations ? ReportViolations(violations) : 0;
    if (!opened) {
        std::cerr << "talvern-cli: the analyzer could not be opened\n";
        return kExitSweepError;
    }
    if (completion != 0) {
        std::cerr << "talvern-cli: the sweep ended with " << (completion == 2 ? "an analyzer" : "a bus")
                  << " error; the readings taken so far are in the document\n";
        return kExitSweepError;
    }
    if (breaches > 0)
        return kExitRuleBreach;
    return kExitOk;
}

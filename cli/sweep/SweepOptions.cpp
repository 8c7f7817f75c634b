#include "cli/sweep/SweepOptions.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "cli/CliSupport.h"
#include "data/CLocaleNumbers.h"

namespace {

double PrefixFactor(char prefix)
{
    switch (prefix) {
    case 'a': return 1e-18;
    case 'f': return 1e-15;
    case 'p': return 1e-12;
    case 'n': return 1e-9;
    case 'u': return 1e-6;
    case 'm': return 1e-3;
    case 'k': return 1e3;
    case 'M': return 1e6;
    case 'G': return 1e9;
    case 'T': return 1e12;
    default: return 0.0;
    }
}

void ParseServo(const std::string& text, SweepOptions& options)
{
    // TARGET[,CHANNEL[,STEP_DB[,MAX_V]]]
    std::vector<std::string> parts;
    size_t begin = 0;
    while (true) {
        const size_t comma = text.find(',', begin);
        parts.push_back(text.substr(begin, comma - begin));
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    if (parts.size() > 4)
        throw UsageError("--servo takes TARGET[,CHANNEL[,STEP_DB[,MAX_V]]]");
    options.servo = true;
    options.servoTarget = ParseSweepNumber(parts[0], "--servo target");
    if (!(options.servoTarget > 0.0))
        throw UsageError("--servo target must be above 0 V");
    if (parts.size() > 1) {
        const std::string& channel = parts[1];
        if (channel == "1" || channel == "2" || channel == "3" || channel == "4")
            options.servoChannel = "CH " + channel;
        else if (channel == "larger")
            options.servoChannel = "Larger of CH1,2";
        else if (channel == "smaller")
            options.servoChannel = "Smaller of CH1,2";
        else
            throw UsageError("--servo channel must be 1, 2, 3, 4, larger or smaller");
    }
    if (parts.size() > 2)
        options.servoStepDb = ParseSweepNumber(parts[2], "--servo step");
    if (parts.size() > 3)
        options.maxAcVolts = ParseSweepNumber(parts[3], "--servo ceiling");
}

} // namespace

Arguments WithOptionalSimulateConfig(const Arguments& args)
{
    Arguments out;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--simulate") {
            const bool hasConfig = i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0;
            out.push_back("--simulate=" + (hasConfig ? args[++i] : std::string()));
        } else {
            out.push_back(arg);
        }
    }
    return out;
}

std::optional<int> ParseAnalyzerTypeCode(const std::string& code)
{
    static const struct {
        const char* code;
        int type;
    } kTypes[] = {{"RLC880", 0},  {"RLC1960", 6},  {"RLC1842", 7}, {"RLC1852", 8},
                  {"RLC1862", 9}, {"RLC2600", 10}, {"RLC1370", 11}};
    const auto known =
        std::find_if(std::begin(kTypes), std::end(kTypes), [&](const auto& entry) { return code == entry.code; });
    if (known == std::end(kTypes))
        return std::nullopt;
    return known->type;
}

double ParseSweepNumber(const std::string& text, const std::string& what)
{
    const char* start = text.c_str();
    char* end = nullptr;
    double value = StrtodC(start, &end);
    if (end == start || std::isspace(static_cast<unsigned char>(*start)))
        throw UsageError(what + " is not a number: '" + text + "'");
    if (*end != '\0') {
        const double factor = PrefixFactor(*end);
        if (factor == 0.0 || end[1] != '\0')
            throw UsageError(what + " is not a number: '" + text + "'");
        value *= factor;
    }
    if (!std::isfinite(value))
        throw UsageError(what + " is not a finite number: '" + text + "'");
    return value;
}

SweepOptions ParseSweepOptions(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(
        WithOptionalSimulateConfig(args),
        {"--type", "--gpib-board", "--address", "--model", "--serial", "--start", "--stop", "--log-steps",
         "--linear-step", "--ac", "--dc", "--servo", "--max-gain", "--max-phase", "--simulate", "--out", "--comm-log",
         "--gpib-library", "--visa-library"},
        {"--usb"}, 0, "no positional arguments");

    SweepOptions options;
    if (const std::string* type = parsed.Value("--type")) {
        const std::optional<int> id = ParseAnalyzerTypeCode(*type);
        if (!id)
            throw UsageError("--type: RLC2600, RLC1370, RLC1960, RLC1842, RLC1852, RLC1862 or RLC880");
        options.analyzerType = *id;
    }
    options.usb = parsed.Flag("--usb");
    if (options.usb && options.analyzerType != 10 && options.analyzerType != 11)
        throw UsageError("--usb: only the 2600 series is reached over USB");
    if (options.usb && (parsed.Value("--gpib-board") || parsed.Value("--address")))
        throw UsageError("--usb excludes --gpib-board and --address");
    if (const std::string* board = parsed.Value("--gpib-board"))
        options.gpibBoard = static_cast<int>(ParseBoundedInteger(*board, "--gpib-board", 0, 3));
    if (const std::string* address = parsed.Value("--address"))
        options.address = static_cast<int>(ParseBoundedInteger(*address, "--address", 1, 30));
    if (const std::string* model = parsed.Value("--model")) {
        // The designation's digits, read as hexadecimal: model 3231 is code 0x3231.
        if (model->empty() || model->size() > 4 || model->find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            throw UsageError("--model takes the model designation, 1 to 4 digits (3231, 880c)");
        options.modelCode = static_cast<int>(std::stoul(*model, nullptr, 16));
    }
    if (const std::string* serial = parsed.Value("--serial"))
        options.serialNumber = static_cast<int>(ParseBoundedInteger(*serial, "--serial", 0, 999999999));

    const std::string* start = parsed.Value("--start");
    const std::string* stop = parsed.Value("--stop");
    if (!start || !stop)
        throw UsageError("--start and --stop are required");
    options.start = ParseSweepNumber(*start, "--start");
    options.stop = ParseSweepNumber(*stop, "--stop");
    if (!(options.start > 0.0) || !(options.stop > 0.0))
        throw UsageError("--start and --stop must be above 0 Hz");

    const std::string* steps = parsed.Value("--log-steps");
    const std::string* linear = parsed.Value("--linear-step");
    if (steps && linear)
        throw UsageError("--log-steps and --linear-step exclude each other");
    if (steps)
        options.stepsPerDecade = ParseSweepNumber(*steps, "--log-steps");
    if (linear) {
        options.logSweep = false;
        options.linearStep = ParseSweepNumber(*linear, "--linear-step");
    }
    if (const std::string* ac = parsed.Value("--ac"))
        options.acVolts = ParseSweepNumber(*ac, "--ac");
    if (const std::string* dc = parsed.Value("--dc"))
        options.dcVolts = ParseSweepNumber(*dc, "--dc");
    if (const std::string* servo = parsed.Value("--servo"))
        ParseServo(*servo, options);
    if (const std::string* gain = parsed.Value("--max-gain"))
        options.maxGainDb = ParseSweepNumber(*gain, "--max-gain");
    if (const std::string* phase = parsed.Value("--max-phase"))
        options.maxPhaseDegrees = ParseSweepNumber(*phase, "--max-phase");
    if (const std::string* simulate = parsed.Value("--simulate")) {
        options.simulate = true;
        options.simulatorConfig = *simulate;
    }
    if (const std::string* library = parsed.Value("--gpib-library"))
        options.gpibLibrary = *library;
    if (const std::string* library = parsed.Value("--visa-library"))
        options.visaLibrary = *library;
    const std::string* out = parsed.Value("--out");
    if (!out || out->empty())
        throw UsageError("--out FILE.tal is required");
    options.out = *out;
    if (const std::string* log = parsed.Value("--comm-log"))
        options.commLog = *log;
    return options;
}

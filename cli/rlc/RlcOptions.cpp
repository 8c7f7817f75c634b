#include "cli/rlc/RlcOptions.h"

#include "cli/CliSupport.h"
#include "cli/sweep/SweepOptions.h"
#include "rlc/model/CircuitKind.h"

RlcOptions ParseRlcOptions(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(
        WithOptionalSimulateConfig(args),
        {"--type", "--simulate", "--start", "--stop", "--log-steps", "--ac", "--kind", "--name", "--out", "--report",
         "--cal"},
        {}, 0, "no positional arguments");

    RlcOptions options;
    if (const std::string* type = parsed.Value("--type")) {
        const std::optional<int> id = ParseAnalyzerTypeCode(*type);
        if (!id)
            throw UsageError("--type takes RLC2600, RLC1370, RLC1960, RLC1842, RLC1852, RLC1862 or RLC880");
        options.analyzerType = *id;
    }
    const std::string* simulate = parsed.Value("--simulate");
    if (!simulate)
        throw UsageError("--simulate [CONFIG] is required: the fixture is switched on the simulated analyzer");
    options.simulatorConfig = *simulate;

    const std::string* start = parsed.Value("--start");
    const std::string* stop = parsed.Value("--stop");
    if (!start || !stop)
        throw UsageError("--start and --stop are required");
    options.start = ParseSweepNumber(*start, "--start");
    options.stop = ParseSweepNumber(*stop, "--stop");
    if (!(options.start > 0.0) || !(options.stop > 0.0))
        throw UsageError("--start and --stop must be above 0 Hz");
    if (const std::string* steps = parsed.Value("--log-steps"))
        options.stepsPerDecade = ParseSweepNumber(*steps, "--log-steps");
    if (const std::string* ac = parsed.Value("--ac"))
        options.acVolts = ParseSweepNumber(*ac, "--ac");
    if (const std::string* kind = parsed.Value("--kind")) {
        options.kind = ParseCircuitKind(*kind);
        if (!options.kind)
            throw UsageError("--kind takes a circuit kind (R, L, C, R+L, R+C, R+L+C, R||L, R||C, R+(R||C), "
                             "R+(L||C), R||L||C) or its position 0-10");
    }
    const auto required = [&](const char* option, const char* what) {
        const std::string* value = parsed.Value(option);
        if (!value || value->empty())
            throw UsageError(std::string(option) + " " + what + " is required");
        return *value;
    };
    options.name = required("--name", "NAME");
    options.out = required("--out", "FILE.tal");
    options.report = required("--report", "REPORT.xml");
    if (const std::string* calibration = parsed.Value("--cal"))
        options.calibration = *calibration;
    return options;
}

// Feeds arbitrary command lines to talvern-cli's argument readers: the input is split at NUL
// bytes into arguments. The strict option reader (with the option sets of info, export, random,
// demo, fit, import and report), the integer, number and circuit-kind readers, and the whole
// option readers of sweep and rlc must take the arguments or refuse them with a usage error;
// nothing else may escape.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/rlc/RlcOptions.h"
#include "cli/sweep/SweepOptions.h"
#include "rlc/model/CircuitKind.h"

namespace {

template <typename Parse>
void Refused(Parse parse)
{
    try {
        parse();
    } catch (const UsageError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Arguments args;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);

    Refused([&] { ParseArguments(args, {}, {"--json"}, 1, "one FILE"); });
    Refused([&] { ParseArguments(args, {"--set", "--table"}, {}, 1, "one FILE"); });
    Refused([&] { ParseArguments(args, {"--channels", "--count", "--seed"}, {}, 1, "one OUT.tal"); });
    Refused([&] { ParseArguments(args, {"--seed"}, {}, 0, "nothing"); });
    Refused([&] { ParseArguments(args, {"--set", "--kind"}, {"--json"}, 1, "one DOC.tal"); });
    Refused([&] { ParseArguments(args, {"--out", "--into"}, {}, 1, "one TABLE"); });
    Refused([&] { ParseArguments(args, {"--out", "--kind", "--set"}, {"--refine"}, 1, "one DOC.tal"); });
    for (const std::string& arg : args) {
        Refused([&] { ParseBoundedInteger(arg, "value", -5, 100); });
        Refused([&] { ParseBoundedInteger(arg, "seed", 0, 4294967295LL); });
        Refused([&] { ParseSweepNumber(arg, "value"); });
        ParseCircuitKind(arg);
    }
    Refused([&] { ParseSweepOptions(args); });
    Refused([&] { ParseRlcOptions(args); });
    return 0;
}

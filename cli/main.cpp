// talvern-cli: inspects, exports and creates TalvernRLC document files without a window.
#include <algorithm>
#include <exception>
#include <iostream>
#include <string_view>

#include "cli/CliSupport.h"
#include "cli/Commands.h"

namespace {

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"info", RunInfo},
    {"export", RunExport},
    {"random", RunRandom},
    {"demo", RunDemo},
    {"import", RunImport},
    {"fit", RunFit},
    {"report", RunReport},
#ifdef TALVERN_CLI_SWEEP
    {"sweep", RunSweep},
#endif
#ifdef TALVERN_CLI_RLC
    {"rlc", RunRlc},
#endif
#ifdef TALVERN_CLI_MEASURE_DEMO
    {"measure-demo", RunMeasureDemo},
#endif
};

int Dispatch(Arguments args)
{
    if (args.empty())
        throw UsageError("no command given");
    const std::string name = args.front();
    args.erase(args.begin());
    if (name == "--help" || name == "-h" || name == "help") {
        std::cout << UsageText();
        return kExitOk;
    }
    for (const Command& command : kCommands) {
        if (command.name != name)
            continue;
        // "COMMAND --help" shows the usage as "--help" alone does.
        if (std::find_if(args.begin(), args.end(), [](const std::string& arg) {
                return arg == "--help" || arg == "-h";
            }) != args.end()) {
            std::cout << UsageText();
            return kExitOk;
        }
        return command.run(args);
    }
    throw UsageError("unknown command '" + name + "'");
}

}  // namespace

const char* UsageText()
{
    return "Usage: talvern-cli COMMAND [ARGUMENTS]\n"
           "\n"
           "  info FILE [--json]\n"
           "      Everything a .tal or .cal file holds: version, next data-set number, requested\n"
           "      display type, every data set with its fields and points, the display state.\n"
           "  export FILE --set NUMBER --table gain|imp|volt\n"
           "      Prints one data set as the tab-separated table the program copies and exports.\n"
           "      NUMBER is the data-set number shown to the user (as info lists it), not its\n"
           "      position. gain: frequency, gain (dB), phase; imp: frequency, impedance (ohms),\n"
           "      phase; volt: the 5-column node-voltage block. Records end with CR LF.\n"
           "  random OUT.tal [--channels 2..4] [--count 1..100] [--seed S]\n"
           "      Writes a document of random demonstration data sets (defaults: 4 channels,\n"
           "      3 sets, seeded from the clock).\n"
           "  demo OUTDIR [--seed S]\n"
           "      Creates random data sets, saves them to OUTDIR/demo.tal, reads the file back\n"
           "      and prints a summary and the first data set's gain table.\n"
           "  import TABLE (--out DOC.tal | --into DOC.tal)\n"
           "      Imports a gain, impedance or voltage table as the displays' Import does, into a\n"
           "      new document or one that exists; prints the new data set's number.\n"
           "  fit DOC.tal --set NUMBER --kind K|auto [--json]\n"
           "      Fits a circuit kind (its list text such as 'R + L' or R+L, or its position 0-10)\n"
           "      to a data set: the closed-form estimate, the least-squares values, their standard\n"
           "      uncertainties and the relative RMS residual; auto ranks every kind, best first.\n"
           "  report DOC.tal --out REPORT.xml [--kind K|auto [--set NUMBER] [--refine]]\n"
           "      Writes the RLC panel's SpreadsheetML report; with --kind the circuit of the Model\n"
           "      page (its default data set or --set), refined with --refine; auto is Best Fit.\n"
#ifdef TALVERN_CLI_SWEEP
           "  sweep --type RLC2600|RLC1370|RLC1960|RLC1842|RLC1852|RLC1862|RLC880\n"
           "        [--usb | --gpib-board N --address A]\n"
           "        --start F --stop F [--log-steps N | --linear-step F] [--ac V] [--dc V]\n"
           "        [--servo TARGET[,CHANNEL[,STEP_DB[,MAX_V]]]] [--max-gain DB] [--max-phase DEG]\n"
           "        [--model DIGITS] [--serial N] [--simulate [CONFIG]] [--gpib-library PATH]\n"
           "        [--visa-library PATH] --out FILE.tal [--comm-log FILE]\n"
           "      Runs one sweep of an analyzer and writes it as a document (also after\n"
           "      an error, with the readings taken so far). Numbers take SI prefixes (10k, 4.7m).\n"
           "      CHANNEL: 1-4, larger or smaller. --simulate uses the simulated analyzer, placed\n"
           "      at the board, address, model and serial given, then configured with CONFIG.\n"
#endif
#ifdef TALVERN_CLI_RLC
           "  rlc [--type RLC2600|RLC1370|RLC1960|RLC1842|RLC1852|RLC1862|RLC880]\n"
           "      --simulate [CONFIG] --start F --stop F [--log-steps N]\n"
           "      [--ac V] [--kind K] --name NAME --out DOC.tal --report REPORT.xml [--cal FILE.cal]\n"
           "      Measures a component as the RLC control panel does, on the simulated analyzer\n"
           "      (CONFIG as for sweep, e.g. 'dut=R+L:R=10,L=1m'): open-circuit and closed-circuit\n"
           "      sweeps, the fixture switched between them, then the component with the fixture's\n"
           "      parasitics removed; with --kind the circuit (R, L, C, R+L, ..., R||L||C) is fitted\n"
           "      and plotted. --cal loads FILE.cal when it exists, else saves the calibration there.\n"
#endif
#ifdef TALVERN_CLI_MEASURE_DEMO
           "  measure-demo OUTDIR\n"
           "      Calibrates the simulated fixture, measures an R + L and fits it, then writes\n"
           "      OUTDIR/measurement.tal, the report and a picture of the impedance display.\n"
#endif
           "\n"
           "Exit status: 0 success, 1 output could not be written or the set cannot be fitted,\n"
           "2 bad usage, "
           "3 a file could not be read or written"
#if defined(TALVERN_CLI_SWEEP) || defined(TALVERN_CLI_RLC)
           ", 4 the sweep ended with an error"
#endif
#if defined(TALVERN_CLI_SWEEP)
           ",\n5 the simulated analyzer recorded breaches of its rules (listed on stderr)"
#endif
           ".\n";
}

int main(int argc, char** argv)
{
    int status;
    try {
        status = Dispatch(Arguments(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "talvern-cli: " << e.what() << "\n\n" << UsageText();
        return kExitUsage;
    } catch (const FileError& e) {
        std::cerr << "talvern-cli: " << e.what() << '\n';
        return kExitFile;
    } catch (const std::exception& e) {
        std::cerr << "talvern-cli: " << e.what() << '\n';
        return kExitFailure;
    }
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "talvern-cli: could not write the output\n";
        return kExitFailure;
    }
    return status;
}

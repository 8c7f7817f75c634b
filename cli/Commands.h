#pragma once
// The talvern-cli commands. Each takes the arguments after its name and returns the exit
// code; bad arguments throw UsageError, unreadable or unwritable files FileError.
#include <string>
#include <vector>

using Arguments = std::vector<std::string>;

int RunInfo(const Arguments& args);
int RunExport(const Arguments& args);
int RunRandom(const Arguments& args);
int RunDemo(const Arguments& args);
// Text import of a table into a new or an existing document.
int RunImport(const Arguments& args);
// The Model page's estimate, refinement and model choice on a document's data set.
int RunFit(const Arguments& args);
// The RLC panel's report of a document, with the Model page's circuit values.
int RunReport(const Arguments& args);
#ifdef TALVERN_CLI_SWEEP
// One sweep of a 2600-series analyzer (built where the Qt-based engine is).
int RunSweep(const Arguments& args);
#endif
#ifdef TALVERN_CLI_RLC
// Calibration, component measurement, fit and report of the RLC control panel, headless.
int RunRlc(const Arguments& args);
#endif
#ifdef TALVERN_CLI_MEASURE_DEMO
// A whole RLC measurement on the simulated analyzer: document, report and display picture.
int RunMeasureDemo(const Arguments& args);
#endif

// The text printed by --help and after a usage error.
const char* UsageText();

#pragma once
// Runs one planned sweep through the program's engine of its analyzer type against the simulated
// analyzer, performs the user's actions while it runs, and checks what must hold for every sweep:
// it ends (finished, or one error report) within the watchdog's bound; the referee recorded no
// breach; each reading's recorded amplitude is the one the analyzer applied; frequencies lie in
// the range, in order, none twice unless the servo or maximum change retook them; every accepted
// reading is in the document.

#include <string>
#include <vector>

#include "tests/campaign/SimulatorLibrary.h"
#include "tests/campaign/SweepPlan.h"

namespace campaign {

struct SweepOutcome {
    std::vector<std::string> failures;  // empty when every check held
    int readings = 0;                   // readings in the document
    int completion = -1;                // as the callback heard it; -1 when it never ended
    std::string log;                    // the communication log, for a failure's report
};

SweepOutcome RunPlan(const SweepPlan& plan, const SimulatorLibrary& simulator);

} // namespace campaign

// talvern-campaign [SWEEPS] [SEED]: randomized sweeps of every analyzer type against the simulated
// analyzer (tests/campaign/README.md). Sweep i uses seed SEED + i; a failure prints the plan and
// the command that replays it alone. Exit 0 when every sweep passed every check.

#include <QCoreApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

#include "analyzer/engine/SweepWatchdog.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "tests/campaign/SimulatorLibrary.h"
#include "tests/campaign/SweepPlan.h"
#include "tests/campaign/SweepRun.h"

namespace {

// Waits are recorded, not slept: the simulator answers at once.
class NoSleep final : public instrument::Sleeper {
public:
    void SleepFor(std::chrono::milliseconds) override {}
};

bool ParseCount(const char* text, unsigned long long& value)
{
    char* end = nullptr;
    errno = 0;
    value = std::strtoull(text, &end, 10);
    return errno == 0 && end != text && *end == '\0';
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long long sweeps = 500;
    unsigned long long seed = 1;
    if (argc > 3 || (argc > 1 && !ParseCount(argv[1], sweeps)) || (argc > 2 && !ParseCount(argv[2], seed))) {
        std::cerr << "usage: talvern-campaign [SWEEPS] [SEED]\n";
        return 2;
    }
    QCoreApplication application(argc, argv);
    campaign::SimulatorLibrary simulator(TALVERN_SIM_LIBRARY);
    if (!simulator.Usable()) {
        std::cerr << "talvern-campaign: cannot use the simulator " << TALVERN_SIM_LIBRARY << '\n';
        return 2;
    }
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    NoSleep noSleep;
    instrument::ScopedSleeper useSleeper(noSleep);
    // A hang shows within a few seconds instead of the program's ten.
    SweepWatchdog::SetMarginSeconds(1.0);

    const auto began = std::chrono::steady_clock::now();
    int failed = 0;
    long long readings = 0;
    std::map<int, int> perType;
    for (unsigned long long i = 0; i < sweeps; ++i) {
        const campaign::SweepPlan plan = campaign::DrawPlan(seed + i);
        const campaign::SweepOutcome outcome = campaign::RunPlan(plan, simulator);
        // Whatever the last sweep's bus library still hands over (a late request on a thread of
        // its own) ends before the next sweep opens the analyzer again.
        const auto drainUntil = std::chrono::steady_clock::now() + std::chrono::milliseconds(5);
        while (std::chrono::steady_clock::now() < drainUntil)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        ++perType[plan.analyzerType];
        readings += outcome.readings;
        if (outcome.failures.empty())
            continue;
        ++failed;
        std::cout << "FAILED sweep " << i << " (seed " << plan.seed << "), replay: ./dev campaign 1 " << plan.seed
                  << "\n" << plan.Describe();
        for (const std::string& failure : outcome.failures)
            std::cout << "  - " << failure << '\n';
        if (std::getenv("TALVERN_CAMPAIGN_LOG"))
            std::cout << "  communication log:\n" << outcome.log << '\n';
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::cout << sweeps << " sweeps (seeds " << seed << " to " << seed + sweeps - 1 << "), " << readings
              << " readings, " << failed << " failed, " << took.count() << " s; per type:";
    for (const auto& [type, count] : perType)
        std::cout << ' ' << type << ':' << count;
    std::cout << '\n';
    return failed == 0 ? 0 : 1;
}

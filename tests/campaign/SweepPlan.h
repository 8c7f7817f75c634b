#pragma once
// One randomized sweep of the campaign, drawn from a seed: the analyzer type, where the simulated
// analyzer stands and what faults it shows, the dialog's settings, and what the user does while
// the sweep runs. The same seed always gives the same plan, so a failure is replayed by its seed.

#include <cstdint>
#include <string>
#include <vector>

namespace campaign {

struct UserAction {
    enum Kind {
        PageUp, PageDown, KeyUp, KeyDown, EditAc, EditDc, EditMaxAc, Stop, TakeData, Dc,
        FindAddress, AddressChange, Close, Destroy
    };
    int afterReadings = 0;  // performed once this many readings were shown
    Kind kind = PageUp;
    double value = 0.0;     // the edited value, or the new address
};

struct SweepPlan {
    std::uint64_t seed = 0;
    int analyzerType = 10;  // 0, 6, 7, 8, 9, 10 or 11
    bool usb = false;
    int address = 8;
    std::string simConfig;  // talsim_configure text after "reset"
    bool faulty = false;    // a fault that may end the sweep with an error

    double start = 10.0;
    double stop = 1e5;
    bool logSweep = true;
    double stepsPerDecade = 10.0;
    double linearStep = 1000.0;
    double ac = 1.0;
    double dc = 0.0;
    double maxAc = 10.0;
    std::string waveform;         // empty: left as it is
    std::string outputImpedance;  // 2600 series: "2" or "50"; empty: left
    std::string inputChoice;      // coupling (1960, 1800) or input impedance (2600); empty: left
    double integrationSeconds = 0.02;
    bool servo = false;
    std::string servoChannel = "CH 1";
    double servoTarget = 0.1;
    double servoStepDb = 10.0;
    bool maxGain = false;
    double maxGainDb = 10.0;
    bool maxPhase = false;
    double maxPhaseDegrees = 20.0;
    std::vector<UserAction> actions;

    // A readable account of the plan, printed with a failure.
    std::string Describe() const;
};

SweepPlan DrawPlan(std::uint64_t seed);

} // namespace campaign

#pragma once
// The referee: every breach of an instrument's rules by a command it was sent, with the command,
// the frequency the analyzer was set to and the rule. Tests, the randomized campaign and
// `talvern-cli sweep --simulate` read them through talsim_violations and fail on any.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace talsim {

struct Violation {
    std::string command;  // the command as written, or the measure command that found the breach
    double frequency = 0.0;  // Hz, the analyzer's frequency setting when it happened
    std::string rule;
};

class Referee {
public:
    void Record(std::string_view command, double frequency, std::string_view rule);
    // Violations recorded since the last clear (all counted; the first kMaxKept kept). Clearing
    // leaves the recent measurements.
    std::size_t Count() const { return count_; }
    // One line each: "<rule>: '<command>' at <frequency> Hz".
    std::string Report() const;
    void Clear();

    // A measurement started at frequency (Hz) with the output amplitude setting (V peak); the
    // last kMaxMeasurements are kept, oldest first, so the campaign can compare what the program
    // recorded with what the analyzer applied.
    struct Measurement {
        double frequency = 0.0;
        double amplitude = 0.0;
    };
    void Measured(double frequency, double amplitude);
    const std::vector<Measurement>& RecentMeasurements() const { return measurements_; }

    static constexpr std::size_t kMaxKept = 256;
    static constexpr std::size_t kMaxMeasurements = 64;

private:
    std::vector<Measurement> measurements_;
    std::vector<Violation> kept_;
    std::size_t count_ = 0;
};

} // namespace talsim

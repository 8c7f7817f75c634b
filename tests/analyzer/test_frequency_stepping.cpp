#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analyzer/family2600/Commands.h"
#include "analyzer/sweep/FrequencyStepping.h"
#include "analyzer/sweep/NumberText.h"

using namespace analyzer;

namespace {

SweepState Sweep(double start, double stop, bool log, double stepsOrStep)
{
    SweepState s;
    s.startFrequency = start;
    s.stopFrequency = stop;
    s.ascending = stop > start;
    s.logSweep = log;
    s.stepsPerDecade = s.userStepsPerDecade = stepsOrStep;
    s.step = s.userStep = stepsOrStep;
    return s;
}

// Runs the sweep as the analyzer does: each reading is at the frequency sent ("%.4G"). Returns
// the commands sent after the first point and stops after 1000 points.
std::vector<std::string> RunSweep(SweepState s, std::vector<double>& readings)
{
    std::vector<std::string> commands;
    double sent = RoundToSignificant(s.startFrequency, 4);
    for (int i = 0; i < 1000; ++i) {
        s.reading.frequency = sent;
        readings.push_back(sent);
        if (ReachedStopFrequency(sent, s))
            break;
        const double next = NextFrequency(s, false);
        commands.push_back(family2600::MeasureAtCommand(next));
        sent = ParseLeadingDouble(commands.back().substr(5));
    }
    return commands;
}

} // namespace

TEST(FrequencyStepping, LogSweepOfOneDecadeTakesElevenPoints)
{
    std::vector<double> readings;
    const auto commands = RunSweep(Sweep(10, 100, true, 10), readings);
    ASSERT_EQ(readings.size(), 11u);
    EXPECT_EQ(commands.front(), "FREQ,12.59;MEAS;");
    EXPECT_EQ(commands.back(), "FREQ,100;MEAS;");
    EXPECT_DOUBLE_EQ(readings.back(), 100.0);
}

TEST(FrequencyStepping, SweepsEndExactlyAtTheStopFrequency)
{
    const struct {
        double start, stop;
        bool log;
        double step;
        std::size_t points;
        double last;
    } cases[] = {
        {100, 1000, false, 300, 4, 1000},      // step divides the range
        {100, 1000, false, 400, 4, 1000},      // 100, 500, 900, then clamped to 1000
        {1000, 100, true, 10, 11, 100},        // descending log
        {1000, 100, false, 250, 5, 100},       // descending linear, last step clamped
        {10, 123456, true, 10, 42, 123500},    // stop rounds up when sent
        {10, 123444, true, 10, 42, 123400},    // stop rounds down when sent: still ends
        {123444, 10, true, 10, 42, 10},
    };
    for (const auto& c : cases) {
        std::vector<double> readings;
        RunSweep(Sweep(c.start, c.stop, c.log, c.step), readings);
        EXPECT_EQ(readings.size(), c.points) << c.start << " to " << c.stop;
        EXPECT_DOUBLE_EQ(readings.back(), c.last) << c.start << " to " << c.stop;
    }
}

TEST(FrequencyStepping, StepsFinerThanTheDigitsSentGoOnToTheNextFrequencySentDifferently)
{
    const struct {
        double start, stop;
        bool log;
        double step;
        std::vector<double> readings;  // as sent
    } cases[] = {
        {10000, 10030, false, 1, {10000, 10010, 10020, 10030}},
        {10030, 10000, false, 1, {10030, 10020, 10010, 10000}},
        {9997, 10026, false, 1, {9997, 9998, 9999, 10000, 10010, 10020, 10026}},
        {10002, 9997, false, 1, {10000, 9999, 9998, 9997}},
        {1000, 1002, false, 0.3, {1000, 1001, 1002}},
        {0.0012, 0.001197, false, 1e-8, {0.0012, 0.001199, 0.001198, 0.001197}},
    };
    for (const auto& c : cases) {
        std::vector<double> readings;
        RunSweep(Sweep(c.start, c.stop, c.log, c.step), readings);
        ASSERT_EQ(readings.size(), c.readings.size()) << c.start << " to " << c.stop;
        for (std::size_t i = 0; i < readings.size(); ++i)
            EXPECT_DOUBLE_EQ(readings[i], RoundToSignificant(c.readings[i], 4)) << c.start << " to " << c.stop << " #" << i;
    }
}

TEST(FrequencyStepping, NextFrequencyStartsFromTheStartAndStaysThereInStartFrequencyMode)
{
    SweepState s = Sweep(20, 2000, true, 1);
    s.reading.frequency = 0;
    EXPECT_DOUBLE_EQ(NextFrequency(s, false), 200.0);
    s.reading.frequency = 500;
    EXPECT_DOUBLE_EQ(NextFrequency(s, true), 20.0);
    // A step that cannot be taken goes to the stop instead of producing a bad frequency.
    s.stepsPerDecade = 0;
    EXPECT_DOUBLE_EQ(NextFrequency(s, false), 2000.0);
}

TEST(FrequencyStepping, ReachedStopFrequencyByDirection)
{
    SweepState up = Sweep(10, 1000, true, 10);
    EXPECT_FALSE(ReachedStopFrequency(999, up));
    EXPECT_TRUE(ReachedStopFrequency(1000, up));
    EXPECT_TRUE(ReachedStopFrequency(1000.2, up));
    EXPECT_TRUE(ReachedStopFrequency(999.99, up));  // sent as "1000"
    SweepState down = Sweep(1000, 10, true, 10);
    EXPECT_FALSE(ReachedStopFrequency(11, down));
    EXPECT_TRUE(ReachedStopFrequency(10, down));
    EXPECT_TRUE(ReachedStopFrequency(9, down));
}

TEST(FrequencyLimits, StopThenStartAreBroughtIntoRangeWithLogLines)
{
    const struct {
        double start, stop;
        double maximumForSettings;
        double wantStart, wantStop;
        bool ascending;
        std::vector<std::string> log;
    } cases[] = {
        {10, 1e5, 5e6, 10, 1e5, true, {}},
        {0.0001, 1e7, 5e6, 0.001, 5e6, true,
         {"Freq limited to 5e+06 for current analyzer type, waveform or output impedance\r\n",
          "Freq limited to 0.001.\r\n"}},
        {1e7, 20, 1e6, 1e6, 20, false,
         {"Freq limited to 1e+06 for current analyzer type, waveform or output impedance\r\n"}},
        {NAN, -5, 5e6, 0.001, 0.001, false, {"Freq limited to 0.001.\r\n", "Freq limited to 0.001.\r\n"}},
        // A maximum for the settings above the analyzer's own is lowered to it first.
        {10, 2e7, 9e9, 10, 1.5e7, true,
         {"Freq limited to 1.5e+07 for current analyzer type, waveform or output impedance\r\n"}},
    };
    for (const auto& c : cases) {
        double start = c.start;
        double stop = c.stop;
        FrequencyLimits limits{0.001, 1.5e7, c.maximumForSettings};
        const FrequencyLimitResult r = CheckFrequencyLimits(start, stop, limits);
        EXPECT_DOUBLE_EQ(start, c.wantStart);
        EXPECT_DOUBLE_EQ(stop, c.wantStop);
        EXPECT_EQ(r.ascending, c.ascending);
        EXPECT_EQ(r.logLines, c.log);
        EXPECT_EQ(r.startChanged, start != c.start);
        EXPECT_LE(limits.maximumForSettings, limits.maximum);
    }
}

TEST(FrequencyStepping, ProgressIsTheLogarithmicShareOfTheRange)
{
    EXPECT_EQ(SweepProgressPercent(10, 10, 1000), 0);
    EXPECT_EQ(SweepProgressPercent(100, 10, 1000), 50);
    EXPECT_EQ(SweepProgressPercent(99, 10, 1000), 49);  // truncated
    EXPECT_EQ(SweepProgressPercent(100, 1000, 10), 50);  // descending
    EXPECT_EQ(SweepProgressPercent(5000, 10, 1000), 100);
    EXPECT_EQ(SweepProgressPercent(100, 10, 10), 0);
    EXPECT_EQ(SweepProgressPercent(0, 10, 1000), 0);
}

TEST(FrequencyStepping, ALinearSweepWithoutAStepEndsInsteadOfRepeatingThePoint)
{
    SweepState s = Sweep(100, 1000, false, 0);
    s.reading.frequency = 100;
    EXPECT_DOUBLE_EQ(NextFrequency(s, false), 1000.0);
}

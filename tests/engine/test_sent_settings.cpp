// What the 2600-series analyzer is told: the amplitude the field shows and the one each reading
// records, within the output rating; commands that must go out whatever the user does meanwhile;
// and frequencies that differ as sent.

#include "EngineTestSupport.h"

#include <cmath>
#include <set>

#include "analyzer/engine/SweepStepObserver.h"
#include "analyzer/sweep/NumberText.h"

namespace {

using enginetest::EngineFixture;

// Runs an action for every reading accepted and every measure command written.
class Probe final : public SweepStepObserver {
public:
    std::function<void(double)> onReading;
    std::function<void()> onMeasure;
    void OnReadingAccepted(double frequency) override
    {
        if (onReading)
            onReading(frequency);
    }
    void OnMeasureCommandWritten() override
    {
        if (onMeasure)
            onMeasure();
    }
};

// The frequency and the amplitude the analyzer holds at each "MEAS" written, from the commands.
struct Measured {
    double frequency;
    double amplitude;
};

class SentSettings : public EngineFixture {
protected:
    std::vector<Measured> MeasuredPoints() const
    {
        std::vector<Measured> points;
        double frequency = 0.0;
        double amplitude = 1.0;  // the analyzer's own until the first "AMPL"
        for (const std::string& write : Sent()) {
            for (size_t begin = 0; begin < write.size();) {
                size_t end = write.find(';', begin);
                if (end == std::string::npos)
                    end = write.size();
                const std::string command = write.substr(begin, end - begin);
                if (command.rfind("AMPL,", 0) == 0)
                    amplitude = analyzer::ParseLeadingDouble(command.substr(5));
                else if (command.rfind("FREQ,", 0) == 0)
                    frequency = analyzer::ParseLeadingDouble(command.substr(5));
                else if (command == "MEAS")
                    points.push_back({frequency, amplitude});
                begin = end + 1;
            }
        }
        return points;
    }
    // Records, for each accepted reading, the amplitude it records and the one the analyzer held.
    void RecordAmplitudes(Probe& probe)
    {
        probe.onReading = [this](double) {
            const std::vector<Measured> points = MeasuredPoints();
            recorded.push_back({engine->CurrentReading().outputAmplitude, points.empty() ? 0.0 : points.back().amplitude});
        };
        engine->SetStepObserver(&probe);
    }
    struct Amplitudes {
        double recorded;
        double applied;
    };
    std::vector<Amplitudes> recorded;
};

TEST_F(SentSettings, TheAnalyzerGetsTheAmplitudeTheFieldShowsAfterAStop)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    Probe probe;
    // At the second reading the amplitude is edited twice, then the sweep is stopped before the
    // next point's write.
    int readings = 0;
    probe.onReading = [&](double) {
        if (++readings != 2)
            return;
        e.SetAcVoltsOutField(2);
        e.SetAcVoltsOutField(3);
        e.OnButtonRunSweep();
    };
    e.SetStepObserver(&probe);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(document.GetPointCount(0), 2);

    probe.onReading = {};
    RecordAmplitudes(probe);
    e.SetAcVoltsOutField(0.5);
    ASSERT_TRUE(RunSweep()) << fullLog;
    for (const std::string& command : Sent()) {
        EXPECT_EQ(command.find("AMPL,2;"), std::string::npos) << command;
        EXPECT_EQ(command.find("AMPL,3;"), std::string::npos) << command;
    }
    ASSERT_EQ(recorded.size(), 11u);
    for (const Amplitudes& a : recorded) {
        EXPECT_EQ(a.recorded, 0.5);
        EXPECT_EQ(a.applied, 0.5);
    }

    // During a sweep the value set last goes out with the next point.
    fullLog.clear();
    readings = 0;
    probe.onReading = [&](double) {
        if (++readings == 1) {
            e.SetAcVoltsOutField(2);
            e.SetAcVoltsOutField(0.7);
        }
    };
    ASSERT_TRUE(RunSweep()) << fullLog;
    const std::vector<std::string> measures = MeasureCommands();
    ASSERT_GE(measures.size(), 2u);
    EXPECT_EQ(measures[1], "AMPL,0.7;FREQ,125.9;MEAS;");
}

TEST_F(SentSettings, TheOutputRatingHoldsFromTheFirstPointAndAfterTheServo)
{
    // The first point: 10 V is never sent at 20 MHz.
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(20e6);
    e.SetStopFrequency(20e6);
    e.SetAcVoltsOutField(10);
    Probe probe;
    RecordAmplitudes(probe);
    ASSERT_TRUE(RunSweep()) << fullLog;
    ASSERT_FALSE(MeasuredPoints().empty());
    EXPECT_EQ(MeasuredPoints().front().amplitude, 4.0) << fullLog;
    EXPECT_EQ(fullLog.find("AMPL,10"), std::string::npos) << fullLog;
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].recorded, 4.0);

    // The servo drives a falling network hard up to 20 MHz: the limit of the point about to be
    // measured applies after the servo, and every reading records what the analyzer held.
    ASSERT_TRUE(ConfigureSim("dut=lowpass:fc=2M"));
    fullLog.clear();
    recorded.clear();
    e.SetStartFrequency(12e6);
    e.SetStopFrequency(20e6);
    e.SetStepsPerDecade(100);
    e.SetMaxAcVoltsOutField(10);
    e.SetServoOn(true);
    e.SelectServoChannel("CH 2");
    e.SetServoAcVoltsIn(1.0);
    e.SetServoStepDb(6);
    ASSERT_TRUE(RunSweep()) << fullLog;
    const std::vector<Measured> points = MeasuredPoints();
    ASSERT_GT(points.size(), 20u);
    for (const Measured& p : points)
        EXPECT_LE(p.amplitude * p.frequency, 80e6) << p.amplitude << " V at " << p.frequency << " Hz";
    ASSERT_GT(recorded.size(), 20u);
    for (const Amplitudes& a : recorded)
        EXPECT_EQ(a.recorded, a.applied);
    EXPECT_EQ(recorded.back().applied, 4.0);  // at the rating's ceiling at 20 MHz
    EXPECT_EQ(e.Fields().acVoltsOut, 4.0);
}

TEST_F(SentSettings, TheTwoOhmOutputSwitchesTheDcOutputOffOnTheAnalyzer)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetDcVoltsOut(1.5);
    e.OnCheckDc();
    ASSERT_TRUE(e.DcOutputOn()) << fullLog << Shown();
    e.SelectOutputImpedance("2");
    EXPECT_FALSE(e.DcOutputOn());
    EXPECT_EQ(e.ControlState().dcText, "Turn On DC Voltage");
    const std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()),
              (std::vector<std::string>{"BIAS,OFF;", "ZOUT,2;"}));
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
}

TEST_F(SentSettings, KeysHeldDuringSlowPointsNeverCrowdOutTheReadAndMeasureCommands)
{
    for (const bool usb : {false, true}) {
        SCOPED_TRACE(usb ? "USB" : "GPIB");
        ASSERT_TRUE(ConfigureSim(""));
        fullLog.clear();
        completions.clear();
        Analyzer2600Engine& e = StartEngine(usb);
        e.SetStartFrequency(100);
        e.SetStopFrequency(1000);
        e.SetStepsPerDecade(30);
        // While each point is measured the user holds Page Up, a little longer each time, so that
        // the queue of DC commands fills to every length.
        Probe probe;
        int presses = 0;
        probe.onMeasure = [&] {
            ++presses;
            for (int i = 0; i < presses; ++i)
                e.OnKeyPageUp();
        };
        e.SetStepObserver(&probe);
        ASSERT_TRUE(RunSweep()) << fullLog;
        EXPECT_EQ(completions, std::vector<int>{0});
        EXPECT_TRUE(prompter.shown.empty()) << Shown();
        EXPECT_EQ(document.GetPointCount(document.GetDataSetCount() - 1), 31);
        e.SetStepObserver(nullptr);
        engine.reset();
    }
}

TEST_F(SentSettings, StepsFinerThanTheDigitsSentMeasureEachFrequencyOnce)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetLogSweep(false);
    e.SetStartFrequency(10000);
    e.SetStopFrequency(10030);
    e.SetFrequencyStep(1);
    ASSERT_TRUE(RunSweep()) << fullLog;
    std::vector<double> frequencies;
    for (int i = 0; i < document.GetPointCount(0); ++i)
        frequencies.push_back(document.GetFrequency(0, i));
    EXPECT_EQ(frequencies, (std::vector<double>{10000, 10010, 10020, 10030}));
}

} // namespace

// The servo and the maximum-change control during real sweeps of a first-order low-pass network.

#include "EngineTestSupport.h"

#include <cmath>

namespace {

using enginetest::EngineFixture;

class Control : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        ASSERT_TRUE(ConfigureSim("dut=lowpass:fc=1k"));
    }
    // Gain (dB) of channel 2 over channel 1 at point i of the sweep's set.
    double GainDb(int i) const
    {
        return 20.0 * std::log10(document.GetNodeVoltage(0, i, 2) / document.GetNodeVoltage(0, i, 1));
    }
    size_t Count(const std::string& text) const
    {
        size_t n = 0;
        for (size_t at = fullLog.find(text); at != std::string::npos; at = fullLog.find(text, at + 1))
            ++n;
        return n;
    }
};

TEST_F(Control, ServoHoldsTheOutputChannelNearItsTarget)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(30000);
    e.SetServoOn(true);
    e.SelectServoChannel("CH 2");
    e.SetServoAcVoltsIn(0.1);
    ASSERT_TRUE(RunSweep()) << fullLog;

    // Every servo sweep starts from 10 mV; the first point is far off and retried once.
    EXPECT_NE(fullLog.find("Sent:'*ESE,60;MODE,SING;AMPL,0.01;"), std::string::npos) << fullLog;
    EXPECT_NE(fullLog.find("Servo will retry data point.\r\n"), std::string::npos);
    // The retried first point is measured at the start frequency again, 10 dB higher.
    const std::vector<std::string> measures = MeasureCommands();
    ASSERT_GE(measures.size(), 3u);
    EXPECT_EQ(measures[1], "AMPL,0.0316;FREQ,100;MEAS;");
    EXPECT_EQ(document.GetFrequency(0, 0), 100.0);
    EXPECT_NE(fullLog.find("Data point is out of Servo range but is accepted because servo already retried it once.\r\n"),
              std::string::npos);
    const int points = document.GetPointCount(0);
    ASSERT_GT(points, 20);
    // Once settled, the network's output stays within 30 % of the target although the network
    // attenuates by 30 dB over the sweep.
    for (int i = 3; i < points; ++i)
        EXPECT_NEAR(document.GetNodeVoltage(0, i, 2), 0.1, 0.03) << "point " << i << " at " << document.GetFrequency(0, i);
    EXPECT_GT(document.GetNodeVoltage(0, points - 1, 1), 2.0);  // the output rose to drive it
}

TEST_F(Control, ServoAcceptsAPointBelowTargetWhenTheOutputIsAtItsCeiling)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100000);
    e.SetStopFrequency(100000);
    e.SetServoOn(true);
    e.SelectServoChannel("CH 2");
    e.SetServoAcVoltsIn(1.0);
    e.SetMaxAcVoltsOutField(0.01);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("Data point is out of Servo range but is accepted because AC Volts is at max.\r\n"),
              std::string::npos)
        << fullLog;
    EXPECT_EQ(fullLog.find("Servo will retry data point."), std::string::npos);
}

TEST_F(Control, MaximumGainChangeRefinesTheStepWhereTheResponseFalls)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(100000);
    e.SetMaxChangeGain(true, 1.5);
    ASSERT_TRUE(RunSweep()) << fullLog;

    EXPECT_NE(fullLog.find("Max Change has changed the frequency step to 20.000000 steps per decade and will retake "
                           "the current data point.\r\n"),
              std::string::npos)
        << fullLog;
    const int points = document.GetPointCount(0);
    for (int i = 1; i < points; ++i)
        EXPECT_LE(std::fabs(GainDb(i) - GainDb(i - 1)), 1.5) << "point " << i;
    // Ten points per decade where the response is flat, twenty where it falls by 20 dB a decade.
    EXPECT_GT(points, 45);
    EXPECT_LT(points, 65);
    // The user's step is shown again after the sweep.
    EXPECT_EQ(e.ShownStepsPerDecade(), 10.0);
}

TEST_F(Control, MaximumChangeCoarsensTheStepBackWhenTheResponseFlattens)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(30000);
    e.SetStopFrequency(10);
    e.SetMaxChangeGain(true, 1.5);
    ASSERT_TRUE(RunSweep()) << fullLog;
    const size_t refined = Count("steps per decade and will retake the current data point.");
    const size_t coarsened = Count("Max Change has changed the frequency step to 10.000000 steps per decade.\r\n");
    EXPECT_GE(refined, 1u) << fullLog;
    EXPECT_EQ(coarsened, 1u) << fullLog;
}

TEST_F(Control, MaximumChangeRefinesALinearStepToAThirtySecondAtMost)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetLogSweep(false);
    e.SetStartFrequency(1000);
    e.SetStopFrequency(3000);
    e.SetFrequencyStep(1000);
    e.SetMaxChangeGain(true, 0.05);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("Max Change has changed the frequency step to 500.000000 Hz. and will retake the current "
                           "data point.\r\n"),
              std::string::npos);
    EXPECT_NE(fullLog.find("to 31.250000 Hz. and will retake"), std::string::npos);
    EXPECT_EQ(fullLog.find("to 15.625000 Hz."), std::string::npos);
    EXPECT_EQ(document.GetFrequency(0, 1), 1031.0);  // 1031.25 sent with four digits
}

} // namespace

#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/MaxChange.h"
#include "analyzer/sweep/ReadingJudgement.h"
#include "analyzer/sweep/Servo.h"

using namespace analyzer;
using family2600::Texts;

namespace {

Reading At(double frequency, double ch1, double ch2, double output = 1.0, double p1 = 0, double p2 = 0)
{
    Reading r;
    r.frequency = frequency;
    r.amplitude = {ch1, ch2, 0.3, 0.4};
    r.phase = {p1, p2, 0, 0};
    r.outputAmplitude = output;
    return r;
}

ServoSettings Servo(double target, double stepDb = 10, double ceiling = 10)
{
    ServoSettings s;
    s.on = true;
    s.acVoltsIn = target;
    s.stepSizeDb = stepDb;
    s.maxAcVoltsOut = ceiling;
    return s;
}

} // namespace

TEST(Servo, FindChannelPicksFromTheRatioPair)
{
    SweepState s;
    s.reading = At(100, 0.5, 0.5);
    s.reading.amplitude[2] = 0.9;
    const struct {
        ServoChoice choice;
        int numerator, denominator;
        int channel;
        const char* message;
    } cases[] = {
        {ServoChoice::Channel3, 2, 1, 3, ""},
        {ServoChoice::Larger, 2, 1, 1, ""},   // tie: the first-named channel
        {ServoChoice::Smaller, 1, 2, 1, ""},
        {ServoChoice::Larger, 3, 1, 3, ""},
        {ServoChoice::Smaller, 1, 3, 1, ""},
        {ServoChoice::Smaller, 2, 3, 2, ""},
        {ServoChoice::Larger, 4, 3, 1, "Error in Servo part of CAnalyzer2600Dlg::OnMsg2600Sweep"},
        {static_cast<ServoChoice>(17), 2, 1, 1, "Error in CAnalyzer2600Dlg::OnServoFindChannel"},
    };
    for (const auto& c : cases) {
        s.numeratorChannel = c.numerator;
        s.denominatorChannel = c.denominator;
        const ServoChannel found = OnServoFindChannel(s, c.choice, Texts());
        EXPECT_EQ(found.channel, c.channel);
        EXPECT_EQ(found.message, c.message);
    }
    EXPECT_EQ(ServoChoiceFromEntry("Larger of CH2,3"), ServoChoice::Larger);
    EXPECT_EQ(ServoChoiceFromEntry("Smaller of CH1,2\r\n"), ServoChoice::Smaller);
    EXPECT_EQ(ServoChoiceFromEntry("CH 4"), ServoChoice::Channel4);
    EXPECT_EQ(ServoChoiceFromEntry("CH"), ServoChoice::Channel1);
}

TEST(Servo, VerifyRetriesAPointOnceAndAcceptsAtTheCeiling)
{
    SweepState s;
    const ServoSettings servo = Servo(0.1, 10, 5);
    s.reading = At(100, 0.12, 0);
    EXPECT_TRUE(OnServoVerifyNewDataPoint(s, 1, servo, Texts()).accept);

    s.reading = At(100, 0.2, 0);
    ServoVerdict v = OnServoVerifyNewDataPoint(s, 1, servo, Texts());
    EXPECT_FALSE(v.accept);
    EXPECT_EQ(v.logLine, "Servo will retry data point.\r\n");
    EXPECT_TRUE(s.servoRetried);
    v = OnServoVerifyNewDataPoint(s, 1, servo, Texts());
    EXPECT_TRUE(v.accept);
    EXPECT_EQ(v.logLine,
              "Data point is out of Servo range but is accepted because servo already retried it once.\r\n");
    EXPECT_FALSE(s.servoRetried);

    s.reading = At(100, 0.01, 0, 5.0);
    v = OnServoVerifyNewDataPoint(s, 1, servo, Texts());
    EXPECT_TRUE(v.accept);
    EXPECT_EQ(v.logLine, "Data point is out of Servo range but is accepted because AC Volts is at max.\r\n");

    v = OnServoVerifyNewDataPoint(s, 5, servo, Texts());
    EXPECT_EQ(v.message, "Error - in CAnalyzer2600Dlg::OnServoVerifyNewDataPoint nChannel is invalid");
}

TEST(Servo, PredictTakesTheWantedOutputOrMovesByTheStepSize)
{
    SweepState s;
    s.reading = At(100, 0.05, 0, 1.0);
    EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1)).amplitude, 2.0);
    s.reading = At(100, 0.001, 0, 0.01);
    EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1)).amplitude, 0.03162);
    s.reading = At(100, 1.0, 0, 1.0);
    EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1)).amplitude, 0.3162);
    // Never above the ceiling.
    s.reading = At(100, 0.05, 0, 1.0);
    EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1, 10, 1.5)).amplitude, 1.5);
    // Nothing on the channel: a full step up, not a bad value.
    s.reading = At(100, 0.0, 0, 1.0);
    EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1, 6)).amplitude, 1.995);
    EXPECT_EQ(OnServoPredictNextOscVoltage(s, 0, Servo(0.1)).message,
              "Error - in OnServoPredictNextOscVoltage, nChannel is invalid");
}

TEST(Servo, PredictExtrapolatesTheOutputRatioTowardsTheNextFrequency)
{
    // The channel falls by 6.02 dB per step relative to the output: the next output doubles
    // again on top of what the current ratio asks for.
    for (bool log : {true, false}) {
        for (bool ascending : {true, false}) {
            SweepState s;
            s.logSweep = log;
            s.ascending = ascending;
            s.stepsPerDecade = 10;
            s.step = 100;
            const double f = 1000;
            const double fp = log ? (ascending ? f / std::pow(10, 0.1) : f * std::pow(10, 0.1))
                                  : (ascending ? f - 100 : f + 100);
            s.previous = At(fp, 0.1, 0, 1.0);
            s.reading = At(f, 0.05, 0, 1.0);
            // r = log10(20), rp = log10(10): extrapolated 20 * 2 -> wanted 0.1 * 40 = 4 V.
            EXPECT_NEAR(OnServoPredictNextOscVoltage(s, 1, Servo(0.1, 20)).amplitude, 4.0, 0.002)
                << "log " << log << " ascending " << ascending;
            s.servoRetried = true;  // a retaken point is not extrapolated
            EXPECT_DOUBLE_EQ(OnServoPredictNextOscVoltage(s, 1, Servo(0.1, 20)).amplitude, 2.0);
        }
    }
}

TEST(MaxChange, ChecksGradeTheChangeAgainstTheLimit)
{
    SweepState s;
    s.reading = At(200, 1.0, 1.0);
    EXPECT_EQ(GainCheck(s, 1.0), 0);  // no previous reading
    EXPECT_EQ(PhaseCheck(s, 1.0), 0);
    const struct {
        double ch2Before, ch2Now;
        int code;
    } gains[] = {{1.0, 1.05, 1}, {1.0, 1.1, 2}, {1.0, 1.4125, 3}, {0.0, 0.0, 0}, {0.0, 1.0, 3}};
    for (const auto& g : gains) {
        s.previous = At(100, 1.0, g.ch2Before);
        s.reading = At(200, 1.0, g.ch2Now);
        EXPECT_EQ(GainCheck(s, 1.0), g.code) << g.ch2Before << " -> " << g.ch2Now;
    }
    const struct {
        double before, now;
        int code;
    } phases[] = {{179, -179, 1}, {-179, 179, 1}, {10, 20, 2}, {10, 35, 3}, {0, 720.5, 1}, {-170, 170, 3}};
    for (const auto& p : phases) {
        s.previous = At(100, 1, 1, 1, 0, p.before);
        s.reading = At(200, 1, 1, 1, 0, p.now);
        EXPECT_EQ(PhaseCheck(s, 10.0), p.code) << p.before << " -> " << p.now;
    }
}

TEST(MaxChange, StepRefinesToThirtyTwoTimesAndCoarsensBackOneFactorPerPoint)
{
    SweepState s;
    s.logSweep = false;
    s.step = s.userStep = 1000;
    int retakes = 0;
    while (!AdjustStepForMaxChange(s, 3, 0).accept)
        ++retakes;
    EXPECT_EQ(retakes, 5);
    EXPECT_DOUBLE_EQ(s.step, 31.25);
    StepAdjustment a = AdjustStepForMaxChange(s, 1, 2);  // a code 2 keeps the step
    EXPECT_TRUE(a.accept);
    EXPECT_FALSE(a.stepChanged);
    a = AdjustStepForMaxChange(s, 0, 1);
    EXPECT_TRUE(a.accept);
    EXPECT_DOUBLE_EQ(s.step, 62.5);
    EXPECT_EQ(a.logLine, "Max Change has changed the frequency step to 62.500000 Hz.\r\n");

    s.step = s.userStep = 0.0002;
    a = AdjustStepForMaxChange(s, 3, 3);
    EXPECT_FALSE(a.accept);
    EXPECT_DOUBLE_EQ(s.step, 0.0001);  // never below 0.0001 Hz
    EXPECT_EQ(a.logLine,
              "Max Change has changed the frequency step to 0.000100 Hz. and will retake the current data point.\r\n");
    EXPECT_TRUE(AdjustStepForMaxChange(s, 3, 0).accept);

    SweepState l;
    l.stepsPerDecade = l.userStepsPerDecade = 100;
    a = AdjustStepForMaxChange(l, 0, 3);
    EXPECT_EQ(a.logLine, "Max Change has changed the frequency step to 200.000000 steps per decade and "
                         "will retake the current data point.\r\n");
    while (!AdjustStepForMaxChange(l, 0, 3).accept) {
    }
    EXPECT_DOUBLE_EQ(l.stepsPerDecade, 2000.0);  // 32 x 100 would be 3200
    a = AdjustStepForMaxChange(l, 1, 1);
    EXPECT_DOUBLE_EQ(l.stepsPerDecade, 1000.0);
    EXPECT_EQ(a.logLine, "Max Change has changed the frequency step to 1000.000000 steps per decade.\r\n");
}

TEST(JudgeReading, RejectedReadingsAreReplacedAndTheServoStillPredicts)
{
    SweepState s;
    s.previous = At(100, 1.0, 1.0, 1.0);
    s.reading = At(125.9, 1.0, 2.0, 1.0);  // gain jumps by 6 dB
    MaxChangeSettings maxChange;
    maxChange.gainOn = true;
    maxChange.gainLimitDb = 1.0;
    ServoSettings servo = Servo(1.0);
    servo.channel = ServoChoice::Channel1;

    Judgement j = JudgeReading(s, servo, maxChange, true, Texts());
    EXPECT_FALSE(j.accept);
    EXPECT_TRUE(j.stepChanged);
    EXPECT_DOUBLE_EQ(s.stepsPerDecade, 20.0);
    ASSERT_TRUE(j.nextAmplitude);
    EXPECT_DOUBLE_EQ(*j.nextAmplitude, 1.0);
    EXPECT_DOUBLE_EQ(s.reading.frequency, 100.0);  // replaced by the previous reading

    // In start-frequency mode the maximum change does not run; the servo's retry still does.
    s.reading = At(125.9, 3.0, 2.0, 1.0);
    j = JudgeReading(s, servo, maxChange, false, Texts());
    EXPECT_FALSE(j.accept);
    EXPECT_EQ(j.logLines, std::vector<std::string>{"Servo will retry data point.\r\n"});
    EXPECT_DOUBLE_EQ(s.stepsPerDecade, 20.0);

    // Servo off: accepted without an amplitude.
    servo.on = false;
    s.reading = At(125.9, 1.0, 1.05, 1.0);
    j = JudgeReading(s, servo, maxChange, true, Texts());
    EXPECT_TRUE(j.accept);
    EXPECT_FALSE(j.nextAmplitude);
    EXPECT_DOUBLE_EQ(s.reading.frequency, 125.9);
}

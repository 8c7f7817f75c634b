// The 1960's protocol unit: its reply, bands, output rules, command texts and event-register report.

#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/family1960/Commands.h"
#include "analyzer/family1960/ParameterDump.h"
#include "analyzer/family1960/ReadingReply.h"
#include "analyzer/family1960/Settings.h"
#include "analyzer/family1960/Texts.h"

namespace {

using namespace analyzer;
using namespace analyzer::family1960;

TEST(Family1960Reply, FourthValueIsSkippedAndChannelOnePhaseIsZero)
{
    Reading reading;
    reading.phase[0] = 12.0;
    ASSERT_FALSE(ParseGainPhaseReply("1000,0.5,0.25,-6.02,-45", Texts().family, reading));
    EXPECT_DOUBLE_EQ(reading.frequency, 1000.0);
    EXPECT_DOUBLE_EQ(reading.amplitude[0], 0.5);
    EXPECT_DOUBLE_EQ(reading.amplitude[1], 0.25);
    EXPECT_DOUBLE_EQ(reading.phase[0], 0.0);
    EXPECT_DOUBLE_EQ(reading.phase[1], -45.0);
}

TEST(Family1960Reply, MissingValuesAreNamedAndLeaveTheReadingAlone)
{
    const struct {
        const char* text;
        const char* missing;
    } cases[] = {{"", "dFreq"}, {"1000", "dCH1VRMS"}, {"1000,0.5", "dCH2VRMS"}, {"1000,0.5,0.25", "dCH2Phase"},
                 {"1000,0.5,0.25,-6", "dCH2Phase"},
                 // garbled values count as missing; the skipped fourth value does not matter
                 {"1.000000E+03,#.&%!?E-@*,2.5E-01,-6,-45", "dCH1VRMS"},
                 {"1000,0.5,0.25,-$.#&!,-4#.5", "dCH2Phase"}};
    for (const auto& c : cases) {
        Reading reading;
        const auto context = ParseGainPhaseReply(c.text, Texts().family, reading);
        ASSERT_TRUE(context) << c.text;
        EXPECT_EQ(*context, std::string("In OnMsg1960Sweep(), data shows an error - ") + c.missing);
        EXPECT_DOUBLE_EQ(reading.frequency, 0.0);
    }
}

TEST(Family1960Commands, FilterBandsAndTheirCommands)
{
    const struct {
        double frequency;
        const char* command;
    } cases[] = {{10, "BANDWI,LOW;"},       {3999.9, "BANDWI,LOW;"}, {4000, "BANDWI,MEDIUM;"},
                 {24999, "BANDWI,MEDIUM;"}, {25000, "BANDWI,HIGH;"}, {2.2e6, "BANDWI,HIGH;"}};
    for (const auto& c : cases)
        EXPECT_EQ(FilterBandCommand(FilterBand(c.frequency)), c.command) << c.frequency;
    EXPECT_EQ(FilterBand(std::nan("")), 0);
}

TEST(Family1960Commands, SettingTexts)
{
    EXPECT_EQ(AmplitudeCommand(0.0316228), "AMPLIT,0.0316;");
    EXPECT_EQ(OffsetCommand(-2.5), "OFFSET,-2.5;");
    EXPECT_EQ(MeasureAtCommand(125892.5), "FREQUE,1.259E+05;GAINPH?;");
    EXPECT_EQ(IntegrationCommand(true, Speed::VSlow, 7), "SPEED,VSLOW;CYCLES,0;");
    EXPECT_EQ(IntegrationCommand(false, Speed::Fast, 7), "SPEED,FAST;CYCLES,7;");
    EXPECT_EQ(WaveformCommand(Waveform::Triangle), "OUTPUT,SIGNAL;WAVEFO,TRIANG;");
    EXPECT_EQ(CouplingCommand(Coupling::Dc), "COUPLI,CH1,AC+DC;COUPLI,CH2,AC+DC;");
    EXPECT_EQ(AddressCommand(5), "CONFIG,153,5;PROGRAM,STORE,1;");
    EXPECT_EQ(StopCommand(false), "*SRE,0;OUTPUT,OFF;");
    EXPECT_EQ(StopCommand(true), "*SRE,0;AMPLIT,0;");
}

TEST(Family1960Settings, Clamps)
{
    EXPECT_EQ(ClampCycles(0), 1);
    EXPECT_EQ(ClampCycles(12.9), 12);
    EXPECT_EQ(ClampCycles(1000), 100);
    EXPECT_EQ(ClampDelay(-3), 0);
    EXPECT_EQ(ClampDelay(61), 60);
    EXPECT_DOUBLE_EQ(ClampDcVoltsOut(-12), -9.99);
    EXPECT_DOUBLE_EQ(ClampDcVoltsOut(-0.009), 0.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(20, 6, 0.01), 6.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(0.0001, 6, 0.01), 0.01);
}

TEST(Family1960Settings, MaxAcRuleAgainstTheDcOutput)
{
    const struct {
        double maxAc, ac, dc, previousDc, ceiling;
        double expected;
        bool released;
    } cases[] = {
        {12, 1, 0, 0, 10, 10, false},   // above the ceiling
        {0.001, 1, 0, 0, 10, 0.01, false},
        {10, 1, 4, 0, 10, 6, true},     // DC takes its share of the 10 V
        {5, 7, 4, 0, 10, 6, true},      // so does a large AC value
        {6, 1, 1, 4, 10, 9, false},     // at its limit it follows the DC back
        {5, 1, 1, 4, 10, 5, false},     // below its limit it stays
        {7.01, 1, 1, 2.99, 10, 9, false}, // decimal fields that add up to 10
        {6, 1, 1, 4, 3, 3, false},      // never above the band's hardware ceiling
    };
    for (const auto& c : cases) {
        const MaxAcResult r = LimitMaxAcVoltsOut(c.maxAc, c.ac, c.dc, c.previousDc, 0.01, c.ceiling);
        EXPECT_DOUBLE_EQ(r.maxAcVoltsOut, c.expected) << c.maxAc << " " << c.dc;
        EXPECT_EQ(r.releaseHold, c.released) << c.maxAc << " " << c.dc;
    }
}

TEST(Family1960Texts, EventRegisterReport)
{
    EXPECT_EQ(EventRegisterReport(std::string(1, '\x28'), "1960 Error Byte = "),
              "1960 Error Byte = &H28 < Bit5-Command Interpretation Error Bit3-Device Dependent Error >\r\n");
    EXPECT_EQ(EventRegisterReport("", "1960 Error Byte = "), "1960 Error Byte = &H0 < >\r\n");
}

TEST(Family1960Preferences, ValuesReadByTheirLetters)
{
    Settings s;
    bool differential = false;
    const std::string block =
        "\n* The following parameters are from the Analyzer 1960 Menu:\nStart Frequency=20\nStop Frequency=5e5\n"
        "Steps Per Decade=5000\nFrequency Step (Hz)=50\nSweep Type=Linear\nAC Volts out=0.5\nDC Volts out=1\n"
        "Waveform=Square\nCoupling=AC < 500V\nIntegration Time=VSlow\nCycles=300\nIntegration Type=Cycles\n"
        "Delay Time=7\nServo is enabled=True\nServo Channel=Smaller of CH1,2\nServo AC Volts In=0.2\n"
        "Servo AC Step Change (dB)=6\nMaximum AC Volts Out=8\nGain Channel Ratio=CH1/CH2\n"
        "Max Change Gain is Enabled=True\nMaximum Change in Gain=3\nMax Change Phase is Enabled=False\n"
        "Maximum Change in Phase=15\n";
    EXPECT_EQ(ApplyPreferences(block, BlockKind::Model1960, s, differential), 23);
    EXPECT_DOUBLE_EQ(s.startFrequency, 20);
    EXPECT_DOUBLE_EQ(s.stepsPerDecade, 2000);
    EXPECT_FALSE(s.logSweep);
    EXPECT_EQ(s.waveform, Waveform::Square);
    EXPECT_EQ(s.coupling, Coupling::AcHigh);
    EXPECT_EQ(s.speed, Speed::VSlow);
    EXPECT_EQ(s.cycles, 100);
    EXPECT_FALSE(s.integrationByTime);
    EXPECT_EQ(s.delay, 7);
    EXPECT_TRUE(s.servoOn);
    EXPECT_EQ(s.servoChannel, ServoChoice::Smaller);
    EXPECT_EQ(s.numeratorChannel, 1);
    EXPECT_EQ(s.denominatorChannel, 2);
    EXPECT_TRUE(s.maxChangeGainOn);
    EXPECT_DOUBLE_EQ(s.maxChangePhase, 15);

    // A block that ends after the coupling leaves the later settings as they were.
    Settings cut;
    EXPECT_EQ(ApplyPreferences("Start Frequency=30\nStop Frequency=40\nSteps Per Decade=4\nFrequency Step (Hz)=2\n"
                               "Sweep Type=Logarithmic\nAC Volts out=2\nDC Volts out=0\nWaveform=Sine\nCoupling=DC\n",
                               BlockKind::Model1960, cut, differential),
              9);
    EXPECT_EQ(cut.coupling, Coupling::Dc);
    EXPECT_EQ(cut.speed, Speed::Medium);
    EXPECT_FALSE(cut.servoOn);
}

} // namespace

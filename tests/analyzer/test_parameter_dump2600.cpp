#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analyzer/family2600/ParameterDump.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

const char* const kDefaultDump =
    "\n* The following parameters are from the Analyzer 2xxx Menu:\n"
    "Start Frequency=10\n"
    "Stop Frequency=100000\n"
    "Steps Per Decade=10\n"
    "Frequency Step (Hz)=1000\n"
    "Sweep Type=Logarithmic\n"
    "AC Volts out=1\n"
    "DC Volts out=0\n"
    "Waveform=Sine\n"
    "Output Impedance=50\n"
    "Input Impedance=1 Meg\n"
    "Integration Time=1\n"
    "Delay Time=0\n"
    "Cycles=1\n"
    "Delay Cycles=0\n"
    "Integration Type=Time\n"
    "Servo is enabled=False\n"
    "Servo Channel=CH 1\n"
    "Servo AC Volts In=0.01\n"
    "Servo AC Step Change (dB)=10\n"
    "Maximum AC Volts Out=10\n"
    "Gain Channel Ratio=CH2/CH1\n"
    "Max Change Gain is Enabled=False\n"
    "Maximum Change in Gain=10\n"
    "Max Change Phase is Enabled=False\n"
    "Maximum Change in Phase=20\n";

Capabilities ThreeChannels()
{
    Capabilities caps;
    caps.channelCount = 3;
    caps.hardwareClass = 6;
    caps.minimumFrequency = 1e-05;
    caps.maximumFrequency = 15e6;
    return caps;
}

Settings Unusual()
{
    Settings s;
    s.startFrequency = 123500;
    s.stopFrequency = 20.5;
    s.logSweep = false;
    s.stepsPerDecade = 0.5;
    s.frequencyStep = 12.5;
    s.acVoltsOut = 0.0316;
    s.dcVoltsOut = -2.5;
    s.waveform = Waveform::Square;
    s.outputImpedance = OutputImpedance::Ohms2;
    s.inputImpedance = InputImpedance::Ohms50;
    s.integrationByTime = false;
    s.integrationTime = 0.125;
    s.delayTime = 3.5;
    s.cycles = 250;
    s.delayCycles = 9999;
    s.servoOn = true;
    s.servoChannel = ServoChoice::Smaller;
    s.servoAcVoltsIn = 0.25;
    s.servoStepDb = 3;
    s.maxAcVoltsOut = 1.5;
    s.numeratorChannel = 3;
    s.denominatorChannel = 1;
    s.maxChangeGainOn = true;
    s.maxChangeGain = 1;
    s.maxChangePhaseOn = true;
    s.maxChangePhase = 2.5;
    return s;
}

} // namespace

TEST(ParameterDump2600, DefaultsGiveTheExactBlock)
{
    std::string target = "old text";
    DumpParameters(Settings{}, target);
    EXPECT_EQ(target, kDefaultDump);
}

TEST(ParameterDump2600, RoundTripKeepsEverySetting)
{
    const Settings original = Unusual();
    std::string text;
    DumpParameters(original, text);
    EXPECT_NE(text.find("Servo Channel=Smaller of CH1,3\n"), std::string::npos);
    EXPECT_NE(text.find("Gain Channel Ratio=CH3/CH1\n"), std::string::npos);
    EXPECT_NE(text.find("Start Frequency=123500\n"), std::string::npos);

    // As stored in the preferences file: every line ends in "\r\n".
    std::string fromFile;
    for (char c : text) {
        if (c == '\n')
            fromFile += "\r\n";
        else
            fromFile += c;
    }
    for (const std::string& block : {text, fromFile}) {
        Settings read;
        const PreferencesApplied applied = ApplyPreferences(block, read, ThreeChannels());
        EXPECT_EQ(applied.valuesRead, 25);
        EXPECT_TRUE(read == original);
        EXPECT_TRUE(applied.logLines.empty());
    }
}

TEST(ParameterDump2600, WaveformAndOutputImpedanceApplyTheirLimits)
{
    const std::string text = "Start Frequency=1e7\nStop Frequency=1.2e7\nSteps Per Decade=10\n"
                             "Frequency Step (Hz)=1000\nSweep Type=Logarithmic\nAC Volts out=5\n"
                             "DC Volts out=0\nWaveform=Sine\nOutput Impedance=2\n";
    Settings s;
    const PreferencesApplied applied = ApplyPreferences(text, s, ThreeChannels());
    EXPECT_DOUBLE_EQ(s.startFrequency, 5e6);
    EXPECT_DOUBLE_EQ(s.stopFrequency, 5e6);
    EXPECT_DOUBLE_EQ(s.acVoltsOut, 2);
    EXPECT_DOUBLE_EQ(s.maxAcVoltsOut, 2);
    const std::string line = "Freq limited to 5e+06 for current analyzer type, waveform or output impedance\r\n";
    EXPECT_EQ(applied.logLines, (std::vector<std::string>{line, line}));
}

TEST(ParameterDump2600, ReadingStopsWhereTheTextEnds)
{
    const std::string cut =
        "\n* The following parameters are from the Analyzer 2xxx Menu:\n"
        "Start Frequency=20\nStop Frequency=2000\nSteps Per Decade=5\nFrequency Step (Hz)=7\n"
        "Sweep Type=Linear\nAC Volts out=2\nDC Volts out=0.5\nWaveform=Square\n";
    Settings s = Unusual();
    s.waveform = Waveform::Sine;
    s.outputImpedance = OutputImpedance::Ohms50;
    const Settings before = s;
    const PreferencesApplied applied = ApplyPreferences(cut, s, ThreeChannels());
    EXPECT_EQ(applied.valuesRead, 8);
    EXPECT_FALSE(s.logSweep);
    EXPECT_EQ(s.waveform, Waveform::Square);
    EXPECT_DOUBLE_EQ(s.stopFrequency, 2000);
    EXPECT_EQ(s.outputImpedance, before.outputImpedance);
    EXPECT_EQ(s.cycles, before.cycles);
    EXPECT_EQ(s.maxChangePhase, before.maxChangePhase);
    EXPECT_TRUE(applied.logLines.empty());
}

TEST(ParameterDump2600, OutOfRangeValuesAreClampedAndNonNumbersIgnored)
{
    const std::string hostile =
        "Start Frequency=nan\nStop Frequency=1e999\nSteps Per Decade=-5\nFrequency Step (Hz)=1e300\n"
        "Sweep Type=\nAC Volts out=0.0000001\nDC Volts out=0.004\nWaveform=\nOutput Impedance=9\n"
        "Input Impedance=5\nIntegration Time=0\nDelay Time=-1\nCycles=99999999999999\n"
        "Delay Cycles=-7\nIntegration Type=C\nServo is enabled=t\nServo Channel=CH 4\n"
        "Servo AC Volts In=-1\nServo AC Step Change (dB)=inf\nMaximum AC Volts Out=55\n"
        "Gain Channel Ratio=CH9\nMax Change Gain is Enabled=True\nMaximum Change in Gain=-3\n"
        "Max Change Phase is Enabled=\nMaximum Change in Phase=1.23456789";
    Settings s;
    Capabilities caps = ThreeChannels();
    caps.minimumAcOutput = 0.01;
    const PreferencesApplied applied = ApplyPreferences(hostile, s, caps);
    EXPECT_EQ(applied.valuesRead, 25);
    EXPECT_DOUBLE_EQ(s.startFrequency, 10);
    EXPECT_DOUBLE_EQ(s.stopFrequency, 100000);
    EXPECT_DOUBLE_EQ(s.stepsPerDecade, 0.1);
    EXPECT_DOUBLE_EQ(s.frequencyStep, 40000000);
    EXPECT_TRUE(s.logSweep);
    EXPECT_DOUBLE_EQ(s.acVoltsOut, 0.01);
    EXPECT_DOUBLE_EQ(s.dcVoltsOut, 0);
    EXPECT_EQ(s.waveform, Waveform::Sine);
    EXPECT_EQ(s.outputImpedance, OutputImpedance::Ohms50);
    EXPECT_EQ(s.inputImpedance, InputImpedance::Ohms50);
    EXPECT_DOUBLE_EQ(s.integrationTime, 0.02);
    EXPECT_DOUBLE_EQ(s.delayTime, 0);
    EXPECT_EQ(s.cycles, 9999);
    EXPECT_EQ(s.delayCycles, 0);
    EXPECT_FALSE(s.integrationByTime);
    EXPECT_FALSE(s.servoOn);
    EXPECT_EQ(s.servoChannel, ServoChoice::Channel1);  // no CH 4 on three channels
    EXPECT_DOUBLE_EQ(s.servoAcVoltsIn, 0.01);
    EXPECT_DOUBLE_EQ(s.servoStepDb, 10);
    EXPECT_DOUBLE_EQ(s.maxAcVoltsOut, 10);
    EXPECT_EQ(s.numeratorChannel, 2);
    EXPECT_EQ(s.denominatorChannel, 1);
    EXPECT_TRUE(s.maxChangeGainOn);
    EXPECT_DOUBLE_EQ(s.maxChangeGain, 10);
    EXPECT_DOUBLE_EQ(s.maxChangePhase, 1.235);
}

TEST(ParameterDump2600, RandomTextNeverBreaksTheInvariants)
{
    std::mt19937 random(2600);
    std::string alphabet = "=\n\r0123456789.eE+-TFiqlg5 CHinfa/,";
    alphabet += '\0';
    std::string text;
    DumpParameters(Unusual(), text);
    for (int round = 0; round < 3000; ++round) {
        std::string mutated = text;
        const int edits = 1 + static_cast<int>(random() % 20);
        for (int e = 0; e < edits && !mutated.empty(); ++e) {
            const std::size_t at = random() % mutated.size();
            switch (random() % 3) {
            case 0: mutated[at] = alphabet[random() % alphabet.size()]; break;
            case 1: mutated.erase(at, random() % 8); break;
            default: mutated.insert(at, 1, alphabet[random() % alphabet.size()]); break;
            }
        }
        Settings s;
        const PreferencesApplied applied = ApplyPreferences(mutated, s, ThreeChannels());
        ASSERT_LE(applied.valuesRead, 25);
        ASSERT_TRUE(std::isfinite(s.startFrequency) && std::isfinite(s.stopFrequency));
        ASSERT_TRUE(s.stepsPerDecade >= 0.1 && s.stepsPerDecade <= 2000);
        ASSERT_TRUE(s.acVoltsOut >= 0.001 && s.acVoltsOut <= 10);
        ASSERT_TRUE(s.maxAcVoltsOut >= 0.001 && s.maxAcVoltsOut <= 10);
        ASSERT_TRUE(s.cycles >= 1 && s.cycles <= 9999);
        ASSERT_TRUE(s.delayCycles >= 0 && s.delayCycles <= 9999);
        ASSERT_TRUE(s.numeratorChannel >= 1 && s.numeratorChannel <= 3);
        ASSERT_TRUE(s.servoAcVoltsIn > 0 && std::isfinite(s.servoStepDb));
    }
}

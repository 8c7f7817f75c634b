#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Commands.h"
#include "analyzer/family2600/Identification.h"
#include "analyzer/family2600/Settings.h"
#include "analyzer/sweep/CommandQueue.h"
#include "analyzer/sweep/NumberText.h"

using namespace analyzer;
using namespace analyzer::family2600;

namespace {

Capabilities Caps(int channels, int hardwareClass, int options)
{
    Capabilities c;
    c.channelCount = channels;
    c.hardwareClass = hardwareClass;
    c.optionBits = options;
    return c;
}

} // namespace

TEST(Commands2600, SettingCommandsCarryTheirFormatAndClamp)
{
    const struct {
        std::string got;
        const char* want;
    } cases[] = {
        {AmplitudeCommand(1.0), "AMPL,1;"},
        {AmplitudeCommand(0.0316228), "AMPL,0.0316;"},
        {AmplitudeCommand(25.0), "AMPL,10;"},
        {AmplitudeCommand(0.0), "AMPL,0.001;"},
        {DcOffsetCommand(-1.2345), "DCOF,-1.23;"},
        {DcOffsetCommand(0.005), "DCOF,0;"},
        {DcOffsetCommand(99), "DCOF,9.99;"},  // the smallest AC output keeps within 10 V
        {WaveformCommand(Waveform::Square), "WAVE,SQUA;"},
        {WaveformCommand(Waveform::Sine), "WAVE,SINE;"},
        {OutputImpedanceCommand(OutputImpedance::Ohms2), "ZOUT,2;"},
        {OutputImpedanceCommand(OutputImpedance::Ohms50), "ZOUT,50;"},
        {IntegrationOptionCommand(IntegrationOption::HighNoise), "NALG,ON;"},
        {IntegrationOptionCommand(IntegrationOption::Off), "NALG,OFF;"},
        {IntegrationTimeCommand(123456), "TIME,1E+05;"},
        {IntegrationTimeCommand(1.23456), "TIME,1.23;"},
        {IntegrationTimeCommand(0.001), "TIME,0.02;"},
        {DelayTimeCommand(2.5), "DELAY,TIME,2.500;"},
        {DelayTimeCommand(-1), "DELAY,TIME,0.000;"},
        {CyclesCommand(0), "CYCL,1;"},
        {CyclesCommand(12345), "CYCL,9999;"},
        {DelayCyclesCommand(-3), "DELAY,CYCL,0;"},
        {DelayCyclesCommand(17), "DELAY,CYCL,17;"},
        {FrequencyCommand(10), "FREQ,10;"},
        {FrequencyCommand(12345678), "FREQ,1.235E+07;"},
        {MeasureAtCommand(12.589254), "FREQ,12.59;MEAS;"},
        {MeasureAtCommand(1e-5), "FREQ,1E-05;MEAS;"},
        {AddressCommand(7), "ADDR,7;"},
        {AddressCommand(99), "ADDR,30;"},
        {VersionQuery(0x210), "*SRE,0x10;VERSION;"},
        {VersionQuery(0x100), "UPDATE?;"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST(Commands2600, InputImpedanceAndAttenuatorAddressTheRightChannels)
{
    EXPECT_EQ(InputImpedanceCommand(InputImpedance::Ohms50, Caps(2, 6, 0)), "ZZIN,1,50;ZZIN,2,50;");
    EXPECT_EQ(InputImpedanceCommand(InputImpedance::Ohms50, Caps(3, 6, 0)), "ZZIN,1,50;ZZIN,2,50;");
    EXPECT_EQ(InputImpedanceCommand(InputImpedance::Ohms50, Caps(4, 6, 0)),
              "ZZIN,1,50;ZZIN,2,50;ZZIN,3,50;ZZIN,4,50;");
    EXPECT_EQ(InputImpedanceCommand(InputImpedance::OneMeg, Caps(2, 10, 0)),
              "ZZIN,1,1E6;ZZIN,2,1E6;ZZIN,3,1E6;ZZIN,4,1E6;");
    EXPECT_EQ(InputImpedanceCommand(InputImpedance::OneMeg, Caps(3, 13, 0)), "ZZIN,1,1E6;ZZIN,2,1E6;ZZIN,4,1E6;");

    EXPECT_EQ(AttenuatorCommand(InputRange::Below10V, 2), "ATTE,2,0dB;");
    EXPECT_EQ(AttenuatorCommand(InputRange::Below100V, 3), "ATTE,2,AUTO;ATTE,3,20dB;");
    EXPECT_EQ(AttenuatorCommand(InputRange::Below500V, 4), "ATTE,2,AUTO;ATTE,3,AUTO;ATTE,4,40dB;");
    EXPECT_EQ(AttenuatorCommand(InputRange::Below500V, 1), "");
}

TEST(Commands2600, SequencesOfStartStopAndPreparation)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(StartCommands(10), (V{"BIAS,ON;", "OUTP,ON;", "*SRE,1;", "FREQ,10;", "MEAS;"}));
    EXPECT_EQ(StopCommands(false), (V{"ABORT;", "*SRE,0;OUTP,OFF;BIAS,OFF;"}));
    EXPECT_EQ(StopCommands(true), (V{"ABORT;", "*SRE,0;"}));
    EXPECT_EQ(ErrorStopCommands(), (V{"ABORT;", "*SRE,0;OUTP,OFF;CLEAR;"}));
    EXPECT_EQ(DcOutputOnCommands(1.5), (V{"DCOF,1.5;", "ZOUT,50;BIAS,ON;"}));
    EXPECT_EQ(PrepareCommand(Caps(2, 6, 0)), "ACIN,0;");
    EXPECT_EQ(PrepareCommand(Caps(2, 13, 1)), "ACIN,0;#880,OFF;DFRA,OFF;");
    EXPECT_EQ(ShutDownCommands(Caps(2, 6, 0)),
              (V{"OUTP,OFF;ZZIN,1,1e6;ZZIN,2,1e6;ZOUT,50;", "*SRE,0;*ESE,0;CLEAR;*CLS;"}));
    const V full = ShutDownCommands(Caps(4, 6, 2));
    EXPECT_EQ(full, (V{"OUTP,OFF;ZZIN,1,1e6;ZZIN,2,1e6;ZOUT,50;", "ATTE,2,AUTO;", "ZZIN,3,1e6;",
                       "ATTE,3,AUTO;", "ZZIN,4,1e6;", "ATTE,4,AUTO;", "*SRE,0;*ESE,0;CLEAR;*CLS;"}));
    EXPECT_EQ(ShutDownCommands(Caps(2, 13, 0))[1], "ZZIN,4,1e6;");
    // The longest shutdown collection fits the command queue.
    CommandQueue q;
    for (const std::string& c : full)
        EXPECT_TRUE(q.QueueCommand(c));
}

TEST(Commands2600, TheLongestStartOfMeasurementFitsTheQueue)
{
    CommandQueue q;
    const Capabilities caps = Caps(4, 10, 3);
    EXPECT_TRUE(q.QueueOnce(kQueuedAmplitude, AmplitudeCommand(0.00123)));
    EXPECT_TRUE(q.QueueCommand(DcOffsetCommand(-0.0123)));
    EXPECT_TRUE(q.QueueCommand(InputImpedanceCommand(InputImpedance::OneMeg, caps)));
    EXPECT_TRUE(q.QueueCommand(OutputImpedanceCommand(OutputImpedance::Ohms50)));
    EXPECT_TRUE(q.QueueCommand(DelayTimeCommand(99999.999)));
    EXPECT_TRUE(q.QueueCommand(IntegrationTimeCommand(12345)));
    EXPECT_TRUE(q.QueueOnce(kQueuedWaveform, WaveformCommand(Waveform::Square)));
    EXPECT_EQ(q.Strings().size(), 4u);
}

TEST(Limits2600, AmplitudeLimitsByImpedanceAndFrequency)
{
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(10, 0.001, OutputImpedance::Ohms50, true, 20e6), 4.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(10, 0.001, OutputImpedance::Ohms50, false, 20e6), 10.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(5, 0.001, OutputImpedance::Ohms2, false, 0), 2.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(5, 0.001, OutputImpedance::Ohms2, true, 80e6), 1.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(0.002, 0.01, OutputImpedance::Ohms50, false, 0), 0.01);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(NAN, 0.001, OutputImpedance::Ohms50, false, 0), 1.0);
    EXPECT_DOUBLE_EQ(LimitMaxAcVoltsOut(0, OutputImpedance::Ohms50, false, 0), 0.001);
    EXPECT_DOUBLE_EQ(LimitMaxAcVoltsOut(9, OutputImpedance::Ohms2, false, 0), 2.0);
    EXPECT_DOUBLE_EQ(ClampStepsPerDecade(5000), 2000);
    // AC + |DC| within 10 V, both as sent, and the field in the three digits sent.
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(10, 0.001, OutputImpedance::Ohms50, false, 0, -4), 6.0);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(10, 0.001, OutputImpedance::Ohms50, false, 0, 0.0123), 9.98);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(1.2345, 0.001, OutputImpedance::Ohms50, false, 0), 1.23);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(9.9996, 0.001, OutputImpedance::Ohms50, false, 0, 0.01), 9.99);
    EXPECT_DOUBLE_EQ(LimitAcVoltsOut(0.01, 0.001, OutputImpedance::Ohms50, false, 0, -9.99), 0.01);
    // The product rule holds for the amplitude and frequency as sent: three and four digits.
    const struct {
        double frequency, limit;
    } products[] = {{19.95e6, 4.01}, {19.949e6, 4.01}, {12e6, 6.66}, {15e6, 5.33}, {8e6, 10}, {33.33e6, 2.4}};
    for (const auto& p : products) {
        const double volts = LimitAcVoltsOut(10, 0.001, OutputImpedance::Ohms50, true, p.frequency);
        EXPECT_DOUBLE_EQ(volts, p.limit) << p.frequency;
        EXPECT_DOUBLE_EQ(AmplitudeAsSent(volts), volts) << p.frequency;
        EXPECT_LE(volts * RoundToSignificant(p.frequency, 4), 80e6) << p.frequency;
    }
    EXPECT_DOUBLE_EQ(ClampFrequencyStep(0), 1e-05);
    EXPECT_DOUBLE_EQ(ClampDcVoltsOut(-0.009), 0.0);
    EXPECT_EQ(ClampCycles(12.9), 12);
    EXPECT_EQ(ClampDelayCycles(1e12), 9999);
}

TEST(Capabilities2600, ReplyReadByCharacterPosition)
{
    const struct {
        const char* reply;
        int channels;
        double maximum;
        int hardwareClass;
        int options;
        double minimumFrequency;
        double minimumAc;
    } cases[] = {
        {"2150000", 2, 15e6, 0, 0, 1.0, 0.01},
        {"215000", 2, 15e6, 6, 0, 1e-05, 0.001},
        {"4320004\n", 4, 32e6, 4, 0, 0.001, 0.001},
        {"3010009:3", 3, 1e6, 9, 10, 1e-05, 0.001},
        {"30100=3", 3, 1e6, 3, 0, 0.001, 0.001},  // "=" at position 6 is not used
        {"301000=3", 3, 1e6, 13, 3, 1e-05, 0.001},
        {"402000:", 4, 2e6, 10, 0, 1e-05, 0.001},
        {"9999990", 4, 99.9e6, 0, 0, 1.0, 0.01},
        {"1", 2, 5e6, 6, 0, 1e-05, 0.001},
        {"", 2, 5e6, 6, 0, 1e-05, 0.001},
        {"x??", 2, 5e6, 6, 0, 1e-05, 0.001},
    };
    for (const auto& c : cases) {
        const Capabilities caps = ParseCapabilityReply(c.reply);
        EXPECT_EQ(caps.channelCount, c.channels) << c.reply;
        EXPECT_DOUBLE_EQ(caps.maximumFrequency, c.maximum) << c.reply;
        EXPECT_EQ(caps.hardwareClass, c.hardwareClass) << c.reply;
        EXPECT_EQ(caps.optionBits, c.options) << c.reply;
        EXPECT_DOUBLE_EQ(caps.minimumFrequency, c.minimumFrequency) << c.reply;
        EXPECT_DOUBLE_EQ(caps.minimumAcOutput, c.minimumAc) << c.reply;
    }
    const Capabilities class0 = ParseCapabilityReply("2150000");
    EXPECT_FALSE(ImpedanceListsEnabled(class0));
    EXPECT_FALSE(OptionListEnabled(class0));
    EXPECT_TRUE(OptionListEnabled(ParseCapabilityReply("215000")));
    EXPECT_TRUE(HasInputAttenuator(ParseCapabilityReply("21500062")));
    EXPECT_FALSE(Has880Option(ParseCapabilityReply("21500062")));
}

TEST(Capabilities2600, MaximumForTheCurrentSettings)
{
    Capabilities caps;
    caps.maximumFrequency = 15e6;
    EXPECT_DOUBLE_EQ(MaximumForCurrentSettings(caps, Waveform::Sine, OutputImpedance::Ohms50), 15e6);
    EXPECT_DOUBLE_EQ(MaximumForCurrentSettings(caps, Waveform::Square, OutputImpedance::Ohms50), 1e6);
    EXPECT_DOUBLE_EQ(MaximumForCurrentSettings(caps, Waveform::Sine, OutputImpedance::Ohms2), 5e6);
    // A square wave keeps its lower limit when the 2 Ohm output is chosen after it.
    EXPECT_DOUBLE_EQ(MaximumForCurrentSettings(caps, Waveform::Square, OutputImpedance::Ohms2), 1e6);
    caps.maximumFrequency = 2e6;
    EXPECT_DOUBLE_EQ(MaximumForCurrentSettings(caps, Waveform::Sine, OutputImpedance::Ohms2), 2e6);

    // Choosing the 2 Ohm output while the start frequency is 10 MHz lowers it to 5 MHz.
    caps.maximumFrequency = 15e6;
    double start = 10e6;
    double stop = 12e6;
    FrequencyLimits limits = LimitsFor(caps, Waveform::Sine, OutputImpedance::Ohms2);
    CheckFrequencyLimits(start, stop, limits);
    EXPECT_DOUBLE_EQ(start, 5e6);
    EXPECT_DOUBLE_EQ(stop, 5e6);
}

TEST(Identification2600, RecognitionAndFirmwareCode)
{
    const struct {
        const char* reply;
        bool recognized;
        int code;
    } cases[] = {
        {"TALVERN,3231,1234,2.10\n", true, 0x210},
        {"TALVERN,MODEL 3231,SN 77,V1.50", true, 0x150},  // capitals separate tokens
        {"TALVERN,3231,1.05", true, 0x100},                // no third token
        {"TALVERN,3231,77,v1.05", true, 0x100},            // not a version
        {"TALVERN,2600,7,x", true, 0x100},
        {"TALVERN, 3231, 12, 2.0", true, 0x200},
        {"Talvern,3231,2.10", false, 0x100},
        {"", false, 0x100},
    };
    for (const auto& c : cases) {
        const Identification id = ParseIdentification(c.reply);
        EXPECT_EQ(id.recognized, c.recognized) << c.reply;
        EXPECT_EQ(id.firmwareCode, c.code) << c.reply;
    }
    EXPECT_EQ(ParseIdentification("TALVERN,2600,3,1.5").firmwareCode, 0x150);
}

TEST(Identification2600, FirmwareOneJoinsQueuedWritesOverGpibOnly)
{
    EXPECT_EQ(QueuedWriteModeFor(Bus::Gpib, 0x100), QueuedWriteMode::Joined);
    EXPECT_EQ(QueuedWriteModeFor(Bus::Gpib, 0x200), QueuedWriteMode::Separate);
    EXPECT_EQ(QueuedWriteModeFor(Bus::Usb, 0x100), QueuedWriteMode::Separate);
    EXPECT_EQ(ReadingChunkBytes(0x1F0), 511u);
    EXPECT_EQ(ReadingChunkBytes(0x200), 64u);
    EXPECT_FALSE(HasMessages(0x150));
    EXPECT_TRUE(HasMessages(0x200));
}

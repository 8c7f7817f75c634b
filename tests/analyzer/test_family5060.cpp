// The NF 5060's protocol unit: its reply order, error byte, ratio rule and command texts.

#include <gtest/gtest.h>

#include "analyzer/family5060/Commands.h"
#include "analyzer/family5060/ReadingReply.h"
#include "analyzer/family5060/Settings.h"
#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/StatusReport.h"

namespace {

using namespace analyzer;
using namespace analyzer::family5060;

TEST(Family5060Reply, ValuesInTheAnalyzersOrder)
{
    Reading reading;
    ASSERT_FALSE(ParseMeasurementReply("0.5,-6,10,1000,0.25,-12,-45,-6,0.1,-20,30", reading));
    EXPECT_DOUBLE_EQ(reading.frequency, 1000);
    EXPECT_DOUBLE_EQ(reading.amplitude[0], 0.5);
    EXPECT_DOUBLE_EQ(reading.phase[0], 10);
    EXPECT_DOUBLE_EQ(reading.amplitude[1], 0.25);
    EXPECT_DOUBLE_EQ(reading.phase[1], -45);
    EXPECT_DOUBLE_EQ(reading.amplitude[2], 0.1);
    EXPECT_DOUBLE_EQ(reading.phase[2], 30);
}

TEST(Family5060Reply, MissingValuesAreNamed)
{
    const struct {
        const char* text;
        const char* missing;
    } cases[] = {{"", "dCH1VRMS"},
                 {"0.5,-6", "dCH1Phase"},
                 {"0.5,-6,10", "dFreq"},
                 {"0.5,-6,10,1000,0.25,-12", "dCH2Phase"},
                 {"0.5,-6,10,1000,0.25,-12,-45,-6", "dCH3VRMS"},
                 {"0.5,-6,10,1000,0.25,-12,-45,-6,0.1,-20", "dCH3Phase"},
                 {"MAG 5.0E-01,DB -6,PH 1#.5,FR 1000", "dCH1Phase"}};
    for (const auto& c : cases) {
        Reading reading;
        const auto context = ParseMeasurementReply(c.text, reading);
        ASSERT_TRUE(context) << c.text;
        EXPECT_EQ(*context, std::string("In OnMsg5060Sweep(), data shows an error - ") + c.missing);
        EXPECT_DOUBLE_EQ(reading.amplitude[0], 0.0);
    }
}

TEST(Family5060Texts, ErrorByteIsTheFirstTokenInBinary)
{
    EXPECT_EQ(ErrorByteOf("0101\r\n"), 5);
    EXPECT_EQ(ErrorByteReport("0101"), "5060 Error Byte = &H5 < Bit2-Auto Integration Error Bit0-Header Error >\r\n");
    EXPECT_EQ(ErrorByteOf("ERR 1000,0001"), 8);  // capital letters separate
    EXPECT_EQ(ErrorByteOf("\r\n"), 0);
    EXPECT_EQ(ErrorByteOf(""), 0);
    EXPECT_EQ(ErrorByteOf("111111111111"), 0xFF);
}

TEST(Family5060Texts, StatusReportNamesTheFamilysBits)
{
    EXPECT_EQ(UnexpectedStatusReport(Texts(), "In OnMsg5060Sweep(), no data ready", 0x92),
              "Unexpected Status Byte from the NF5060 or NF5060A analyzer\r\nIn OnMsg5060Sweep(), no data ready\r\n"
              "5060 Status Byte = &H92 < Bit7-Unknown Command Bit4-Error Bit1-Output of OSC Availiable >\r\n");
}

TEST(Family5060Settings, RatioByTheThirdAndSeventhCharacters)
{
    const struct {
        const char* entry;
        int numerator, denominator;
    } cases[] = {{"CH1/CH2", 1, 2}, {"CH1/CH3", 1, 3}, {"CH2/CH1", 2, 1}, {"CH2/CH3", 2, 3},
                 {"CH3/CH1", 3, 1}, {"CH3/CH2", 3, 2}, {"CH1/CH1", 1, 2}, {"", 2, 1}};
    for (const auto& c : cases) {
        int numerator = 0, denominator = 0;
        RatioFromEntry(c.entry, numerator, denominator);
        EXPECT_EQ(numerator, c.numerator) << c.entry;
        EXPECT_EQ(denominator, c.denominator) << c.entry;
    }
}

TEST(Family5060Commands, IntegrationByMode)
{
    Settings s;
    s.integrationTime = 0.0256;
    s.delayTime = 1.5;
    EXPECT_EQ(IntegrationCommands(s), "BDS 1.5;BIS 0.0256;AIM 0;");
    s.integrationMode = IntegrationMode::Cycles;
    s.integrationCycles = 9999;
    EXPECT_EQ(IntegrationCommands(s), "BDC 0;BIC 9999;AIM 0;");
    s.integrationMode = IntegrationMode::Automatic;
    s.automaticChannel = 2;
    EXPECT_EQ(IntegrationCommands(s), "AIC 3;AIM 1;");
    EXPECT_EQ(WaveformCommand(Waveform::Triangle), "OWF2;");
    EXPECT_EQ(MeasureAtCommand(2.2e6), "OFR 2.2E+06;MSI;");
    EXPECT_EQ(StopCommand(true), "SRQ0;MST;OOF0;");
    EXPECT_DOUBLE_EQ(ClampIntegrationTime(0.01), 0.0256);
    EXPECT_EQ(ClampDelayCycles(12000), 9999);
    EXPECT_EQ(ClampIntegrationCycles(0), 1);
}

} // namespace

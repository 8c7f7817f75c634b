#include <gtest/gtest.h>

#include <string>

#include "analyzer/family2600/ReadingReply.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;
using namespace analyzer::family2600;

TEST(ReplyTokenizer, CapitalsSeparateTokensButExponentsSurvive)
{
    ReplyTokenizer t("FREQ 1.2590E+01,CH1 5.000E-01 -9.5\r\n+3e2\tE");
    EXPECT_DOUBLE_EQ(*t.NextValue(), 12.59);  // "FREQ" leaves the token "E", which is skipped
    EXPECT_DOUBLE_EQ(*t.NextValue(), 1.0);    // "CH1" leaves "1"
    EXPECT_DOUBLE_EQ(*t.NextValue(), 0.5);
    EXPECT_DOUBLE_EQ(*t.NextValue(), -9.5);
    EXPECT_DOUBLE_EQ(*t.NextValue(), 300.0);
    EXPECT_FALSE(t.NextValue());  // a lone "E" at the end has nothing after it
    EXPECT_FALSE(t.NextValue());
}

TEST(ReplyTokenizer, GarbledAndNonFiniteValuesAreMissingAndUsedUp)
{
    ReplyTokenizer t("abc,1e999,nan,#.#%&*E-!@,1.5#,-$?.&,7");
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(t.NextValue()) << i;
    EXPECT_DOUBLE_EQ(*t.NextValue(), 7.0);
}

TEST(ReplyTokenizer, ReplyTextEndsAtCountOrNul)
{
    const char buffer[] = {'1', ',', '2', '\0', '3', 'X', 'Y'};
    EXPECT_EQ(TextOfReply(buffer, 3), "1,2");
    EXPECT_EQ(TextOfReply(buffer, sizeof buffer), "1,2");
    EXPECT_EQ(TextOfReply(nullptr, 5), "");
}

TEST(ReadingReply, ReadsFrequencyThenAmplitudeAndPhasePerChannel)
{
    Reading r;
    r.amplitude[2] = 7.0;  // channel 3 is kept with two channels
    EXPECT_FALSE(ParseReadingReply("1.0000E+02,1.000E+00,0.0,5.000E-01,-4.5E+01\n", 2, r));
    EXPECT_DOUBLE_EQ(r.frequency, 100.0);
    EXPECT_DOUBLE_EQ(r.amplitude[0], 1.0);
    EXPECT_DOUBLE_EQ(r.phase[0], 0.0);
    EXPECT_DOUBLE_EQ(r.amplitude[1], 0.5);
    EXPECT_DOUBLE_EQ(r.phase[1], -45.0);
    EXPECT_DOUBLE_EQ(r.amplitude[2], 7.0);

    EXPECT_FALSE(ParseReadingReply("10 1 2 3 4 5 6 7 8", 4, r));
    EXPECT_DOUBLE_EQ(r.amplitude[3], 7.0);
    EXPECT_DOUBLE_EQ(r.phase[3], 8.0);
}

TEST(ReadingReply, AMissingValueIsNamedAndLeavesTheReadingUnchanged)
{
    const struct {
        const char* text;
        int channels;
        const char* missing;
    } cases[] = {
        {"", 2, "dFreq"},
        {"FREQ", 2, "dFreq"},
        {"100", 2, "dCH1V-Pk"},
        {"100,1", 2, "dCH1Phase"},
        {"100,1,0", 2, "dCH2V-Pk"},
        {"100,1,0,2", 2, "dCH2Phase"},
        {"100,1,0,2,3", 3, "dCH3V-Pk"},
        {"100,1,0,2,3,4", 3, "dCH3Phase"},
        {"100,1,0,2,3,4,5", 4, "dCH4V-Pk"},
        {"100,1,0,2,3,4,5,6", 4, "dCH4Phase"},
        // A garbled value counts as missing.
        {"FREQ,1.000000E+02,#.!@$%&E-?*,!.#&*", 2, "dCH1V-Pk"},
        {"100,1,-#$&.?!@%,2,3", 2, "dCH1Phase"},
    };
    for (const auto& c : cases) {
        Reading r;
        r.frequency = 55.0;
        const auto failure = ParseReadingReply(c.text, c.channels, r);
        ASSERT_TRUE(failure) << c.text;
        EXPECT_EQ(*failure, std::string("In OnMsg2600Sweep(), data shows an error - ") + c.missing);
        EXPECT_DOUBLE_EQ(r.frequency, 55.0);
    }
}

TEST(StatusReport, NamesTheSetBitsInReportOrder)
{
    EXPECT_EQ(UnexpectedStatusReport(Texts(), "In OnMsg2600Sweep(), serial poll shows an error", 0x73),
              "Unexpected Status Byte from the Talvern analyzer\r\n"
              "In OnMsg2600Sweep(), serial poll shows an error\r\n"
              "Analyzer Status Byte = &H73 < Bit6-RQS Bit5-Standard Event Summary Bit"
              " Bit4-Message Available Bit1-Sweep Data Availiable Bit0-Result Data Available >\r\n");
    EXPECT_EQ(UnexpectedStatusReport(Texts(), "In OnMsg2600Sweep(), no data ready", 0x18C),
              "Unexpected Status Byte from the Talvern analyzer\r\n"
              "In OnMsg2600Sweep(), no data ready\r\n"
              "Analyzer Status Byte = &H8c < >\r\n");
    EXPECT_TRUE(HasEventSummary(0x20));
    EXPECT_FALSE(HasEventSummary(0x51));
}

TEST(EventRegisterReport, RawByteWithFirmwareOneTextAfterwards)
{
    EXPECT_EQ(EventRegisterReport(std::string("\x30", 1), 0x100),
              "Analyzer Error Byte = &H30 < Bit5-Command Interpretation Error Bit4-Execution Error >\r\n");
    EXPECT_EQ(EventRegisterReport("", 0x100), "Analyzer Error Byte = &H0 < >\r\n");
    EXPECT_EQ(EventRegisterReport("12\n\r", 0x210),
              "Analyzer Error Byte = 12 < Bit3-Device Dependent Error Bit2-Unterminated Query Error >\r\n");
    EXPECT_EQ(EventRegisterReport("zz", 0x200), "Analyzer Error Byte = zz < >\r\n");
    EXPECT_EQ(EventRegisterReport("99999999999999999999", 0x200).substr(0, 22), "Analyzer Error Byte = ");
}

TEST(Texts2600, MessageLogLines)
{
    EXPECT_EQ(MessageLogLine("READ?;", "2.10"), "Sent:'READ?;' Received:'2.10'\r\n");
    EXPECT_EQ(UpdateReplyLogLine("V1.2"), "'V1.2'\r\n");
}

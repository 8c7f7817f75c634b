#include <gtest/gtest.h>

#include <string>

#include "data/DataSet.h"
#include "data/TextTables.h"

namespace {

struct DescriptionCase {
    const char* description;
    const char* lines;
};

class DescriptionLinesTest : public ::testing::TestWithParam<DescriptionCase> {};

TEST_P(DescriptionLinesTest, TrimsAndStarsEveryLine)
{
    CDataSet set;
    set.m_description = GetParam().description;
    EXPECT_EQ(FormatDescriptionLines(set), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, DescriptionLinesTest,
    ::testing::Values(DescriptionCase{"", "*"}, DescriptionCase{"abc", "*abc"},
                      DescriptionCase{"  a b \r\n\t c\t\n", "*a b\r\n*c\r\n*"},
                      DescriptionCase{"Random Voltage Data\r\n10:04AM Monday, May 06, 2024",
                                      "*Random Voltage Data\r\n*10:04AM Monday, May 06, 2024"},
                      DescriptionCase{"\n\nx", "*\r\n*\r\n*x"}));

// Two points on nodes 1 (input) and 2 (output); node 3 of the second point reads 0 V.
class TextTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        set.m_description = "sweep";
        set.AddPoint(100, 1, 0, 10, -45);
        set.AddPoint(1000, 2, 0, 1, 90, 0, 10);
    }
    CDataSet set;
};

constexpr const char* kNodeBlock =
    "\r\n*Frequency (Hz)\tChannel or Node\tVoltage (Volts)\tVoltage (dB)\tPhase (Deg)"
    "\r\n100\t1\t1\t0\t0"
    "\r\n100\t2\t10\t20\t-45"
    "\r\n1000\t1\t2\t6.0206\t0"
    "\r\n1000\t2\t1\t0\t90";

TEST_F(TextTableTest, GainAndNyquistTablesInDecibels)
{
    const std::string expected =
        "*sweep\r\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)\r\n100\t20\t-45\r\n1000\t-6.0206\t90";
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Gain, false), expected);
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Nyq, false), expected);
}

TEST_F(TextTableTest, ImpedanceTableInOhms)
{
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Imp, false),
              "*sweep\r\n*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)\r\n100\t10\t-45"
              "\r\n1000\t0.5\t90");
}

TEST_F(TextTableTest, ScaleFactorAppliesToGainTables)
{
    ASSERT_TRUE(set.SetScaleFactor(-1000));
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Imp, false),
              "*sweep\r\n*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)\r\n100\t10000\t135"
              "\r\n1000\t500\t-90");
}

TEST_F(TextTableTest, VoltageFormatAddsParameterLineAndNodeBlock)
{
    ASSERT_TRUE(set.SetScaleFactor(1e-7));
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Gain, true),
              std::string("*sweep\r\n*Gain/Phase: Output Node=2, Input Node=1, Scale Factor=1E-07") +
                  kNodeBlock);
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Nyq, true),
              FormatDataAsText(set, DisplayKind::Gain, true));
    EXPECT_EQ(
        FormatDataAsText(set, DisplayKind::Imp, true),
        std::string("*sweep\r\n*Impedance/Phase: Voltage Node=2, Current Node=1, Scale Factor=1E-07") +
            kNodeBlock);
}

TEST_F(TextTableTest, TextAndVoltageDisplaysAlwaysUseNodeBlock)
{
    for (bool voltageFormat : {false, true}) {
        EXPECT_EQ(FormatDataAsText(set, DisplayKind::Text, voltageFormat),
                  std::string("*sweep") + kNodeBlock);
        EXPECT_EQ(FormatDataAsText(set, DisplayKind::Volt, voltageFormat),
                  std::string("*sweep") + kNodeBlock);
    }
}

TEST(TextTable, EmptySetGivesHeaderOnly)
{
    CDataSet set;
    EXPECT_EQ(FormatDataAsText(set, DisplayKind::Gain, false),
              "*\r\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)");
}

}  // namespace

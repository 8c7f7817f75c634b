#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "data/EngineeringNotation.h"

namespace {

struct FormatCase {
    double value;
    int precision;
    const char* text;
};

class FormatEngineeringTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatEngineeringTest, PrintsPrefixBand)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatEngineering(c.value, c.precision), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Bands, FormatEngineeringTest,
    ::testing::Values(FormatCase{1.2346e3, 4, "1.235 k"}, FormatCase{0.5, 4, "500 m"},
                      FormatCase{0.005, 4, "5 m"}, FormatCase{0.001, 4, "1 m"},
                      FormatCase{0.0005, 4, "500 u"}, FormatCase{999, 4, "999"},
                      FormatCase{1, 4, "1"}, FormatCase{1000, 4, "1 k"},
                      FormatCase{-2.2e-9, 4, "-2.2 n"}, FormatCase{1e-6, 4, "1 u"},
                      FormatCase{1e-9, 4, "1 n"}, FormatCase{1e-7, 4, "100 n"},
                      FormatCase{4.7e-12, 4, "4.7 p"}, FormatCase{3e-15, 4, "3 f"},
                      FormatCase{1e-18, 4, "1 a"}, FormatCase{1e-19, 4, "1e-19"},
                      FormatCase{5e-19, 4, "5e-19"}, FormatCase{2.5e6, 4, "2.5 M"},
                      FormatCase{1e9, 4, "1 G"}, FormatCase{1e12, 4, "1 T"},
                      FormatCase{1e15, 4, "1 P"}, FormatCase{1e18, 4, "1 E"},
                      FormatCase{999e18, 4, "999 E"}, FormatCase{5e21, 4, "1E21 (Big)"},
                      FormatCase{-1e21, 4, "1E21 (Big)"}, FormatCase{1e-21, 4, "0"},
                      FormatCase{0.0, 4, "0"}, FormatCase{-0.0, 4, "0"},
                      // Rounding to the precision may reach the next band's value.
                      FormatCase{999.96, 4, "1000"}, FormatCase{123456, 2, "1.2e+02 k"},
                      FormatCase{123.456, 6, "123.456"}, FormatCase{1.5, 0, "2"}));

TEST(FormatEngineering, NonFiniteValuesDoNotCrash)
{
    EXPECT_EQ(FormatEngineering(1.0 / 0.0), "1E21 (Big)");
    EXPECT_EQ(FormatEngineering(-1.0 / 0.0), "1E21 (Big)");
    EXPECT_NE(FormatEngineering(0.0 / 0.0).find("nan"), std::string::npos);
}

struct ParseCase {
    const char* text;
    double value;
};

class ParseEngineeringTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseEngineeringTest, AppliesFirstLetterAfterNumber)
{
    const ParseCase& c = GetParam();
    EXPECT_DOUBLE_EQ(ParseEngineering(c.text), c.value) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, ParseEngineeringTest,
    ::testing::Values(ParseCase{"10k", 1e4}, ParseCase{"10 k", 1e4}, ParseCase{"10 K", 1e4},
                      ParseCase{"1M", 1e6}, ParseCase{"1m", 1e-3}, ParseCase{"3p", 3e-12},
                      ParseCase{"3P", 3e15}, ParseCase{"4 F", 4e-15}, ParseCase{"1 A", 1e-18},
                      ParseCase{"2 Ohm", 2}, ParseCase{"1 H", 1}, ParseCase{"1 V", 1},
                      ParseCase{"1e3", 1e3}, ParseCase{"1e", 1e18}, ParseCase{"2E", 2e18},
                      ParseCase{"10 kHz", 1e4}, ParseCase{"5 mV", 5e-3},
                      ParseCase{"  -1.5u", -1.5e-6}, ParseCase{"+7 n", 7e-9},
                      ParseCase{"7 N", 7e-9}, ParseCase{"2 g", 2e9}, ParseCase{"2 t", 2e12},
                      ParseCase{"470", 470}, ParseCase{"1.5 k", 1500},
                      ParseCase{"1.5kk", 1500}, ParseCase{"", 0}, ParseCase{"abc", 0},
                      ParseCase{"k", 0}, ParseCase{"nan", 0}, ParseCase{"inf", 0},
                      ParseCase{"1e308 E", 0}));

// Formatting and parsing must not follow a decimal-comma locale of the process.
TEST(EngineeringNotation, IgnoresProcessLocale)
{
    const char* locale = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (!locale)
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    EXPECT_EQ(FormatEngineering(1.5e3), "1.5 k");
    EXPECT_DOUBLE_EQ(ParseEngineering("1.5 k"), 1500);
    std::setlocale(LC_ALL, "C");
}

TEST(EngineeringNotation, FormattedTextParsesBack)
{
    for (double v : {1.235e3, 4.7e-9, -22e-6, 0.5, 1e18, 3.3e-15, 150e6})
        EXPECT_NEAR(ParseEngineering(FormatEngineering(v)), v, std::fabs(v) * 1e-12) << v;
}

}  // namespace

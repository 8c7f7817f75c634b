// The 1800 series' protocol unit: model ranges, band ceilings, bandwidths, input type and block.

#include <gtest/gtest.h>

#include <cmath>

#include "analyzer/family1800/Bands.h"
#include "analyzer/family1800/Commands.h"
#include "analyzer/family1800/Texts.h"
#include "analyzer/family1960/ParameterDump.h"

namespace {

using namespace analyzer::family1800;

TEST(Family1800Bands, CeilingsByBandWithInclusiveLowerBounds)
{
    const struct {
        double frequency;
        double ceiling;
    } cases[] = {{10, 10},      {999999, 10}, {1e6, 6},    {4.9e6, 6},  {5e6, 3},    {10e6, 2},
                 {15e6, 1.5},   {20e6, 1.2},  {25e6, 1.0}, {29.9e6, 1}, {30e6, 0.75}, {35e6, 0.75}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(HardwareCeiling(BandOf(c.frequency)), c.ceiling) << c.frequency;
}

TEST(Family1800Bands, BandwidthsAndModelMaxima)
{
    EXPECT_EQ(BandwidthCommand(Bandwidth(9999)), "BANDWI,LOW;");
    EXPECT_EQ(BandwidthCommand(Bandwidth(10000)), "BANDWI,WIDE;");
    EXPECT_EQ(BandwidthCommand(Bandwidth(99999)), "BANDWI,WIDE;");
    EXPECT_EQ(BandwidthCommand(Bandwidth(100000)), "BANDWI,AUTO;");
    EXPECT_EQ(Bandwidth(std::nan("")), 0);
    EXPECT_DOUBLE_EQ(MaximumFrequency(7), 15e6);
    EXPECT_DOUBLE_EQ(MaximumFrequency(8), 25e6);
    EXPECT_DOUBLE_EQ(MaximumFrequency(9), 35e6);
}

TEST(Family1800Commands, InputTypeAndTexts)
{
    EXPECT_EQ(InputTypeCommand(false), "INTYPE,CH1,MAIN;INTYPE,CH2,MAIN;");
    EXPECT_EQ(InputTypeCommand(true), "INTYPE,CH1,DIFFER;INTYPE,CH2,MAIN;");
    EXPECT_STREQ(Texts().identification, "Model 1800-5291");
    EXPECT_EQ(Texts().family.statusHeading, "Unexpected Status Byte from the 1842 or 1852 analyzer\r\n");
}

TEST(Family1800Preferences, CouplingAndInputTypeByTheirFirstLetter)
{
    analyzer::family1960::Settings s;
    bool differential = false;
    const std::string block = "Start Frequency=10\nStop Frequency=1e6\nSteps Per Decade=10\nFrequency Step (Hz)=1000\n"
                              "Sweep Type=Logarithmic\nAC Volts out=0.002\nDC Volts out=0\nCoupling=DC\nInput1=Diff\n"
                              "Integration Time=Slow\n";
    EXPECT_EQ(analyzer::family1960::ApplyPreferences(block, analyzer::family1960::BlockKind::Series1800, s, differential),
              10);
    EXPECT_DOUBLE_EQ(s.acVoltsOut, 0.002);
    EXPECT_EQ(s.coupling, analyzer::family1960::Coupling::Dc);
    EXPECT_TRUE(differential);
    EXPECT_EQ(s.speed, analyzer::family1960::Speed::Slow);
}

} // namespace

// The 1800-series engine against the simulated 1800 series through the real GPIB binding.

#include "FamilyEngineSupport.h"

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/sweep/NumberText.h"

namespace {

class Engine1852 : public enginetest::FamilyFixture<Analyzer1852Engine> {
protected:
    std::string Family() const override { return "1800"; }

    // The AMPLIT values of the writes that measure, in order.
    std::vector<std::string> Amplitudes() const
    {
        std::vector<std::string> values;
        for (const std::string& command : SentContaining("GAINPH?")) {
            const size_t at = command.find("AMPLIT,");
            values.push_back(at == std::string::npos ? "" : command.substr(at + 7, command.find(';', at) - at - 7));
        }
        return values;
    }
};

TEST_F(Engine1852, DefaultSweepWritesOneStartTextAndTheBandCeilingWithEveryPoint)
{
    Analyzer1852Engine& e = MakeEngine();
    EXPECT_STREQ(e.Title(), "1800 Analyzer Control Menu");
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    const std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(),
              "*ESE,60;MODE,GAINPH;RESOLU,HIGH;AMPLIT,1;OFFSET,0;COUPLI,CH1,ACONLY;COUPLI,CH2,ACONLY;"
              "INTYPE,CH1,MAIN;INTYPE,CH2,MAIN;DELAY,0;SPEED,MEDIUM;CYCLES,0;OUTPUT,SIGNAL;WAVEFO,SINEWA;"
              "OUTPUT,ON;*SRE,1;BANDWI,LOW;FREQUE,10;GAINPH?;");
    EXPECT_EQ(sent[1], "AMPLIT,1;FREQUE,12.59;GAINPH?;");
    EXPECT_EQ(sent.back(), "*SRE,0;OUTPUT,OFF;");
    EXPECT_NE(fullLog.find("1800 Analyzer found.\r\n"), std::string::npos);
    EXPECT_EQ(Frequencies().size(), 11u);
    EXPECT_EQ(document.GetDataSetDescription(0).rfind("Data gathered by the 1800 System\r\n", 0), 0u);
    EXPECT_EQ(completions, std::vector<int>{0});
}

TEST_F(Engine1852, FrequencyRangeByModelAndCoupling)
{
    const struct {
        int type;
        double stop;
        double expected;
    } cases[] = {{7, 20e6, 15e6}, {8, 30e6, 25e6}, {9, 30e6, 30e6}, {9, 40e6, 35e6}};
    for (const auto& c : cases) {
        host.analyzerType = c.type;
        fullLog.clear();
        Analyzer1852Engine& e = MakeEngine();
        e.SetStopFrequency(c.stop);
        EXPECT_DOUBLE_EQ(e.Fields().stopFrequency, c.expected) << c.type;
        if (c.expected != c.stop) {
            EXPECT_NE(fullLog.find(analyzer::FormatNumberText("Freq limited to %g for current waveform\r\n", c.expected)),
                      std::string::npos)
                << fullLog;
        }
    }
    Analyzer1852Engine& e = MakeEngine();
    e.SelectCoupling("DC");
    e.SetStartFrequency(0.00005);
    EXPECT_DOUBLE_EQ(e.Fields().startFrequency, 0.00005);
    e.SelectCoupling("AC");
    EXPECT_DOUBLE_EQ(e.Fields().startFrequency, 0.01);
    e.SelectCoupling("AC < 55V");
    EXPECT_EQ(prompter.shown.back().text, "Error parsing Coupling");
    EXPECT_EQ(e.CouplingText(), "DC");
}

TEST_F(Engine1852, SweepThroughTwoMegahertzLowersTheOutputToTheBandCeiling)
{
    Analyzer1852Engine& e = MakeEngine();
    e.SetAcVoltsOutField(10);
    e.SetStartFrequency(500e3);
    e.SetStopFrequency(2e6);
    e.SetStepsPerDecade(4);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(completions, std::vector<int>{0}) << fullLog;
    // 500 kHz, 841 kHz, 1.414 MHz, 2 MHz: the analyzer would refuse 10 V from 1 MHz on.
    EXPECT_EQ(Amplitudes(), (std::vector<std::string>{"10", "10", "6", "6", "6"}));
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 6.0);
    EXPECT_DOUBLE_EQ(e.Fields().acVoltsOut, 6.0);
    EXPECT_EQ(Frequencies().size(), 4u);
}

TEST_F(Engine1852, MaxAcVoltsOutIsKeptPerBandUnderItsHardwareCeiling)
{
    Analyzer1852Engine& e = MakeEngine();
    e.SetStartFrequency(7e6);
    e.SetMaxAcVoltsOutField(8);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 3.0);
    e.SetStartFrequency(3e6);
    e.SetMaxAcVoltsOutField(4);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 4.0);
    const auto& ceilings = e.BandCeilings();
    EXPECT_EQ(std::vector<double>(ceilings.begin(), ceilings.end()),
              (std::vector<double>{10, 4, 3, 2, 1.5, 1.2, 1, 0.75}));
    e.SetMaxAcVoltsOutField(0.0001);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 0.001);
}

TEST_F(Engine1852, BandwidthFollowsTheFrequency)
{
    Analyzer1852Engine& e = MakeEngine();
    e.SetStartFrequency(1000);
    e.SetStopFrequency(1e6);
    e.SetStepsPerDecade(5);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    const std::vector<std::string> bands = SentContaining("BANDWI");
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_NE(bands[0].find("BANDWI,LOW;FREQUE,1000;"), std::string::npos);
    EXPECT_EQ(bands[1], "BANDWI,WIDE;AMPLIT,1;FREQUE,1E+04;GAINPH?;");
    EXPECT_EQ(bands[2], "BANDWI,AUTO;AMPLIT,1;FREQUE,1E+05;GAINPH?;");
}

// Ceilings and bandwidths follow the frequency as the command carries it: a tenth step of a decade
// that lands a hair below 1 MHz or 100 kHz is sent as 1E+06 or 1E+05 and measured there.
TEST_F(Engine1852, BandsAreDecidedOnTheFrequencyAsSent)
{
    host.analyzerType = 8;
    ASSERT_TRUE(ConfigureSim("model=1852;max_frequency=25M"));
    Breaches();
    Analyzer1852Engine& e = MakeEngine();
    e.SetStartFrequency(1e5);
    e.SetStopFrequency(2e6);
    e.SetAcVoltsOutField(10);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(completions.back(), 0) << Shown();
    EXPECT_EQ(Breaches(), "");
    const std::vector<std::string> atOneMegahertz = SentContaining("FREQUE,1E+06;");
    ASSERT_EQ(atOneMegahertz.size(), 1u) << fullLog;
    EXPECT_NE(atOneMegahertz[0].find("AMPLIT,6;"), std::string::npos) << atOneMegahertz[0];
    EXPECT_DOUBLE_EQ(Frequencies().back(), 2e6);

    fullLog.clear();
    e.SetStartFrequency(1e4);
    e.SetStopFrequency(1e6);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(Breaches(), "");
    const std::vector<std::string> atHundredKilohertz = SentContaining("FREQUE,1E+05;");
    ASSERT_EQ(atHundredKilohertz.size(), 1u) << fullLog;
    EXPECT_EQ(atHundredKilohertz[0].rfind("BANDWI,AUTO;", 0), 0u) << atHundredKilohertz[0];
}

TEST_F(Engine1852, WrongIdentificationIsNotTheAnalyzer)
{
    ASSERT_TRUE(ConfigureSim("idn=TALVERN Model 1960,1,1.0"));
    Analyzer1852Engine& e = MakeEngine();
    e.OnButtonRunSweep();
    enginetest::PumpPending();
    EXPECT_NE(fullLog.find("1800 Analyzer not found.\r\n"), std::string::npos);
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_TRUE(SentContaining("GAINPH?").empty());
}

TEST_F(Engine1852, ClosingWithoutADisplayHidesAndStoresTheBlock)
{
    host.activeDisplay = nullptr;
    Analyzer1852Engine& e = MakeEngine();
    bool hidden = false;
    QObject::connect(&e, &Analyzer1852Engine::HideRequested, [&] { hidden = true; });
    e.SelectInputType("Diff");
    e.SelectCoupling("DC");
    e.SelectSpeed("Fast");
    e.OnClose();
    EXPECT_TRUE(hidden);
    const std::string block = host.preferenceBlock;
    EXPECT_EQ(block.rfind("\n* The following parameters are from the Analyzer 1800 Menu:\n", 0), 0u);
    EXPECT_NE(block.find("\nDC Volts out=0\nCoupling=DC\nInput1=Diff\nIntegration Time=Fast\n"), std::string::npos)
        << block;
    EXPECT_EQ(block.find("Waveform"), std::string::npos);

    Analyzer1852Engine other(host);
    other.ApplyPreferences(block);
    EXPECT_EQ(other.Fields(), e.Fields());
    EXPECT_TRUE(other.DifferentialInput());
    EXPECT_DOUBLE_EQ(other.Limits().minimum, 1e-5);
}

TEST_F(Engine1852, StatusErrorCarriesTheSeriesTexts)
{
    ASSERT_TRUE(ConfigureSim("fault=esr_error"));
    MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("Unexpected Status Byte from the 1842 or 1852 analyzer\r\n"
                           "In OnMsg1852Sweep(), serial poll shows an error\r\n1852 Status Byte = &H"),
              std::string::npos)
        << fullLog;
    EXPECT_NE(fullLog.find("1852 Error Byte = &H8 < Bit3-Device Dependent Error >\r\n"), std::string::npos);
    EXPECT_EQ(completions, std::vector<int>{2});
}

TEST_F(Engine1852, AbsentAnalyzerIsABusErrorWithTheDialogsBox)
{
    ASSERT_TRUE(ConfigureSim("fault=no_listener"));
    Analyzer1852Engine& e = MakeEngine();
    e.OnCheckDc();
    EXPECT_FALSE(e.DcOutputOn());
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown.front().text.find("Cannot clear GPIB bus."), std::string::npos) << Shown();
    EXPECT_EQ(prompter.shown.back().text, "Error in CAnalyzer1852Dlg::OnGpibError");
}

} // namespace

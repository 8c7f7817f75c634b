// The NF 5060 engine against the simulated NF 5060 through the real GPIB binding.

#include "FamilyEngineSupport.h"

#include "analyzer/engine/Analyzer5060Engine.h"

namespace {

using analyzer::family5060::IntegrationMode;

class Engine5060 : public enginetest::FamilyFixture<Analyzer5060Engine> {
protected:
    std::string Family() const override { return "5060"; }
};

TEST_F(Engine5060, DefaultSweepWritesOneStartTextAndReadsThreeChannels)
{
    Analyzer5060Engine& e = MakeEngine();
    EXPECT_STREQ(e.Title(), "880a/880b Analyzer Control Menu");
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    const std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), "INT;SSS1;HDR1;OAM 1;ODB 0;BDS 0;BIS 1;AIM 0;OWF0;OON0;OON1;SRQ1;OFR 10;MSI;");
    EXPECT_EQ(sent[1], "OFR 12.59;MSI;");
    EXPECT_EQ(sent.back(), "SRQ0;MST;OOF0;OOF1;");
    EXPECT_NE(fullLog.find("5060A Analyzer found.\r\n"), std::string::npos);
    EXPECT_NE(fullLog.find("Received:MAG "), std::string::npos);  // the reply as it came, unquoted
    EXPECT_NE(fullLog.find("GPIB connection is closed.\r\n"), std::string::npos);
    ASSERT_EQ(Frequencies().size(), 11u);
    EXPECT_EQ(document.GetDataSetDescription(0).rfind("Data gathered by the Talvern 880 System\r\n", 0), 0u);
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_GT(e.ShownReading().amplitude[2], 0.0);  // CH3 is read too
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Engine5060, IdentificationSetsTheHighestFrequency)
{
    ASSERT_TRUE(ConfigureSim("idn=NF 5060"));
    Analyzer5060Engine& e = MakeEngine();
    e.SetStartFrequency(500e3);
    e.SetStopFrequency(2e6);
    EXPECT_DOUBLE_EQ(e.Fields().stopFrequency, 2e6);  // 2.2 MHz until the analyzer says otherwise
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_NE(fullLog.find("5060 Analyzer found.\r\n"), std::string::npos);
    EXPECT_NE(fullLog.find("Freq limited to 1e+06 for current waveform\r\n"), std::string::npos);
    EXPECT_DOUBLE_EQ(Frequencies().back(), 1e6);
    EXPECT_EQ(completions, std::vector<int>{0}) << fullLog;

    e.SelectWaveform("Square");
    EXPECT_DOUBLE_EQ(e.Fields().stopFrequency, 1e5);
    EXPECT_DOUBLE_EQ(e.Fields().startFrequency, 1e5);
}

TEST_F(Engine5060, WrongIdentificationStopsTheSweep)
{
    ASSERT_TRUE(ConfigureSim("idn=TALVERN Model 1960"));
    Analyzer5060Engine& e = MakeEngine();
    e.OnButtonRunSweep();
    enginetest::PumpPending();
    EXPECT_NE(fullLog.find("No Analyzer found.\r\n"), std::string::npos);
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_TRUE(SentContaining("MSI").empty());
    EXPECT_DOUBLE_EQ(e.Limits().maximum, 2.2e6);
}

TEST_F(Engine5060, ErrorBitIsDecodedFromTheErrorByteAndShutsDown)
{
    ASSERT_TRUE(ConfigureSim("fault=stb_error"));
    Analyzer5060Engine& e = MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("Unexpected Status Byte from the NF5060 or NF5060A analyzer\r\n"
                           "In OnMsg5060Sweep(), serial poll shows an error\r\n5060 Status Byte = &H"),
              std::string::npos)
        << fullLog;
    EXPECT_NE(fullLog.find(" Bit4-Error"), std::string::npos);
    EXPECT_NE(fullLog.find("5060 Error Byte = &H2 < Bit1-Parameter Error >\r\n"), std::string::npos) << fullLog;
    EXPECT_EQ(Sent().back(), "SRQ0;MST;OOF0;OOF1;");
    EXPECT_EQ(completions, std::vector<int>{2});
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Engine5060, ADeviceThatCannotBeOpenedEndsTheSweepAsABusError)
{
    host.gpibAddressApplication = 31;  // the bus refuses the descriptor
    Analyzer5060Engine& e = MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(completions, std::vector<int>{1});
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text,
              "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.");
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_EQ(e.ControlState().runSweepText, "Run &Sweep");
    EXPECT_FALSE(e.BusErrorFlag());  // reported, then cleared
}

TEST_F(Engine5060, MissingReplyValueIsNamed)
{
    ASSERT_TRUE(ConfigureSim("fault=truncated"));
    MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("In OnMsg5060Sweep(), data shows an error - dCH1Phase\r\n"), std::string::npos) << fullLog;
    EXPECT_EQ(completions, std::vector<int>{2});
}

TEST_F(Engine5060, IntegrationModesAndTheirClamps)
{
    Analyzer5060Engine& e = MakeEngine();
    e.SetIntegrationTime(0.01);
    EXPECT_DOUBLE_EQ(e.Fields().integrationTime, 0.0256);
    e.SetIntegrationCycles(0);
    EXPECT_EQ(e.Fields().integrationCycles, 1);
    e.SetDelayCycles(12000);
    EXPECT_EQ(e.Fields().delayCycles, 9999);
    e.SetIntegrationCycles(5);
    e.SetDelayCycles(2);

    e.SetIntegrationMode(IntegrationMode::Cycles);
    EXPECT_TRUE(e.ControlState().cyclesFieldsEnabled);
    EXPECT_FALSE(e.ControlState().secondsFieldsEnabled);
    e.SetStopFrequency(20);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(Sent().front().find("ODB 0;BDC 2;BIC 5;AIM 0;OWF0;"), std::string::npos) << Sent().front();

    e.SetIntegrationMode(IntegrationMode::Automatic);
    e.SelectAutomaticChannel("2");
    e.SelectAutomaticMode("Long");
    EXPECT_TRUE(e.ControlState().automaticListsEnabled);
    fullLog.clear();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(Sent().front().find("ODB 0;AIC 2;AIM 2;OWF0;"), std::string::npos) << Sent().front();
}

TEST_F(Engine5060, DcOutputWritesItsOffsetAtOnce)
{
    Analyzer5060Engine& e = MakeEngine();
    e.SetDcVoltsOut(-12);
    EXPECT_DOUBLE_EQ(e.Fields().dcVoltsOut, -10.0);
    e.SetDcVoltsOut(1.5);
    e.OnCheckDc();
    EXPECT_EQ(Sent(), (std::vector<std::string>{"ODB 1.5;", "OON1;"}));
    e.OnCheckDc();
    EXPECT_EQ(Sent().back(), "SRQ0;MST;OOF0;OOF1;");
    EXPECT_FALSE(e.DcOutputOn());
}

TEST_F(Engine5060, PreferencesWithoutTheIntegerLinesKeepTheIntegrationMode)
{
    host.activeDisplay = nullptr;
    Analyzer5060Engine& e = MakeEngine();
    e.SelectWaveform("Triangle");
    e.SelectChannelRatio("CH3/CH1");
    e.SetIntegrationMode(IntegrationMode::Cycles);
    e.SetIntegrationCycles(40);
    e.OnClose();
    const std::string block = host.preferenceBlock;
    EXPECT_EQ(block.rfind("\n* The following parameters are from the Analyzer 5060 Menu:\n", 0), 0u);
    EXPECT_NE(block.find("Gain Channel Ratio=CH3/CH1\n"), std::string::npos);
    EXPECT_NE(block.find("\nIntegration Mode=1\nAutomatic Mode Set=0\nIntegrationTimeCycls=40\nDelayTimeCycls=0\n"
                         "AutomaticChannel=0\nAutomaticMode=0\n"),
              std::string::npos)
        << block;

    Analyzer5060Engine restored(host);
    restored.ApplyPreferences(block);
    EXPECT_EQ(restored.Fields(), e.Fields());
    EXPECT_TRUE(restored.ControlState().cyclesFieldsEnabled);

    Analyzer5060Engine older(host);
    older.SetIntegrationMode(IntegrationMode::Automatic);
    older.ApplyPreferences(block.substr(0, block.find("Integration Mode=")));
    EXPECT_EQ(older.Fields().integrationMode, IntegrationMode::Automatic);
    EXPECT_EQ(older.Fields().waveform, analyzer::family5060::Waveform::Triangle);
}

} // namespace

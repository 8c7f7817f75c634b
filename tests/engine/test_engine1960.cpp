// The 1960 engine against the simulated 1960 through the real GPIB binding.

#include "FamilyEngineSupport.h"

#include "analyzer/engine/Analyzer1960Engine.h"

namespace {

class Engine1960 : public enginetest::FamilyFixture<Analyzer1960Engine> {
protected:
    std::string Family() const override { return "1960"; }
};

constexpr const char* kDefaultStart =
    "*ESE,60;MODE,GAINPH;AMPLIT,1;OFFSET,0;COUPLI,CH1,ACONLY;COUPLI,CH2,ACONLY;DELAY,0;SPEED,MEDIUM;CYCLES,0;"
    "OUTPUT,SIGNAL;WAVEFO,SINEWA;OUTPUT,ON;*SRE,1;BANDWI,LOW;FREQUE,10;GAINPH?;";

TEST_F(Engine1960, DefaultSweepWritesOneStartTextAndReconnectsForTheNext)
{
    Analyzer1960Engine& e = MakeEngine();
    EXPECT_EQ(e.Connection().device, -1);  // opening the dialog does not touch the analyzer
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();

    std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 3u);
    EXPECT_EQ(sent.front(), kDefaultStart);
    EXPECT_EQ(sent[1], "FREQUE,12.59;GAINPH?;");
    EXPECT_EQ(sent.back(), "*SRE,0;OUTPUT,OFF;");
    EXPECT_NE(fullLog.find("GPIB connection opened.\r\n1960 Analyzer found.\r\n"), std::string::npos);
    EXPECT_NE(fullLog.find("GPIB connection is closed."), std::string::npos);
    EXPECT_EQ(Frequencies().size(), 11u);
    EXPECT_DOUBLE_EQ(Frequencies().back(), 100.0);
    EXPECT_EQ(document.GetDataSetDescription(0).rfind("Data gathered by the 1960 System\r\n", 0), 0u);
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
    EXPECT_FALSE(e.Initialized());
    EXPECT_EQ(e.ControlState().dcText, "Turn On DC Voltage");

    // The next sweep identifies the analyzer again; the band last sent is still low.
    fullLog.clear();
    ASSERT_TRUE(RunSweep()) << fullLog;
    sent = Sent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front().rfind("*ESE,60;MODE,GAINPH;AMPLIT,1;", 0), 0u);
    EXPECT_EQ(sent.front().find("BANDWI"), std::string::npos);
    EXPECT_NE(fullLog.find("1960 Analyzer found."), std::string::npos);
}

TEST_F(Engine1960, FilterBandFollowsTheFrequencyAndIsSentOnlyWhenItChanges)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetStartFrequency(1000);
    e.SetStopFrequency(100000);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    const std::vector<std::string> bands = SentContaining("BANDWI");
    ASSERT_EQ(bands.size(), 3u);
    EXPECT_NE(bands[0].find("BANDWI,LOW;FREQUE,1000;"), std::string::npos);
    EXPECT_EQ(bands[1], "BANDWI,MEDIUM;FREQUE,5012;GAINPH?;");   // the first point at or above 4 kHz
    EXPECT_EQ(bands[2], "BANDWI,HIGH;FREQUE,2.512E+04;GAINPH?;"); // the first at or above 25 kHz
}

// A step that lands a hair below 25 kHz is sent as 2.5E+04 and measured there, with the high band.
TEST_F(Engine1960, FilterBandIsDecidedOnTheFrequencyAsSent)
{
    Analyzer1960Engine& e = MakeEngine();
    Breaches();
    e.SetStartFrequency(24990);
    e.SetStopFrequency(25010);
    e.SetLogSweep(false);
    e.SetFrequencyStep(9.996);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(Breaches(), "");
    const std::vector<std::string> at25k = SentContaining("FREQUE,2.5E+04;");
    ASSERT_EQ(at25k.size(), 1u) << fullLog;
    EXPECT_EQ(at25k[0].rfind("BANDWI,HIGH;", 0), 0u) << at25k[0];
}

TEST_F(Engine1960, WaveformAndCouplingSetTheFrequencyLimits)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetStopFrequency(2e6);
    EXPECT_DOUBLE_EQ(e.Fields().stopFrequency, 2e6);
    e.SelectWaveform("Square");
    EXPECT_DOUBLE_EQ(e.Fields().stopFrequency, 1e6);
    EXPECT_NE(fullLog.find("Freq limited to 1e+06 for current waveform\r\n"), std::string::npos);

    e.SetStartFrequency(0.001);
    EXPECT_DOUBLE_EQ(e.Fields().startFrequency, 0.01);
    EXPECT_NE(fullLog.find("Freq limited to 0.01.\r\n"), std::string::npos);
    e.SelectCoupling("DC");
    e.SetStartFrequency(0.001);
    EXPECT_DOUBLE_EQ(e.Fields().startFrequency, 0.001);

    e.SelectWaveform("Sawtooth");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Error parsing Output wave type");
    EXPECT_EQ(e.Fields().waveform, analyzer::family1960::Waveform::Square);
}

TEST_F(Engine1960, DcVoltsOutAndTheMaxAcCeiling)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetDcVoltsOut(12);
    EXPECT_DOUBLE_EQ(e.Fields().dcVoltsOut, 9.99);
    e.SetDcVoltsOut(0.005);
    EXPECT_DOUBLE_EQ(e.Fields().dcVoltsOut, 0.0);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 10.0);
    e.SetDcVoltsOut(4);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 6.0);
    e.SetDcVoltsOut(1);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 9.0);  // it sat at its limit, so it follows
    e.SetMaxAcVoltsOutField(5);
    e.SetDcVoltsOut(0);
    EXPECT_DOUBLE_EQ(e.Fields().maxAcVoltsOut, 5.0);  // below its limit it stays
    e.SetAcVoltsOutField(7);
    EXPECT_DOUBLE_EQ(e.Fields().acVoltsOut, 5.0);
    e.SetAcVoltsOutField(0.001);
    EXPECT_DOUBLE_EQ(e.Fields().acVoltsOut, 0.01);
    EXPECT_EQ(e.Connection().device, -1);  // while idle with the DC output off nothing is written
}

TEST_F(Engine1960, DcOutputIsWrittenAtOnceAndStaysOnThroughASweep)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetDcVoltsOut(2);
    e.OnCheckDc();
    EXPECT_TRUE(e.DcOutputOn());
    EXPECT_EQ(e.ControlState().dcText, "Turn Off DC Voltage");
    EXPECT_EQ(Sent(), (std::vector<std::string>{"AMPLIT,0;OFFSET,2;", "OUTPUT,ON;"}));
    e.SetDcVoltsOut(3);
    EXPECT_EQ(Sent().back(), "AMPLIT,0;OFFSET,3;");

    e.SetStopFrequency(20);
    e.OnButtonRunSweep();
    EXPECT_EQ(e.ControlState().dcText, "DC Voltage is On");
    EXPECT_FALSE(e.ControlState().dcEnabled);
    ASSERT_TRUE(enginetest::PumpUntil([&] { return !e.IsMeasuring(); })) << fullLog;
    EXPECT_EQ(Sent().back(), "*SRE,0;AMPLIT,0;");
    EXPECT_TRUE(e.Initialized());  // the connection stays while the DC output is on
    EXPECT_EQ(e.ControlState().dcText, "Turn Off DC Voltage");

    e.OnCheckDc();
    EXPECT_FALSE(e.DcOutputOn());
    EXPECT_EQ(Sent().back(), "*SRE,0;OUTPUT,OFF;");
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Engine1960, AddressChangeMovesTheAnalyzerToTheApplicationAddress)
{
    ASSERT_TRUE(ConfigureSim("address=8"));
    host.gpibAddressApplication = 5;
    host.gpibAddressAnalyzer = 8;
    MakeEngine().SetStopFrequency(20);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    const std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], "CONFIG,153,5;PROGRAM,STORE,1;");
    EXPECT_EQ(sent[1].rfind("*ESE,60;MODE,GAINPH;", 0), 0u);
    EXPECT_EQ(host.gpibAddressAnalyzer, 5);
    EXPECT_GE(Frequencies().size(), 2u);
}

TEST_F(Engine1960, AnAnalyzerFoundAtANewAddressIsOpenedThereByTheNextSweep)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetStopFrequency(20);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    // The bus search finds the analyzer at address 9; the application's address is still 5.
    ASSERT_TRUE(ChangeSim("address=9"));
    host.gpibAddressAnalyzer = 9;
    e.OnAnalyzerAddressChanged();
    fullLog.clear();
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
    EXPECT_EQ(completions, (std::vector<int>{0, 0}));
    EXPECT_EQ(Sent().front(), "CONFIG,153,5;PROGRAM,STORE,1;");
    EXPECT_EQ(host.gpibAddressAnalyzer, 5);
    EXPECT_EQ(document.GetPointCount(1), document.GetPointCount(0));
}

TEST_F(Engine1960, ADeviceThatCannotBeOpenedAgainAfterTheAddressChangeEndsTheSweep)
{
    ASSERT_TRUE(ConfigureSim("address=8"));
    host.gpibAddressApplication = 31;  // the bus refuses a descriptor there
    host.gpibAddressAnalyzer = 8;
    Analyzer1960Engine& e = MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(completions, std::vector<int>{1});
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text,
              "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.");
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_EQ(document.GetDataSetCount(), 0);
}

TEST_F(Engine1960, WrongIdentificationStopsTheSweep)
{
    ASSERT_TRUE(ConfigureSim("idn=ACME Model 1860"));
    Analyzer1960Engine& e = MakeEngine();
    e.OnButtonRunSweep();
    enginetest::PumpPending();
    EXPECT_NE(fullLog.find("1960 Analyzer not found.\r\n"), std::string::npos);
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_EQ(e.ControlState().runSweepText, "Run &Sweep");
    EXPECT_EQ(document.GetDataSetCount(), 0);
    EXPECT_TRUE(SentContaining("GAINPH?").empty());

    // With nothing to undo, the initialization's own box.
    prompter.shown.clear();
    e.OnCheckDc();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Error in CAnalyzer1960Dlg::InitializeAnalyzer");
    EXPECT_FALSE(e.DcOutputOn());
}

TEST_F(Engine1960, NoGpibSoftwareGivesTheInstallHint)
{
    const std::string hint =
        "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.";
    gpib::SetLibraryPath("/nonexistent/libtalvern-gpib-missing.so");
    Analyzer1960Engine& e = MakeEngine();
    e.OnCheckDc();
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text, hint);
    EXPECT_NE(fullLog.find(hint), std::string::npos);
    EXPECT_FALSE(e.DcOutputOn());
}

TEST_F(Engine1960, EventRegisterErrorIsReportedAndShutsTheAnalyzerDown)
{
    ASSERT_TRUE(ConfigureSim("fault=esr_error"));
    Analyzer1960Engine& e = MakeEngine();
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog;
    const std::string expected =
        "Unexpected Status Byte from the 1960 analyzer\r\nIn OnMsg1960Sweep(), serial poll shows an error\r\n"
        "1960 Status Byte = &H";
    EXPECT_NE(fullLog.find(expected), std::string::npos) << fullLog;
    EXPECT_NE(fullLog.find("1960 Error Byte = &H8 < Bit3-Device Dependent Error >\r\n"), std::string::npos) << fullLog;
    EXPECT_EQ(Sent().back(), "*SRE,0;ABORT;OUTPUT,OFF;");
    EXPECT_EQ(completions, std::vector<int>{2});
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Engine1960, MissingReplyValueNamesItAndStopsTheSweep)
{
    ASSERT_TRUE(ConfigureSim("fault=truncated"));
    MakeEngine();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_NE(fullLog.find("In OnMsg1960Sweep(), data shows an error - dCH2VRMS\r\n"), std::string::npos) << fullLog;
    EXPECT_EQ(completions, std::vector<int>{2});
    EXPECT_EQ(document.GetDataSetCount(), 0);
}

TEST_F(Engine1960, SettingsChangedWhileMeasuringTravelWithTheNextPoint)
{
    Analyzer1960Engine& e = MakeEngine();
    e.SetStopFrequency(100);
    e.OnButtonTakeData();
    ASSERT_TRUE(e.InStartFrequencyMode());
    e.SelectSpeed("Slow");
    e.SetDelay(75);
    e.SelectCoupling("AC < 500V");
    ASSERT_TRUE(enginetest::PumpUntil([&] { return SentContaining("SPEED,SLOW").size() == 1; })) << fullLog;
    EXPECT_EQ(SentContaining("SPEED,SLOW")[0],
              "SPEED,SLOW;CYCLES,0;DELAY,60;COUPLI,CH1,ACHIGH;COUPLI,CH2,ACHIGH;FREQUE,10;GAINPH?;");
    e.OnButtonTakeData();
    EXPECT_FALSE(e.IsMeasuring());
    EXPECT_EQ(e.Fields().delay, 60);
}

TEST_F(Engine1960, ClosingWithoutADisplayStoresTheBlockAndPreferencesReadItBack)
{
    host.activeDisplay = nullptr;
    Analyzer1960Engine& e = MakeEngine();
    bool destroyed = false;
    QObject::connect(&e, &Analyzer1960Engine::DestroyRequested, [&] { destroyed = true; });
    e.SelectWaveform("Triangle");
    e.SelectCoupling("DC");
    e.SetIntegrationByTime(false);
    e.SetCycles(12);
    e.SelectChannelRatio("CH1/CH2");
    e.OnClose();
    EXPECT_TRUE(destroyed);
    const std::string block = host.preferenceBlock;
    EXPECT_EQ(block.rfind("\n* The following parameters are from the Analyzer 1960 Menu:\nStart Frequency=10\n", 0), 0u);
    EXPECT_NE(block.find("\nWaveform=Triangle\nCoupling=DC\nIntegration Time=Medium\nCycles=12\n"
                         "Integration Type=Cycles\nDelay Time=0\n"),
              std::string::npos)
        << block;

    Analyzer1960Engine other(host);
    other.ApplyPreferences(block);
    EXPECT_EQ(other.Fields(), e.Fields());
    EXPECT_TRUE(other.ControlState().cyclesFieldEnabled);
    EXPECT_DOUBLE_EQ(other.Limits().minimum, 1e-4);
    EXPECT_DOUBLE_EQ(other.Limits().maximumForSettings, 1e6);
}

} // namespace

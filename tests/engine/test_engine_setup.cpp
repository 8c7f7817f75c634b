// Opening the analyzer (identification, capabilities, address change), the settings that the
// analyzer's limits bound, the DC output, the version query, firmware 1.x and the preference block.

#include "EngineTestSupport.h"

#include <algorithm>

#include "analyzer/engine/AnalyzerHost.h"

namespace {

using enginetest::EngineFixture;
using enginetest::PumpPending;
using enginetest::PumpUntil;

using Opening = EngineFixture;

template <typename T, typename U>
bool Contains(const std::vector<T>& list, const U& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

TEST_F(Opening, CapabilityReplySetsChannelsLimitsAndLists)
{
    struct Case {
        const char* capability;
        int channels;
        double maximum;
        int hardwareClass;
        double minimumFrequency;
        double minimumAc;
        bool impedanceLists;
        bool optionList;
    };
    const Case cases[] = {
        {"2150000", 2, 15e6, 0, 1.0, 0.01, false, false},
        {"240000", 2, 40e6, 6, 1e-5, 0.001, true, true},    // ends before the class: class 6
        {"44000030", 4, 40e6, 3, 0.001, 0.001, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.capability);
        ASSERT_TRUE(ConfigureSim(std::string("channels=4;capability=") + c.capability));
        Analyzer2600Engine& e = StartEngine(false);
        EXPECT_EQ(e.ChannelCount(), c.channels);
        EXPECT_EQ(appData().channelCount, c.channels);
        EXPECT_EQ(e.Caps().maximumFrequency, c.maximum);
        EXPECT_EQ(e.Caps().hardwareClass, c.hardwareClass);
        EXPECT_EQ(e.Caps().minimumFrequency, c.minimumFrequency);
        EXPECT_EQ(e.Caps().minimumAcOutput, c.minimumAc);
        EXPECT_EQ(e.ControlState().impedanceListsEnabled, c.impedanceLists);
        EXPECT_EQ(e.ControlState().waveformListEnabled, c.impedanceLists);
        EXPECT_EQ(e.ControlState().optionListEnabled, c.optionList);
        EXPECT_EQ(e.ControlState().channel3Enabled, c.channels >= 3);
        EXPECT_EQ(e.ChannelRatioEntries().size(), c.channels == 4 ? 7u : 2u);
        EXPECT_EQ(e.ChannelRatioText(), "CH2/CH1");
        engine.reset();
    }
}

TEST_F(Opening, OptionsAndHardwareClassAddToThePreparingCommand)
{
    ASSERT_TRUE(ConfigureSim("options=3;hwclass=13;channels=4"));
    StartEngine(false);
    EXPECT_TRUE(Contains(Sent(), "ACIN,0;#880,OFF;DFRA,OFF;")) << fullLog;
    EXPECT_EQ(host.optionBits, 3);
}

TEST_F(Opening, AnIdentificationWithoutTheMakerFailsTheStart)
{
    ASSERT_TRUE(ConfigureSim("idn=ACME,X1,1,1.0"));
    Analyzer2600Engine& e = MakeEngine(false);
    EXPECT_FALSE(e.InitDialogStage2(""));
    EXPECT_NE(fullLog.find("Talvern Analyzer not found.\r\n"), std::string::npos);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Error in CAnalyzer2600Dlg::InitializeAnalyzer");
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Opening, NoAnalyzerAtTheAddressIsReportedQuietlyAtStart)
{
    ASSERT_TRUE(ConfigureSim("fault=no_listener"));
    Analyzer2600Engine& e = MakeEngine(false);
    EXPECT_FALSE(e.InitDialogStage2(""));
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text, "No Analyzer Detected  ");
    EXPECT_EQ(prompter.shown[0].caption, "Analyzer Menu");
}

TEST_F(Opening, NoGpibSoftwareGivesTheInstallHint)
{
    const std::string hint =
        "Can't open GPIB connection.\r\nPlease ensure the National Instruments GPIB Software is installed.";
    gpib::SetLibraryPath("/nonexistent/libtalvern-gpib-missing.so");
    Analyzer2600Engine& e = MakeEngine(false);
    EXPECT_FALSE(e.InitDialogStage2(""));
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text, hint);
    EXPECT_NE(fullLog.find(hint), std::string::npos);
    EXPECT_FALSE(e.Initialized());
}

TEST_F(Opening, NoUsbAnalyzerIsReported)
{
    ASSERT_TRUE(ConfigureSim("serial=99"));
    Analyzer2600Engine& e = MakeEngine(true);
    EXPECT_FALSE(e.InitDialogStage2(""));
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text, "Error on USB Bus...\r\nCan't open USB connection.\r\nPlease insure the Agilent "
                                      "Instrument Driver Software is installed and analyzer is turned on.\r\n");
    EXPECT_EQ(e.Log().Text().rfind("opening USB connection...\r\n", 0), 0u);
}

TEST_F(Opening, AnAddressChangeMovesTheAnalyzerFirst)
{
    host.gpibAddressApplication = 7;
    host.gpibAddressAnalyzer = 5;
    Analyzer2600Engine& e = StartEngine(false);
    EXPECT_TRUE(e.Initialized());
    EXPECT_EQ(Sent().front(), "ADDR,7;");
    EXPECT_EQ(sleeper.recorded.front(), 600);
    EXPECT_EQ(host.gpibAddressAnalyzer, 7);
    EXPECT_NE(fullLog.find("Talvern Analyzer found.\r\n"), std::string::npos);
}

TEST_F(Opening, AnAnalyzerFoundAtANewAddressIsOpenedThereByTheNextSweep)
{
    Analyzer2600Engine& e = StartEngine(false);
    ASSERT_TRUE(e.Initialized());
    // The bus search finds the analyzer at address 9; the application's address is still 5.
    ASSERT_TRUE(ChangeSim("address=9"));
    host.gpibAddressAnalyzer = 9;
    e.OnAnalyzerAddressChanged();
    EXPECT_FALSE(e.Initialized());
    fullLog.clear();
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_EQ(Sent().front(), "ADDR,5;");
    EXPECT_EQ(host.gpibAddressAnalyzer, 5);
    EXPECT_EQ(document.GetPointCount(0), 11);
}

TEST_F(Opening, TwoOhmOutputLimitsFrequencyAndAmplitude)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(10e6);
    e.SetAcVoltsOutField(8);
    e.SelectOutputImpedance("2");
    EXPECT_EQ(e.Fields().startFrequency, 5e6);
    EXPECT_EQ(e.Fields().acVoltsOut, 2.0);
    EXPECT_EQ(e.Fields().maxAcVoltsOut, 2.0);
    EXPECT_NE(fullLog.find("Freq limited to 5e+06 for current analyzer type, waveform or output impedance\r\n"),
              std::string::npos);
    EXPECT_TRUE(host.output5Vmax);
    EXPECT_TRUE(e.ControlState().outputWarningShown);
    EXPECT_FALSE(e.ControlState().dcEnabled);

    e.SelectOutputImpedance("50");
    EXPECT_FALSE(host.output5Vmax);
    EXPECT_TRUE(e.ControlState().dcEnabled);
    e.SelectInputImpedance("50");
    EXPECT_TRUE(host.input15Vmax);
    EXPECT_TRUE(e.ControlState().inputWarningShown);

    e.SelectOutputImpedance("7");
    EXPECT_EQ(prompter.shown.back().text, "Error parsing Output Impedance");
    EXPECT_EQ(prompter.shown.back().caption, "Analyzer Menu");
}

TEST_F(Opening, SquareWaveLimitsTheFrequencyToOneMegahertz)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStopFrequency(3e6);
    e.SelectWaveform("Square");
    EXPECT_EQ(e.Fields().stopFrequency, 1e6);
    e.SelectWaveform("Sine");
    e.SetStopFrequency(3e6);
    e.SpinStopFrequency(true);
    EXPECT_EQ(e.Fields().stopFrequency, 1e7);
}

TEST_F(Opening, AmplitudeTimesFrequencyStaysWithinTheOutputRating)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(20e6);
    e.SetStopFrequency(20e6);
    e.SetAcVoltsOutField(10);
    ASSERT_TRUE(RunSweep()) << fullLog;
    // 80,000,000 V Hz / 20 MHz: the amplitude is lowered to 4 V from the first point on.
    EXPECT_EQ(fullLog.find("AMPL,10"), std::string::npos) << fullLog;
    EXPECT_NE(fullLog.find("AMPL,4;"), std::string::npos) << fullLog;
    EXPECT_EQ(e.Fields().acVoltsOut, 4.0);
}

TEST_F(Opening, DcOutputStaysOnThroughASweep)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetDcVoltsOut(1.5);
    e.OnCheckDc();
    ASSERT_TRUE(e.DcOutputOn()) << fullLog << Shown();
    EXPECT_EQ(e.ControlState().dcText, "Turn Off DC Voltage");
    std::vector<std::string> sent = Sent();
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()),
              (std::vector<std::string>{"DCOF,1.5;", "ZOUT,50;BIAS,ON;"}));

    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    e.OnButtonRunSweep();
    EXPECT_EQ(e.ControlState().dcText, "DC Voltage is On");
    EXPECT_FALSE(e.ControlState().dcEnabled);
    ASSERT_TRUE(PumpUntil([&] { return !e.IsSweeping(); }));
    sent = Sent();
    EXPECT_EQ(sent.back(), "*SRE,0;");  // the outputs stay on
    EXPECT_TRUE(e.ControlState().dcEnabled);
    EXPECT_EQ(e.ControlState().dcText, "Turn Off DC Voltage");

    e.OnCheckDc();
    EXPECT_FALSE(e.DcOutputOn());
    EXPECT_EQ(Sent().back(), "*SRE,0;OUTP,OFF;BIAS,OFF;");
    EXPECT_EQ(e.ControlState().dcText, "Turn On DC Voltage");
}

TEST_F(Opening, VersionQueryReadsTheAnalyzersMessages)
{
    for (const bool usb : {false, true}) {
        SCOPED_TRACE(usb ? "USB" : "GPIB");
        fullLog.clear();
        Analyzer2600Engine& e = StartEngine(usb);
        e.OnBnClickedVersionInfo();
        ASSERT_TRUE(PumpUntil([&] { return fullLog.find("Sent:'*SRE,0;'") != std::string::npos; })) << fullLog;
        EXPECT_NE(fullLog.find("Sent:'*SRE,0x10;VERSION;'\r\n"), std::string::npos);
        EXPECT_NE(fullLog.find("Sent:'READ?;' Received:'VERSION MAIN 2.05\n'\r\n"), std::string::npos) << fullLog;
        EXPECT_NE(fullLog.find("Received:'VERSION FPGA 2.3\n'"), std::string::npos);
        EXPECT_TRUE(prompter.shown.empty()) << Shown();
        engine.reset();
    }
}

TEST_F(Opening, FirmwareOneJoinsQueuedCommandsAndAsksForUpdate)
{
    ASSERT_TRUE(ConfigureSim("firmware=1.40"));
    Analyzer2600Engine& e = StartEngine(false);
    EXPECT_EQ(e.FirmwareCode(), 0x140);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_TRUE(Contains(Sent(), "*ESE,60;MODE,SING;AMPL,1;DCOF,0;ZZIN,1,1E6;ZZIN,2,1E6;ZOUT,50;DELAY,TIME,0.000;"
                                 "TIME,1;WAVE,SINE;"))
        << fullLog;
    EXPECT_TRUE(Contains(sleeper.recorded, 400));
    EXPECT_EQ(document.GetPointCount(0), 11);

    e.OnBnClickedVersionInfo();
    EXPECT_NE(fullLog.find("Sent:'UPDATE?;'\r\n'MAIN 1.40,DSP 1.02,FPGA 1.0\n'\r\n"), std::string::npos) << fullLog;
}

TEST_F(Opening, FirmwareTwoWritesEachQueuedStringAndWaitsAfterTheThird)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(100);
    e.SetIntegrationByTime(false);
    e.SetCycles(12);
    e.SetDelayCycles(3);
    ASSERT_TRUE(RunSweep()) << fullLog;
    const std::vector<std::string> sent = Sent();
    const auto first = std::find(sent.begin(), sent.end(), "*ESE,60;MODE,SING;AMPL,1;DCOF,0;");
    ASSERT_NE(first, sent.end()) << fullLog;
    EXPECT_EQ(*(first + 1), "ZZIN,1,1E6;ZZIN,2,1E6;ZOUT,50;DELAY,CYCL,3;");
    EXPECT_EQ(*(first + 2), "CYCL,12;WAVE,SINE;");
    EXPECT_TRUE(Contains(sleeper.recorded, 200));
}

TEST_F(Opening, PreferenceBlockRoundTrip)
{
    Analyzer2600Engine& first = StartEngine(false);
    first.SetStartFrequency(20);
    first.SetStopFrequency(20000);
    first.SetLogSweep(false);
    first.SetFrequencyStep(50);
    first.SetAcVoltsOutField(0.5);
    first.SetDcVoltsOut(0.25);
    first.SelectWaveform("Square");
    first.SelectOutputImpedance("2");
    first.SelectInputImpedance("50");
    first.SetIntegrationTime(2);
    first.SetDelayTime(0.5);
    first.SetCycles(3);
    first.SetDelayCycles(2);
    first.SetIntegrationByTime(false);
    first.SelectChannelRatio("CH1/CH2");
    first.SetServoOn(true);
    first.SelectServoChannel("CH 2");
    first.SetServoAcVoltsIn(0.2);
    first.SetServoStepDb(6);
    first.SetMaxAcVoltsOutField(1.5);
    first.SetMaxChangeGain(true, 3);
    first.SetMaxChangePhase(true, 15);
    const analyzer::family2600::Settings fields = first.Fields();

    host.activeDisplay = nullptr;
    bool destroyed = false;
    QObject::connect(&first, &Analyzer2600Engine::DestroyRequested, [&] { destroyed = true; });
    first.ShutDownAnalyzer();
    EXPECT_TRUE(destroyed);
    const std::string block = host.preferenceBlock;
    EXPECT_NE(block.find("Sweep Type=Linear\n"), std::string::npos);
    engine.reset();

    Analyzer2600Engine& second = StartEngine(false, block);
    EXPECT_EQ(second.Fields(), fields);
    EXPECT_TRUE(host.output5Vmax);
    EXPECT_TRUE(host.input15Vmax);
    std::string again;
    second.DumpParameters(again);
    EXPECT_EQ(again, block);
}

TEST_F(Opening, ClosingWithADisplayEndsItsAcquisition)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SelectChannelRatio("CH1/CH2");
    bool hidden = false;
    QObject::connect(&e, &Analyzer2600Engine::HideRequested, [&] { hidden = true; });
    e.OnClose();
    EXPECT_FALSE(hidden);  // posted
    PumpPending();
    EXPECT_TRUE(hidden);
    EXPECT_EQ(target.DataSetDefaults().outputNode, 1);
    EXPECT_EQ(target.DataSetDefaults().inputNode, 2);
    EXPECT_EQ(host.preferenceBlock.rfind("\n* The following parameters are from the Analyzer 2xxx Menu:\n", 0), 0u);
}

} // namespace

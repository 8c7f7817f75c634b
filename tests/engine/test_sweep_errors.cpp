// StartCallbackSweep and its completion codes, and the errors that stop a sweep: a device that
// vanishes, a truncated reply, error status bits, and the USB read retry.

#include "EngineTestSupport.h"

#include <algorithm>

#include "analyzer/engine/CallbackInterface.h"
#include "analyzer/engine/SweepStepObserver.h"
#include "instrument/visa/Tal2600Driver.h"

namespace {

using enginetest::EngineFixture;
using enginetest::PumpUntil;

class RecordingCallback final : public CallbackInterface {
public:
    void OnSweepComplete(int code) override { codes.push_back(code); }
    std::vector<int> codes;
};

using enginetest::AfterReadings;

class CallbackSweep : public EngineFixture, public testing::WithParamInterface<bool> {
protected:
    Analyzer2600Engine& Start()
    {
        Analyzer2600Engine& e = StartEngine(GetParam());
        e.SetSweepRange(10, 100);
        return e;
    }
    bool RunCallbackSweep()
    {
        engine->StartCallbackSweep(&callback);
        return PumpUntil([&] { return !callback.codes.empty() && !engine->IsMeasuring(); });
    }
    RecordingCallback callback;
};

TEST_P(CallbackSweep, FourSettlingReadingsThenTheSweepAndCodeZero)
{
    Analyzer2600Engine& e = Start();
    std::vector<int> progress;
    QObject::connect(&e, &AnalyzerDialog::ProgressChanged, [&](int percent) { progress.push_back(percent); });
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;

    EXPECT_EQ(callback.codes, std::vector<int>{0});
    const std::vector<std::string> measures = MeasureCommands();
    ASSERT_GE(measures.size(), 6u);
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(measures[i], "FREQ,10;MEAS;") << i;
    EXPECT_EQ(measures[5], "FREQ,12.59;MEAS;");
    // The settling readings are recorded nowhere: the sweep's set starts at the start frequency.
    ASSERT_EQ(document.GetDataSetCount(), 1);
    EXPECT_EQ(document.GetPointCount(0), 11);
    EXPECT_EQ(document.GetFrequency(0, 0), 10.0);
    // Progress over the range set, then reset.
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(*std::max_element(progress.begin(), progress.end()), 100);
    EXPECT_EQ(progress.back(), 0);
    EXPECT_FALSE(e.SettlingActive());
}

TEST_P(CallbackSweep, ADeviceLostMidSweepGivesCodeOneAndKeepsTheReadings)
{
    // Four settling readings and three of the sweep are read; then the analyzer is gone.
    ASSERT_TRUE(ConfigureSim("fault=vanish_after:7"));
    Start();
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    EXPECT_EQ(callback.codes, std::vector<int>{1});
    ASSERT_EQ(document.GetDataSetCount(), 1);
    EXPECT_EQ(document.GetPointCount(0), 3);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text.rfind(GetParam() ? "Error on USB Bus...\r\n" : "Error on GPIB Bus...\r\n", 0), 0u)
        << Shown();
    EXPECT_FALSE(engine->IsSweeping());
    // The flags were reported, then cleared: the next sweep may start.
    EXPECT_FALSE(engine->BusErrorFlag());
}

TEST_P(CallbackSweep, AReplyWithAValueMissingGivesCodeTwo)
{
    Analyzer2600Engine& e = Start();
    AfterReadings truncate(1, [&] { ASSERT_TRUE(ChangeSim("fault=truncated")); });
    e.SetStepObserver(&truncate);
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    EXPECT_EQ(callback.codes, std::vector<int>{2});
    EXPECT_EQ(document.GetPointCount(0), 1);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown[0].text.find("In OnMsg2600Sweep(), data shows an error - dCH1Phase\r\n"), std::string::npos)
        << Shown();
    EXPECT_EQ(prompter.shown[0].text.rfind("Unexpected Status Byte from the Talvern analyzer\r\n", 0), 0u);
}

TEST_P(CallbackSweep, AnErrorDuringTheSettlingReadingsStillReachesTheCallback)
{
    ASSERT_TRUE(ConfigureSim("fault=stb_error"));
    Start();
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    EXPECT_EQ(callback.codes, std::vector<int>{2});
    EXPECT_EQ(document.GetDataSetCount(), 0);
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_NE(prompter.shown[0].text.find("In OnMsg2600Sweep(), serial poll shows an error\r\n"), std::string::npos);
    EXPECT_NE(prompter.shown[0].text.find(" Bit5-Standard Event Summary Bit"), std::string::npos);
    EXPECT_FALSE(engine->InStartFrequencyMode());
}

TEST_P(CallbackSweep, GarbledValuesAreReportedAndNotRecorded)
{
    Analyzer2600Engine& e = Start();
    AfterReadings garble(2, [&] { ASSERT_TRUE(ChangeSim("fault=garbled")); });
    e.SetStepObserver(&garble);
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    EXPECT_EQ(callback.codes, std::vector<int>{2});
    EXPECT_EQ(document.GetPointCount(0), 2);
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_NE(prompter.shown[0].text.find("In OnMsg2600Sweep(), data shows an error - dCH1V-Pk\r\n"), std::string::npos)
        << Shown();
}

TEST_P(CallbackSweep, ABusFailureAfterTheLastReadingIsReportedOnce)
{
    // Four settling readings and the sweep's eleven are read; the next write finds no analyzer
    // while the sweep-finished message is already posted. The box runs it in its event loop.
    ASSERT_TRUE(ConfigureSim("fault=vanish_after:15"));
    Start();
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    enginetest::PumpPending();
    EXPECT_EQ(callback.codes, std::vector<int>{1});
    EXPECT_EQ(document.GetPointCount(0), 11);
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text.rfind(GetParam() ? "Error on USB Bus...\r\n" : "Error on GPIB Bus...\r\n", 0), 0u);
    EXPECT_FALSE(engine->IsSweeping());
    EXPECT_FALSE(engine->BusErrorFlag());
}

// Writes a command to the analyzer behind the engine's back after the first measure command.
class WriteOnce final : public SweepStepObserver {
public:
    WriteOnce(Analyzer2600Engine& engine, const char* command) : engine_(engine), command_(command) {}
    void OnMeasureCommandWritten() override
    {
        if (done_)
            return;
        done_ = true;
        const AnalyzerConnection& bus = engine_.Connection();
        if (bus.UsesUsb())
            tal2600_WriteInstrData(bus.vi, command_.c_str());
        else
            gpib::ibwrt(bus.device, command_.data(), static_cast<long>(command_.size()));
    }

private:
    Analyzer2600Engine& engine_;
    std::string command_;
    bool done_ = false;
};

TEST_P(CallbackSweep, MessagesThatComeWithAReadingAreReadAndTheSweepGoesOn)
{
    Analyzer2600Engine& e = Start();
    // The version messages arrive while the second point is measured: its request shows the
    // reading and the message bits together.
    WriteOnce version(e, "VERSION;");
    e.SetStepObserver(&version);
    ASSERT_TRUE(RunCallbackSweep()) << fullLog;
    EXPECT_EQ(callback.codes, std::vector<int>{0});
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
    EXPECT_EQ(document.GetPointCount(0), 11);
    EXPECT_NE(fullLog.find("Received:'VERSION MAIN 2.05"), std::string::npos) << fullLog;
    EXPECT_NE(fullLog.find("Received:'VERSION FPGA 2.3"), std::string::npos) << fullLog;
}

INSTANTIATE_TEST_SUITE_P(Bus, CallbackSweep, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Usb" : "Gpib"; });

using Errors = EngineFixture;

TEST_F(Errors, UsbReadFailureIsRetriedOnce)
{
    Analyzer2600Engine& e = StartEngine(true);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    e.SetStepsPerDecade(2);
    // Reads time out from the start of the sweep until the retry's first wait.
    bool armed = true;
    sleeper.onSleep = [&](long long ms) {
        if (ms == 300 && armed) {
            armed = false;
            ASSERT_TRUE(ChangeSim("fault=timeout"));
        } else if (ms == 200 && !armed) {
            ASSERT_TRUE(ChangeSim("fault=none"));
        }
    };
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(document.GetPointCount(0), 3);
    EXPECT_TRUE(prompter.shown.empty()) << Shown();
    const std::vector<long long> retry{200, 300};
    EXPECT_NE(std::search(sleeper.recorded.begin(), sleeper.recorded.end(), retry.begin(), retry.end()),
              sleeper.recorded.end());
}

TEST_F(Errors, UsbReadThatFailsTwiceStopsTheSweep)
{
    Analyzer2600Engine& e = StartEngine(true);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    bool armed = true;
    sleeper.onSleep = [&](long long ms) {
        if (ms == 300 && armed) {
            armed = false;
            ASSERT_TRUE(ChangeSim("fault=timeout"));
        }
    };
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(completions, std::vector<int>{1});
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text,
              "Error on USB Bus...\r\nIn ReadData(), command tal2600_ReadInstrData has an Error\r\n");
    EXPECT_EQ(document.GetDataSetCount(), 0);
}

TEST_F(Errors, GpibReadTimeoutIsReportedWithTheStatusWord)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1000);
    bool armed = true;
    sleeper.onSleep = [&](long long ms) {
        if (ms == 300 && armed) {
            armed = false;
            ASSERT_TRUE(ChangeSim("fault=timeout"));
        }
    };
    ASSERT_TRUE(RunSweep()) << fullLog;
    ASSERT_FALSE(prompter.shown.empty());
    EXPECT_EQ(prompter.shown[0].text.rfind("Error on GPIB Bus...\r\nIn ReadData(), command ReadFromGPIB has an Error\r\n"
                                           "ibsta = &H",
                                           0),
              0u)
        << Shown();
    EXPECT_NE(prompter.shown[0].text.find(" TIMO"), std::string::npos);
    // The shutdown after a bus error writes nothing more and closes the device.
    EXPECT_NE(fullLog.find("GPIB connection is closed."), std::string::npos);
    EXPECT_FALSE(e.Initialized());
    EXPECT_EQ(completions, std::vector<int>{1});
}

TEST_F(Errors, ErrorRegisterIsDecodedByFirmware)
{
    for (const char* firmware : {"1.40", "2.05"}) {
        SCOPED_TRACE(firmware);
        ASSERT_TRUE(ConfigureSim(std::string("fault=esr_error;firmware=") + firmware));
        fullLog.clear();
        prompter.shown.clear();
        completions.clear();
        Analyzer2600Engine& e = StartEngine(false);
        e.SetStartFrequency(100);
        e.SetStopFrequency(1000);
        ASSERT_TRUE(RunSweep()) << fullLog;
        ASSERT_FALSE(prompter.shown.empty());
        const std::string& report = prompter.shown[0].text;
        EXPECT_NE(report.find(firmware[0] == '1' ? "Analyzer Error Byte = &H8 < Bit3-Device Dependent Error >\r\n"
                                                 : "Analyzer Error Byte = 8 < Bit3-Device Dependent Error >\r\n"),
                  std::string::npos)
            << report;
        EXPECT_EQ(completions, std::vector<int>{2});
        engine.reset();
    }
}

} // namespace

// Sweeps through the engine, the real bindings and the simulator, over GPIB and over USB.

#include "EngineTestSupport.h"

#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace {

using enginetest::EngineFixture;
using enginetest::PumpUntil;

class Sweep : public EngineFixture, public testing::WithParamInterface<bool> {
protected:
    bool Usb() const { return GetParam(); }
};

std::vector<double> Frequencies(const CTalDocument& document, int set)
{
    std::vector<double> frequencies;
    for (int i = 0; i < document.GetPointCount(set); ++i)
        frequencies.push_back(document.GetFrequency(set, i));
    return frequencies;
}

TEST_P(Sweep, LogSweepStepsTenPerDecadeWithFourDigitFrequencies)
{
    Analyzer2600Engine& e = StartEngine(Usb());
    e.SetStartFrequency(10);
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog;

    const std::vector<std::string> measures = MeasureCommands();
    // The start's queue, ten steps, and the step after the last reading, which the stop aborts.
    ASSERT_EQ(measures.size(), 12u);
    EXPECT_EQ(measures[0], "BIAS,ON;OUTP,ON;*SRE,1;FREQ,10;MEAS;");
    EXPECT_EQ(measures[1], "FREQ,12.59;MEAS;");
    EXPECT_EQ(measures[10], "FREQ,100;MEAS;");

    ASSERT_EQ(document.GetDataSetCount(), 1);
    const std::vector<double> f = Frequencies(document, 0);
    ASSERT_EQ(f.size(), 11u);
    for (size_t i = 0; i < f.size(); ++i)
        EXPECT_DOUBLE_EQ(f[i], analyzer::RoundToSignificant(std::pow(10.0, 1.0 + i / 10.0), 4)) << i;
    EXPECT_EQ(document.GetDataSetDescription(0).rfind("Data gathered by the 3xxx/2xxx System\r\n", 0), 0u);
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_TRUE(prompter.shown.empty()) << Shown();

    // The orderly stop.
    const std::vector<std::string> sent = Sent();
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(sent.end() - 2, sent.end()),
              (std::vector<std::string>{"ABORT;", "*SRE,0;OUTP,OFF;BIAS,OFF;"}));
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_EQ(e.ControlState().runSweepText, "Run &Sweep");
}

TEST_P(Sweep, LinearSweepEndsExactlyAtTheStopFrequency)
{
    Analyzer2600Engine& e = StartEngine(Usb());
    e.SetLogSweep(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(1050);
    e.SetFrequencyStep(200);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(Frequencies(document, 0), (std::vector<double>{100, 300, 500, 700, 900, 1050}));
}

TEST_P(Sweep, StartAboveStopSweepsDownwards)
{
    Analyzer2600Engine& e = StartEngine(Usb());
    e.SetStartFrequency(1000);
    e.SetStopFrequency(100);
    e.SetStepsPerDecade(4);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(Frequencies(document, 0), (std::vector<double>{1000, 562.3, 316.2, 177.8, 100}));
}

TEST_P(Sweep, EachReadingIsInTheDocumentWhenTheTargetHearsOfIt)
{
    Analyzer2600Engine& e = StartEngine(Usb());
    e.SetStartFrequency(1000);
    e.SetStopFrequency(10000);
    e.SetStepsPerDecade(3);
    ASSERT_TRUE(ChangeSim("channels=2;dut=R:R=100"));
    ASSERT_TRUE(RunSweep()) << fullLog;
    ASSERT_EQ(document.GetDataSetCount(), 1);
    // The sweep's set: the display's default nodes (output 2, input 1), scale factor 1.
    EXPECT_EQ(document.GetOutputNode(0), 2);
    EXPECT_EQ(document.GetInputNode(0), 1);
    EXPECT_EQ(document.GetScaleFactor(0), 1.0);
    EXPECT_FALSE(document.IsAcquiring() && document.GetPointCount(0) == 0);
    // The read-outs show the last accepted reading.
    EXPECT_DOUBLE_EQ(e.ShownFrequency(), 10000);
    EXPECT_FALSE(e.GainText().empty());
}

INSTANTIATE_TEST_SUITE_P(Bus, Sweep, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) { return info.param ? "Usb" : "Gpib"; });

} // namespace

namespace {

using EmulatedNotify = enginetest::EngineFixture;

// A GPIB library without ibnotify: the binding waits for the service request itself.
TEST_F(EmulatedNotify, SweepRunsWithTheEmulatedNotification)
{
    void* library = dlopen(TALVERN_SIM_NOIBNOTIFY_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto configure = reinterpret_cast<int (*)(const char*)>(dlsym(library, "talsim_configure"));
    ASSERT_EQ(configure("reset;family=2600;time_factor=0;tmo_factor=0;noise=0"), 0);
    gpib::SetLibraryPath(TALVERN_SIM_NOIBNOTIFY_LIBRARY);

    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(10);
    e.SetStopFrequency(100);
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(document.GetPointCount(0), 11);
    EXPECT_EQ(completions, std::vector<int>{0});
    engine.reset();
    enginetest::PumpPending();
    gpib::SetLibraryPath("");
    dlclose(library);
}

} // namespace

// The buttons and lists outside a sweep's readings: start-frequency readings, a sweep with no or a
// vanishing display, and the settings written at once.

#include "EngineTestSupport.h"

#include <algorithm>

#include "analyzer/engine/SweepStepObserver.h"

namespace {

using enginetest::EngineFixture;
using enginetest::PumpPending;
using enginetest::PumpUntil;

using Buttons = EngineFixture;

TEST_F(Buttons, TakeDataRepeatsTheStartFrequencyUntilStopped)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(1000);
    e.OnButtonTakeData();
    EXPECT_TRUE(e.InStartFrequencyMode());
    EXPECT_EQ(e.ControlState().takeDataText, "Stop &Taking Data");
    EXPECT_FALSE(e.ControlState().dcEnabled);
    ASSERT_TRUE(PumpUntil([&] { return MeasureCommands().size() >= 5; }));
    e.OnButtonTakeData();
    EXPECT_FALSE(e.InStartFrequencyMode());
    EXPECT_EQ(e.ControlState().takeDataText, "&Take Data At Start Freq");
    EXPECT_TRUE(e.ControlState().dcEnabled);
    const std::vector<std::string> measures = MeasureCommands();
    EXPECT_TRUE(std::all_of(measures.begin() + 1, measures.end(),
                            [](const std::string& m) { return m == "FREQ,1000;MEAS;"; }));
    // Shown, recorded nowhere.
    EXPECT_EQ(e.ShownFrequency(), 1000.0);
    EXPECT_EQ(document.GetDataSetCount(), 0);
    PumpPending();
}

TEST_F(Buttons, RunSweepWithoutADisplayDoesNothing)
{
    host.activeDisplay = nullptr;
    Analyzer2600Engine& e = StartEngine(false);
    const size_t before = Sent().size();
    e.OnButtonRunSweep();
    EXPECT_FALSE(e.IsSweeping());
    EXPECT_EQ(Sent().size(), before);
}

class CloseTargetAfter final : public SweepStepObserver {
public:
    CloseTargetAfter(int readings, std::unique_ptr<SweepTarget>& target) : left_(readings), target_(target) {}
    void OnReadingAccepted(double) override
    {
        if (--left_ == 0)
            target_.reset();
    }

private:
    int left_;
    std::unique_ptr<SweepTarget>& target_;
};

TEST_F(Buttons, ASweepWhoseDisplayClosesStops)
{
    auto display = std::make_unique<SweepTarget>(document);
    host.activeDisplay = display.get();
    Analyzer2600Engine& e = StartEngine(false);
    CloseTargetAfter closer(3, display);
    e.SetStepObserver(&closer);
    host.activeDisplay = nullptr;
    e.SetStartFrequency(10);
    e.SetStopFrequency(10000);
    host.activeDisplay = display.get();
    ASSERT_TRUE(RunSweep()) << fullLog;
    EXPECT_EQ(document.GetPointCount(0), 3);
    EXPECT_EQ(completions, std::vector<int>{0});
    EXPECT_EQ(Sent().back(), "*SRE,0;OUTP,OFF;BIAS,OFF;");
    host.activeDisplay = nullptr;
}

TEST_F(Buttons, AttenuatorAndOptionAreWrittenAtOnce)
{
    ASSERT_TRUE(ConfigureSim("options=2;channels=4"));
    Analyzer2600Engine& e = StartEngine(false);
    appData().defaultOutputNode = 3;
    e.SelectInputRange("< 100 V");
    EXPECT_EQ(Sent().back(), "ATTE,2,AUTO;ATTE,3,20dB;");
    EXPECT_EQ(appData().inputRange, 1);
    e.SelectIntegrationOption("High Noise Algorithm");
    EXPECT_EQ(Sent().back(), "NALG,ON;");
    e.SelectIntegrationOption("Loud");
    EXPECT_EQ(prompter.shown.back().text, "Error parsing Integration Option");
    EXPECT_TRUE(prompter.shown.size() == 1) << Shown();
}

TEST_F(Buttons, WithoutTheAttenuatorOptionTheRangeIsOnlyRemembered)
{
    Analyzer2600Engine& e = StartEngine(false);
    const size_t before = Sent().size();
    e.SelectInputRange("< 500 V");
    EXPECT_EQ(appData().inputRange, 2);
    EXPECT_EQ(Sent().size(), before);
}

TEST_F(Buttons, EditsDuringASweepAreQueuedWithTheNextMeasurement)
{
    Analyzer2600Engine& e = StartEngine(false);
    e.SetStartFrequency(100);
    e.SetStopFrequency(100000);
    struct EditOnce final : SweepStepObserver {
        Analyzer2600Engine* engine = nullptr;
        int left = 2;
        void OnReadingAccepted(double) override
        {
            if (--left == 0) {
                engine->SetDcVoltsOut(0.5);
                engine->SelectWaveform("Square");
            }
        }
    } edit;
    edit.engine = &e;
    e.SetStepObserver(&edit);
    ASSERT_TRUE(RunSweep()) << fullLog;
    const std::vector<std::string> measures = MeasureCommands();
    ASSERT_GE(measures.size(), 3u);
    EXPECT_EQ(measures[2], "DCOF,0.5;WAVE,SQUA;FREQ,158.5;MEAS;");
}

} // namespace

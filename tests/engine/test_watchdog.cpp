// The watchdog: a sweep whose measure command the analyzer refuses hears no service request; it
// ends as a bus error does (one report, readings kept, the analyzer stopped, code 1), for every
// family.

#include "FamilyEngineSupport.h"

#include "analyzer/engine/Analyzer1852Engine.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "analyzer/engine/SweepWatchdog.h"

namespace {

using enginetest::AfterReadings;
using enginetest::EngineFixture;

constexpr const char* kReport = "No answer from the analyzer within";

class ShortWatchdog {
public:
    ShortWatchdog() { SweepWatchdog::SetMarginSeconds(0.3); }
    ~ShortWatchdog() { SweepWatchdog::SetMarginSeconds(10.0); }
    ShortWatchdog(const ShortWatchdog&) = delete;
    ShortWatchdog& operator=(const ShortWatchdog&) = delete;
};

using Watchdog2600 = EngineFixture;

TEST_F(Watchdog2600, RefusedMeasureCommandEndsTheSweepAsABusError)
{
    ShortWatchdog shortWatchdog;
    Analyzer2600Engine& e = StartEngine(false);
    e.SetIntegrationTime(0.02);
    // The measure command is refused from the fourth point on.
    AfterReadings refuse(3, [this] { ASSERT_TRUE(ChangeSim("refuse=MEAS")); });
    e.SetStepObserver(&refuse);
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    e.SetStepObserver(nullptr);
    EXPECT_EQ(completions, std::vector<int>{1});
    ASSERT_EQ(prompter.shown.size(), 1u) << Shown();
    EXPECT_EQ(prompter.shown[0].text.rfind(kReport, 0), 0u) << Shown();
    EXPECT_EQ(document.GetPointCount(0), 3);
    // The analyzer is stopped after it: its output off.
    const std::vector<std::string> sent = Sent();
    EXPECT_NE(sent.back().find("OUTP,OFF"), std::string::npos) << fullLog;
    // The next sweep starts afresh.
    ASSERT_TRUE(ChangeSim("refuse="));
    prompter.shown.clear();
    ASSERT_TRUE(RunSweep()) << fullLog << Shown();
    EXPECT_EQ(completions.back(), 0) << Shown();
}

template <typename Engine>
class WatchdogFamily : public enginetest::FamilyFixture<Engine> {
protected:
    std::string Family() const override
    {
        if constexpr (std::is_same_v<Engine, Analyzer5060Engine>)
            return "5060";
        else if constexpr (std::is_same_v<Engine, Analyzer1852Engine>)
            return "1800";
        else
            return "1960";
    }
    std::string MeasureHeader() const { return std::is_same_v<Engine, Analyzer5060Engine> ? "MSI" : "GAINPH?"; }
};

using Families = testing::Types<Analyzer1960Engine, Analyzer1852Engine, Analyzer5060Engine>;
TYPED_TEST_SUITE(WatchdogFamily, Families);

TYPED_TEST(WatchdogFamily, RefusedMeasureCommandEndsTheSweepAsABusError)
{
    ShortWatchdog shortWatchdog;
    ASSERT_TRUE(this->ChangeSim("refuse=" + this->MeasureHeader()));
    TypeParam& e = this->MakeEngine();
    if constexpr (std::is_same_v<TypeParam, Analyzer5060Engine>)
        e.SetIntegrationTime(0.03);
    else
        e.SelectSpeed("Fast");
    ASSERT_TRUE(this->RunSweep()) << this->fullLog << this->Shown();
    EXPECT_EQ(this->completions, std::vector<int>{1});
    ASSERT_EQ(this->prompter.shown.size(), 1u) << this->Shown();
    EXPECT_EQ(this->prompter.shown[0].text.rfind(kReport, 0), 0u) << this->Shown();
    EXPECT_FALSE(e.IsMeasuring());
    // The refusal is the analyzer's record of what went wrong.
    EXPECT_NE(this->Breaches().find("refused"), std::string::npos);
}

} // namespace

#include <gtest/gtest.h>

#include <unistd.h>

#include <complex>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <string>
#include <vector>

#include "FakeMeasurement.h"
#include "ImpedanceCurves.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "rlc/workflow/AnalyzerLimits.h"
#include "rlc/workflow/ChannelPairs.h"
#include "rlc/workflow/MeasurementWorkflow.h"

using namespace rlctest;
namespace fs = std::filesystem;

namespace {

class WorkflowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = appData();
        analyzer.frequencies = LogFrequencies(100, 1e6, 10);
        analyzer.fixture.component = [](double w) { return Complex(0, -1 / (w * 100e-9)); };
        dir = fs::temp_directory_path() / ("rlc-workflow-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        appData() = saved;
        fs::remove_all(dir);
    }

    CTalDocument& Doc() { return *workspace.active; }

    std::vector<int> Roles()
    {
        std::vector<int> roles;
        for (int i = 0; i < Doc().GetDataSetCount(); ++i)
            roles.push_back(Doc().GetCalibrationRole(i));
        return roles;
    }

    std::vector<std::string> Shown() const
    {
        std::vector<std::string> texts;
        for (const auto& s : prompter.shown)
            texts.push_back(s.kind + ": " + s.text);
        return texts;
    }

    // Runs "Calibrate" with the fixture switched as a user would, answering Continue and Keep it.
    void Calibrate()
    {
        prompter.threeButtonAnswers = {1, 1};
        workflow.OnCalibrate();
        analyzer.fixture.state = Fixture::Open;
        analyzer.FinishSweep();
        analyzer.fixture.state = Fixture::Shorted;
        analyzer.FinishSweep();
        ASSERT_TRUE(workflow.IsCalibrated());
    }

    void Measure(const std::string& name)
    {
        prompter.textAnswers = {name};
        workflow.OnTestComponent();
        analyzer.fixture.state = Fixture::Component;
        analyzer.FinishSweep();
    }

    ApplicationData saved;
    fs::path dir;
    ScriptedPrompter prompter;
    FakeWorkspace workspace;
    FakeAnalyzer analyzer{workspace};
    MeasurementSetup setup{RLC2600, 4, {0.01, 4e7}};
    MeasurementWorkflow workflow{setup, analyzer, workspace, prompter};
};

TEST_F(WorkflowTest, CalibrationAndMeasurementRemoveTheFixture)
{
    Calibrate();
    EXPECT_EQ(Roles(), (std::vector<int>{1, 2}));
    EXPECT_EQ(Doc().GetDataSetName(0), "Open circuit");
    EXPECT_EQ(Doc().GetDataSetName(1), "Closed circuit");
    EXPECT_TRUE(workflow.m_testComponentEnabled);
    EXPECT_TRUE(workflow.m_saveCalibrationEnabled);
    EXPECT_FALSE(workflow.m_peakVoltageEnabled);
    EXPECT_FALSE(workflow.m_calibrating);
    EXPECT_EQ(workflow.m_savedMaxAcVolts, 5);

    Measure("C12");
    EXPECT_EQ(Roles(), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Doc().GetDataSetName(2), "C12(with parasitics)");
    EXPECT_EQ(Doc().GetDataSetName(3), "");
    EXPECT_EQ(Doc().GetDataSetName(4), "C12(w/o parasitics)");
    EXPECT_EQ(workflow.m_measuredIndex, 2);
    EXPECT_EQ(workspace.hidden, (std::vector<int>{2, 3, 1, 0}));
    EXPECT_TRUE(Doc().IsModified());
    EXPECT_FALSE(workflow.m_measuring);

    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "message: Please open the circuit, then press 'OK'",
                           "three: Open circuit sweep complete. Would you like to continue with the "
                           "calibration process, redo the sweep, or cancel?",
                           "message: Please close the circuit, then press 'OK'",
                           "three: Closed circuit sweep complete. Would you like to keep this sweep, "
                           "redo it, or cancel?",
                           "message: Calibration complete",
                           "message: Please insert the component to measure, then press 'OK'",
                           "text: Measurement complete.\nPlease type a name for this sweep:",
                       }));

    // The corrected set is the document's math: (M - S) x O / (O - (M - S)); with 50 mOhm,
    // 20 nH in series and 5 pF across, it gives back the 100 nF capacitor.
    for (int i = 0; i < Doc().GetPointCount(4); ++i) {
        const auto z = [&](int set) {
            return std::polar(Doc().GetGain(set, i), Doc().GetPhase(set, i) * kPi / 180);
        };
        const Complex s = z(2) - z(1);
        const Complex expected = s * z(0) / (z(0) - s);
        EXPECT_NEAR(std::abs(z(4)) / std::abs(expected), 1, 1e-9) << i;
        const double w = 2 * kPi * Doc().GetFrequency(4, i);
        EXPECT_NEAR(std::abs(z(4)) * w * 100e-9, 1, 1e-6) << i;
        EXPECT_NEAR(Doc().GetPhase(4, i), -90, 1e-4) << i;
    }
    // After each sweep the analyzer shows the start frequency and gets the page's voltage back.
    EXPECT_EQ(std::count(analyzer.calls.begin(), analyzer.calls.end(), "ac 1 5"), 3);
}

TEST_F(WorkflowTest, ThreeButtonBranches)
{
    struct Case {
        const char* name;
        std::vector<int> answers;
        std::vector<int> roles;   // of the document when nothing more is pending
        int sweeps;               // sweeps started
        bool calibrated;
    };
    const Case cases[] = {
        {"continue, keep", {1, 1}, {1, 2}, 2, true},
        {"redo open, continue, keep", {2, 1, 1}, {1, 2}, 3, true},
        {"cancel open", {3}, {}, 1, false},
        {"continue, redo closed, keep", {1, 2, 1}, {1, 2}, 3, true},
        {"continue, cancel closed", {1, 3}, {}, 2, false},
        {"prompt closed counts as cancel", {}, {}, 1, false},
    };
    for (const Case& c : cases) {
        ScriptedPrompter p;
        FakeWorkspace w;
        FakeAnalyzer a{w};
        a.frequencies = {100, 1000};
        a.fixture.component = [](double) { return Complex(1, 0); };
        MeasurementWorkflow flow{setup, a, w, p};
        w.active->AddDataSet(std::make_unique<CDataSet>());  // an earlier set stays untouched
        p.threeButtonAnswers.assign(c.answers.begin(), c.answers.end());
        flow.OnCalibrate();
        int sweeps = 0;
        while (a.SweepPending()) {
            ++sweeps;
            a.FinishSweep();
        }
        std::vector<int> roles;
        for (int i = 1; i < w.active->GetDataSetCount(); ++i)
            roles.push_back(w.active->GetCalibrationRole(i));
        EXPECT_EQ(roles, c.roles) << c.name;
        EXPECT_EQ(sweeps, c.sweeps) << c.name;
        EXPECT_EQ(flow.IsCalibrated(), c.calibrated) << c.name;
        EXPECT_EQ(flow.m_testComponentEnabled, c.calibrated) << c.name;
        EXPECT_FALSE(flow.m_calibrating) << c.name;
        EXPECT_EQ(w.active->GetDataSetCount(), 1 + static_cast<int>(c.roles.size())) << c.name;
    }
}

TEST_F(WorkflowTest, ErrorsAndPendingStates)
{
    workspace.display = false;
    workflow.OnCalibrate();
    workflow.OnTestComponent();
    workspace.display = true;
    workflow.OnTestComponent();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"message: Please create a document first",
                                                 "message: Please create a document first",
                                                 "message: Please calibrate first!"}));
    EXPECT_EQ(prompter.shown[2].caption, "Error");
    EXPECT_FALSE(analyzer.SweepPending());

    // A bus or analyzer error shows its text and leaves the calibration pending with its set.
    prompter.shown.clear();
    workflow.OnCalibrate();
    analyzer.FinishSweep(1);
    EXPECT_TRUE(workflow.m_calibrating);
    EXPECT_EQ(workflow.m_calibrationStep, 1);
    workflow.OnCalibrate();
    analyzer.FinishSweep(2);
    EXPECT_EQ(Shown().at(1), "message: GPIB error");
    EXPECT_EQ(Shown().at(3), "message: Analyzer error");
    EXPECT_EQ(Doc().GetDataSetCount(), 2);

    // A sweep that ends without a new set (its display went away) renames nothing.
    CTalDocument& doc = Doc();
    workflow.OnCalibrate();
    const size_t before = prompter.shown.size();
    analyzer.FinishSweep(0, false);
    EXPECT_EQ(prompter.shown.size(), before);
    EXPECT_EQ(doc.GetDataSetName(1), "");
    EXPECT_EQ(doc.GetCalibrationRole(1), 0);
}

TEST_F(WorkflowTest, CalibrationIsFoundByRole)
{
    Calibrate();
    Doc().SetDataSetName(0, "renamed");
    EXPECT_TRUE(workflow.IsCalibrated());
    Doc().SetCalibrationRole(1, 0);
    EXPECT_FALSE(workflow.IsCalibrated());
    workflow.OnTestComponent();
    EXPECT_EQ(Shown().back(), "message: Please calibrate first!");

    // A new calibration deletes only the sets that still carry their roles.
    Doc().SetCalibrationRole(1, 2);
    Doc().SetCalibrationRole(0, 0);
    prompter.threeButtonAnswers = {3};
    workflow.OnCalibrate();
    EXPECT_EQ(Roles(), (std::vector<int>{0}));
    analyzer.FinishSweep();
    EXPECT_EQ(Roles(), (std::vector<int>{0}));
}

TEST_F(WorkflowTest, ChannelPairsSetTheNodeDefaultsAndStartEmptyDocuments)
{
    EXPECT_EQ(workflow.ApplyChannelPair(1), 1);
    EXPECT_EQ(appData().defaultInputNode, 2);
    EXPECT_EQ(appData().defaultOutputNode, 3);
    EXPECT_EQ(appData().channelPair, 1);
    EXPECT_EQ(analyzer.calls, (std::vector<std::string>{"ratio 1", "input range 0"}));
    EXPECT_EQ(workspace.log, (std::vector<std::string>{"open", "close", "open"}));
    EXPECT_STREQ(ChannelPairInfo(2).ratioEntry, "CH4/CH3");

    // A document with unsaved measurements is left open beside the new one.
    Calibrate();
    CTalDocument* measured = workspace.active;
    workflow.ApplyChannelPair(2);
    EXPECT_EQ(workspace.documents.size(), 2u);
    EXPECT_NE(workspace.active, measured);
    EXPECT_EQ(Doc().GetDataSetCount(), 0);
    EXPECT_FALSE(workflow.m_testComponentEnabled);
    EXPECT_EQ(appData().defaultInputNode, 3);

    // Three channels: "3/4" is refused and "1/2" applied.
    ScriptedPrompter p;
    FakeWorkspace w;
    FakeAnalyzer a{w};
    MeasurementWorkflow three{{RLC2600, 3, {0.01, 4e7}}, a, w, p};
    EXPECT_EQ(three.ApplyChannelPair(2), 0);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].text, "Not allowed on 3 channel analyzer");
    EXPECT_EQ(p.shown[0].caption, "RLC");
    EXPECT_EQ(appData().defaultOutputNode, 2);

    // Page start picks the pair of the default nodes, or 1/2 on a two-channel analyzer.
    appData().defaultInputNode = 3;
    appData().defaultOutputNode = 4;
    MeasurementWorkflow four{{RLC2600, 4, {0.01, 4e7}}, a, w, p};
    four.StartPage(1, 1000, false);
    EXPECT_EQ(four.m_channelPair, 2);
    MeasurementWorkflow two{{RLC2600, 2, {0.01, 4e7}}, a, w, p};
    two.StartPage(1, 1000, false);
    EXPECT_EQ(two.m_channelPair, 0);
    EXPECT_EQ(ChannelPairForNodes(2, 3), 1);
    EXPECT_EQ(ChannelPairForNodes(2, 1), 0);
}

TEST_F(WorkflowTest, InputRangeAndInputTypeGoOnlyToTheirFamilies)
{
    const std::pair<int, std::vector<std::string>> cases[] = {
        {RLC2600, {"ratio 0", "input range 2"}},
        {RLC1370, {"ratio 0", "input range 2"}},
        {RLC1960, {"ratio 0"}},
        {RLC1852, {"ratio 0", "input type 1", "max?", "sweep"}},
    };
    for (const auto& [type, calls] : cases) {
        ScriptedPrompter p;
        FakeWorkspace w;
        FakeAnalyzer a{w};
        MeasurementWorkflow flow{{type, 4, {0.01, 4e7}}, a, w, p};
        flow.m_inputRange = 2;
        flow.ApplyChannelPair(0);
        if (Is1800Series(type))
            flow.OnCalibrate();
        EXPECT_EQ(a.calls, calls) << type;
    }
}

TEST_F(WorkflowTest, SavedCalibrationLoadsIntoANewDocument)
{
    workflow.ApplyChannelPair(1);
    Calibrate();
    const fs::path file = dir / "fixture.cal";
    prompter.fileAnswers = {file.string()};
    ASSERT_TRUE(workflow.SaveCalibration());
    ASSERT_TRUE(fs::exists(file));

    ScriptedPrompter p;
    FakeWorkspace w;
    FakeAnalyzer a{w};
    a.maxAcVolts = 7;
    appData().channelPair = 0;
    appData().defaultInputNode = 1;
    MeasurementWorkflow loader{setup, a, w, p};
    p.fileAnswers = {file.string()};
    ASSERT_TRUE(loader.LoadCalibration());
    EXPECT_TRUE(loader.IsCalibrated());
    EXPECT_TRUE(loader.m_testComponentEnabled);
    EXPECT_FALSE(loader.m_calibrationLoaded);
    EXPECT_FALSE(loader.m_peakVoltageEnabled);
    EXPECT_EQ(loader.m_savedMaxAcVolts, 7);
    EXPECT_EQ(loader.m_channelPair, 1);  // from the file's open-circuit set
    EXPECT_EQ(appData().defaultInputNode, 2);
    ASSERT_EQ(w.documents.size(), 2u);  // the page's first document and the loaded one
    CTalDocument& loaded = *w.active;
    ASSERT_EQ(loaded.GetDataSetCount(), 2);
    EXPECT_EQ(loaded.GetDataSetName(0), "Open circuit");
    EXPECT_EQ(loaded.GetCalibrationRole(1), 2);
    EXPECT_EQ(loaded.GetPointCount(0), Doc().GetPointCount(0));
    EXPECT_DOUBLE_EQ(loaded.GetGain(0, 3), Doc().GetGain(0, 3));
    EXPECT_EQ(loaded.GetScaleFactor(1), -100);
    EXPECT_TRUE(p.shown.size() == 1 && p.shown[0].kind == "open");

    // Measuring against the loaded calibration works as after "Calibrate".
    a.frequencies = analyzer.frequencies;
    a.fixture = analyzer.fixture;
    a.fixture.state = Fixture::Component;
    p.textAnswers = {"X"};
    loader.OnTestComponent();
    a.FinishSweep();
    EXPECT_EQ(loaded.GetDataSetName(4), "X(w/o parasitics)");
}

TEST_F(WorkflowTest, LoadAndSaveFailures)
{
    const auto load = [&](const MeasurementSetup& s, const std::string& path) {
        ScriptedPrompter p;
        FakeWorkspace w;
        FakeAnalyzer a{w};
        MeasurementWorkflow flow{s, a, w, p};
        p.fileAnswers = {path};
        const bool ok = flow.LoadCalibration();
        EXPECT_EQ(flow.IsCalibrated(), ok);
        EXPECT_EQ(flow.m_testComponentEnabled, ok);
        EXPECT_FALSE(flow.m_calibrationLoaded);  // never left set to spoil the next pair choice
        std::string last = p.shown.empty() ? "" : p.shown.back().text;
        return std::make_pair(ok, last + (w.active->GetDataSetCount() == 0 ? "" : " (not empty)"));
    };

    // A document without roles 1 and 2.
    CTalDocument plain;
    plain.AddDataSet(CurveSet({10, 100}, [](double) { return Complex(1, 0); }));
    std::string error;
    ASSERT_TRUE(plain.SaveToFile((dir / "plain.tal").string(), error));
    EXPECT_EQ(load(setup, (dir / "plain.tal").string()), std::make_pair(false, std::string("Error reading the file")));

    // A calibration up to 30 MHz on an analyzer that stops at 2.2 MHz.
    CTalDocument wide;
    for (int role : {1, 2}) {
        auto set = CurveSet({1000, 3e7}, [](double) { return Complex(1, 0); });
        set->m_calibrationRole = role;
        wide.AddDataSet(std::move(set));
    }
    ASSERT_TRUE(wide.SaveToFile((dir / "wide.cal").string(), error));
    EXPECT_EQ(load({RLC1960, 2, *AnalyzerFrequencyLimits(RLC1960)}, (dir / "wide.cal").string()),
              std::make_pair(false, std::string("The frequency range in this file is incompatible with the analyzer")));
    EXPECT_TRUE(load(setup, (dir / "wide.cal").string()).first);

    std::ofstream(dir / "junk.cal") << "not a document";
    EXPECT_EQ(load(setup, (dir / "junk.cal").string()), std::make_pair(false, std::string("Unexpected file format.")));
    EXPECT_EQ(load(setup, (dir / "missing.cal").string()).first, false);

    // Saving needs a calibration, and a failed save is reported.
    EXPECT_FALSE(workflow.SaveCalibration());
    EXPECT_EQ(Shown().back(), "message: Please calibrate first!");
    Calibrate();
    prompter.fileAnswers = {(dir / "no" / "such" / "dir.cal").string()};
    EXPECT_FALSE(workflow.SaveCalibration());
    EXPECT_EQ(Shown().back(), "message: Failed to save document.");
}

TEST_F(WorkflowTest, FrequencyValidation)
{
    struct Case {
        double start, stop;
        bool single;
        const char* status;
        double startAfter, stopAfter;
        const char* range;  // the analyzer call, "" for none
    };
    const Case cases[] = {
        {1, 1000, false, "", 1, 1000, "range 1 1000"},
        {0, 1000, false, "Invalid start frequency value", 1, 1000, ""},
        {1e9, 1000, false, "Start frequency out of range", 4e7, 1000, ""},
        {0.001, 1000, false, "Start frequency out of range", 0.01, 1000, ""},
        {1, 0, false, "Invalid stop frequency value", 1, 1000, ""},
        {10, 5e7, false, "Stop frequency out of range", 10, 4e7, ""},
        {1000, 5, true, "", 1000, 1000, "range 1000 1000"},
    };
    for (const Case& c : cases) {
        ScriptedPrompter p;
        FakeWorkspace w;
        FakeAnalyzer a{w};
        MeasurementWorkflow flow{setup, a, w, p};
        const FrequencyCheck check = flow.ValidateFrequencies(c.start, c.stop, c.single);
        EXPECT_EQ(check.status, c.status) << c.start << " " << c.stop;
        EXPECT_EQ(check.beep, *c.status != 0) << c.start;
        EXPECT_EQ(flow.m_startFrequency, c.startAfter) << c.start;
        EXPECT_EQ(flow.m_stopFrequency, c.stopAfter) << c.start;
        EXPECT_EQ(check.startShown, c.startAfter) << c.start;
        EXPECT_EQ(check.rangeSet, *c.range != 0) << c.start;
        EXPECT_EQ(a.calls, *c.range ? std::vector<std::string>{c.range} : std::vector<std::string>{});
    }
}

TEST(MeasurementLimits, ClampsAndAnalyzerLimits)
{
    EXPECT_EQ(ClampAcVoltage(20), 10);
    EXPECT_EQ(ClampAcVoltage(0.001), 0.01);
    EXPECT_EQ(ClampDcVoltage(-15), -9.99);
    EXPECT_EQ(ClampDcVoltage(3), 3);
    EXPECT_EQ(ClampPhaseLimit(0), 1);
    EXPECT_EQ(ClampPhaseLimit(200), 180);

    const std::tuple<int, double, double> limits[] = {
        {RLC880, 1e-5, 2.2e6},  {RLC1960, 0.01, 2.2e6}, {RLC1842, 0.01, 1.5e7}, {RLC1852, 0.01, 2.5e7},
        {RLC1862, 0.01, 3.5e7}, {RLC2600, 0.01, 4e7},   {RLC1370, 1, 4e7},
    };
    for (const auto& [type, lo, hi] : limits) {
        const auto l = AnalyzerFrequencyLimits(type);
        ASSERT_TRUE(l) << type;
        EXPECT_EQ(l->lowest, lo);
        EXPECT_EQ(l->highest, hi);
    }
    EXPECT_FALSE(AnalyzerFrequencyLimits(3));
}

}  // namespace

// Selection, keys, commands, description windows and sweep readings on real displays.
#include <QTest>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "analyzer/target/SweepSource.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "views/base/GraphTextDlg.h"
#include "views/base/ViewHooks.h"
#include "views/base/ViewSelection.h"
#include "views/command/CommandIds.h"
#include "views/gain/TalViewGain.h"

using namespace viewtest;

namespace {

constexpr int kSets = 6;

// Six flat gain curves at -30, -20, ... 20 dB from 10 Hz to 100 kHz, on a 1000 x 1000 display.
struct ViewFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewGain> view;

    void SetUp() override
    {
        SetPrompter(&prompts);
        for (int k = 0; k < kSets; ++k)
            doc.AddDataSet(MakeGainSet({{10, k * 10.0 - 30, 0}, {1e5, k * 10.0 - 30, 0}}));
        view = std::make_unique<CTalViewGain>(&doc, nullptr);
        view->Fields().displayMode = "Gain Only";
        view->resize(1000, 1000);
        view->OnInitialUpdate();
        Deselect();
        Draw();
    }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
        SetDataSetPropertiesHook(nullptr);
    }
    void Draw() { view->RenderPicture(); }
    void Deselect()
    {
        for (GraphAttrib& a : view->Fields().attribs)
            a.selected = false;
    }
    QPoint On(int set) const
    {
        return QPoint(500, view->GainRenderer().YGain(set * 10.0 - 30));
    }
    void Click(int set, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(view.get(), Qt::LeftButton, modifiers, set < 0 ? QPoint(500, 900) : On(set));
    }
    std::vector<int> Selected() const
    {
        std::vector<int> out;
        for (int i = 0; i < int(view->Fields().attribs.size()); ++i)
            if (view->Fields().attribs[i].selected)
                out.push_back(i);
        return out;
    }
    void Select(std::initializer_list<int> sets)
    {
        Deselect();
        for (int i : sets)
            view->Fields().attribs[i].selected = true;
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), Qt::Key(key), modifiers);
    }
};

TEST_F(ViewFixture, MouseSelectionTable)
{
    struct Case {
        std::vector<int> before;
        int hit;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{2, 3}, 5, Qt::ShiftModifier, {2, 3, 4, 5}},
        {{}, 5, Qt::ShiftModifier, {5}},
        {{4}, 1, Qt::ShiftModifier, {1, 2, 3, 4}},
        {{2}, 2, Qt::ControlModifier, {}},
        {{2}, 4, Qt::ControlModifier, {2, 4}},
        {{1, 2}, 3, Qt::NoModifier, {3}},
        {{1, 2}, -1, Qt::NoModifier, {}},
        {{1, 2}, -1, Qt::ControlModifier, {1, 2}},
    };
    for (const Case& c : cases) {
        Deselect();
        for (int i : c.before)
            view->Fields().attribs[i].selected = true;
        Click(c.hit, c.modifiers);
        EXPECT_EQ(Selected(), c.after) << "hit " << c.hit;
    }
}

TEST_F(ViewFixture, CurrentDataSetFallsBackToTheLowestVisible)
{
    view->Fields().attribs[0].visible = false;
    Select({3});
    Click(3);
    EXPECT_EQ(view->GetCurrentDataSet(), 3);
    Click(3, Qt::ControlModifier);
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(view->GetCurrentDataSet(), 1);
    EXPECT_EQ(view->Fields().legend.colors.size(), 2u);
}

TEST_F(ViewFixture, ShiftClickNeverSelectsHiddenData)
{
    view->Fields().attribs[3].visible = false;
    Select({1});
    Click(5, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 4, 5}));
}

TEST_F(ViewFixture, DeleteAsksOnlyWithASelection)
{
    view->OnCommand(cmd::EditDelete);
    EXPECT_TRUE(prompts.shown.empty());
    Select({1, 4});
    prompts.threeButtonAnswers = {3, 2, 1};
    view->OnCommand(cmd::EditDelete);  // Cancel
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].caption, "Delete Data");
    EXPECT_EQ(doc.GetDataSetCount(), kSets);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 4}));
    view->OnCommand(cmd::EditDelete);  // Hide
    EXPECT_EQ(doc.GetDataSetCount(), kSets);
    EXPECT_FALSE(view->Fields().attribs[1].visible);
    Select({2, 5});
    view->OnCommand(cmd::EditDelete);  // Delete
    ASSERT_EQ(doc.GetDataSetCount(), kSets - 2);
    EXPECT_EQ(view->Fields().attribs.size(), size_t(kSets - 2));
    EXPECT_EQ(doc.GetDataSetNumber(2), 4);
}

TEST_F(ViewFixture, HideThenShowAllLeavesTheFormerlyHiddenSelected)
{
    Select({1, 2});
    view->OnCommand(cmd::Hide);
    EXPECT_TRUE(Selected().empty());
    EXPECT_FALSE(view->Fields().attribs[1].visible);
    EXPECT_TRUE(view->Fields().attribs[1].hit.IsEmpty());
    Select({4});
    view->OnCommand(cmd::ShowAll);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(view->Fields().attribs[1].visible);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(ViewFixture, KeyTable)
{
    struct Case {
        std::vector<int> before;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::vector<int> after;
    };
    const Case cases[] = {
        {{2}, Qt::Key_Down, Qt::NoModifier, {3}},
        {{2, 4}, Qt::Key_Up, Qt::NoModifier, {1}},
        {{0}, Qt::Key_Up, Qt::NoModifier, {5}},
        {{5}, Qt::Key_Down, Qt::NoModifier, {0}},
        {{2}, Qt::Key_End, Qt::NoModifier, {2, 5}},
        {{2}, Qt::Key_Home, Qt::NoModifier, {0, 2}},
        {{2}, Qt::Key_A, Qt::ControlModifier, {0, 1, 2, 3, 4, 5}},
        {{2}, Qt::Key_A, Qt::NoModifier, {2}},
    };
    for (const Case& c : cases) {
        Deselect();
        for (int i : c.before)
            view->Fields().attribs[i].selected = true;
        Key(c.key, c.modifiers);
        EXPECT_EQ(Selected(), c.after) << "key " << c.key;
    }
    Select({3});
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_FALSE(view->Fields().attribs[3].visible);
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_TRUE(view->Fields().attribs[3].visible);
    EXPECT_TRUE(prompts.shown.empty());
    Key(Qt::Key_Delete);
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(ViewFixture, AnalyzerDialogTakesUpAndDownFirst)
{
    int forwarded = 0;
    SetAnalyzerKeyHook([&forwarded](int) { return ++forwarded > 0; });
    Select({2});
    Key(Qt::Key_Down);
    Key(Qt::Key_PageUp);
    SetAnalyzerKeyHook(nullptr);
    EXPECT_EQ(forwarded, 2);
    EXPECT_EQ(Selected(), (std::vector<int>{2}));
}

TEST_F(ViewFixture, DoubleClickOpensTheRightDialog)
{
    std::vector<std::pair<int, int>> calls;
    SetDataSetPropertiesHook([&calls](CTalView&, int index, int kind) { calls.push_back({index, kind}); });
    Select({1});
    QTest::mouseDClick(view.get(), Qt::LeftButton, Qt::NoModifier, On(4));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_pair(4, 2));
    EXPECT_EQ(Selected(), std::vector<int>{4});
}

TEST_F(ViewFixture, CommandEnablingAndChecks)
{
    CommandUi ui;
    ASSERT_TRUE(view->OnUpdateCommand(cmd::Hide, ui));
    EXPECT_FALSE(ui.enabled);
    ASSERT_TRUE(view->OnUpdateCommand(cmd::EditCopy, ui));
    EXPECT_FALSE(ui.enabled);
    Select({2});
    view->OnUpdateCommand(cmd::EditCopy, ui);
    EXPECT_TRUE(ui.enabled);
    view->OnUpdateCommand(cmd::Hide, ui);
    EXPECT_TRUE(ui.enabled);
    Select({2, 3});
    view->OnUpdateCommand(cmd::ExportMatlab, ui);
    EXPECT_FALSE(ui.enabled);
    view->OnUpdateCommand(cmd::ToggleDataNumbers, ui);
    EXPECT_TRUE(ui.checked);
    view->OnCommand(cmd::ToggleDataNumbers);
    view->OnUpdateCommand(cmd::ToggleDataNumbers, ui);
    EXPECT_FALSE(ui.checked);
    view->OnUpdateCommand(cmd::ToggleLegend, ui);
    EXPECT_TRUE(ui.enabled);
    EXPECT_FALSE(ui.checked);
    EXPECT_FALSE(view->OnUpdateCommand(cmd::AppExit, ui));
    EXPECT_FALSE(view->OnCommand(cmd::AppExit));
}

TEST_F(ViewFixture, ShowDataDescriptionOpensFocusesAndCloses)
{
    Select({1});
    view->OnCommand(cmd::ShowDataDescription);
    CGraphTextDlg* first = view->DescriptionWindow(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Title(), QStringLiteral("2  Description:"));
    EXPECT_EQ(first->pos(), QPoint(30, 30));
    view->OnCommand(cmd::ShowDataDescription);  // a single open window only comes to the front
    EXPECT_EQ(view->DescriptionWindow(1), first);
    Select({1, 3});
    view->OnCommand(cmd::ShowDataDescription);
    ASSERT_NE(view->DescriptionWindow(3), nullptr);
    view->OnCommand(cmd::ShowDataDescription);  // both open: both close
    EXPECT_EQ(view->DescriptionWindow(1), nullptr);
    EXPECT_EQ(view->DescriptionWindow(3), nullptr);
}

TEST_F(ViewFixture, DescriptionWindowEditsTheDataSet)
{
    Select({2});
    view->OnShowDataDescription();
    CGraphTextDlg* window = view->DescriptionWindow(2);
    ASSERT_NE(window, nullptr);
    window->SetText("Filter A\r\nRun 2");
    emit window->textEdited(window);
    EXPECT_EQ(doc.GetDataSetDescription(2), "Filter A\r\nRun 2");
    doc.SetDataSetDescription(2, "changed");
    EXPECT_EQ(window->Text(), "changed");
    // Deleting an earlier data set moves the window with its data set.
    Select({0});
    prompts.threeButtonAnswers = {1};
    view->OnDelete();
    EXPECT_EQ(view->DescriptionWindow(1), window);
}

// A sweep source standing in for an analyzer dialog.
struct FakeSource : SweepSource {
    analyzer::Reading reading;
    QObject object;
    const analyzer::Reading& CurrentReading() const override { return reading; }
    analyzer::ChannelPair ChannelChoice() const override { return {3, 1}; }
    std::string AcquisitionLine() const override { return "Data gathered by the 3xxx/2xxx System\r\n"; }
    void StoreParametersAndHide() override {}
    QObject* SourceObject() override { return &object; }
    void Read(double f, double gain)
    {
        reading.frequency = f;
        reading.amplitude = {1.0, gain, 1.0, 1.0};
        reading.phase = {0, 0, 0, 0};
    }
};

TEST_F(ViewFixture, ReadingsAppendWithABandRedrawUnlessScalingAutomatically)
{
    FakeSource source;
    SweepTarget& target = view->GetSweepTarget();
    target.OnNewSweep(source);
    EXPECT_TRUE(Selected().empty());
    source.Read(100, 2);
    target.OnNewReading(source);
    ASSERT_EQ(doc.GetDataSetCount(), kSets + 1);
    EXPECT_EQ(view->Fields().attribs.size(), size_t(kSets + 1));
    Draw();
    ASSERT_EQ(view->Fields().cacheValid, 1);
    source.Read(200, 3);
    target.OnNewReading(source);
    EXPECT_EQ(view->Fields().cacheValid, 1) << "a band redraw keeps the cached values";
    Draw();
    EXPECT_EQ(doc.GetPointCount(kSets), 2);
    view->Fields().automaticScaling = 1;
    source.Read(400, 4);
    target.OnNewReading(source);
    EXPECT_EQ(view->Fields().cacheValid, 0);
    EXPECT_DOUBLE_EQ(view->Fields().frequencyMin, 10);
    target.OnAcquisitionEnded(source);
    EXPECT_EQ(view->DataSetDefaults().outputNode, 3);
    EXPECT_FALSE(doc.IsAcquiring());
}

TEST_F(ViewFixture, AddRandomDataTakesTheDisplayDefaults)
{
    view->DataSetDefaults().scaleFactor = 2.5;
    view->OnCommand(cmd::AddRandomData);
    ASSERT_EQ(doc.GetDataSetCount(), kSets + 1);
    EXPECT_DOUBLE_EQ(doc.GetScaleFactor(kSets), 2.5);
    EXPECT_TRUE(view->Fields().attribs[kSets].selected);
}

}  // namespace

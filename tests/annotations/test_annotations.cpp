// Text boxes, the title and the legend on a real gain display: hit zones, dragging and
// resizing, the box commands and popup, in-place editing with its popup, and what a saved
// document keeps of them.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "data/ScriptedPrompter.h"
#include "views/annotations/FontChooser.h"
#include "views/annotations/GraphAnnotations.h"
#include "views/command/CommandIds.h"
#include "views/dialogs/DisplayDialogHooks.h"
#include "views/gain/TalViewGain.h"

using namespace viewtest;

namespace {

TEST(HitZones, ZonesOfAPoint)
{
    StoredViewObj box;
    box.rect = {100, 100, 400, 300};
    struct Case {
        int x, y;
        HitZone zone;
    };
    const Case cases[] = {
        {105, 105, HitZone::TopLeft},    {130, 130, HitZone::Interior}, {250, 105, HitZone::Top},
        {395, 105, HitZone::TopRight},   {105, 200, HitZone::Left},     {395, 200, HitZone::Right},
        {105, 295, HitZone::BottomLeft}, {250, 295, HitZone::Bottom},   {395, 295, HitZone::BottomRight},
        {119, 200, HitZone::Left},       {120, 200, HitZone::Interior}, {250, 281, HitZone::Bottom},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HitZoneAt(box, c.x, c.y), c.zone) << c.x << "," << c.y;
    box.resizable = 0;
    EXPECT_EQ(HitZoneAt(box, 105, 105), HitZone::Interior);
    box.movable = 0;
    EXPECT_EQ(HitZoneAt(box, 130, 130), HitZone::None);
    EXPECT_EQ(CursorForZone(HitZone::TopLeft), Qt::SizeFDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::TopRight), Qt::SizeBDiagCursor);
    EXPECT_EQ(CursorForZone(HitZone::Top), Qt::SizeVerCursor);
    EXPECT_EQ(CursorForZone(HitZone::Left), Qt::SizeHorCursor);
    EXPECT_EQ(CursorForZone(HitZone::Interior), Qt::SizeAllCursor);
}

// A gain display of 1000 x 1000 pixels (one pixel per logical unit) with one data set; the
// graph rectangle is (60, 60, 940, 940).
struct AnnotationFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewGain> view;

    void SetUp() override
    {
        SetPrompter(&prompts);
        doc.AddDataSet(MakeGainSet({{10, -20, 0}, {1e5, 0, -90}}));
        view = std::make_unique<CTalViewGain>(&doc, nullptr);
        view->resize(1000, 1000);
        view->OnInitialUpdate();
        view->RenderPicture();
        doc.SetModifiedFlag(false);
    }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
        SetFontChooserHook(nullptr);
    }
    CGraphAnnotations& Boxes() { return view->Annotations(); }
    std::vector<StoredTextBox>& Records() { return view->Fields().descriptions; }
    CGraphDescObj* Box(int i) { return Boxes().Descriptions().At(i); }
    void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(view.get(), b, {}, p); }
    void Move(QPoint p) { QTest::mouseMove(view.get(), p); }
    void Release(QPoint p) { QTest::mouseRelease(view.get(), Qt::LeftButton, {}, p); }
    void Drag(QPoint from, QPoint to)
    {
        Press(from);
        Move(to);
        Release(to);
    }
    bool Enabled(int id)
    {
        CommandUi ui;
        view->OnUpdateCommand(id, ui);
        return ui.enabled;
    }
    static QAction* Find(QMenu* menu, const QString& text)
    {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
            if (action->menu())
                if (QAction* inner = Find(action->menu(), text))
                    return inner;
        }
        return nullptr;
    }
};

TEST_F(AnnotationFixture, AddGraphDescriptionPlacementAndText)
{
    EXPECT_TRUE(Enabled(cmd::AddGraphDescription));
    view->OnCommand(cmd::AddGraphDescription);
    ASSERT_EQ(Records().size(), 1u);
    // 300 x 150 centred at (60 + 880 * 3/4, 60 + 880/4) = (720, 280).
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{570, 205, 870, 355}));
    EXPECT_EQ(Records()[0].text, "double-click to insert text");
    EXPECT_TRUE(Records()[0].obj.movable);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_NE(Box(0), nullptr);
    EXPECT_FALSE(Box(0)->IsSelected());
}

TEST_F(AnnotationFixture, DragMovesAndResizesBoxes)
{
    view->OnCommand(cmd::AddGraphDescription);
    doc.SetModifiedFlag(false);
    // 30 units inside the top-left corner: a move keeping the grab offset.
    Drag({600, 235}, {400, 435});
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{370, 405, 670, 555}));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(Box(0)->IsSelected());
    EXPECT_FALSE(Box(0)->IsDragging());
    // 5 units inside the top-left corner: that corner follows the mouse.
    Drag({375, 410}, {300, 350});
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{300, 350, 670, 555}));
    // Bottom edge past the top: the box keeps room for both grips.
    Drag({500, 552}, {500, 100});
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{300, 350, 670, 392}));
    // Dragged far out of the display, it stays within it.
    Drag({500, 370}, {2000, 2000});
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{630, 958, 1000, 1000}));
    // A press that takes a box deselects the data sets; a press elsewhere deselects the box.
    EXPECT_FALSE(view->Fields().attribs[0].selected);
    Press({100, 900});
    Release({100, 900});
    EXPECT_FALSE(Box(0)->IsSelected());
}

TEST_F(AnnotationFixture, HiddenBoxIgnoresClicks)
{
    view->OnCommand(cmd::AddGraphDescription);
    Records()[0].obj.shown = 0;
    view->Fields().attribs[0].selected = true;
    doc.SetModifiedFlag(false);
    Drag({600, 235}, {400, 435});
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{570, 205, 870, 355}));
    EXPECT_FALSE(Box(0)->IsSelected());
    // The press went on to the data sets: a press on nothing deselects them.
    EXPECT_FALSE(view->Fields().attribs[0].selected);
}

TEST_F(AnnotationFixture, LegendAndTitleTakePressesInTheirTurn)
{
    view->OnCommand(cmd::ToggleLegend);
    view->OnCommand(cmd::ToggleTitle);
    view->Fields().attribs[0].selected = true;
    // The legend at the graph's top-left corner moves; the data sets stay selected.
    EXPECT_EQ(view->Fields().legend.obj.rect, (StoredRect{60, 60, 360, 210}));
    Drag({200, 130}, {250, 180});
    EXPECT_EQ(view->Fields().legend.obj.rect, (StoredRect{110, 110, 410, 260}));
    EXPECT_TRUE(Boxes().Legend().IsSelected());
    EXPECT_TRUE(view->Fields().attribs[0].selected);
    // The title is selected but not moved; the data sets and the legend are deselected.
    const StoredRect title = view->Fields().title.obj.rect;
    Drag({500, 30}, {500, 300});
    EXPECT_EQ(view->Fields().title.obj.rect, title);
    EXPECT_TRUE(Boxes().Title()->IsSelected());
    EXPECT_FALSE(Boxes().Legend().IsSelected());
    EXPECT_FALSE(view->Fields().attribs[0].selected);
}

TEST_F(AnnotationFixture, RemoveTheOnlyBoxStoresAnEmptyList)
{
    view->OnCommand(cmd::AddGraphDescription);
    Press({700, 280});
    Release({700, 280});
    doc.SetModifiedFlag(false);
    view->OnCommand(cmd::PopupRemove);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Boxes().Descriptions().GetSize(), 0);
    EXPECT_TRUE(doc.IsModified());
    DisplayState state;
    view->StoreDisplayState(state);
    EXPECT_TRUE(state.descriptions.empty());
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(bytes, error)) << error;
    CTalDocument loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, error)) << error;
    EXPECT_TRUE(loaded.m_displayState.descriptions.empty());
}

TEST_F(AnnotationFixture, HideDeletesSelectedBoxes)
{
    view->OnCommand(cmd::AddGraphDescription);
    view->OnCommand(cmd::AddGraphDescription);
    Records()[1].obj.rect = {100, 500, 400, 650};
    Box(1)->SetSelected(true);
    view->Fields().attribs[0].selected = true;
    view->OnCommand(cmd::Hide);
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0].obj.rect, (StoredRect{570, 205, 870, 355}));
}

TEST_F(AnnotationFixture, TitleToggleAndPopup)
{
    EXPECT_FALSE(Boxes().TitleShown());
    QMenu* menu = Boxes().BuildPopup();
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Remove", "Select Font", "Justify...", "", "Show Title"}));
    ASSERT_NE(Find(menu, "Justify Center"), nullptr);
    Find(menu, "Show Title")->trigger();
    delete menu;
    // Created over the graph's width from the window top to the graph top, not movable.
    ASSERT_TRUE(view->Fields().titlePresent);
    const StoredTextBox& title = view->Fields().title;
    EXPECT_EQ(title.obj.rect, (StoredRect{60, 0, 940, 60}));
    EXPECT_EQ(title.obj.movable, 0);
    EXPECT_EQ(title.obj.fourthFlag, 0);
    EXPECT_TRUE(doc.IsModified());
    menu = Boxes().BuildPopup();
    EXPECT_NE(Find(menu, "Hide Title"), nullptr);
    delete menu;
    // Remove with the title selected hides it; toggling shows it again.
    Press({500, 30});
    Release({500, 30});
    view->OnCommand(cmd::PopupRemove);
    EXPECT_FALSE(Boxes().TitleShown());
    EXPECT_TRUE(view->Fields().titlePresent);
    view->OnCommand(cmd::ToggleTitle);
    EXPECT_TRUE(Boxes().TitleShown());
    // The settings dialog's check box toggles it.
    CGraphSettingsDlg::Values v = GraphSettingsValues(*view);
    EXPECT_TRUE(v.title);
    v.title = false;
    ApplyGraphSettings(*view, v);
    EXPECT_FALSE(Boxes().TitleShown());
    EXPECT_FALSE(GraphSettingsValues(*view).title);
}

TEST_F(AnnotationFixture, LegendToggleCheckMark)
{
    CommandUi ui;
    ASSERT_TRUE(view->OnUpdateCommand(cmd::ToggleLegend, ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_FALSE(ui.checked);
    view->OnCommand(cmd::ToggleLegend);
    view->OnUpdateCommand(cmd::ToggleLegend, ui);
    EXPECT_TRUE(ui.checked);
    EXPECT_TRUE(doc.IsModified());
    view->OnCommand(cmd::ToggleLegend);
    view->OnUpdateCommand(cmd::ToggleLegend, ui);
    EXPECT_FALSE(ui.checked);
    CTalDocument empty;
    CTalViewGain other(&empty, nullptr);
    other.OnUpdateCommand(cmd::ToggleLegend, ui);
    EXPECT_FALSE(ui.enabled);
}

TEST_F(AnnotationFixture, TextEditedInPlaceSurvivesSaveAndLoad)
{
    view->OnCommand(cmd::AddGraphDescription);
    QTest::mouseDClick(view.get(), Qt::LeftButton, {}, QPoint(700, 280));
    CGraphDescObj* box = Box(0);
    ASSERT_TRUE(box->IsEditing());
    EXPECT_TRUE(box->IsSelected());
    EXPECT_TRUE(Enabled(cmd::EditCopy));
    CTalEdit* editor = box->Editor();
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(editor->isVisibleTo(view.get()));
    EXPECT_EQ(editor->geometry(), QRect(QPoint(570, 205), QPoint(870, 355)));
    // The placeholder is selected, so typing replaces it.
    QTest::keyClicks(editor, "Corner at 1 kHz");
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, "second line");
    // Kept in step while typing, so a save during editing holds the text.
    EXPECT_EQ(Records()[0].text, "Corner at 1 kHz\r\nsecond line");
    Press({100, 900});
    Release({100, 900});
    EXPECT_FALSE(box->IsEditing());
    EXPECT_FALSE(editor->isEnabled());
    EXPECT_FALSE(editor->isVisibleTo(view.get()));

    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(bytes, error)) << error;
    CTalDocument loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, error)) << error;
    CTalViewGain reopened(&loaded, nullptr);
    reopened.resize(1000, 1000);
    ASSERT_EQ(reopened.Fields().descriptions.size(), 1u);
    EXPECT_EQ(reopened.Fields().descriptions[0].text, "Corner at 1 kHz\r\nsecond line");
    EXPECT_EQ(reopened.Fields().descriptions[0].obj.rect, (StoredRect{570, 205, 870, 355}));
    ASSERT_NE(reopened.Annotations().Descriptions().At(0), nullptr);
    // A second display copies the boxes loaded from the file once.
    CTalViewGain second(&loaded, nullptr);
    EXPECT_EQ(second.Fields().descriptions, reopened.Fields().descriptions);
    EXPECT_EQ(reopened.Fields().loadedFromFile, 0);
}

TEST_F(AnnotationFixture, EditingEndsBeforeASaveAndOnDescriptionWindows)
{
    view->OnCommand(cmd::AddGraphDescription);
    Box(0)->BeginEditing();
    EXPECT_TRUE(view->CommitAnnotationEdit());
    EXPECT_FALSE(Box(0)->IsEditing());
    EXPECT_FALSE(view->CommitAnnotationEdit());
}

TEST_F(AnnotationFixture, EditPopupEnabling)
{
    view->OnCommand(cmd::AddGraphDescription);
    Box(0)->BeginEditing();
    CTalEdit* editor = Box(0)->Editor();
    editor->moveCursor(QTextCursor::End);
    QApplication::clipboard()->clear();
    const auto states = [&] {
        QMenu* menu = editor->BuildEditPopup();
        std::map<QString, bool> enabled;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                enabled[action->text()] = action->isEnabled();
        delete menu;
        return enabled;
    };
    std::map<QString, bool> s = states();
    EXPECT_EQ(s.size(), 6u);
    EXPECT_FALSE(s["&Undo"]);
    EXPECT_FALSE(s["Cu&t"]);
    EXPECT_FALSE(s["&Copy"]);
    EXPECT_FALSE(s["&Delete"]);
    EXPECT_FALSE(s["&Paste"]);
    EXPECT_TRUE(s["Select &All"]);
    QTest::keyClicks(editor, "!");
    editor->selectAll();
    QApplication::clipboard()->setText("pasted");
    s = states();
    EXPECT_TRUE(s["&Undo"]);
    EXPECT_TRUE(s["Cu&t"]);
    EXPECT_TRUE(s["&Copy"]);
    EXPECT_TRUE(s["&Delete"]);
    EXPECT_TRUE(s["&Paste"]);
}

TEST_F(AnnotationFixture, EditCommandsOnBoxes)
{
    view->OnCommand(cmd::AddGraphDescription);
    view->Fields().attribs[0].selected = true;
    view->Fields().attribs.push_back(GraphAttrib{});  // a second selected set: Copy disabled
    doc.AddDataSet(MakeGainSet({{10, -10, 0}, {1e5, 0, -90}}));
    EXPECT_FALSE(Enabled(cmd::EditCopy));
    // A selected box with no data set selected: Copy takes its text, Cut also removes it.
    Press({700, 280});
    Release({700, 280});
    EXPECT_TRUE(Enabled(cmd::EditCopy));
    EXPECT_TRUE(Enabled(cmd::EditCut));
    view->OnCommand(cmd::EditCopy);
    EXPECT_EQ(QApplication::clipboard()->text(), "double-click to insert text");
    // While editing, Select All, Copy and Paste act on the edited text.
    Box(0)->BeginEditing();
    CTalEdit* editor = Box(0)->Editor();
    editor->moveCursor(QTextCursor::End);
    view->OnCommand(cmd::EditSelectAll);
    EXPECT_EQ(editor->textCursor().selectedText(), "double-click to insert text");
    EXPECT_TRUE(view->Fields().attribs[0].selected == false && view->Fields().attribs[1].selected == false);
    QApplication::clipboard()->setText("Resonance");
    view->OnCommand(cmd::EditPaste);
    EXPECT_EQ(Records()[0].text, "Resonance");
    EXPECT_EQ(doc.GetDataSetCount(), 2);
    Box(0)->EndEditing();
    view->OnCommand(cmd::EditCut);
    EXPECT_EQ(QApplication::clipboard()->text(), "Resonance");
    EXPECT_TRUE(Records().empty());
}

TEST_F(AnnotationFixture, FontAndJustifyOfTheSelectedBox)
{
    view->OnCommand(cmd::AddGraphDescription);
    Press({700, 280});
    Release({700, 280});
    QFont offered;
    SetFontChooserHook([&](const QFont& initial, QWidget*) -> std::optional<QFont> {
        offered = initial;
        QFont chosen(QStringLiteral("Liberation Serif"));
        chosen.setPointSize(20);
        chosen.setItalic(true);
        return chosen;
    });
    doc.SetModifiedFlag(false);
    view->OnCommand(cmd::SelectFont);
    EXPECT_EQ(offered.pointSizeF(), 10);  // the label size of a square display
    EXPECT_EQ(Box(0)->Font().logicalHeight, 30);
    EXPECT_TRUE(Box(0)->Font().face.italic());
    EXPECT_FALSE(doc.IsModified());  // the font is not stored
    SetFontChooserHook([](const QFont&, QWidget*) { return std::optional<QFont>(); });
    view->OnCommand(cmd::SelectFont);
    EXPECT_EQ(Box(0)->Font().logicalHeight, 30);
    view->OnCommand(cmd::JustifyRight);
    EXPECT_EQ(Records()[0].textShort, annotations::kJustifyRight);
    EXPECT_TRUE(doc.IsModified());
    view->OnCommand(cmd::JustifyCenter);
    EXPECT_EQ(Records()[0].textShort, annotations::kJustifyCenter);
    EXPECT_EQ(annotations::AlignmentFor(0, false), Qt::AlignLeft);
    EXPECT_EQ(annotations::AlignmentFor(0, true), Qt::AlignHCenter);
}

TEST_F(AnnotationFixture, BoxesDrawnInOrderWithTheirText)
{
    view->OnCommand(cmd::ToggleLegend);
    view->OnCommand(cmd::AddGraphDescription);
    // A text box over the legend covers it: drawn after it.
    Records()[0].obj.rect = {60, 60, 360, 210};
    const QImage image = view->RenderPicture();
    EXPECT_EQ(image.pixel(150, 100), qRgb(255, 255, 255));  // no legend line sample under the box
    EXPECT_GT(CountInked(image, 62, 62, 358, 100), 20);     // the box's text
    EXPECT_EQ(CountInRect(image, 62, 62, 358, 208, Pixel(doc.GetGainColor(0))), 0);
}

}  // namespace

// Slide bars on the displays: placement, typed frequencies, dragging, the arrow keys, closing,
// the equivalent circuit, storing in documents, second displays and pictures with dialogs.
#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "data/EngineeringNotation.h"
#include "data/ScriptedPrompter.h"
#include "views/command/CommandIds.h"
#include "views/dialogs/EditComponent.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"
#include "views/nyq/TalViewNyq.h"
#include "views/slidebar/CircuitPicture.h"
#include "views/slidebar/SlideBarGainDlg.h"
#include "views/slidebar/SlideBarImpDlg.h"
#include "views/slidebar/SlideBarNyqDlg.h"
#include "views/slidebar/SlideBarReadout.h"
#include "views/slidebar/SlideBars.h"

using namespace viewtest;

namespace {

// A data set from 10 Hz to 100 kHz, one point per decade, gain falling 20 dB per decade.
std::unique_ptr<CDataSet> DecadeSet()
{
    return MakeGainSet({{10, 0, -10}, {100, -20, -20}, {1000, -40, -30}, {1e4, -60, -40}, {1e5, -80, -50}});
}

void TypeFrequency(CSlideBarDlg& dialog, const char* text)
{
    CEditComponent* edit = dialog.FrequencyEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

template <class View>
struct Display {
    std::unique_ptr<View> view;
    void Open(CTalDocument& doc, int width = 1000, int height = 800)
    {
        view = std::make_unique<View>(&doc, nullptr);
        view->resize(width, height);
        view->OnInitialUpdate();
        view->show();
    }
    CSlideBars& Bars() { return view->SlideBars(); }
    std::vector<SlideBarState>& State() { return view->Fields().slideBars; }
};

struct SlideBarFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    Display<CTalViewGain> gain;

    void SetUp() override { SetPrompter(&prompts); }
    void TearDown() override
    {
        gain.view.reset();
        SetPrompter(nullptr);
    }
    CSlideBarGainDlg& GainDialog(int index) { return *qobject_cast<CSlideBarGainDlg*>(gain.Bars().Dialog(index)); }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& shown : prompts.shown)
            texts.push_back(shown.text);
        return texts;
    }
};

TEST(SlideBarReadout, TextsAndValues)
{
    EXPECT_EQ(SlideBarValueText(9e99), "- - -");
    EXPECT_EQ(SlideBarValueText(1.5e3), FormatEngineering(1.5e3, 4));
    EXPECT_EQ(SlideBarSlopeText(-1.23456), "-1.23");
    EXPECT_EQ(SlideBarSlopeText(9e99), "- - -");
    EXPECT_EQ(SlideBarNyqPhaseText(-45.26), "-45.3");
    EXPECT_EQ(SlideBarNyqPhaseText(9e99), "- - -");

    CTalDocument doc;
    doc.AddDataSet(MakeImpedanceSet({{100, 1000, 30}, {1000, 1000, -150}}));
    doc.AddDataSet(MakeGainSet({{100, 1e-8, 400}, {1000, 1e-8, 400}}));
    // Phase flipped by 180 degrees towards zero.
    EXPECT_DOUBLE_EQ(SlideBarValueAt(doc, 0, 100, false), 30);
    EXPECT_DOUBLE_EQ(SlideBarValueAt(doc, 0, 100, true), -150);
    EXPECT_DOUBLE_EQ(SlideBarValueAt(doc, 0, 1000, true), 30);
    EXPECT_EQ(SlideBarValueAt(doc, 0, 5000, true), 9e99);
    EXPECT_EQ(SlideBarValueAt(doc, 7, 100, false), 9e99);
    // Near-zero gain reads 0 dB; the phase comes into the display's window.
    const GainReadout g = ReadGainAt(doc, 1, 300, -180, 180);
    EXPECT_EQ(g.gain, 0);
    EXPECT_DOUBLE_EQ(g.phase, 40);
    EXPECT_EQ(g.slope, 0);
    const NyqReadout n = ReadNyquistAt(doc, 0, 100, 30);
    EXPECT_NEAR(n.real, 1000 * std::cos(M_PI / 6), 1e-9);
    EXPECT_NEAR(n.imag, 500, 1e-9);
    EXPECT_EQ(ReadNyquistAt(doc, 0, 1e5, 30).real, 9e99);
}

TEST_F(SlideBarFixture, NewBarsStartAtAThirdOfTheAxisAndDouble)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    doc.SetModifiedFlag(false);
    for (int k = 0; k < 3; ++k)
        gain.view->OnCommand(cmd::AddSlideBar);
    ASSERT_EQ(gain.Bars().Count(), 3);
    const double expected[3] = {100, 200, 400};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(gain.State()[k].frequency, expected[k], 1e-9);
        EXPECT_EQ(gain.Bars().Dialog(k)->pos(), QPoint(20 * k, 20 * k));
        EXPECT_EQ(gain.Bars().Dialog(k)->Title(), QStringLiteral("1  Slide Bar:"));
        EXPECT_TRUE(gain.Bars().Dialog(k)->isVisible());
    }
    EXPECT_TRUE(doc.IsModified());
    // The dialog reads the set at 100 Hz: -20 dB, -20 degrees, slope -1.
    EXPECT_EQ(GainDialog(0).FrequencyEdit()->text(), QString::fromStdString(FormatEngineering(100, 4)));
    EXPECT_EQ(GainDialog(0).ValueText(CSlideBarGainDlg::GainRow).toStdString(), FormatEngineering(-20, 4));
    EXPECT_EQ(GainDialog(0).ValueText(CSlideBarGainDlg::SlopeRow), QStringLiteral("-1"));

    // Nothing selected: no bar.
    gain.view->DeselectAllDataSets();
    gain.view->OnCommand(cmd::AddSlideBar);
    EXPECT_EQ(gain.Bars().Count(), 3);
}

TEST_F(SlideBarFixture, TypedFrequencyIsClampedToTheSetAndRefusedOutsideTheDisplay)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->OnCommand(cmd::AddSlideBar);
    TypeFrequency(GainDialog(0), "5M");
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e5);
    EXPECT_EQ(GainDialog(0).ValueText(CSlideBarGainDlg::GainRow).toStdString(), FormatEngineering(-80, 4));
    // The first update clears the start-up flag; the document keeps its unsaved change.
    EXPECT_EQ(gain.view->Fields().firstUpdate, 0);
    EXPECT_TRUE(doc.IsModified());

    gain.view->Fields().frequencyMax = 5e4;
    TypeFrequency(GainDialog(0), "2k");
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 2000);
    TypeFrequency(GainDialog(0), "5M");
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 2000);
    EXPECT_EQ(GainDialog(0).FrequencyEdit()->text(), QString::fromStdString(FormatEngineering(2000, 4)));
    // Leaving the edit untouched sends nothing; the Nyquist dialog sends every focus loss.
    int sent = 0;
    QObject::connect(&GainDialog(0), &CSlideBarDlg::frequencyTyped, [&sent] { ++sent; });
    GainDialog(0).FrequencyEdit()->Commit();
    EXPECT_EQ(sent, 0);
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(SlideBarFixture, MessagesFromUnknownDialogs)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.Bars().OnFrequencyTyped(nullptr, 1000);
    gain.Bars().OnCloseRequested(nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{
                              "Error- Can't figure out which SlideBar to update. Set to 0.",
                              "Error- Not a valid SlideBar number to update. Aborting.",
                              "Error- Can't figure out which SlideBar to close. Set to 0.",
                              "Error- Not a valid SlideBar number to close.  Aborting.",
                          }));
    prompts.shown.clear();
    gain.view->OnCommand(cmd::AddSlideBar);
    gain.Bars().OnFrequencyTyped(nullptr, 1000);  // falls back to bar 0
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1000);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Error- Can't figure out which SlideBar to update. Set to 0."}));
}

TEST_F(SlideBarFixture, DraggingPastTheRightEdgeStopsAtTheMaximumWithoutValues)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->OnCommand(cmd::AddSlideBar);
    gain.view->DeselectAllDataSets();
    gain.view->RenderPicture();
    const LogicalMapping m = gain.view->ClientMapping();
    const int x = gain.view->Renderer()->XFromFrequency(100);
    const int y = (gain.view->Fields().graphRect.top + gain.view->Fields().graphRect.bottom) / 2;
    SendMouse(*gain.view, QEvent::MouseButtonPress, QPoint(m.DeviceX(x), m.DeviceY(y)));
    EXPECT_EQ(gain.Bars().Active(), 0);
    EXPECT_TRUE(gain.view->Fields().attribs[0].selected);
    doc.SetModifiedFlag(false);
    SendMouse(*gain.view, QEvent::MouseMove, QPoint(m.DeviceX(x + 10), m.DeviceY(y)));
    EXPECT_NEAR(gain.State()[0].frequency, gain.view->Renderer()->FrequencyFromX(x + 10), 1e-9);
    EXPECT_TRUE(doc.IsModified());
    SendMouse(*gain.view, QEvent::MouseMove, QPoint(990, m.DeviceY(y)));
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e6);
    for (int row : {CSlideBarGainDlg::GainRow, CSlideBarGainDlg::PhaseRow, CSlideBarGainDlg::SlopeRow})
        EXPECT_EQ(GainDialog(0).ValueText(row), QStringLiteral("- - -"));
    SendMouse(*gain.view, QEvent::MouseButtonRelease, QPoint(990, m.DeviceY(y)));
    SendMouse(*gain.view, QEvent::MouseMove, QPoint(m.DeviceX(x), m.DeviceY(y)));
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e6);

    // The arrow keys step the active bar through the set's points, as a typed frequency.
    gain.view->HandleKey(Qt::Key_Left, Qt::NoModifier);
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e5);
    gain.view->HandleKey(Qt::Key_Left, Qt::NoModifier);
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e4);
    gain.view->HandleKey(Qt::Key_Right, Qt::NoModifier);
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e5);
    gain.view->HandleKey(Qt::Key_Right, Qt::NoModifier);  // no point above
    EXPECT_DOUBLE_EQ(gain.State()[0].frequency, 1e5);
    EXPECT_FALSE(gain.view->HandleKey(Qt::Key_Left, Qt::ShiftModifier));
}

TEST_F(SlideBarFixture, ClosingTheMiddleBarRenumbersTheLast)
{
    for (int i = 0; i < 3; ++i)
        doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    for (int i = 0; i < 3; ++i) {
        gain.view->GetDataSetProperties(i);  // selects only data set i
        gain.view->OnCommand(cmd::AddSlideBar);
    }
    const double third = gain.State()[2].frequency;
    CSlideBarDlg* last = gain.Bars().Dialog(2);
    QTest::keyClick(gain.Bars().Dialog(1)->FrequencyEdit(), Qt::Key_Escape);
    QTest::keyClick(gain.Bars().Dialog(1)->FrequencyEdit(), Qt::Key_Escape);  // asked once only
    QApplication::processEvents();
    ASSERT_EQ(gain.Bars().Count(), 2);
    EXPECT_EQ(gain.Bars().Dialog(1), last);
    EXPECT_EQ(last->Title(), QStringLiteral("3  Slide Bar:"));
    EXPECT_EQ(gain.State()[1].dataSetIndex, 2);
    EXPECT_DOUBLE_EQ(gain.State()[1].frequency, third);
    EXPECT_TRUE(prompts.shown.empty());

    // Deleting data set 0 removes its bar; the bar on set 2 now reads set 1.
    doc.DeleteDataSet(0);
    ASSERT_EQ(gain.Bars().Count(), 1);
    EXPECT_EQ(gain.State()[0].dataSetIndex, 1);
    EXPECT_EQ(gain.Bars().Dialog(0), last);
}

TEST_F(SlideBarFixture, DialogFollowsItsDataSetsVisibility)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->OnCommand(cmd::AddSlideBar);
    gain.view->OnCommand(cmd::Hide);
    gain.view->RenderPicture();
    EXPECT_FALSE(gain.Bars().Dialog(0)->isVisible());
    EXPECT_EQ(gain.Bars().Count(), 1);
    gain.view->OnCommand(cmd::ShowAll);
    gain.view->RenderPicture();
    EXPECT_TRUE(gain.Bars().Dialog(0)->isVisible());
}

TEST_F(SlideBarFixture, ActivatingADialogDeselectsAndTheImpedanceDialogSelectsItsSet)
{
    doc.AddDataSet(DecadeSet());
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->GetDataSetProperties(1);
    gain.view->OnCommand(cmd::AddSlideBar);
    gain.view->OnSelectAll();
    gain.Bars().Dialog(0)->Activate();
    EXPECT_FALSE(gain.view->Fields().attribs[0].selected);
    EXPECT_FALSE(gain.view->Fields().attribs[1].selected);

    Display<CTalViewImp> imp;
    imp.Open(doc);
    imp.view->GetDataSetProperties(1);
    imp.view->OnCommand(cmd::AddSlideBar);
    imp.view->OnSelectAll();
    imp.Bars().Dialog(imp.Bars().Count() - 1)->Activate();
    EXPECT_FALSE(imp.view->Fields().attribs[0].selected);
    EXPECT_TRUE(imp.view->Fields().attribs[1].selected);
    imp.view.reset();
}

TEST_F(SlideBarFixture, EquivalentCircuitOfACapacitor)
{
    // |Z| = 1 kOhm at -90 degrees around 1 kHz.
    doc.AddDataSet(MakeImpedanceSet({{100, 1000, -90}, {1000, 1000, -90}, {1e4, 1000, -90}}));
    Display<CTalViewImp> imp;
    imp.Open(doc);
    imp.view->OnCommand(cmd::AddSlideBar);
    auto* dialog = qobject_cast<CSlideBarImpDlg*>(imp.Bars().Dialog(0));
    ASSERT_TRUE(dialog);
    TypeFrequency(*dialog, "1k");
    EXPECT_EQ(dialog->ReactiveLabel(), QStringLiteral("Capacitance:"));
    EXPECT_EQ(dialog->ValueText(CSlideBarImpDlg::ReactiveRow), QStringLiteral("159.2 n"));
    const double resistance = ParseEngineering(dialog->ValueText(CSlideBarImpDlg::ResistanceRow).toStdString());
    EXPECT_LT(std::fabs(resistance), 1e-9);
    EXPECT_EQ(dialog->ValueText(CSlideBarImpDlg::ImpedanceRow), QStringLiteral("1 k"));
    // Parallel: the same capacitance beside a resistance that is practically infinite.
    dialog->Picture()->click();
    EXPECT_TRUE(dialog->Picture()->IsParallel());
    EXPECT_EQ(dialog->ValueText(CSlideBarImpDlg::ReactiveRow), QStringLiteral("159.2 n"));
    EXPECT_GT(ParseEngineering(dialog->ValueText(CSlideBarImpDlg::ResistanceRow).toStdString()), 1e12);
    // Outside the data both read "- - -".
    imp.State()[0].frequency = 5e5;
    imp.Bars().UpdateFromView(0);
    EXPECT_EQ(dialog->ValueText(CSlideBarImpDlg::ResistanceRow), QStringLiteral("- - -"));
    EXPECT_EQ(dialog->ValueText(CSlideBarImpDlg::ReactiveRow), QStringLiteral("- - -"));
    imp.view.reset();
}

TEST_F(SlideBarFixture, NyquistBarStoresItsPhase)
{
    doc.AddDataSet(MakeImpedanceSet({{100, 100, -60}, {1000, 100, -30}, {1e4, 100, 0}}));
    Display<CTalViewNyq> nyq;
    nyq.Open(doc);
    nyq.view->Fields().nyquistPhaseFlip = 1;
    nyq.view->OnCommand(cmd::AddSlideBar);
    auto* dialog = qobject_cast<CSlideBarNyqDlg*>(nyq.Bars().Dialog(0));
    ASSERT_TRUE(dialog);
    TypeFrequency(*dialog, "1k");
    EXPECT_DOUBLE_EQ(nyq.State()[0].value, 150);  // -30 flipped
    EXPECT_EQ(dialog->ValueText(CSlideBarNyqDlg::PhaseRow), QStringLiteral("150.0"));
    EXPECT_EQ(dialog->ValueText(CSlideBarNyqDlg::MagnitudeRow), QStringLiteral("100"));
    // Esc leaves the Nyquist dialog open; the close box closes it.
    QTest::keyClick(dialog->FrequencyEdit(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(nyq.Bars().Count(), 1);
    emit dialog->closeRequested(dialog, CSlideBarDlg::kCloseBox);
    QApplication::processEvents();
    EXPECT_EQ(nyq.Bars().Count(), 0);
    nyq.view.reset();
}

TEST_F(SlideBarFixture, BarSurvivesSavingAndLoadingTheDocument)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->OnCommand(cmd::AddSlideBar);
    TypeFrequency(GainDialog(0), "3k");
    gain.Bars().Dialog(0)->move(130, 70);
    const QSize size = gain.Bars().Dialog(0)->size();
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(bytes, error)) << error;

    CTalDocument loaded;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, error)) << error;
    Display<CTalViewGain> again;
    again.Open(loaded);
    ASSERT_EQ(again.Bars().Count(), 1);
    EXPECT_DOUBLE_EQ(again.State()[0].frequency, 3000);
    CSlideBarDlg* dialog = again.Bars().Dialog(0);
    EXPECT_EQ(dialog->geometry(), QRect(QPoint(130, 70), size));
    EXPECT_EQ(dialog->Title(), QStringLiteral("1  Slide Bar:"));
    EXPECT_EQ(dialog->ValueText(CSlideBarGainDlg::GainRow).toStdString(),
              SlideBarValueText(loaded.GetGainAtDB(0, 3000)));

    // A second display of the document gets its own dialog at the same place.
    Display<CTalViewGain> second;
    second.Open(loaded);
    ASSERT_EQ(second.Bars().Count(), 1);
    EXPECT_NE(second.Bars().Dialog(0), dialog);
    EXPECT_EQ(second.Bars().Dialog(0)->geometry(), dialog->geometry());
    EXPECT_DOUBLE_EQ(second.State()[0].frequency, 3000);
    second.view.reset();
    again.view.reset();
}

TEST_F(SlideBarFixture, BarsOnDataSetsTheFileLacksAreDropped)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.Bars().Load({{0, 100, 0, {0, 0, 50, 50}}, {5, 100, 0, {}}, {-1, 100, 0, {}}});
    EXPECT_EQ(gain.Bars().Count(), 1);
}

TEST_F(SlideBarFixture, PictureHoldsTheBarAndItsDialog)
{
    doc.AddDataSet(DecadeSet());
    gain.Open(doc);
    gain.view->OnCommand(cmd::AddSlideBar);
    CSlideBarDlg* dialog = gain.Bars().Dialog(0);
    dialog->move(600, 300);
    const QImage image = gain.view->RenderPicture();
    const QRect r = dialog->geometry();
    // Black border, white inside with black text.
    EXPECT_GT(CountInColumn(image, r.left(), r.top() + 2, r.bottom() - 2, Pixel(0x000000)), r.height() / 2);
    const QRect inside = r.adjusted(3, 3, -3, -3);
    const int inked = CountInked(image, inside.left(), inside.top(), inside.right(), inside.bottom());
    EXPECT_GT(inked, 50);
    EXPECT_LT(inked, inside.width() * inside.height() / 3);
    // The yellow band at the bar, below the dialogs.
    const LogicalMapping m = gain.view->ClientMapping();
    const int x = m.DeviceX(gain.view->Renderer()->XFromFrequency(100));
    const LogicalRect& g = gain.view->Fields().graphRect;
    EXPECT_GT(CountInColumn(image, x - 2, m.DeviceY(g.top) + 40, m.DeviceY(g.bottom) - 5, Pixel(0x00FFFF)), 100);
}

}  // namespace

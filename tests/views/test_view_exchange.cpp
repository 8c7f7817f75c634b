// Copy, Export and Import of text tables, the text display, and the display state a document
// file carries.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "ViewTestSupport.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "views/base/GraphTextDlg.h"
#include "views/command/CommandIds.h"
#include "views/exchange/DataExchange.h"
#include "views/gain/TalViewGain.h"
#include "views/imp/TalViewImp.h"
#include "views/text/TalViewText.h"

using namespace viewtest;

namespace {

const char kCopied[] =
    "*Run 1\r\n*Filter A\r\n*Frequency (Hz)\tGain (dB)\tPhase (Deg)\r\n100\t-3.01\t-45\r\n1000\t-20\t-84.3";

struct ExchangeFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewGain> view;
    std::filesystem::path dir;

    void SetUp() override
    {
        SetPrompter(&prompts);
        appData().voltageFormat = false;
        auto set = MakeGainSet({{100, -3.01, -45}, {1000, -20, -84.3}});
        set->m_description = "Run 1\nFilter A";
        doc.AddDataSet(std::move(set));
        view = std::make_unique<CTalViewGain>(&doc, nullptr);
        view->resize(800, 600);
        dir = std::filesystem::temp_directory_path() / ("talvern-views-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
        std::filesystem::remove_all(dir);
    }
};

TEST_F(ExchangeFixture, CopyPutsTheGainTableOnTheClipboard)
{
    view->OnCommand(cmd::EditCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), kCopied);
}

TEST_F(ExchangeFixture, ExportWritesTheBareNumbersAndImportReadsThemAsGain)
{
    const std::string path = (dir / "a.dat").string();
    prompts.fileAnswers = {path, path};
    view->OnCommand(cmd::ExportMatlab);
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "100\t-3.01\t-45\r\n1000\t-20\t-84.3");
    view->OnCommand(cmd::ImportMatlab);
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    EXPECT_NEAR(doc.GetGainDB(1, 1), -20, 1e-9);
    EXPECT_NEAR(doc.GetPhase(1, 0), -45, 1e-9);
    EXPECT_EQ(view->Fields().attribs.size(), 2u);
}

TEST_F(ExchangeFixture, CancelledChoosersAndUnreadableFilesChangeNothing)
{
    prompts.fileAnswers = {std::nullopt, (dir / "missing.dat").string()};
    view->OnCommand(cmd::ExportMatlab);
    view->OnCommand(cmd::ImportMatlab);
    EXPECT_EQ(doc.GetDataSetCount(), 1);
    EXPECT_TRUE(prompts.shown.size() == 2);
}

TEST_F(ExchangeFixture, CopyGraphPaintsTheOpenDescriptionWindowsIn)
{
    view->OnInitialUpdate();
    const QImage plain = view->RenderPicture();
    view->OnShowDataDescription();
    const CGraphTextDlg* window = view->DescriptionWindow(0);
    ASSERT_NE(window, nullptr);
    view->OnCommand(cmd::CopyGraph);
    const QImage picture = QGuiApplication::clipboard()->image().convertToFormat(plain.format());
    ASSERT_EQ(picture.size(), plain.size());
    int inside = 0, outside = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (picture.pixel(x, y) != plain.pixel(x, y))
                ++(window->geometry().adjusted(-2, -2, 2, 2).contains(x, y) ? inside : outside);
    EXPECT_GT(inside, 100);
    EXPECT_EQ(outside, 0);
}

TEST(ExchangeText, BareTableAndImportLines)
{
    EXPECT_EQ(exchange::BareNumberTable("*a\r\n*b\r\n1\t2\t3"), "1\t2\t3");
    EXPECT_EQ(exchange::BareNumberTable("*only"), "");
    EXPECT_EQ(exchange::BareNumberTable("1\t2"), "1\t2");
    EXPECT_EQ(exchange::JoinImportLines("1\t2\t3  \r\n4\t5\t6\n\n7"), "1\t2\t3\r\n4\t5\t6\r\n\r\n7");
    EXPECT_EQ(exchange::JoinImportLines(""), "");
}

TEST_F(ExchangeFixture, PasteImportsWithTheDisplayDefaults)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("100\t-6\t10\r\n1000\t-12\t20"));
    view->OnCommand(cmd::EditPaste);
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    EXPECT_EQ(view->Fields().attribs[0].selected, false);
    EXPECT_NEAR(doc.GetGainDB(1, 0), -6, 1e-9);
}

TEST_F(ExchangeFixture, ImpedanceDisplayCopiesOhms)
{
    CTalViewImp imp(&doc, nullptr);
    std::string table;
    ASSERT_EQ(imp.FormatDataAsText(0, table), 1);
    EXPECT_NE(table.find("*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)\r\n100\t0.707"), std::string::npos);
    EXPECT_EQ(imp.FormatDataAsText(7, table), 0);
}

TEST_F(ExchangeFixture, TextDisplayShowsTheDocumentAndFollowsTheVoltageFormat)
{
    CTalViewText text(&doc, nullptr);
    EXPECT_EQ(text.Text(), doc.GetTextDescription());
    EXPECT_NE(text.Text().find("Gain (dB)"), std::string::npos) << "the first display's tables";
    view->OnCommand(cmd::VoltageFormat);
    EXPECT_TRUE(appData().voltageFormat);
    EXPECT_NE(text.Text().find("Channel or Node"), std::string::npos);
    view->OnCommand(cmd::VoltageFormat);
    text.Edit()->selectAll();
    CommandUi ui;
    ASSERT_TRUE(text.OnUpdateCommand(cmd::EditCopy, ui));
    EXPECT_TRUE(ui.enabled);
    EXPECT_FALSE(text.OnCommand(cmd::Hide));
}

TEST_F(ExchangeFixture, TheTextDisplayTakesTheFocusOnlyWhenGivenIt)
{
    // A refresh or paint of the text display must not take the focus from the other display.
    QWidget window;
    window.resize(600, 400);
    auto* text = new CTalViewText(&doc, &window);
    view->setParent(&window);
    view->show();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    view->setFocus();
    ASSERT_TRUE(view->hasFocus());
    doc.UpdateAllViews(0);
    text->repaint();
    EXPECT_TRUE(view->hasFocus());
    text->setFocus();
    EXPECT_TRUE(text->Edit()->hasFocus());
    view->setParent(nullptr);
}

TEST_F(ExchangeFixture, DisplayStateRoundTripsThroughTheDocumentFile)
{
    doc.AddDataSet(MakeGainSet({{10, 0, 0}, {100, 1, 1}}));
    ViewFields& f = view->Fields();
    f.attribs[0].selected = false;
    f.frequencyMin = 5;
    f.gainMax = 42;
    f.gridColor = 0x123456;
    f.displayMode = "Phase Only";
    view->DataSetDefaults().scaleFactor = 3;
    f.attribs[1].selected = true;
    view->OnShowDataDescription();
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(bytes, error)) << error;

    CTalDocument loaded;
    CTalViewGain other(&loaded, nullptr);
    ASSERT_TRUE(loaded.LoadFromBytes(bytes, error)) << error;
    const ViewFields& g = other.Fields();
    ASSERT_EQ(g.attribs.size(), 2u);
    EXPECT_FALSE(g.attribs[0].selected);
    EXPECT_TRUE(g.attribs[1].selected);
    EXPECT_DOUBLE_EQ(g.frequencyMin, 5);
    EXPECT_DOUBLE_EQ(g.gainMax, 42);
    EXPECT_EQ(g.gridColor, 0x123456u);
    EXPECT_EQ(g.displayMode, "Phase Only");
    EXPECT_DOUBLE_EQ(other.DataSetDefaults().scaleFactor, 3);
    EXPECT_NE(other.DescriptionWindow(1), nullptr);
    EXPECT_EQ(g.loadedFromFile, 1);

    // A second display takes the first one's ranges and selection.
    CTalViewImp second(&loaded, nullptr);
    EXPECT_DOUBLE_EQ(second.Fields().frequencyMin, 5);
    EXPECT_TRUE(second.Fields().attribs[1].selected);
    EXPECT_EQ(second.Fields().displayMode, "Imp & Phase");
    EXPECT_EQ(other.Fields().loadedFromFile, 0);
}

TEST_F(ExchangeFixture, StoredRangesOutsideTheLimitsArePinned)
{
    DisplayState state;
    state.ranges[0] = -5;
    state.ranges[1] = 1e300;
    state.ranges[2] = std::numeric_limits<double>::quiet_NaN();
    state.selected = {1};
    view->LoadDisplayState(state);
    EXPECT_DOUBLE_EQ(view->Fields().frequencyMin, 1e-6);
    EXPECT_DOUBLE_EQ(view->Fields().frequencyMax, 1e15);
    EXPECT_DOUBLE_EQ(view->Fields().gainMin, -60);
    view->RenderPicture();
}

}  // namespace

// Opening, creating, adding displays to, saving and closing documents through the application.
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QMdiArea>
#include <QRadioButton>

#include "AppUiSupport.h"
#include "app/dialogs/NewPlotTypeDialog.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "views/command/CommandIds.h"

namespace {

std::vector<DisplayKind> Kinds(const CDocManager& docs, const CTalDocument* doc)
{
    std::vector<DisplayKind> kinds;
    for (const CChildFrame* frame : docs.Frames(doc))
        kinds.push_back(frame->Kind());
    return kinds;
}

}  // namespace

TEST_F(AppTest, OnlyFilesEndingInTalOpenWhateverTheLetterCase)
{
    ASSERT_TRUE(Start());
    const std::string upper = TempPath("UPPER.TAL");
    const std::string text = TempPath("notes.txt");
    WriteDocument(upper, DisplayKind::Gain);
    WriteDocument(text, DisplayKind::Gain);
    m_prompter.shown.clear();

    EXPECT_NE(m_app->OpenDocumentFile(upper), nullptr);
    EXPECT_EQ(m_app->OpenDocumentFile(text), nullptr);
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{"Invalid File Format"});
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 2u);  // Imp1 and UPPER.TAL

    // The same file again activates its window.
    EXPECT_NE(m_app->OpenDocumentFile(upper), nullptr);
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 2u);
}

TEST_F(AppTest, ADocumentEndsInOneDisplayOfTheKindItsFileRecords)
{
    struct Case {
        DisplayKind recorded;
        DisplayKind shown;
    };
    // A file recorded as the voltage display keeps the first display: no window shows that kind.
    const Case cases[] = {{DisplayKind::Gain, DisplayKind::Gain}, {DisplayKind::Imp, DisplayKind::Imp},
                          {DisplayKind::Text, DisplayKind::Text}, {DisplayKind::Nyq, DisplayKind::Nyq},
                          {DisplayKind::Volt, DisplayKind::Gain}};
    ASSERT_TRUE(Start());
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(index);
        const std::string path = TempPath("recorded" + std::to_string(index++) + ".tal");
        WriteDocument(path, c.recorded, 2);
        CChildFrame* frame = m_app->OpenDocumentFile(path);
        ASSERT_NE(frame, nullptr);
        Pump();
        CTalDocument* doc = frame->Document();
        EXPECT_EQ(Kinds(*m_app->DocManager(), doc), std::vector<DisplayKind>{c.shown});
        ASSERT_EQ(doc->GetViews().size(), 1u);
        EXPECT_EQ(doc->GetFirstDisplayView()->GetDisplayKind(), c.shown);
        EXPECT_EQ(doc->GetDataSetCount(), 2);
        EXPECT_EQ(appData().requestedDisplayType, "");
    }
}

TEST_F(AppTest, AFileThatFailsToLoadLeavesNoDocument)
{
    ASSERT_TRUE(Start());
    const std::string path = TempPath("broken.tal");
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a document");
    file.close();
    m_prompter.shown.clear();
    EXPECT_EQ(m_app->OpenDocumentFile(path), nullptr);
    Pump();
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 1u);
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{"Unexpected file format."});
}

TEST_F(AppTest, AddDisplayOpensAnotherWindowOnTheSameDocument)
{
    ASSERT_TRUE(Start());
    CMainFrame* frame = m_app->MainFrame();
    CDocManager* docs = m_app->DocManager();
    CTalDocument* doc = docs->Documents()[0];
    ASSERT_TRUE(frame->ExecuteCommand(cmd::AddRandomData));
    ASSERT_TRUE(frame->ExecuteCommand(cmd::AddGainDisplay));
    EXPECT_EQ(Kinds(*docs, doc), (std::vector<DisplayKind>{DisplayKind::Imp, DisplayKind::Gain}));
    EXPECT_EQ(frame->MenuKind(), DisplayKind::Gain);
    EXPECT_EQ(docs->Frames(doc)[1]->windowTitle().toStdString(), "Imp1:2");
    EXPECT_EQ(doc->GetViews().size(), 2u);
    EXPECT_EQ(frame->windowTitle().toStdString(), "Talvern RLC Stability Analysis - Imp1");

    // Closing one of two windows asks nothing; the document stays.
    docs->Frames(doc)[1]->close();
    Pump();
    EXPECT_EQ(Kinds(*docs, doc), std::vector<DisplayKind>{DisplayKind::Imp});
    EXPECT_EQ(docs->Frames(doc)[0]->windowTitle().toStdString(), "Imp1");
    EXPECT_EQ(frame->MenuKind(), DisplayKind::Imp);
    EXPECT_TRUE(PromptTexts().empty());
}

TEST_F(AppTest, TheLastWindowOfAChangedDocumentAsksToSaveIt)
{
    ASSERT_TRUE(Start());
    CDocManager* docs = m_app->DocManager();
    CTalDocument* doc = docs->Documents()[0];
    m_app->MainFrame()->ExecuteCommand(cmd::AddRandomData);
    ASSERT_TRUE(doc->IsModified());

    m_prompter.messageAnswers = {PromptResult::Cancel};
    docs->Frames(doc)[0]->close();
    Pump();
    EXPECT_EQ(PromptTexts(), std::vector<std::string>{"Save changes to Imp1?"});
    ASSERT_EQ(docs->Documents().size(), 1u);

    // Yes saves through Save As (the document has no file yet), then the window closes.
    const std::string path = TempPath("saved.tal");
    m_prompter.messageAnswers = {PromptResult::Yes};
    m_prompter.fileAnswers = {path};
    docs->Frames(doc)[0]->close();
    Pump();
    EXPECT_TRUE(docs->Documents().empty());
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(m_app->MainFrame()->MenuKind(), std::nullopt);
    EXPECT_EQ(m_app->RecentFiles().Entries().front(), path);
    EXPECT_EQ(m_app->MainFrame()->windowTitle().toStdString(), "Talvern RLC Stability Analysis");
}

TEST_F(AppTest, RecentFilesReopenAndAnEntryThatFailsIsDropped)
{
    const std::string path = TempPath("recent.tal");
    WriteDocument(path, DisplayKind::Gain);
    m_store.WriteString("Recent File List", "File1", TempPath("gone.tal"));
    m_store.WriteString("Recent File List", "File2", path);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_app->RecentFiles().Entries().size(), 2u);
    m_app->MainFrame()->ExecuteCommand(cmd::FileMru1);
    EXPECT_EQ(m_app->RecentFiles().Entries(), std::vector<std::string>{path});
    m_app->MainFrame()->ExecuteCommand(cmd::FileMru1);
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 2u);
}

TEST_F(AppTest, FileNewWithoutTheAutomaticDefaultAsksForThePlotType)
{
    m_store.WriteInt("RLC Settings", "Automatically use default type", 0);
    m_store.WriteInt("RLC Settings", "Default plot type", 3);
    bool nyquistPreselected = false;
    {
        ModalWatcher answer([&](QWidget* modal) {
            auto* dialog = dynamic_cast<NewPlotTypeDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle().toStdString(), "New Plot");
            nyquistPreselected = dialog->Button(NewPlotTypeDialog::kNyquistPlot)->isChecked();
            dialog->accept();
        });
        ASSERT_TRUE(Start());
        EXPECT_TRUE(answer.Fired());
    }
    EXPECT_TRUE(nyquistPreselected);
    ASSERT_EQ(m_app->DocManager()->Documents().size(), 1u);
    EXPECT_EQ(m_app->MainFrame()->MenuKind(), DisplayKind::Nyq);
    EXPECT_EQ(m_app->DocManager()->Documents()[0]->m_title, "Nyq1");

    // Impedance chosen, then Cancel: one more document, then none.
    {
        ModalWatcher answer([](QWidget* modal) {
            auto* dialog = dynamic_cast<NewPlotTypeDialog*>(modal);
            dialog->Button(NewPlotTypeDialog::kImpedancePlot)->click();
            dialog->accept();
        });
        m_app->OnFileNew();
    }
    EXPECT_EQ(m_app->MainFrame()->MenuKind(), DisplayKind::Imp);
    {
        ModalWatcher answer([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        m_app->OnFileNew();
    }
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 2u);
}

TEST(ChildFrame, RefusesToCloseWhileTheAnalyzerDialogShownLastSweeps)
{
    QMdiArea area;
    bool sweeping = true;
    CDocManager::Hooks hooks;
    hooks.analyzerSweeping = [&sweeping] { return sweeping; };
    CDocManager docs(area, hooks);
    for (auto& docTemplate : CreateDocumentTemplates())
        docs.AddDocTemplate(std::move(docTemplate));
    CChildFrame* frame = docs.OpenNewDocument(*docs.Template(1));
    ASSERT_NE(frame, nullptr);
    EXPECT_GE(frame->minimumWidth(), CChildFrame::kMinimumWidth);
    EXPECT_GE(frame->minimumHeight(), CChildFrame::kMinimumHeight);

    EXPECT_FALSE(frame->close());
    Pump();
    EXPECT_EQ(docs.Documents().size(), 1u);
    sweeping = false;
    EXPECT_TRUE(frame->close());
    Pump();
    EXPECT_TRUE(docs.Documents().empty());
}

TEST_F(AppTest, FilesDroppedOnTheMainWindowOpen)
{
    ASSERT_TRUE(Start());
    const std::string first = TempPath("dropped1.tal");
    const std::string second = TempPath("dropped2.tal");
    WriteDocument(first, DisplayKind::Gain);
    WriteDocument(second, DisplayKind::Nyq);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)), QUrl::fromLocalFile(QString::fromStdString(second))});
    CMainFrame* frame = m_app->MainFrame();
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame, &drop);
    Pump();
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 3u);
    EXPECT_EQ(frame->MenuKind(), DisplayKind::Nyq);
}

// Start-up and program end of the application object, per analyzer type, and the shell opens
// that later launches hand over.
#include <QFile>
#include <QLabel>
#include <QProgressBar>

#include <thread>

#include "AppUiSupport.h"
#include "app/core/AnalyzerTypes.h"
#include "app/core/ShellOpenCommand.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "app/frame/StatusPanes.h"
#include "app/platform/SingleInstance.h"
#include "data/TalDocument.h"

namespace {

std::string ReadText(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

}  // namespace

TEST_F(AppTest, AnEmptyStoreStartsInTheDefaultDisplayAndProgramEndWritesEverything)
{
    m_withHelpFile = false;
    ASSERT_TRUE(Start());
    EXPECT_EQ(PromptTexts(),
              std::vector<std::string>{"Help file not found:\r\n" + TempPath("TalvernRLC.chm")});

    CMainFrame* frame = m_app->MainFrame();
    ASSERT_EQ(m_app->DocManager()->Documents().size(), 1u);
    EXPECT_EQ(frame->windowTitle().toStdString(), "Talvern RLC Stability Analysis - Imp1");
    EXPECT_EQ(frame->MenuKind(), DisplayKind::Imp);
    EXPECT_TRUE(frame->isMaximized() || frame->isVisible());

    m_app->ExitInstance();
    const std::string text = ReadText(TempPath("userdata/Talvern/TalprefRLC2600.txt"));
    for (const char* line : {"\r\n* The following parameters are from the Talvern Application:\r\n",
                             "CTalvernApp Version=6\r\n",
                             "Analyzer Type (0:RLC880, 6:RLC1960, 7:RLC1842, 8:RLC1852, 9:RLC1862, "
                             "10:RLC2600, 11:RLC1370)=10\r\n",
                             "Voltage Format for Editing=True\r\n", "Page Orientation Number=2\r\n",
                             "880 System Dialog Preferences=\r\n***BEGIN***\r\n***END***\r\n",
                             "6088 System Dialog Preferences=\r\n",
                             "Synthesis Dialog Preferences=\r\n***BEGIN***\r\n***END_SYNTH***\r\n",
                             "Volt 3 Color=16711680\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_TRUE(text.ends_with("Volt 3 Color=16711680\r\n"));
    EXPECT_EQ(m_store.GetInt("Settings2600", "GPIB Interface", -1), 0);
    EXPECT_EQ(m_store.GetInt("Settings2600", "Analyzer - Model Number", -1), 0x3231);
    EXPECT_EQ(m_store.GetString("Settings2600", "Math Scale Factor", ""), "1");
    EXPECT_EQ(m_store.Find("Settings", "GPIB Interface"), nullptr);  // only ever a default
}

TEST_F(AppTest, EachTypeHasItsTitleStatusPanesAndInterfaceRules)
{
    struct Case {
        std::vector<std::string> arguments;
        const char* section;
        int storedInterface;
        const char* title;
        int interfaceIndex;
        int modelCode;
        int panes;
    };
    const Case cases[] = {
        {{}, "Settings2600", 4, "Talvern RLC Stability Analysis", 4, 0x5512, 6},
        {{"/t:RLC1370"}, "Settings1370", 4, "Talvern Systems RLC1370", 4, 0x1370, 5},
        {{"-t:RLC1960"}, "Settings1960", 4, "Talvern Systems RLC1960", 0, 0x1960, 5},
        {{"/t:RLC0880"}, "Settings880", 2, "Talvern Systems RLC880", 2, 0x880, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        m_store.WriteInt(c.section, "GPIB Interface", c.storedInterface);
        m_store.WriteInt(c.section, "Analyzer - Model Number", 0x5512);
        ASSERT_TRUE(Start(c.arguments));
        const ApplicationValues& values = m_app->Values();
        EXPECT_EQ(values.interfaceIndex, c.interfaceIndex);
        EXPECT_EQ(values.modelCode, c.modelCode);
        CMainFrame* frame = m_app->MainFrame();
        EXPECT_EQ(frame->windowTitle().toStdString(), std::string(c.title) + " - Imp1");

        StatusPanes& panes = frame->Panes();
        ASSERT_EQ(panes.PaneCount(), c.panes);
        EXPECT_EQ(panes.Pane(0)->text().toStdString(), "For Help, press F1");
        EXPECT_EQ(panes.PaneOfCommand(299) != nullptr, c.panes == 6);
        // The progress bar covers pane 4: num lock for id 10, the blank pane otherwise.
        EXPECT_EQ(panes.ProgressBar()->geometry(), panes.Pane(4)->geometry());
        frame->SetProgress(140);
        EXPECT_EQ(panes.ProgressBar()->value(), 100);
        m_app->ExitInstance();
        m_app.reset();
        Pump();
    }
}

TEST_F(AppTest, AnUnknownTypeEndsStartUpAndProgramEndWritesNothing)
{
    EXPECT_FALSE(Start({"/t:RLC2601"}));
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_EQ(PromptTexts()[0], InvalidAnalyzerTypeMessage());
    EXPECT_EQ(m_app->MainFrame(), nullptr);
    m_app->ExitInstance();
    EXPECT_FALSE(QFile::exists(QString::fromStdString(TempPath("userdata/Talvern/TalprefRLC2600.txt"))));
    EXPECT_EQ(m_store.Values().count("Settings2600"), 0u);
}

TEST_F(AppTest, ACommandLineFileOpensInsteadOfANewDocumentAndABadOneEndsStartUp)
{
    const std::string path = TempPath("given.tal");
    WriteDocument(path, DisplayKind::Gain);
    ASSERT_TRUE(Start({path}));
    ASSERT_EQ(m_app->DocManager()->Documents().size(), 1u);
    EXPECT_EQ(m_app->DocManager()->Documents()[0]->m_title, "given.tal");
    EXPECT_EQ(m_app->RecentFiles().Entries().size(), 1u);
    m_app->ExitInstance();
    EXPECT_EQ(m_store.GetString("Recent File List", "File1", ""), m_app->RecentFiles().Entries()[0]);
    m_app.reset();

    m_prompter.shown.clear();
    EXPECT_FALSE(Start({TempPath("missing.tal")}));
    EXPECT_EQ(PromptTexts().size(), 1u);
}

TEST_F(AppTest, PrintOnTheCommandLinePrintsWithoutADialogAndEnds)
{
    const std::string path = TempPath("print.tal");
    WriteDocument(path, DisplayKind::Gain);
    ModalWatcher dialog([](QWidget* modal) { modal->close(); });
    EXPECT_FALSE(Start({"/p", path}));
    EXPECT_FALSE(dialog.Fired()) << "no print dialog";
    ASSERT_EQ(m_app->DocManager()->Documents().size(), 1u);
    // Where no printer is set up the user is told the file was not printed.
    for (const std::string& text : PromptTexts())
        EXPECT_NE(text.find("print.tal\" is not printed"), std::string::npos) << text;
}

TEST_F(AppTest, ShellOpensRunAfterStartUpAndOnlyOpenCommandsAreTaken)
{
    const std::string path = TempPath("shell.tal");
    WriteDocument(path, DisplayKind::Imp);
    ASSERT_TRUE(Start());
    EXPECT_TRUE(m_app->OnDDECommand(ShellOpenCommand(path)));
    EXPECT_EQ(m_app->DocManager()->Documents().size(), 2u);
    EXPECT_FALSE(m_app->OnDDECommand("[print(\"" + path + "\")]"));
    EXPECT_EQ(ShellOpenCommandPath(ShellOpenCommand("/a \"b\".tal")), "/a \"b\".tal");
    EXPECT_EQ(ShellOpenCommandPath("[open(\"\")]"), std::nullopt);
}

TEST(SingleInstance, ALaterLaunchHandsItsCommandsToTheRunningProgramInOrder)
{
    const QString name = QStringLiteral("talvern-test-%1").arg(QCoreApplication::applicationPid());
    SingleInstance running(name);
    std::vector<std::string> received;
    ASSERT_TRUE(running.Listen([&received](const std::string& command) {
        received.push_back(command);
        return true;
    }));
    SingleInstance second(name);
    EXPECT_FALSE(second.Listen([](const std::string&) { return true; }));

    bool sent = false;
    std::thread launch([&] { sent = SingleInstance::SendToRunningInstance(name, {"[open(\"/a.tal\")]", "[open(\"/b.tal\")]"}); });
    for (int i = 0; i < 400 && received.size() < 2; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    launch.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(received, (std::vector<std::string>{"[open(\"/a.tal\")]", "[open(\"/b.tal\")]"}));
    EXPECT_FALSE(SingleInstance::SendToRunningInstance(name + QStringLiteral("-none"), {"x"}, 200));
}

TEST(CommandLine, FlagsOptionsAndFilesAreToldApart)
{
    const CommandLineInfo plain = ParseCommandLine({});
    EXPECT_EQ(plain.shellCommand, CommandLineInfo::ShellCommand::FileNew);
    EXPECT_TRUE(plain.showSplash);

    const CommandLineInfo info = ParseCommandLine(
        {"/t:RLC1370", "--simulate", "--gpib-library", "/opt/gpib.so", "--visa-library=/opt/visa.so",
         "/home/user/a.tal", "b.TAL", "/Embedding"});
    EXPECT_EQ(info.flags, (std::vector<std::string>{"/t:RLC1370", "/Embedding"}));
    EXPECT_TRUE(info.simulate);
    EXPECT_EQ(info.gpibLibrary, "/opt/gpib.so");
    EXPECT_EQ(info.visaLibrary, "/opt/visa.so");
    EXPECT_EQ(info.files, (std::vector<std::string>{"/home/user/a.tal", "b.TAL"}));
    EXPECT_EQ(info.shellCommand, CommandLineInfo::ShellCommand::FileOpen);
    EXPECT_FALSE(info.showSplash);

    EXPECT_EQ(ParseCommandLine({"/p", "c.tal"}).shellCommand, CommandLineInfo::ShellCommand::FilePrint);
    EXPECT_EQ(ParseCommandLine({"-dde"}).shellCommand, CommandLineInfo::ShellCommand::FileNothing);
    EXPECT_EQ(ParseCommandLine({"--gpib-library"}).errors, std::vector<std::string>{"--gpib-library"});
}

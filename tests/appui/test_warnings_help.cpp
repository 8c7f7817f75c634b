// The reduced-voltage-limit panes and warnings, the Help commands and the About box.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include "AppUiSupport.h"
#include "app/application/HelpCommands.h"
#include "app/application/VoltageLimitWarnings.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/VoltageWarningDlg.h"
#include "app/frame/MainFrame.h"
#include "app/frame/StatusPanes.h"
#include "views/command/CommandIds.h"

TEST_F(AppTest, ForThe2600SeriesTheLimitsShowInRedPanesAndWarnUntilSilenced)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    QLabel* input = frame.Panes().PaneOfCommand(cmd::PaneInputLimit);
    ASSERT_NE(input, nullptr);
    EXPECT_NE(input->styleSheet().indexOf(QStringLiteral("red")), -1);

    std::string caption;
    {
        ModalWatcher answer([&caption](QWidget* modal) {
            auto* dialog = dynamic_cast<CInput15VmaxDlg*>(modal);
            ASSERT_NE(dialog, nullptr);
            caption = dialog->windowTitle().toStdString();
            EXPECT_TRUE(dialog->CheckBox()->isChecked());
            dialog->CheckBox()->click();  // written at once, before OK
            dialog->accept();
        });
        m_app->SetInput15Vmax(true, false);
        EXPECT_TRUE(answer.Fired());
    }
    EXPECT_EQ(caption, "WARNING Severe Damage to Analyzer Hardware is possible if Input Voltage exceeds 15 Vpk!");
    EXPECT_EQ(m_store.GetInt("ShowVmax", "Input15Vmax", -1), 0);
    EXPECT_EQ(input->text().toStdString(), "Input 15 Vpk max!");
    EXPECT_FALSE(frame.CommandState(cmd::WarnInput15V).checked);

    // Silenced: selecting the 50-ohm input again shows no dialog, the pane still does.
    {
        ModalWatcher none([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        m_app->SetInput15Vmax(true, false);
        EXPECT_FALSE(none.Fired());
    }
    EXPECT_EQ(input->text().toStdString(), "Input 15 Vpk max!");
    m_app->SetInput15Vmax(false, false);
    EXPECT_EQ(input->text().toStdString(), "");

    // The menu command switches the warning back on, at once.
    frame.ExecuteCommand(cmd::WarnInput15V);
    EXPECT_EQ(m_store.GetInt("ShowVmax", "Input15Vmax", -1), 1);
    EXPECT_TRUE(frame.CommandState(cmd::WarnInput15V).checked);

    // A double click on the output pane does nothing while that limit is off, warns while on.
    {
        ModalWatcher none([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        QTest::mouseDClick(frame.Panes().PaneOfCommand(cmd::PaneOutputLimit), Qt::LeftButton);
        EXPECT_FALSE(none.Fired());
    }
    m_app->SetOutput5Vmax(true, true);  // quiet: no dialog
    EXPECT_EQ(frame.Panes().PaneOfCommand(cmd::PaneOutputLimit)->text().toStdString(), "Output 5 Vpk max!");
    {
        ModalWatcher answer([](QWidget* modal) {
            EXPECT_NE(dynamic_cast<COutput5VmaxDlg*>(modal), nullptr);
            static_cast<QDialog*>(modal)->accept();
        });
        QTest::mouseDClick(frame.Panes().PaneOfCommand(cmd::PaneOutputLimit), Qt::LeftButton);
        EXPECT_TRUE(answer.Fired());
    }
}

TEST_F(AppTest, OtherTypesOnlyRecordTheLimits)
{
    ASSERT_TRUE(Start({"/t:RLC1370"}));
    CMainFrame& frame = *m_app->MainFrame();
    {
        ModalWatcher none([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        m_app->SetInput15Vmax(true, false);
        m_app->SetOutput5Vmax(true, false);
        EXPECT_FALSE(none.Fired());
    }
    EXPECT_TRUE(m_app->Values().inputLimitActive);
    EXPECT_TRUE(m_app->Values().outputLimitActive);
    EXPECT_EQ(frame.Panes().PaneOfCommand(cmd::PaneInputLimit), nullptr);
    EXPECT_FALSE(frame.CommandState(cmd::WarnInput15V).enabled);
    EXPECT_FALSE(frame.CommandState(cmd::WarnOutput5V).enabled);
    // Program end reminds only for id 10.
    m_prompter.shown.clear();
    m_app->ExitInstance();
    EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(AppTest, HelpCommandsOpenTheProgramFolderFilesAndNameShellFailures)
{
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    frame.ExecuteCommand(cmd::HelpManual);
    frame.ExecuteCommand(cmd::MatlabFiles);
    frame.ExecuteCommand(cmd::Help);  // F1 through the main frame
    EXPECT_EQ(m_opener.opened, (std::vector<std::string>{TempPath("RLC Manual.pdf"), TempPath("Matlab m-files"),
                                                          TempPath("TalvernRLC.chm")}));
    EXPECT_TRUE(m_prompter.shown.empty());

    m_opener.result = 2;
    frame.ExecuteCommand(cmd::HelpManual);
    m_opener.result = 4;
    frame.ExecuteCommand(cmd::MatlabFiles);
    const std::string service = ".\r\nPlease contact Talvern Customer Service at 1-800-555-0134 or 1-555-555-0178.";
    EXPECT_EQ(PromptTexts(),
              (std::vector<std::string>{"Failed to open '" + TempPath("RLC Manual.pdf") + "' because ERROR_FILE_NOT_FOUND" + service,
                                        "Failed to open '" + TempPath("Matlab m-files") + "' because OK" + service}));
    EXPECT_EQ(ShellErrorName(31), "SE_ERR_NOASSOC");
    EXPECT_EQ(ShellErrorName(33), "OK");
}

TEST_F(AppTest, WithTheHtmlGuideAsHelpTheManualAndMfilesStayInTheProgramFolder)
{
    m_withHelpFile = false;
    ASSERT_TRUE(QDir(QString::fromStdString(TempPath(""))).mkpath("help"));
    QFile guide(QString::fromStdString(TempPath("help/index.html")));
    ASSERT_TRUE(guide.open(QIODevice::WriteOnly));
    guide.close();
    ASSERT_TRUE(Start());
    CMainFrame& frame = *m_app->MainFrame();
    frame.ExecuteCommand(cmd::Help);
    frame.ExecuteCommand(cmd::HelpManual);
    frame.ExecuteCommand(cmd::MatlabFiles);
    EXPECT_EQ(m_opener.opened, (std::vector<std::string>{TempPath("help/index.html"), TempPath("RLC Manual.pdf"),
                                                          TempPath("Matlab m-files")}));
    EXPECT_TRUE(m_prompter.shown.empty());
}

TEST(AboutBox, ShowsTheVersionOverThePictureAndAClickClosesIt)
{
    CAboutDlg about;
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "About Talvern RLC Version 4.6.0");
    EXPECT_EQ(about.size(), QSize(468, 481));
    QTest::mouseClick(&about, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

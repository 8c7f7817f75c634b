#include "app/application/TalvernApp.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include "app/application/DisplayHooks.h"
#include "app/application/HelpCommands.h"
#include "app/application/PageSetupDialog.h"
#include "app/application/VoltageLimitWarnings.h"
#include "app/core/ApplicationLifecycle.h"
#include "app/core/RlcPanelBinding.h"
#include "app/core/SettingsNames.h"
#include "app/core/ShellOpenCommand.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/NewPlotTypeDialog.h"
#include "app/dialogs/SettingsDlg.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "app/frame/StatusPanes.h"
#include "app/platform/SimulatorLibrary.h"
#include "app/settings/SettingsStore.h"
#include "app/simulator/SimulatorConnection.h"
#include "app/simulator/SimulatorPlacement.h"
#include "app/simulator/SimulatorWindow.h"
#include "data/ApplicationData.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "rlc/ui/RLCDialog.h"
#include "rlc/ui/RlcControlPanel.h"
#include "views/base/TalView.h"
#include "views/command/CommandIds.h"

namespace names = settings_names;

CTalvernApp::CTalvernApp(Environment environment)
    : m_env(std::move(environment)), m_rlcSettings(std::make_unique<StoreRlcSettings>(m_env.store))
{
    m_values.ReadConstructionSettings(m_env.store);
    m_analyzers = std::make_unique<AnalyzerDialogs>(m_values, m_reporter);
    VoltageLimitWarnings::Hooks hooks;
    hooks.setPaneText = [this](int pane, const std::string& text) {
        if (m_mainFrame)
            m_mainFrame->Panes().SetPaneText(pane, text);
    };
    hooks.owner = [this]() -> QWidget* { return m_mainFrame.get(); };
    m_warnings = std::make_unique<VoltageLimitWarnings>(m_values, m_env.store, std::move(hooks));
    m_help = std::make_unique<HelpCommands>(m_env.opener, m_reporter);
}

CTalvernApp::~CTalvernApp()
{
    if (m_docs)
        RemoveDisplayHooks();
    // Displays go before the documents, the documents before the main window.
    m_simulatorWindow.reset();
    m_docs.reset();
    m_mainFrame.reset();
}

bool CTalvernApp::InitInstance(const CommandLineInfo& commandLine)
{
    // 1. The recent-file list; 2. the command line was parsed by the caller; 3. shell opens
    // arrive through OnDDECommand.
    m_recentFiles.Read(m_env.store);
    m_recentFilesRead = true;

    // 4. The analyzer type and, from it, the channel count.
    if (!SelectAnalyzerTypeFromCommandLine(commandLine.flags, m_values, m_reporter))
        return false;

    // 5-7. Templates, the main frame (with the splash screen), drops.
    // With --simulate and no bus library named the simulator stands for the analyzer.
    const bool simulated =
        commandLine.simulate && commandLine.gpibLibrary.empty() && commandLine.visaLibrary.empty();
    CreateMainFrame(commandLine.showSplash && m_env.splashAllowed, simulated);

    // 8-11. The preferences file, then the settings store.
    VoltageLimitHooks limits;
    limits.setInput15Vmax = [this](bool active, bool quiet) { SetInput15Vmax(active, quiet); };
    limits.setOutput5Vmax = [this](bool active, bool quiet) { SetOutput5Vmax(active, quiet); };
    LoadSettingsAtStartUp(m_values, m_env.store, m_env.preferences, m_reporter, limits);
    if (simulated)
        PlaceSimulatedAnalyzer();

    // 12. The title.
    m_mainFrame->SetApplicationTitle(MainWindowTitle(m_values.analyzerType));

    // 13. The help file in the program folder.
    // Where no compiled help file is installed, the HTML user guide of the program folder's
    // help/ folder stands in for it.
    m_values.helpFilePath = m_env.programFolder + "TalvernRLC.chm";
    if (const std::string guide = m_env.programFolder + "help/index.html";
        !QFileInfo::exists(QString::fromStdString(m_values.helpFilePath)) &&
        QFileInfo::exists(QString::fromStdString(guide)))
        m_values.helpFilePath = guide;
    // The manual and the m-files stay in the program folder whichever help file is used.
    m_help->SetHelpFiles(m_values.helpFilePath, m_env.programFolder);
    if (!QFileInfo::exists(QString::fromStdString(m_values.helpFilePath)))
        m_reporter.ShowMessage("Help file not found:\r\n" + m_values.helpFilePath);

    // 14. The command line's shell command.
    if (!ProcessShellCommand(commandLine))
        return false;

    // 15. The main window, maximized or normal.
    if (m_values.maximized)
        m_mainFrame->showMaximized();
    else
        m_mainFrame->showNormal();
    m_mainFrame->activateWindow();
    if (simulated)
        CreateSimulatorWindow();

    // 16. Start-up has finished: the shell opens queued meanwhile run now.
    m_shellQueue.FinishStartUp([this](const std::string& command) { return ExecuteShellCommand(command); });
    return true;
}

void CTalvernApp::CreateMainFrame(bool showSplash, bool simulated)
{
    CMainFrame::Context context{m_env.store, m_values.analyzerType, this, {}, {}, {}, {}, {}, simulated};
    context.mayClose = [this] { return MayEndWhileMeasuring(); };
    context.extraTemplate = [this](DisplayKind kind) { return ExtraTemplate(kind); };
    context.recentFiles = [this] { return m_recentFiles.Entries(); };
    context.openFile = [this](const std::string& path) { OpenDocumentFile(path); };
    context.closed = [this] {
        if (onMainWindowClosed)
            onMainWindowClosed();
    };
    m_mainFrame = std::make_unique<CMainFrame>(std::move(context));
    m_mainFrame->LoadFrame(showSplash);

    CDocManager::Hooks hooks;
    hooks.analyzerSweeping = [this] { return m_analyzers->LastShownIsSweeping(); };
    hooks.beforeSave = [this] { RefreshParameterText(m_values); };
    hooks.fileOpened = [this](const std::string& path) { m_recentFiles.Add(path); };
    hooks.framesChanged = [this] {
        if (m_mainFrame)
            m_mainFrame->OnFramesChanged();
    };
    m_docs = std::make_unique<CDocManager>(*m_mainFrame->MdiArea(), std::move(hooks));
    for (auto& docTemplate : CreateDocumentTemplates())
        m_docs->AddDocTemplate(std::move(docTemplate));
    m_extraTemplates = CreateDocumentTemplates();
    m_mainFrame->SetDocManager(m_docs.get());
    InstallDisplayHooks(*m_docs, [this](DisplayKind kind) { return ExtraTemplate(kind); }, m_values.page);
}

void CTalvernApp::PrintDirect(CTalView& view, const std::string& file)
{
    if (QPrinterInfo::defaultPrinter().isNull()) {
        m_reporter.ShowMessage("No default printer is set up: \"" + file + "\" is not printed.");
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(m_values.page.orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    view.PrintOn(printer);
}

bool CTalvernApp::MayEndWhileMeasuring()
{
    AnalyzerControl* analyzer = m_analyzers->CurrentFamily();
    if (!analyzer || !analyzer->IsBusy())
        return true;
    const PromptResult answer =
        prompter().Message("A measurement is in progress.\r\nStop it and exit?", kApplicationCaption,
                           PromptButtons::YesNo, PromptIcon::Question);
    if (answer != PromptResult::Yes)
        return false;
    // The panel's workflow hears nothing of the stop; then the analyzer stops what runs.
    if (RLCDialog* panel = CurrentRlcControlPanel())
        panel->EndSweep();
    analyzer->StopMeasurement();
    return !analyzer->IsBusy();
}

void CTalvernApp::PlaceSimulatedAnalyzer()
{
    const std::string library = SimulatorLibraryPath();
    if (library.empty())
        return;
    m_simulator = std::make_unique<SimulatorConnection>(library);
    for (const std::string& item : SimulatorPlacementItems(m_values))
        m_simulator->Configure(item);
}

void CTalvernApp::CreateSimulatorWindow()
{
    if (!m_simulator)
        return;
    m_simulatorWindow = std::make_unique<SimulatorWindow>(*m_simulator);
    m_simulatorWindow->Apply();
    m_simulatorWindow->adjustSize();
    ShowSimulatorWindow();
    // At the screen's right edge, clear of the documents that open at the left.
    if (const QScreen* screen = m_simulatorWindow->screen()) {
        const QRect area = screen->availableGeometry();
        m_simulatorWindow->move(area.right() + 1 - m_simulatorWindow->frameGeometry().width(), area.top());
    }
}

void CTalvernApp::ShowSimulatorWindow()
{
    if (!m_simulatorWindow)
        return;
    m_simulatorWindow->show();
    m_simulatorWindow->raise();
    m_simulatorWindow->activateWindow();
}

CDocTemplate* CTalvernApp::ExtraTemplate(DisplayKind kind) const
{
    for (const auto& docTemplate : m_extraTemplates)
        if (docTemplate->Kind() == kind)
            return docTemplate.get();
    return nullptr;
}

bool CTalvernApp::ProcessShellCommand(const CommandLineInfo& commandLine)
{
    switch (commandLine.shellCommand) {
    case CommandLineInfo::ShellCommand::FileNew:
        OnFileNew();
        return true;
    case CommandLineInfo::ShellCommand::FileOpen:
        for (const std::string& file : commandLine.files)
            if (!OpenDocumentFile(file))
                return false;
        return true;
    case CommandLineInfo::ShellCommand::FilePrint:
        // Print each file in its display on the default printer, with no print dialog, then end
        // the program.
        for (const std::string& file : commandLine.files)
            if (CChildFrame* frame = OpenDocumentFile(file))
                if (auto* view = qobject_cast<CTalView*>(frame->Display()))
                    PrintDirect(*view, file);
        return false;
    case CommandLineInfo::ShellCommand::FileNothing:
        return true;
    }
    return false;
}

void CTalvernApp::ExitInstance()
{
    if (m_ended)
        return;
    m_ended = true;
    m_simulatorWindow.reset();
    // The open dialog's settings are kept as if it had been closed.
    if (AnalyzerControl* current = m_analyzers->CurrentFamily())
        current->StoreParameters();
    SaveSettingsAtProgramEnd(m_values, m_env.store, m_env.preferences, m_reporter);
    // The panel goes first: its return of the analyzer to the safe output and input state needs
    // the analyzer dialog.
    DestroyRlcControlPanel();
    m_analyzers->DestroyCurrentFamily();
    if (m_recentFilesRead)
        m_recentFiles.Write(m_env.store);
    if (m_docs)
        RemoveDisplayHooks();
    m_docs.reset();
    m_mainFrame.reset();
}

void CTalvernApp::OnFileNew()
{
    const int plotType = m_env.store.GetInt(names::kRlcSettings, names::kDefaultPlotType, 1, 0, kMaxPlotType);
    const bool automatic = m_env.store.GetInt(names::kRlcSettings, names::kAutomaticDefaultType, 1) != 0;
    m_values.defaultPlotType = plotType;
    m_values.automaticDefaultType = automatic;
    int templateIndex = plotType;
    if (!automatic) {
        NewPlotTypeDialog dialog(plotType == 3 ? NewPlotTypeDialog::kNyquistPlot : NewPlotTypeDialog::kImpedancePlot,
                                 m_mainFrame.get());
        const int choice = dialog.Run();
        if (choice == 0)
            return;
        templateIndex = choice == NewPlotTypeDialog::kNyquistPlot ? 3 : 1;
    }
    if (CDocTemplate* docTemplate = m_docs->Template(templateIndex))
        m_docs->OpenNewDocument(*docTemplate);
}

void CTalvernApp::OnFileOpen()
{
    FileRequest request;
    request.caption = "Open";
    request.filter = DocumentFileFilter() + "All Files (*.*)|*.*||";
    request.defaultExtension = "tal";
    if (const std::optional<std::string> path = prompter().OpenFileName(request); path && !path->empty())
        OpenDocumentFile(*path);
}

CChildFrame* CTalvernApp::OpenDocumentFile(const std::string& path)
{
    ApplicationData& shared = m_values.shared;
    shared.requestedDisplayType = "OK";
    const QString name = QString::fromStdString(path);
    if (name.size() < 3 || name.right(3).compare(QLatin1String("tal"), Qt::CaseInsensitive) != 0) {
        m_reporter.ShowMessage("Invalid File Format");
        return nullptr;
    }
    CChildFrame* frame = m_docs->OpenDocumentFile(path, *m_docs->Template(0));
    if (!frame) {
        shared.requestedDisplayType.clear();
        return nullptr;
    }
    CTalDocument* doc = frame->Document();

    const std::string requested = shared.requestedDisplayType;
    int command = 0;
    if (requested == "Gain")
        command = cmd::AddGainDisplay;
    else if (requested == "Imp")
        command = cmd::AddImpDisplay;
    else if (requested == "Volt")
        command = cmd::VoltageDisplay;
    else if (requested == "Text")
        command = cmd::AddTextDisplay;
    else if (requested == "Nyq")
        command = cmd::AddNyquistDisplay;
    else if (requested != "OK")
        m_reporter.ShowMessage("Unknown data type- default display used.");

    if (command != 0) {
        const size_t framesBefore = m_docs->Frames(doc).size();
        m_mainFrame->ExecuteCommand(command);
        // Only once the recorded kind has a window does the first one go: a kind no window
        // shows (the voltage display) leaves the document in its first display.
        if (m_docs->Frames(doc).size() > framesBefore) {
            if (CChildFrame* first = m_docs->FrameOfFirstDisplay(doc))
                first->close();
            frame = m_docs->ActiveFrame();
        }
    }
    shared.requestedDisplayType.clear();
    return frame;
}

bool CTalvernApp::OnDDECommand(const std::string& command)
{
    if (m_shellQueue.Offer(command))
        return true;
    return ExecuteShellCommand(command);
}

bool CTalvernApp::ExecuteShellCommand(const std::string& command)
{
    const std::optional<std::string> path = ShellOpenCommandPath(command);
    if (!path || !m_docs)
        return false;
    if (m_mainFrame) {
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }
    return OpenDocumentFile(*path) != nullptr;
}

AnalyzerDialogContext CTalvernApp::DialogContext()
{
    // The dialog belongs to the main window: a display as its parent would take it down when its
    // document closes (the RLC panel closes an empty start-up document, for one).
    const AnalyzerTypeInfo* type = FindAnalyzerType(m_values.analyzerType);
    AnalyzerDialogContext context{m_values, type ? type->family : AnalyzerFamily::A2600, m_mainFrame.get(),
                                  {}, {}, {}, {}, {}};
    context.activeDisplay = [this]() -> QWidget* {
        CChildFrame* active = m_docs ? m_docs->ActiveFrame() : nullptr;
        return active ? active->Display() : nullptr;
    };
    context.progress = [this](int percent) {
        if (m_mainFrame)
            m_mainFrame->SetProgress(percent);
    };
    context.statusMessage = [this](const std::string& text) {
        if (m_mainFrame)
            m_mainFrame->SetMessageText(text);
    };
    context.setInput15Vmax = [this](bool active, bool quiet) { SetInput15Vmax(active, quiet); };
    context.setOutput5Vmax = [this](bool active, bool quiet) { SetOutput5Vmax(active, quiet); };
    return context;
}

bool CTalvernApp::ShowAnalyzerDialog(AnalyzerDialogs::ShowState state)
{
    return m_analyzers->ShowAnalyzerDialog(state, DialogContext());
}

void CTalvernApp::OnSettings()
{
    // The RLC control panel, were it open, closes first.
    DestroyRlcControlPanel();
    CSettingsDlg::Context context{m_values, m_env.store, {}, {}};
    context.familyDialog = [this] { return m_analyzers->CurrentFamily(); };
    context.statusMessage = [this](const std::string& text) { m_mainFrame->SetMessageText(text); };
    CSettingsDlg dialog(std::move(context), m_mainFrame.get());
    dialog.exec();
}

void CTalvernApp::SetInput15Vmax(bool active, bool quiet)
{
    m_warnings->SetInput15Vmax(active, quiet);
}

void CTalvernApp::SetOutput5Vmax(bool active, bool quiet)
{
    m_warnings->SetOutput5Vmax(active, quiet);
}

bool CTalvernApp::HasActiveDisplay() const
{
    return m_docs && m_docs->ActiveFrame() != nullptr;
}

bool CTalvernApp::OnCommand(int id)
{
    if (id >= cmd::FileMru1 && id <= cmd::FileMru4) {
        const int index = id - cmd::FileMru1;
        const std::vector<std::string>& files = m_recentFiles.Entries();
        if (index < static_cast<int>(files.size()) && !OpenDocumentFile(std::string(files[static_cast<size_t>(index)])))
            m_recentFiles.Remove(index);
        return true;
    }
    switch (id) {
    case cmd::FileNew:
        OnFileNew();
        return true;
    case cmd::FileOpen:
        OnFileOpen();
        return true;
    case cmd::FilePageSetup:
        RunPageSetupDialog(m_values.page, m_mainFrame.get());
        return true;
    case cmd::Settings:
        OnSettings();
        return true;
    case cmd::AnalyzerMenu:
        ShowAnalyzerDialog(AnalyzerDialogs::ShowState::Normal);
        return true;
    case cmd::RlcControlPanel: {
        // The analyzer dialog is prepared hidden, then the panel is created once over it.
        if (!ShowAnalyzerDialog(AnalyzerDialogs::ShowState::Hidden))
            return true;
        const auto display = [this](CChildFrame* frame) -> CTalView* {
            return frame ? qobject_cast<CTalView*>(frame->Display()) : nullptr;
        };
        AnalyzerControl* analyzer = m_analyzers->CurrentFamily();
        RlcPanelContext context{RlcValuesOf(m_values), *m_rlcSettings,   m_mainFrame.get(),
                                analyzer ? analyzer->Engine() : nullptr, {}, {}, {}, {}, {}};
        context.activeDisplay = [this, display] { return display(m_docs->ActiveFrame()); };
        context.closeDocument = [this](CTalDocument* doc) { m_docs->CloseDocument(doc); };
        context.openImpedanceDocument = [this, display]() -> CTalView* {
            CDocTemplate* impedance = m_docs->Template(1);
            return impedance ? display(m_docs->OpenNewDocument(*impedance)) : nullptr;
        };
        context.showAnalyzerDialog = [this](bool visible) {
            if (AnalyzerControl* current = m_analyzers->CurrentFamily(); current && current->Window())
                current->Window()->setVisible(visible);
        };
        context.statusMessage = [this](const std::string& text) { m_mainFrame->SetMessageText(text); };
        ShowRlcControlPanel(context);
        return true;
    }
    case cmd::HelpContents:
        m_help->OnHelp();
        return true;
    case cmd::HelpManual:
        m_help->OnManual();
        return true;
    case cmd::MatlabFiles:
        m_help->OnMatlabFiles();
        return true;
    case cmd::AppAbout: {
        CAboutDlg about(m_mainFrame.get());
        about.exec();
        return true;
    }
    case kShowSimulatorWindow:
        ShowSimulatorWindow();
        return true;
    case cmd::WarnInput15V:
        m_warnings->ToggleShowInputWarning();
        return true;
    case cmd::WarnOutput5V:
        m_warnings->ToggleShowOutputWarning();
        return true;
    case cmd::PaneInputLimit:
        m_warnings->OnInputPane();
        return true;
    case cmd::PaneOutputLimit:
        m_warnings->OnOutputPane();
        return true;
    default:
        return false;
    }
}

bool CTalvernApp::OnUpdateCommand(int id, CommandUi& ui)
{
    if (id >= cmd::FileMru1 && id <= cmd::FileMru4) {
        ui.enabled = true;
        return true;
    }
    switch (id) {
    case cmd::FilePageSetup:
    case cmd::AnalyzerMenu:
    case cmd::RlcControlPanel:
        ui.enabled = HasActiveDisplay();
        return true;
    case cmd::WarnInput15V:
        ui.enabled = m_warnings->CommandsEnabled();
        ui.checkable = true;
        ui.checked = ui.enabled && m_values.showInputWarning;
        return true;
    case cmd::WarnOutput5V:
        ui.enabled = m_warnings->CommandsEnabled();
        ui.checkable = true;
        ui.checked = ui.enabled && m_values.showOutputWarning;
        return true;
    case kShowSimulatorWindow:
        ui.enabled = m_simulatorWindow != nullptr;
        return true;
    case cmd::FileNew:
    case cmd::FileOpen:
    case cmd::Settings:
    case cmd::HelpContents:
    case cmd::HelpManual:
    case cmd::MatlabFiles:
    case cmd::AppAbout:
    case cmd::PaneInputLimit:
    case cmd::PaneOutputLimit:
        ui.enabled = true;
        return true;
    default:
        return false;
    }
}

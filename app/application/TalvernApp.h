#pragma once
// CTalvernApp: the application object. It starts the program in its fixed order (analyzer type,
// document templates, main window, preferences file and settings, title, help file, the command
// line's shell command), owns the program-wide values, opens documents in the display their
// file records, opens the analyzer control dialog on demand, answers the application's commands
// (File New and Open, Page Setup, Settings, the analyzer and RLC commands, Help, About, the
// voltage-limit warnings, recent files) and writes everything back at program end.
#include <memory>
#include <string>
#include <vector>

#include "app/application/AnalyzerDialogs.h"
#include "app/application/CommandLine.h"
#include "app/core/ApplicationValues.h"
#include "app/core/ShellCommandQueue.h"
#include "app/frame/RecentFileList.h"
#include "app/platform/PrompterReporter.h"
#include "app/prefs/PreferencesFile.h"
#include "rlc/ui/RlcPanelContext.h"
#include "data/DocumentView.h"
#include "views/command/CommandTarget.h"

class CChildFrame;
class CDocManager;
class CDocTemplate;
class CMainFrame;
class CTalView;
class DesktopOpener;
class HelpCommands;
class SettingsStore;
class SimulatorConnection;
class SimulatorWindow;
class VoltageLimitWarnings;

class CTalvernApp : public CommandTarget {
public:
    struct Environment {
        SettingsStore& store;
        PreferencesLocation preferences;
        DesktopOpener& opener;
        std::string programFolder;  // ends in "/"
        bool splashAllowed = true;
    };

    explicit CTalvernApp(Environment environment);
    ~CTalvernApp() override;
    CTalvernApp(const CTalvernApp&) = delete;
    CTalvernApp& operator=(const CTalvernApp&) = delete;

    // Start-up; false when it ends early and the program exits (ExitInstance still runs).
    bool InitInstance(const CommandLineInfo& commandLine);
    // Program end: the voltage-limit reminder, the per-type settings, the preferences file, the
    // recent files; then the windows go.
    void ExitInstance();

    ApplicationValues& Values() { return m_values; }
    int GetAnalyzerType() const { return m_values.analyzerType; }
    CMainFrame* MainFrame() const { return m_mainFrame.get(); }
    CDocManager* DocManager() const { return m_docs.get(); }
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    AnalyzerDialogs& Analyzers() { return *m_analyzers; }
    VoltageLimitWarnings& Warnings() { return *m_warnings; }
    HelpCommands& Help() { return *m_help; }
    CDocTemplate* ExtraTemplate(DisplayKind kind) const;
    // The "Simulated Instrument" window of a start with --simulate (and no bus library named).
    SimulatorWindow* Simulator() const { return m_simulatorWindow.get(); }

    void OnFileNew();
    void OnFileOpen();
    // Every way of opening a file comes here: the ".tal" check, the load, and the switch to the
    // display the file records.
    CChildFrame* OpenDocumentFile(const std::string& path);
    // A shell command from a later launch: queued until start-up has finished, then run.
    bool OnDDECommand(const std::string& command);
    bool ShowAnalyzerDialog(AnalyzerDialogs::ShowState state);
    // Prepares the analyzer dialog hidden, then opens the RLC control panel unless it is open.
    void OnRlcControlPanel();
    // Closes the RLC control panel, then runs the Settings dialog.
    void OnSettings();

    void SetInput15Vmax(bool active, bool quiet);
    void SetOutput5Vmax(bool active, bool quiet);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

    // Called when the main window has closed (the program then ends its event loop).
    std::function<void()> onMainWindowClosed;

private:
    bool ExecuteShellCommand(const std::string& command);
    bool ProcessShellCommand(const CommandLineInfo& commandLine);
    void CreateMainFrame(bool showSplash, bool simulated);
    // With --simulate: the simulated analyzer where the settings say the analyzer is.
    void PlaceSimulatedAnalyzer();
    void CreateSimulatorWindow();
    void ShowSimulatorWindow();
    AnalyzerDialogContext DialogContext();
    bool HasActiveDisplay() const;
    // "/p": the display printed on the default printer without a dialog.
    void PrintDirect(CTalView& view, const std::string& file);
    // Program end while the analyzer measures: asks to stop the measurement; false keeps running.
    bool MayEndWhileMeasuring();

    Environment m_env;
    std::unique_ptr<RlcSettingsSection> m_rlcSettings;  // the panel's "RLC Settings"
    ApplicationValues m_values;
    PrompterReporter m_reporter;
    ShellCommandQueue m_shellQueue;
    CRecentFileList m_recentFiles;
    bool m_recentFilesRead = false;
    bool m_ended = false;
    std::unique_ptr<AnalyzerDialogs> m_analyzers;
    std::unique_ptr<VoltageLimitWarnings> m_warnings;
    std::unique_ptr<HelpCommands> m_help;
    std::unique_ptr<CMainFrame> m_mainFrame;
    std::unique_ptr<CDocManager> m_docs;
    std::vector<std::unique_ptr<CDocTemplate>> m_extraTemplates;
    std::unique_ptr<SimulatorConnection> m_simulator;
    std::unique_ptr<SimulatorWindow> m_simulatorWindow;
};

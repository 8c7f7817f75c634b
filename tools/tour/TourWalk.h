#pragma once
// The tour itself: the real application and main window on the simulated analyzer, walked as a
// new user walks it. Each step drives the program through its real actions and buttons, takes
// pictures, and checks what a user would notice (a document that did not open, a file that was
// not written, a sweep that brought no data).
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/platform/DesktopOpener.h"
#include "app/prefs/PreferencesFile.h"
#include "data/DocumentView.h"

class CChildFrame;
class CMainFrame;
class CTalDocument;
class CTalvernApp;
class SettingsStore;
class SimulatorConnection;
class TourPrompter;
class TourRecorder;
class QWidget;

// The desktop's "open": logged, never handed to a real browser or file manager.
class TourOpener : public DesktopOpener {
public:
    explicit TourOpener(TourRecorder& recorder) : m_recorder(recorder) {}
    int Open(const std::string& path) override;

private:
    TourRecorder& m_recorder;
};

class TourWalk {
public:
    struct Setup {
        SettingsStore& store;
        PreferencesLocation preferences;
        std::string programFolder;
        const SimulatorConnection& simulator;
    };
    TourWalk(TourRecorder& recorder, TourPrompter& prompter, Setup setup);
    ~TourWalk();

    // Every step; `types` are the analyzer types swept (all when empty).
    void Run(const std::vector<std::string>& types);

    // The steps, in the order Run takes them.
    void FirstStart();
    void NewDocuments();
    void MenusOfEveryDisplay();
    void ToolbarButtons();
    void CopyAndPaste();
    void PicturesAndPrinting();
    void TransferFunctionWindow();
    void SimulatorWindowAgain();
    void SweepOn(const std::string& type);
    void RlcWorkflow();
    void SaveCloseAndExit();

private:
    bool Start(const std::string& type);
    void End();
    CMainFrame& Frame() const;
    CChildFrame* Active() const;
    CTalDocument* ActiveDocument() const;
    CChildFrame* Activate(CTalDocument* doc, DisplayKind kind);
    // Triggers the command's action as a click would; false when it is disabled or missing.
    bool Trigger(int id, const QString& shot, const std::function<void(QWidget*)>& answer = {});
    void WalkMenus(DisplayKind kind, const QString& label);
    int Configure(const std::string& text) const;

    TourRecorder& m_recorder;
    TourPrompter& m_prompter;
    Setup m_setup;
    TourOpener m_opener;
    std::unique_ptr<CTalvernApp> m_app;
    bool m_mainClosed = false;
};

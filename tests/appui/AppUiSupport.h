#pragma once
// Shared pieces of the window tests: the offscreen QApplication, a scripted prompter installed
// per test, a recording desktop opener, a temporary folder for preference files and documents,
// an application fixture, and a helper that acts on the next modal dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application/TalvernApp.h"
#include "app/platform/DesktopOpener.h"
#include "app/settings/MemorySettingsStore.h"
#include "data/DocumentView.h"
#include "data/ScriptedPrompter.h"

class RecordingOpener : public DesktopOpener {
public:
    int Open(const std::string& path) override
    {
        opened.push_back(path);
        return result;
    }
    int result = kShellOpenSucceeded;
    std::vector<std::string> opened;
};

// Runs `action` on the next modal dialog once it is shown (polling the event loop), so that a
// test can answer a dialog that the code under test runs with exec(). Stops watching when it
// goes out of scope; Fired() tells whether a dialog came.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> action);
    ~ModalWatcher();
    ModalWatcher(const ModalWatcher&) = delete;
    ModalWatcher& operator=(const ModalWatcher&) = delete;
    bool Fired() const { return m_fired; }

private:
    QTimer* m_timer;
    bool m_fired = false;
};
// Processes events, deferred deletions included.
void Pump();

// Writes a document with `sets` random data sets whose file records `kind` as its display.
void WriteDocument(const std::string& path, DisplayKind kind, int sets = 1);

// An application over an in-memory store, a scripted prompter and a temporary folder that
// serves as program folder (with a help file) and preferences location.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Constructs the application and runs its start-up with the command line.
    bool Start(const std::vector<std::string>& arguments = {});
    std::string TempPath(const std::string& name) const;
    std::vector<std::string> PromptTexts() const;

    QTemporaryDir m_dir;
    MemorySettingsStore m_store;
    ScriptedPrompter m_prompter;
    RecordingOpener m_opener;
    bool m_withHelpFile = true;
    std::unique_ptr<CTalvernApp> m_app;
};

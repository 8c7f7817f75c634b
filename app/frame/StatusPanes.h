#pragma once
// The main window's status bar panes for the analyzer type, and the sweep progress bar that sits
// over pane index 4. Id 10: message, output limit (300), input limit (299), caps, num and scroll
// lock, with pane double clicks sending the pane's command id. Other ids: message, caps, num,
// scroll lock and a blank pane of 30 spaces. The message pane shows "For Help, press F1" when
// idle; highlighted commands show their prompt over it. The lock panes read "CAP", "NUM" and
// "SCRL" while the lock is on, refreshed when a lock key is pressed and when the program is
// activated.
#include <QObject>

#include "app/platform/LockKeys.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QStatusBar;

class StatusPanes : public QObject {
public:
    static constexpr const char* kIdleMessage = "For Help, press F1";
    static constexpr int kProgressPane = 4;

    StatusPanes(QStatusBar& bar, int analyzerType, std::function<void(int id)> paneDoubleClicked,
                std::function<LockKeys()> readLockKeys = ReadLockKeys);

    int PaneCount() const { return static_cast<int>(m_panes.size()); }
    QLabel* Pane(int index) const;
    // The pane of a command id (299, 300), or nullptr.
    QLabel* PaneOfCommand(int id) const;
    QProgressBar* ProgressBar() const { return m_progress; }

    void SetMessageText(const std::string& text);
    void SetIdleMessage() { SetMessageText(kIdleMessage); }
    std::string MessageText() const;
    // Text of the pane of a command id.
    void SetPaneText(int id, const std::string& text);
    void SetProgress(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* AddPane(const QString& sizeText, int commandId, bool stretch);
    void PlaceProgressBar();
    void ShowLockKeys();

    QStatusBar& m_bar;
    std::vector<QLabel*> m_panes;
    std::vector<int> m_paneIds;
    std::function<void(int)> m_doubleClicked;
    std::function<LockKeys()> m_readLockKeys;
    QLabel* m_lockPanes[3] = {};  // caps, num, scroll
    QProgressBar* m_progress = nullptr;
};

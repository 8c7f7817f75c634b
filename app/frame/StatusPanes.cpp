#include "app/frame/StatusPanes.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include "app/core/AnalyzerTypes.h"
#include "views/command/CommandIds.h"

namespace {

bool IsLockKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

}  // namespace

StatusPanes::StatusPanes(QStatusBar& bar, int analyzerType, std::function<void(int id)> paneDoubleClicked,
                         std::function<LockKeys()> readLockKeys)
    : QObject(&bar), m_bar(bar), m_doubleClicked(std::move(paneDoubleClicked)),
      m_readLockKeys(std::move(readLockKeys))
{
    AddPane(QString(), 0, true)->setText(QString::fromUtf8(kIdleMessage));
    if (analyzerType == kAnalyzer2600) {
        for (int id : {static_cast<int>(cmd::PaneOutputLimit), static_cast<int>(cmd::PaneInputLimit)}) {
            QLabel* pane = AddPane(QStringLiteral("Output 5 Vpk max!"), id, false);
            pane->setStyleSheet(QStringLiteral("color: red;"));
        }
    }
    m_lockPanes[0] = AddPane(QStringLiteral("CAP"), 0, false);
    m_lockPanes[1] = AddPane(QStringLiteral("NUM"), 0, false);
    m_lockPanes[2] = AddPane(QStringLiteral("SCRL"), 0, false);
    if (analyzerType != kAnalyzer2600)
        AddPane(QString(30, u' '), 0, false);

    m_progress = new QProgressBar(&m_bar);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_panes[kProgressPane]->installEventFilter(this);
    PlaceProgressBar();
    // Lock keys change in any window of the program, or in another program meanwhile.
    qApp->installEventFilter(this);
    ShowLockKeys();
}

void StatusPanes::ShowLockKeys()
{
    if (!m_lockPanes[2])
        return;
    const LockKeys keys = m_readLockKeys ? m_readLockKeys() : LockKeys{};
    const bool on[3] = {keys.caps, keys.num, keys.scroll};
    const char* names[3] = {"CAP", "NUM", "SCRL"};
    for (int i = 0; i < 3; ++i)
        m_lockPanes[i]->setText(on[i] ? QString::fromLatin1(names[i]) : QString());
}

QLabel* StatusPanes::AddPane(const QString& sizeText, int commandId, bool stretch)
{
    auto* pane = new QLabel(&m_bar);
    pane->setFrameShape(QFrame::Panel);
    pane->setFrameShadow(QFrame::Sunken);
    if (!stretch)
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(sizeText) + 8);
    if (stretch)
        m_bar.addWidget(pane, 1);
    else
        m_bar.addPermanentWidget(pane);
    if (commandId != 0)
        pane->installEventFilter(this);
    m_panes.push_back(pane);
    m_paneIds.push_back(commandId);
    return pane;
}

QLabel* StatusPanes::Pane(int index) const
{
    return index >= 0 && index < PaneCount() ? m_panes[static_cast<size_t>(index)] : nullptr;
}

QLabel* StatusPanes::PaneOfCommand(int id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_paneIds[i] == id)
            return m_panes[i];
    return nullptr;
}

void StatusPanes::SetMessageText(const std::string& text)
{
    m_bar.clearMessage();
    m_panes.front()->setText(QString::fromStdString(text));
}

std::string StatusPanes::MessageText() const
{
    const QString shown = m_bar.currentMessage();
    return (shown.isEmpty() ? m_panes.front()->text() : shown).toStdString();
}

void StatusPanes::SetPaneText(int id, const std::string& text)
{
    if (QLabel* pane = PaneOfCommand(id))
        pane->setText(QString::fromStdString(text));
}

void StatusPanes::SetProgress(int percent)
{
    m_progress->setValue(std::clamp(percent, 0, 100));
}

void StatusPanes::PlaceProgressBar()
{
    m_progress->setGeometry(m_panes[kProgressPane]->geometry());
    m_progress->raise();
}

bool StatusPanes::eventFilter(QObject* watched, QEvent* event)
{
    if (IsLockKey(event) || (event->type() == QEvent::ApplicationStateChange &&
                             static_cast<QApplicationStateChangeEvent*>(event)->applicationState() ==
                                 Qt::ApplicationActive))
        ShowLockKeys();
    // Panes send events (style, font) while they are still being added: the progress pane and
    // the bar may not exist yet.
    if (m_progress && watched == Pane(kProgressPane) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show))
        PlaceProgressBar();
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (size_t i = 0; i < m_panes.size(); ++i) {
            if (m_panes[i] == watched && m_paneIds[i] != 0) {
                if (m_doubleClicked)
                    m_doubleClicked(m_paneIds[i]);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

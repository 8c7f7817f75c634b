#include "app/frame/SplashWnd.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/dialogs/ProgramPicture.h"

namespace {
CSplashWnd* g_splash = nullptr;
}

CSplashWnd::CSplashWnd(QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), m_owner(owner), m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kProgramPictureWidth, kProgramPictureHeight);
    const QRect area = owner && owner->isVisible() ? owner->frameGeometry()
                       : screen()                  ? screen()->geometry()
                                                   : QRect(0, 0, width(), height());
    move(area.center() - rect().center());
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    m_timer->start(kDisplayMilliseconds);
    qApp->installEventFilter(this);
}

CSplashWnd::~CSplashWnd()
{
    qApp->removeEventFilter(this);
    if (g_splash == this)
        g_splash = nullptr;
}

void CSplashWnd::ShowSplashScreen(QWidget* owner)
{
    if (g_splash)
        return;
    g_splash = new CSplashWnd(owner);
    g_splash->show();
}

CSplashWnd* CSplashWnd::Current()
{
    return g_splash;
}

void CSplashWnd::HideSplashScreen()
{
    CSplashWnd* splash = g_splash;
    if (!splash)
        return;
    g_splash = nullptr;
    qApp->removeEventFilter(splash);
    QWidget* owner = splash->m_owner;
    splash->close();
    if (owner) {
        owner->update();
        if (owner->isVisible())
            owner->activateWindow();  // the splash took the activation when it came up
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, ProgramPicture());
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed, so that a shortcut key arrives as the key press that closes the splash.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        if (watched->isWidgetType()) {
            // The input closes the splash and does nothing else, unless a prompt came up over
            // it: that prompt gets its input.
            HideSplashScreen();
            return !QApplication::activeModalWidget();
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

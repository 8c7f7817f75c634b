#include "TourRecorder.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <iostream>
#include <vector>

namespace {

QString FileSafe(QString text)
{
    text.remove(QLatin1Char('&'));
    QString safe;
    for (const QChar c : text.toLower())
        safe += c.isLetterOrNumber() ? c : QLatin1Char('-');
    while (safe.contains(QLatin1String("--")))
        safe.replace(QLatin1String("--"), QLatin1String("-"));
    while (safe.endsWith(QLatin1Char('-')))
        safe.chop(1);
    while (safe.startsWith(QLatin1Char('-')))
        safe.remove(0, 1);
    return safe.left(60);
}

}  // namespace

TourRecorder::TourRecorder(const QString& folder) : m_folder(folder)
{
    QDir().mkpath(folder);
    m_log.open((folder + QStringLiteral("/tour.log")).toStdString());
}

QString TourRecorder::Path(const QString& file) const
{
    return m_folder + QLatin1Char('/') + file;
}

QString TourRecorder::Shot(const QString& name, QWidget* widget)
{
    if (!widget)
        return {};
    Pump(30);
    const QString path = Path(QStringLiteral("%1-%2.png").arg(++m_step, 3, 10, QLatin1Char('0')).arg(FileSafe(name)));
    if (!widget->grab().save(path, "PNG"))
        Fail("cannot save " + path.toStdString());
    return path;
}

void TourRecorder::ScreenShot(const QString& name)
{
    Pump(30);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const QString path = Path(QStringLiteral("%1-%2.png").arg(++m_step, 3, 10, QLatin1Char('0')).arg(FileSafe(name)));
    screen->grabWindow(0).save(path, "PNG");
}

void TourRecorder::Log(const std::string& line)
{
    std::cout << line << std::endl;
    m_log << line << '\n';
    m_log.flush();
}

void TourRecorder::Fail(const std::string& what)
{
    ++m_failures;
    Log("FAIL: " + what);
}

bool TourRecorder::Check(bool condition, const std::string& what)
{
    if (!condition)
        Fail(what);
    return condition;
}

int TourRecorder::WithModals(const QString& name, const std::function<void()>& action,
                             const std::function<void(QWidget*)>& answer)
{
    struct Seen {
        QPointer<QWidget> dialog;
        int ticks = 0;
        bool answered = false;
    };
    std::vector<Seen> seen;
    int count = 0;
    QTimer timer;
    timer.setInterval(40);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            bool known = false;
            for (const Seen& s : seen)
                known = known || s.dialog == modal;
            if (!known)
                seen.push_back({modal, 0, false});
        }
        for (Seen& s : seen) {
            if (!s.dialog || !s.dialog->isVisible())
                continue;
            ++s.ticks;
            // A few ticks to lay out and paint first; then the picture and the answer.
            if (s.ticks == 4 && !s.answered) {
                s.answered = true;
                ++count;
                const QString title = s.dialog->windowTitle().isEmpty() ? QStringLiteral("dialog") : s.dialog->windowTitle();
                Log("  modal \"" + title.toStdString() + "\"");
                Shot(name + QLatin1Char('-') + title, s.dialog);
                if (answer)
                    answer(s.dialog);
                else
                    s.dialog->close();
            } else if (s.ticks == 40) {
                Log("  modal \"" + s.dialog->windowTitle().toStdString() + "\" stayed open after its answer: closed");
                if (auto* dialog = qobject_cast<QDialog*>(s.dialog.data()))
                    dialog->reject();
                else
                    s.dialog->close();
            }
        }
    });
    timer.start();
    action();
    Pump(60);
    return count;
}

bool TourRecorder::WaitUntil(const std::function<bool()>& done, int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

void TourRecorder::Pump(int milliseconds)
{
    QDeadlineTimer deadline(milliseconds);
    do {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    } while (!deadline.hasExpired());
}

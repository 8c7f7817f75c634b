#pragma once
// The tour's camera and log: numbered PNG pictures of windows and dialogs, a log of every step
// and of what went wrong, and the handling of modal dialogs opened by a step (each one grabbed,
// then answered or closed by a timer, so that no step waits for a hand).
#include <QString>

#include <functional>
#include <fstream>
#include <string>

class QWidget;

class TourRecorder {
public:
    explicit TourRecorder(const QString& folder);

    QString Path(const QString& file) const;
    // Saves the widget's picture as "NN-name.png" and returns the path.
    QString Shot(const QString& name, QWidget* widget);
    // The whole screen as the user sees it, where the platform can grab it.
    void ScreenShot(const QString& name);

    void Log(const std::string& line);
    void Fail(const std::string& what);
    bool Check(bool condition, const std::string& what);
    int Failures() const { return m_failures; }

    // Runs `action`; every modal dialog it opens is grabbed as "NN-name-<title>.png" and given to
    // `answer`, or closed when there is none (or the answer left it open). Returns the count.
    int WithModals(const QString& name, const std::function<void()>& action,
                   const std::function<void(QWidget* dialog)>& answer = {});
    // Processes events until `done` returns true or `milliseconds` have passed.
    bool WaitUntil(const std::function<bool()>& done, int milliseconds);
    static void Pump(int milliseconds = 50);

private:
    QString m_folder;
    std::ofstream m_log;
    int m_step = 0;
    int m_failures = 0;
};

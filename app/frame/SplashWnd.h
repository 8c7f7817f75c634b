#pragma once
// CSplashWnd: a caption-less window with the program picture, centred over its owner, shown
// for 3000 ms or until the first key press or mouse button press anywhere in the program; that
// input only closes it. At most one exists.
#include <QWidget>

class QTimer;

class CSplashWnd : public QWidget {
public:
    static constexpr int kDisplayMilliseconds = 3000;

    // Shows the splash over `owner`; does nothing when one is shown already.
    static void ShowSplashScreen(QWidget* owner);
    // The one shown now, or nullptr.
    static CSplashWnd* Current();
    // Hides and destroys it, and repaints the owner.
    static void HideSplashScreen();

    ~CSplashWnd() override;

protected:
    explicit CSplashWnd(QWidget* owner);
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_owner;
    QTimer* m_timer;
};

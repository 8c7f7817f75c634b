#pragma once
// Moving a small child window by its caption strip: the caption's press, move and release.
#include <QPoint>

class QEvent;
class QWidget;

class CaptionDrag {
public:
    // Handles a mouse event of the caption of `window` (a press also raises the window); true
    // for press, move and release, false for every other event.
    bool Filter(QWidget& window, QEvent* event);

private:
    bool m_dragging = false;
    QPoint m_grab;
};

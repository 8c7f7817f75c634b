#include "views/base/CaptionDrag.h"

#include <QMouseEvent>
#include <QWidget>

bool CaptionDrag::Filter(QWidget& window, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        m_dragging = mouse->button() == Qt::LeftButton;
        m_grab = mouse->globalPosition().toPoint() - window.pos();
        window.raise();
        return true;
    }
    case QEvent::MouseMove:
        if (m_dragging)
            window.move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_grab);
        return true;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return true;
    default:
        return false;
    }
}

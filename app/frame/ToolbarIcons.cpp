#include "app/frame/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

#include "views/command/CommandIds.h"

namespace {

constexpr int kSize = 24;

void Page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.drawPath(path);
}

void Curve(QPainter& p, const QRectF& r, const QColor& colour)
{
    QPainterPath path;
    for (int i = 0; i <= 20; ++i) {
        const double u = i / 20.0;
        const QPointF point(r.left() + u * r.width(),
                            r.center().y() - std::sin(u * 2 * M_PI) * r.height() / 2);
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, 2));
    p.drawPath(path);
}

void Draw(QPainter& p, int id)
{
    const QColor ink(40, 40, 40);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setBold(true);
    switch (id) {
    case cmd::FileNew:
        Page(p, QRectF(5, 2, 14, 20));
        break;
    case cmd::FileOpen:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(240, 200, 90));
        p.drawRect(QRectF(2, 7, 20, 14));
        p.drawRect(QRectF(2, 4, 8, 3));
        break;
    case cmd::FileSave:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(70, 90, 170));
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.drawRect(QRectF(7, 14, 10, 7));
        break;
    case cmd::EditCut:
        p.setPen(QPen(ink, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(8, 3), QPointF(15, 16));
        p.drawLine(QPointF(16, 3), QPointF(9, 16));
        p.drawEllipse(QPointF(7, 19), 3, 3);
        p.drawEllipse(QPointF(17, 19), 3, 3);
        break;
    case cmd::EditCopy:
        Page(p, QRectF(3, 2, 12, 15));
        Page(p, QRectF(9, 7, 12, 15));
        break;
    case cmd::EditPaste:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(190, 140, 80));
        p.drawRect(QRectF(3, 4, 14, 18));
        Page(p, QRectF(10, 9, 11, 13));
        break;
    case cmd::EditDelete:
        p.setPen(QPen(QColor(200, 30, 30), 3));
        p.drawLine(QPointF(5, 5), QPointF(19, 19));
        p.drawLine(QPointF(19, 5), QPointF(5, 19));
        break;
    case cmd::FilePrint:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(2, 10, 20, 9));
        Page(p, QRectF(6, 2, 12, 8));
        Page(p, QRectF(6, 16, 12, 6));
        break;
    case cmd::FilePrintPreview:
        Page(p, QRectF(3, 2, 14, 19));
        p.setPen(QPen(ink, 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPointF(14, 13), 5, 5);
        p.drawLine(QPointF(17.5, 16.5), QPointF(22, 21));
        break;
    case cmd::AddSlideBar:
        Curve(p, QRectF(2, 6, 20, 12), QColor(220, 40, 40));
        p.setPen(QPen(QColor(0, 120, 0), 2));
        p.drawLine(QPointF(14, 2), QPointF(14, 22));
        break;
    case cmd::ShowDataDescription:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(255, 255, 200));
        p.drawRoundedRect(QRectF(2, 3, 20, 14), 3, 3);
        p.drawLine(QPointF(7, 17), QPointF(5, 22));
        p.drawLine(QPointF(5, 22), QPointF(11, 17));
        p.drawLine(QPointF(6, 8), QPointF(18, 8));
        p.drawLine(QPointF(6, 12), QPointF(15, 12));
        break;
    case cmd::AddGraphDescription:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 4, 20, 16));
        font.setPixelSize(14);
        p.setFont(font);
        p.drawText(QRectF(2, 4, 20, 16), Qt::AlignCenter, QStringLiteral("T"));
        break;
    case cmd::DoMath:
        font.setPixelSize(20);
        p.setFont(font);
        p.setPen(QColor(30, 60, 160));
        p.drawText(QRectF(0, 0, kSize, kSize), Qt::AlignCenter, QString(QChar(0x2211)));
        break;
    case cmd::ErrorAmps: {
        QPainterPath amp;
        amp.moveTo(5, 3);
        amp.lineTo(20, 12);
        amp.lineTo(5, 21);
        amp.closeSubpath();
        p.setPen(QPen(ink, 1.4));
        p.setBrush(QColor(230, 230, 250));
        p.drawPath(amp);
        p.drawLine(QPointF(1, 8), QPointF(5, 8));
        p.drawLine(QPointF(1, 16), QPointF(5, 16));
        p.drawLine(QPointF(20, 12), QPointF(23, 12));
        break;
    }
    case cmd::AnalyzerMenu:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(30, 30, 30));
        p.drawRect(QRectF(2, 4, 20, 16));
        Curve(p, QRectF(4, 7, 16, 10), QColor(80, 255, 80));
        break;
    case cmd::HelpContents:
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(255, 240, 120));
        p.drawEllipse(QRectF(2, 2, 20, 20));
        font.setPixelSize(15);
        p.setFont(font);
        p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
        break;
    default:
        break;
    }
}

}  // namespace

QIcon ToolbarIcon(int id)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        Draw(painter, id);
    }
    return QIcon(pixmap);
}

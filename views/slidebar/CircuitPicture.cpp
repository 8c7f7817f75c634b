#include "views/slidebar/CircuitPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace {

// A resistor as a zig-zag from `a` to `b` (horizontal).
void DrawResistor(QPainter& p, QPointF a, QPointF b)
{
    const double length = b.x() - a.x(), lead = length * 0.2;
    QPainterPath path(a);
    path.lineTo(a.x() + lead, a.y());
    const int teeth = 6;
    const double step = (length - 2 * lead) / teeth;
    for (int i = 0; i < teeth; ++i)
        path.lineTo(a.x() + lead + step * (i + 0.5), a.y() + (i % 2 ? 5 : -5));
    path.lineTo(b.x() - lead, a.y());
    path.lineTo(b);
    p.drawPath(path);
}

// A capacitor (two plates) or an inductor (four turns) from `a` to `b` (horizontal).
void DrawReactive(QPainter& p, QPointF a, QPointF b, bool capacitance)
{
    const double mid = (a.x() + b.x()) / 2, y = a.y();
    if (capacitance) {
        p.drawLine(a, QPointF(mid - 3, y));
        p.drawLine(QPointF(mid + 3, y), b);
        p.drawLine(QPointF(mid - 3, y - 7), QPointF(mid - 3, y + 7));
        p.drawLine(QPointF(mid + 3, y - 7), QPointF(mid + 3, y + 7));
        return;
    }
    const double width = (b.x() - a.x()) * 0.6, start = mid - width / 2, turn = width / 4;
    p.drawLine(a, QPointF(start, y));
    for (int i = 0; i < 4; ++i)
        p.drawArc(QRectF(start + i * turn, y - turn / 2, turn, turn), 0, 180 * 16);
    p.drawLine(QPointF(start + width, y), b);
}

}  // namespace

CCircuitPicture::CCircuitPicture(QWidget* parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setToolTip(QStringLiteral("Series or parallel circuit"));
    setFocusPolicy(Qt::TabFocus);
}

void CCircuitPicture::SetCapacitance(bool capacitance)
{
    if (m_capacitance != capacitance) {
        m_capacitance = capacitance;
        update();
    }
}

void CCircuitPicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    p.fillRect(r, Qt::white);
    p.setPen(QPen(isDown() ? Qt::darkGray : Qt::gray, 1));
    p.drawRect(r);
    p.setPen(QPen(Qt::black, 1.4));
    const double left = r.left() + 6, right = r.right() - 6, mid = r.center().y();
    const auto terminal = [&p](QPointF c) { p.drawEllipse(c, 2.5, 2.5); };
    if (!IsParallel()) {
        const double joint = (left + right) / 2;
        DrawResistor(p, {left, mid}, {joint, mid});
        DrawReactive(p, {joint, mid}, {right, mid}, m_capacitance);
    } else {
        const double inner = left + 12, outer = right - 12, top = mid - 10, bottom = mid + 10;
        p.drawLine(QPointF(left, mid), QPointF(inner, mid));
        p.drawLine(QPointF(outer, mid), QPointF(right, mid));
        p.drawLine(QPointF(inner, top), QPointF(inner, bottom));
        p.drawLine(QPointF(outer, top), QPointF(outer, bottom));
        DrawResistor(p, {inner, top}, {outer, top});
        DrawReactive(p, {inner, bottom}, {outer, bottom}, m_capacitance);
    }
    terminal({left, mid});
    terminal({right, mid});
}

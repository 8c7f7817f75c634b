#include "rlc/ui/CircuitSchematic.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

#include "rlc/model/CircuitKind.h"

namespace {

constexpr int kTerminalRadius = 3;
constexpr int kPenWidth = 3;
constexpr int kMargin = 12;
constexpr int kPartLength = 44;  // the symbol itself; leads fill the rest of a branch

// Lead from x0 to the symbol, the symbol centred between x0 and x1 at height y, lead to x1.
void DrawPart(QPainter& p, SchematicPart part, int x0, int x1, int y, const char* label)
{
    const int length = std::min(kPartLength, x1 - x0 - 8);
    const int s0 = (x0 + x1 - length) / 2;
    const int s1 = s0 + length;
    QPainterPath path;
    path.moveTo(x0, y);
    path.lineTo(s0, y);
    switch (part) {
    case SchematicPart::Resistor: {
        constexpr int kTeeth = 6;
        const double step = double(length) / (2 * kTeeth);
        for (int i = 0; i < 2 * kTeeth; ++i)
            path.lineTo(s0 + step * (i + 0.5), y + (i % 2 == 0 ? -7 : 7));
        path.lineTo(s1, y);
        break;
    }
    case SchematicPart::Inductor: {
        constexpr int kTurns = 4;
        const double width = double(length) / kTurns;
        for (int i = 0; i < kTurns; ++i)
            path.arcTo(QRectF(s0 + i * width, y - width / 2, width, width), 180, -180);
        break;
    }
    case SchematicPart::Capacitor: {
        const int mid = (s0 + s1) / 2;
        path.lineTo(mid - 4, y);
        path.moveTo(mid - 4, y - 10);
        path.lineTo(mid - 4, y + 10);
        path.moveTo(mid + 4, y - 10);
        path.lineTo(mid + 4, y + 10);
        path.moveTo(mid + 4, y);
        path.lineTo(s1, y);
        break;
    }
    }
    path.lineTo(x1, y);
    p.drawPath(path);
    p.drawText(QRect(s0, y - 26, length, 14), Qt::AlignCenter, QString::fromLatin1(label));
}

const char* PartLabel(SchematicPart part, int kind, bool parallel)
{
    switch (part) {
    case SchematicPart::Resistor: return kind == KIND_R_PLUS_R_PAR_C && parallel ? "Rp" : "R";
    case SchematicPart::Inductor: return "L";
    case SchematicPart::Capacitor: return "C";
    }
    return "";
}

}  // namespace

void DrawCircuitSchematic(QPainter& p, const QRect& area, int kind)
{
    p.fillRect(area, Qt::white);
    const std::vector<SchematicStage> stages = SchematicLayout(kind);
    if (stages.empty())
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(Qt::black, kPenWidth);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);

    const int y = area.top() + area.height() / 2 + 6;
    const int left = area.left() + kMargin;
    const int right = area.right() - kMargin;
    const int cell = (right - left) / int(stages.size());
    for (size_t i = 0; i < stages.size(); ++i) {
        const SchematicStage& stage = stages[i];
        const int x0 = left + cell * int(i);
        const int x1 = i + 1 == stages.size() ? right : x0 + cell;
        if (stage.size() == 1) {
            DrawPart(p, stage.front(), x0, x1, y, PartLabel(stage.front(), kind, false));
            continue;
        }
        // A parallel group: bus bars at both ends of the cell, one branch per part.
        const int count = int(stage.size());
        const int spread = std::min(area.height() / 2 - 19, count > 2 ? 40 : 34);
        const int top = y - spread;
        const int pitch = 2 * spread / (count - 1);
        const int b0 = x0 + 8;
        const int b1 = x1 - 8;
        p.drawLine(x0, y, b0, y);
        p.drawLine(b1, y, x1, y);
        p.drawLine(b0, top, b0, top + pitch * (count - 1));
        p.drawLine(b1, top, b1, top + pitch * (count - 1));
        for (int k = 0; k < count; ++k)
            DrawPart(p, stage[size_t(k)], b0, b1, top + pitch * k, PartLabel(stage[size_t(k)], kind, true));
    }
    // Terminals drawn last, filled white, so the wires end at their rims.
    p.setBrush(Qt::white);
    p.drawEllipse(QPoint(left, y), kTerminalRadius, kTerminalRadius);
    p.drawEllipse(QPoint(right, y), kTerminalRadius, kTerminalRadius);
    p.restore();
}

QImage CircuitSchematicImage(int kind, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawCircuitSchematic(painter, image.rect(), kind);
    return image;
}

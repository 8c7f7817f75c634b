#pragma once
// The Model page's drawing of a circuit kind: two terminal circles joined through the kind's
// parts (zig-zag resistors, inductor humps, capacitor plates) with a 3-pixel black pen on white,
// series stages side by side and parallel parts as branches one above the other.
#include <QImage>
#include <QSize>

class QPainter;
class QRect;

// The schematic size the Model page shows and copies.
inline constexpr QSize kSchematicSize{260, 130};

void DrawCircuitSchematic(QPainter& painter, const QRect& area, int kind);
// The schematic as a picture (white only for an unknown kind).
QImage CircuitSchematicImage(int kind, QSize size = kSchematicSize);

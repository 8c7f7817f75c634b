#pragma once
// The drawing of the boxes over a graph: the legend with its line samples, the title and the
// text boxes with their font, colour and justification, and the marks of a selected box.
// The displays draw their live boxes through these; a renderer without a display draws the
// stored records with the default looks (DrawStoredBoxes).
#include <QFont>
#include <cstdint>

#include "data/DisplayState.h"
#include "views/base/LogicalMapping.h"

class ViewPainter;
struct ViewFields;

namespace annotations {

// The justification stored with a text (its 16-bit integer): the rich-edit paragraph codes.
// Any other value (0 in older files) means the box's own default: left for text boxes,
// centred for the title.
enum Justify : uint16_t { kJustifyLeft = 1, kJustifyRight = 2, kJustifyCenter = 3 };
Qt::Alignment AlignmentFor(uint16_t stored, bool title);

// The font a box writes with: family and style, and the character height in logical units
// (0 for the default: the label size for text boxes, the caption size for the title).
struct BoxFont {
    QFont face = QFont(QStringLiteral("Arial"));
    int logicalHeight = 0;
};
// The character height in logical units the box font has on this mapping.
int BoxFontHeight(const BoxFont& font, const LogicalMapping& mapping, bool title);
// The Qt font at the device size of the mapping.
QFont DeviceFont(const BoxFont& font, const LogicalMapping& mapping, bool title);

// Stored text ("\r\n" between lines) to the editor's form and back.
QString TextFromStored(const std::string& text);
std::string TextToStored(const QString& text);

void DrawLegend(ViewPainter& dc, const ViewFields& fields, const StoredLegend& legend, bool selected);
// A text box (framed, on white) or the title (unframed, on the display's background).
void DrawTextBox(ViewPainter& dc, const ViewFields& fields, const StoredTextBox& box, const BoxFont& font,
                 bool selected, bool title);
// Legend, title (when present) and text boxes, each when shown, with the default looks.
void DrawStoredBoxes(ViewPainter& dc, const ViewFields& fields);

}  // namespace annotations

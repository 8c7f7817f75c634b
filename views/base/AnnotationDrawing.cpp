// The boxes over a graph (legend, title, text boxes) inside the graph's clip: the display's
// live boxes when it has installed them, else the stored records.
#include "views/annotations/BoxDrawing.h"
#include "views/base/GraphRenderer.h"

void CGraphRenderer::DrawAnnotations(ViewPainter& dc)
{
    if (drawAnnotations)
        drawAnnotations(dc);
    else
        annotations::DrawStoredBoxes(dc, m_f);
}

#pragma once
// CGraphLegendObj: the legend box with its two lines (text and colour), the display's legend
// record. A double click on it is taken and does nothing.
#include "views/annotations/ViewObj.h"

class CGraphLegendObj : public CViewObj {
public:
    explicit CGraphLegendObj(CTalView& owner) : CViewObj(owner) {}
    StoredViewObj& Obj() override;
    void Draw(ViewPainter& dc) override;
};

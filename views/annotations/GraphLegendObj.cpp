#include "views/annotations/GraphLegendObj.h"

#include "views/annotations/BoxDrawing.h"
#include "views/base/TalView.h"

StoredViewObj& CGraphLegendObj::Obj()
{
    return m_owner.Fields().legend.obj;
}

void CGraphLegendObj::Draw(ViewPainter& dc)
{
    if (Obj().shown)
        annotations::DrawLegend(dc, m_owner.Fields(), m_owner.Fields().legend, IsSelected());
}

#include "views/annotations/GraphTitleObj.h"

#include "views/annotations/GraphDescArray.h"
#include "views/base/TalView.h"

StoredTextBox& CGraphTitleObj::Box()
{
    return m_owner.Fields().title;
}

StoredTextBox CGraphTitleObj::NewRecord(const LogicalRect& graph)
{
    StoredTextBox title;
    title.obj.rect = {graph.left, 0, graph.right, graph.top};
    title.obj.movable = 0;
    title.obj.fourthFlag = 0;
    title.text = CGraphDescArray::kNewText;
    return title;
}

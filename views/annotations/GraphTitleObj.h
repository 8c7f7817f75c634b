#pragma once
// CGraphTitleObj: the graph's title, a text box over the width of the graph from the window
// top to the graph top; not movable. Its record is the display's title record.
#include "views/annotations/GraphDescObj.h"

class CGraphTitleObj : public CGraphDescObj {
public:
    explicit CGraphTitleObj(CTalView& owner) : CGraphDescObj(owner, -1) {}
    StoredTextBox& Box() override;
    bool IsTitle() const override { return true; }

    // The record of a new title for the graph rectangle: shown, not movable, fourth flag cleared.
    static StoredTextBox NewRecord(const LogicalRect& graph);
};

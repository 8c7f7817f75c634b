#pragma once
// CGraphDescArray: the display's text boxes, one object per stored text-box record, with the
// dragging flag and the index of the box being dragged. Later boxes are drawn over earlier
// ones, so the mouse reaches the last box under the pointer first.
#include <memory>
#include <string>
#include <vector>

#include "views/annotations/GraphDescObj.h"

class CGraphDescArray {
public:
    // The text of a new box.
    static constexpr const char* kNewText = "double-click to insert text";

    explicit CGraphDescArray(CTalView& owner) : m_owner(owner) {}

    // One object per record of the display (records replaced by a file load or a copy keep
    // the objects, and with them the fonts, of their index).
    void Sync();
    int GetSize() const { return int(m_boxes.size()); }
    CGraphDescObj* At(int index) const;

    // Appends a box with the record and returns its index.
    int Add(const StoredTextBox& record);
    // Deletes box `index` and its record; its area is invalidated.
    void RemoveAt(int index);

    // The topmost box under the point takes the press; every other box is deselected.
    bool OnLButtonDown(int x, int y);
    bool OnMouseMove(int x, int y);
    bool IsDragging() const { return m_dragging; }
    void OnLButtonUp(int x, int y);
    // The index of the topmost box that took the right press, or -1.
    int OnRButtonDown(int x, int y);
    bool OnLButtonDblClk(int x, int y);
    void Draw(ViewPainter& dc);

    void DeselectAll();
    int FirstSelected() const;
    CGraphDescObj* Editing() const;
    void EndEditing();
    // Deletes every selected box; true when any was.
    bool DeleteSelected();

private:
    CTalView& m_owner;
    std::vector<std::unique_ptr<CGraphDescObj>> m_boxes;
    bool m_dragging = false;
    int m_dragIndex = -1;
};

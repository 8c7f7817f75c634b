#pragma once
// CViewObj: the common base of the boxes drawn over a graph (text boxes, the title, the
// legend). The stored part (rectangle in logical units, flags, grip size) lives in the
// display's fields, so that a saved document holds what the user sees; the object keeps the
// live state: selection, dragging, the zone under the mouse and the grab offset.
#include <Qt>

#include "data/DisplayState.h"
#include "views/base/LogicalMapping.h"

class CTalView;
class ViewPainter;

// Where a point lies in a box: the interior moves it, edges and corners resize it.
enum class HitZone { None, Interior, TopLeft, Top, TopRight, Left, Right, BottomLeft, Bottom, BottomRight };

// The zone of a point inside the box: none when the box cannot move, the interior when it
// moves but does not resize, else by the grip-wide bands along the edges.
HitZone HitZoneAt(const StoredViewObj& obj, int x, int y);
Qt::CursorShape CursorForZone(HitZone zone);
bool BoxContains(const StoredRect& rect, int x, int y);

class CViewObj {
public:
    explicit CViewObj(CTalView& owner) : m_owner(owner) {}
    CViewObj(const CViewObj&) = delete;
    CViewObj& operator=(const CViewObj&) = delete;
    virtual ~CViewObj() = default;

    virtual StoredViewObj& Obj() = 0;
    const StoredViewObj& Obj() const { return const_cast<CViewObj*>(this)->Obj(); }

    // Invalidates the box's area on the display.
    virtual void Redraw();
    // A left press: inside a shown, selectable box it selects the box, makes it active and
    // starts dragging when it is movable; outside it deselects it. True when active.
    virtual bool OnLButtonDown(int x, int y);
    virtual void Draw(ViewPainter& dc) = 0;
    // Moves or resizes a dragged box; true when its rectangle changed (the document is then
    // marked modified).
    virtual bool OnMouseMove(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    // A right press inside a shown box selects it; true when it hit.
    virtual bool OnRButtonDown(int x, int y);
    // True when the double click hit the box (the display stops passing it on).
    virtual bool OnLButtonDblClk(int x, int y);
    virtual HitZone GetZone(int x, int y) const { return HitZoneAt(Obj(), x, y); }

    bool IsSelected() const { return m_selected; }
    void SetSelected(bool selected);
    bool IsDragging() const { return m_dragging; }
    bool IsActive() const { return m_active; }
    // Shown and containing the point.
    bool Hit(int x, int y) const;

protected:
    CTalView& m_owner;
    bool m_selected = false;
    bool m_dragging = false;
    bool m_active = false;
    HitZone m_zone = HitZone::None;
    LogicalPoint m_grab;  // point minus top-left corner, for moving
};

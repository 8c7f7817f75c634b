#include "views/annotations/ViewObj.h"

#include <algorithm>

#include "data/TalDocument.h"
#include "views/base/TalView.h"

namespace {

// Grip sizes read from files are kept as stored but used within these bounds.
int EffectiveGrip(const StoredViewObj& obj)
{
    return std::clamp(obj.gripSize, 0, 100);
}

}  // namespace

bool BoxContains(const StoredRect& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

HitZone HitZoneAt(const StoredViewObj& obj, int x, int y)
{
    if (!obj.movable)
        return HitZone::None;
    if (!obj.resizable)
        return HitZone::Interior;
    const StoredRect& r = obj.rect;
    const int g = EffectiveGrip(obj);
    const bool left = x < r.left + g, right = x > r.right - g;
    if (y < r.top + g)
        return left ? HitZone::TopLeft : right ? HitZone::TopRight : HitZone::Top;
    if (y > r.bottom - g)
        return left ? HitZone::BottomLeft : right ? HitZone::BottomRight : HitZone::Bottom;
    return left ? HitZone::Left : right ? HitZone::Right : HitZone::Interior;
}

Qt::CursorShape CursorForZone(HitZone zone)
{
    switch (zone) {
    case HitZone::Interior:
        return Qt::SizeAllCursor;
    case HitZone::Top:
    case HitZone::Bottom:
        return Qt::SizeVerCursor;
    case HitZone::Left:
    case HitZone::Right:
        return Qt::SizeHorCursor;
    case HitZone::TopLeft:
    case HitZone::BottomRight:
        return Qt::SizeFDiagCursor;
    case HitZone::TopRight:
    case HitZone::BottomLeft:
        return Qt::SizeBDiagCursor;
    case HitZone::None:
        break;
    }
    return Qt::ArrowCursor;
}

void CViewObj::Redraw()
{
    const StoredRect& r = Obj().rect;
    const LogicalMapping m = m_owner.ClientMapping();
    // Widened by a few pixels so that frames and selection marks on the edge are repainted.
    m_owner.update(QRect(QPoint(m.DeviceX(r.left), m.DeviceY(r.top)), QPoint(m.DeviceX(r.right), m.DeviceY(r.bottom)))
                       .normalized()
                       .adjusted(-3, -3, 3, 3));
}

bool CViewObj::Hit(int x, int y) const
{
    return Obj().shown && BoxContains(Obj().rect, x, y);
}

void CViewObj::SetSelected(bool selected)
{
    if (m_selected == selected)
        return;
    m_selected = selected;
    Redraw();
}

bool CViewObj::OnLButtonDown(int x, int y)
{
    const StoredViewObj& obj = Obj();
    const bool inside = obj.selectable && Hit(x, y);
    m_active = inside;
    m_dragging = false;
    if (inside) {
        m_zone = GetZone(x, y);
        m_owner.setCursor(CursorForZone(m_zone));
        m_dragging = obj.movable && m_zone != HitZone::None;
        if (m_zone == HitZone::Interior)
            m_grab = {x - obj.rect.left, y - obj.rect.top};
    }
    SetSelected(inside);
    return inside;
}

bool CViewObj::OnMouseMove(int x, int y)
{
    if (!m_dragging)
        return false;
    const int extent = LogicalMapping::kWindowExtent;
    x = std::clamp(x, 0, extent);
    y = std::clamp(y, 0, extent);
    StoredViewObj& obj = Obj();
    const StoredRect before = obj.rect;
    StoredRect r = before;
    // A resized box keeps room for both grips, so it never turns inside out.
    const int minimum = 2 * EffectiveGrip(obj) + 2;
    const auto setLeft = [&] { r.left = std::min(x, r.right - minimum); };
    const auto setRight = [&] { r.right = std::max(x, r.left + minimum); };
    const auto setTop = [&] { r.top = std::min(y, r.bottom - minimum); };
    const auto setBottom = [&] { r.bottom = std::max(y, r.top + minimum); };
    switch (m_zone) {
    case HitZone::Interior: {
        // Moved with the grab offset kept, but never wholly out of the display.
        const int w = r.right - r.left, h = r.bottom - r.top;
        r.left = std::clamp(x - m_grab.x, std::min(0, extent - w), std::max(0, extent - w));
        r.top = std::clamp(y - m_grab.y, std::min(0, extent - h), std::max(0, extent - h));
        r.right = r.left + w;
        r.bottom = r.top + h;
        break;
    }
    case HitZone::TopLeft: setTop(); setLeft(); break;
    case HitZone::Top: setTop(); break;
    case HitZone::TopRight: setTop(); setRight(); break;
    case HitZone::Left: setLeft(); break;
    case HitZone::Right: setRight(); break;
    case HitZone::BottomLeft: setBottom(); setLeft(); break;
    case HitZone::Bottom: setBottom(); break;
    case HitZone::BottomRight: setBottom(); setRight(); break;
    case HitZone::None: break;
    }
    if (r == before)
        return false;
    Redraw();
    obj.rect = r;
    Redraw();
    m_owner.GetDocument()->SetModifiedFlag();
    return true;
}

void CViewObj::OnLButtonUp(int, int)
{
    if (m_active)
        m_owner.unsetCursor();
    m_dragging = false;
}

bool CViewObj::OnRButtonDown(int x, int y)
{
    const bool inside = Obj().selectable && Hit(x, y);
    if (inside)
        SetSelected(true);
    return inside;
}

bool CViewObj::OnLButtonDblClk(int x, int y)
{
    return Hit(x, y);
}

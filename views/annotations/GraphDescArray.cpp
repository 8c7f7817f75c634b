#include "views/annotations/GraphDescArray.h"

#include "data/TalDocument.h"
#include "views/base/TalView.h"

void CGraphDescArray::Sync()
{
    const size_t count = m_owner.Fields().descriptions.size();
    if (m_boxes.size() > count) {
        m_boxes.resize(count);
        if (m_dragIndex >= int(count)) {
            m_dragging = false;
            m_dragIndex = -1;
        }
    }
    while (m_boxes.size() < count)
        m_boxes.push_back(std::make_unique<CGraphDescObj>(m_owner, int(m_boxes.size())));
}

CGraphDescObj* CGraphDescArray::At(int index) const
{
    return index >= 0 && index < GetSize() ? m_boxes[size_t(index)].get() : nullptr;
}

int CGraphDescArray::Add(const StoredTextBox& record)
{
    Sync();
    m_owner.Fields().descriptions.push_back(record);
    Sync();
    const int index = GetSize() - 1;
    m_boxes.back()->Redraw();
    return index;
}

void CGraphDescArray::RemoveAt(int index)
{
    Sync();
    if (!At(index))
        return;
    m_boxes[size_t(index)]->EndEditing();
    m_boxes[size_t(index)]->Redraw();
    m_boxes.erase(m_boxes.begin() + index);
    auto& records = m_owner.Fields().descriptions;
    records.erase(records.begin() + index);
    for (int i = index; i < GetSize(); ++i)
        m_boxes[size_t(i)]->SetIndex(i);
    if (m_dragIndex == index) {
        m_dragging = false;
        m_dragIndex = -1;
    } else if (m_dragIndex > index) {
        --m_dragIndex;
    }
}

bool CGraphDescArray::OnLButtonDown(int x, int y)
{
    m_dragging = false;
    m_dragIndex = -1;
    bool taken = false;
    for (int i = GetSize() - 1; i >= 0; --i) {
        CGraphDescObj& box = *m_boxes[size_t(i)];
        if (taken) {
            box.SetSelected(false);
            continue;
        }
        taken = box.OnLButtonDown(x, y);
        if (box.IsDragging()) {
            m_dragging = true;
            m_dragIndex = i;
        }
    }
    return taken;
}

bool CGraphDescArray::OnMouseMove(int x, int y)
{
    CGraphDescObj* box = m_dragging ? At(m_dragIndex) : nullptr;
    return box && box->OnMouseMove(x, y);
}

void CGraphDescArray::OnLButtonUp(int x, int y)
{
    for (auto& box : m_boxes)
        box->OnLButtonUp(x, y);
    m_dragging = false;
    m_dragIndex = -1;
}

int CGraphDescArray::OnRButtonDown(int x, int y)
{
    for (int i = GetSize() - 1; i >= 0; --i)
        if (m_boxes[size_t(i)]->OnRButtonDown(x, y))
            return i;
    return -1;
}

bool CGraphDescArray::OnLButtonDblClk(int x, int y)
{
    for (int i = GetSize() - 1; i >= 0; --i)
        if (m_boxes[size_t(i)]->OnLButtonDblClk(x, y))
            return true;
    return false;
}

void CGraphDescArray::Draw(ViewPainter& dc)
{
    for (auto& box : m_boxes)
        box->Draw(dc);
}

void CGraphDescArray::DeselectAll()
{
    for (auto& box : m_boxes)
        box->SetSelected(false);
}

int CGraphDescArray::FirstSelected() const
{
    for (int i = 0; i < GetSize(); ++i)
        if (m_boxes[size_t(i)]->IsSelected())
            return i;
    return -1;
}

CGraphDescObj* CGraphDescArray::Editing() const
{
    for (const auto& box : m_boxes)
        if (box->IsEditing())
            return box.get();
    return nullptr;
}

void CGraphDescArray::EndEditing()
{
    for (auto& box : m_boxes)
        box->EndEditing();
}

bool CGraphDescArray::DeleteSelected()
{
    bool any = false;
    for (int i = GetSize() - 1; i >= 0; --i) {
        if (m_boxes[size_t(i)]->IsSelected()) {
            RemoveAt(i);
            any = true;
        }
    }
    return any;
}

#include "views/annotations/GraphAnnotations.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

#include "data/TalDocument.h"
#include "views/annotations/BoxPopupMenu.h"
#include "views/base/TalView.h"
#include "views/base/ViewSelection.h"
#include "views/command/CommandIds.h"

CGraphAnnotations::CGraphAnnotations(CTalView& view)
    : m_view(view), m_graph(view.Renderer() != nullptr), m_descriptions(view), m_legend(view)
{
    if (!m_graph)
        return;
    view.Renderer()->drawAnnotations = [this](ViewPainter& dc) { Draw(dc); };
    // Activating another window inside the display (a slide-bar or description window)
    // ends editing; popups and dialogs are windows of their own and leave it running.
    m_focusWatch = QObject::connect(qApp, &QApplication::focusChanged, &view, [this](QWidget*, QWidget* now) {
        CTalEdit* editor = ActiveEditor();
        if (!editor || !now || now == &m_view || now->window() != m_view.window())
            return;
        for (QWidget* w = now; w; w = w->parentWidget()) {
            if (w == editor)
                return;
            if (w == &m_view) {
                EndEditing();
                return;
            }
        }
    });
}

CGraphAnnotations::~CGraphAnnotations()
{
    // The display's renderer, which calls Draw, is destroyed before this (it belongs to the
    // display's subclass).
    QObject::disconnect(m_focusWatch);
}

void CGraphAnnotations::Sync()
{
    m_descriptions.Sync();
    const bool present = m_view.Fields().titlePresent;
    if (present && !m_title)
        m_title = std::make_unique<CGraphTitleObj>(m_view);
    else if (!present && m_title)
        m_title.reset();
}

CGraphDescArray& CGraphAnnotations::Descriptions()
{
    Sync();
    return m_descriptions;
}

CGraphTitleObj* CGraphAnnotations::Title()
{
    Sync();
    return m_title.get();
}

CTalEdit* CGraphAnnotations::ActiveEditor()
{
    if (m_title && m_title->IsEditing())
        return m_title->Editor();
    CGraphDescObj* box = m_descriptions.Editing();
    return box ? box->Editor() : nullptr;
}

CGraphDescObj* CGraphAnnotations::Target()
{
    Sync();
    if (m_title && (m_title->IsSelected() || m_title->IsEditing()))
        return m_title.get();
    if (CGraphDescObj* box = m_descriptions.Editing())
        return box;
    return m_descriptions.At(m_descriptions.FirstSelected());
}

bool CGraphAnnotations::AnyBoxSelected()
{
    Sync();
    return (m_title && m_title->IsSelected()) || m_descriptions.FirstSelected() >= 0;
}

void CGraphAnnotations::EndEditing()
{
    if (m_title)
        m_title->EndEditing();
    m_descriptions.EndEditing();
}

bool CGraphAnnotations::CommitEditing()
{
    const bool editing = ActiveEditor() != nullptr;
    EndEditing();
    return editing;
}

bool CGraphAnnotations::OnLButtonDown(int x, int y)
{
    if (!m_graph)
        return false;
    Sync();
    EndEditing();
    if (m_descriptions.OnLButtonDown(x, y)) {
        m_legend.SetSelected(false);
        if (m_title)
            m_title->SetSelected(false);
        m_view.DeselectAllDataSets();
        return true;
    }
    if (m_legend.OnLButtonDown(x, y)) {
        m_descriptions.DeselectAll();
        if (m_title)
            m_title->SetSelected(false);
        m_view.RecalcCurrentDataSet();
        return true;
    }
    if (m_title && m_title->OnLButtonDown(x, y)) {
        m_view.DeselectAllDataSets();
        m_descriptions.DeselectAll();
        m_legend.SetSelected(false);
        return true;
    }
    return false;
}

bool CGraphAnnotations::OnMouseMove(int x, int y)
{
    if (!m_graph)
        return false;
    Sync();
    if (m_descriptions.IsDragging())
        m_descriptions.OnMouseMove(x, y);
    else if (m_legend.IsDragging())
        m_legend.OnMouseMove(x, y);
    else if (m_title && m_title->IsDragging())
        m_title->OnMouseMove(x, y);
    else
        return false;
    return true;
}

void CGraphAnnotations::OnLButtonUp(int x, int y)
{
    if (!m_graph)
        return;
    Sync();
    m_descriptions.OnLButtonUp(x, y);
    m_legend.OnLButtonUp(x, y);
    if (m_title)
        m_title->OnLButtonUp(x, y);
}

bool CGraphAnnotations::OnLButtonDblClk(int x, int y)
{
    if (!m_graph)
        return false;
    Sync();
    return m_descriptions.OnLButtonDblClk(x, y) || m_legend.OnLButtonDblClk(x, y) ||
           (m_title && m_title->OnLButtonDblClk(x, y));
}

bool CGraphAnnotations::OnRButtonDown(int x, int y, const QPoint& globalPos)
{
    if (!m_graph)
        return false;
    Sync();
    EndEditing();
    CViewObj* hit = nullptr;
    if (m_legend.OnRButtonDown(x, y))
        hit = &m_legend;
    else if (m_title && m_title->OnRButtonDown(x, y))
        hit = m_title.get();
    else if (const int index = m_descriptions.OnRButtonDown(x, y); index >= 0)
        hit = m_descriptions.At(index);
    if (!hit)
        return false;
    // The popup's commands act on this box alone.
    if (hit != &m_legend)
        m_legend.SetSelected(false);
    if (m_title && hit != m_title.get())
        m_title->SetSelected(false);
    for (int i = 0; i < m_descriptions.GetSize(); ++i)
        if (m_descriptions.At(i) != hit)
            m_descriptions.At(i)->SetSelected(false);
    BuildPopup()->popup(globalPos);
    return true;
}

QMenu* CGraphAnnotations::BuildPopup()
{
    return BuildBoxPopupMenu(m_view, TitleShown());
}

void CGraphAnnotations::Draw(ViewPainter& dc)
{
    Sync();
    m_legend.Draw(dc);
    if (m_title)
        m_title->Draw(dc);
    m_descriptions.Draw(dc);
}

void CGraphAnnotations::AddGraphDescription()
{
    const LogicalRect& g = m_view.Fields().graphRect;
    const int cx = g.left + g.Width() * 3 / 4;
    const int cy = g.top + g.Height() / 4;
    StoredTextBox record;
    record.obj.rect = {cx - 150, cy - 75, cx + 150, cy + 75};
    record.text = CGraphDescArray::kNewText;
    m_descriptions.Add(record);
    m_view.GetDocument()->SetModifiedFlag();
}

void CGraphAnnotations::Remove()
{
    Sync();
    if (m_title && m_title->IsSelected()) {
        if (m_view.Fields().title.obj.shown)
            ToggleTitle();
        return;
    }
    const int index = m_descriptions.FirstSelected();
    if (index < 0)
        return;
    m_descriptions.RemoveAt(index);
    m_view.GetDocument()->SetModifiedFlag();
}

void CGraphAnnotations::DeleteSelectedDescriptions()
{
    if (m_graph && Descriptions().DeleteSelected())
        m_view.GetDocument()->SetModifiedFlag();
}

bool CGraphAnnotations::TitleShown() const
{
    const ViewFields& f = m_view.Fields();
    return f.titlePresent && f.title.obj.shown;
}

void CGraphAnnotations::ToggleTitle()
{
    ViewFields& f = m_view.Fields();
    if (!f.titlePresent) {
        f.title = CGraphTitleObj::NewRecord(f.graphRect);
        f.titlePresent = true;
        Sync();
    } else {
        Sync();
        f.title.obj.shown = !f.title.obj.shown;
        if (!f.title.obj.shown) {
            m_title->EndEditing();
            m_title->SetSelected(false);
        }
    }
    m_view.GetDocument()->SetModifiedFlag();
    m_view.Redraw();
}

void CGraphAnnotations::ToggleLegend()
{
    StoredViewObj& legend = m_view.Fields().legend.obj;
    legend.shown = !legend.shown;
    if (!legend.shown)
        m_legend.SetSelected(false);
    m_view.GetDocument()->SetModifiedFlag();
    m_view.Redraw();
}

bool CGraphAnnotations::EditCommand(int id)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (CTalEdit* editor = ActiveEditor()) {
        switch (id) {
        case cmd::EditSelectAll:
            editor->selectAll();
            break;
        case cmd::EditCopy:
            clipboard->clear();
            editor->copy();
            break;
        case cmd::EditCut:
            clipboard->clear();
            editor->cut();
            break;
        case cmd::EditPaste:
            editor->paste();
            break;
        }
        return true;
    }
    // A selected box with no data set selected: Copy takes its whole text, Cut also removes it.
    if (id != cmd::EditCopy && id != cmd::EditCut)
        return false;
    CGraphDescObj* box = Target();
    if (!box || selection::CountSelected(m_view.Fields().attribs) > 0)
        return false;
    clipboard->setText(annotations::TextFromStored(box->Box().text));
    if (id == cmd::EditCut)
        Remove();
    return true;
}

bool CGraphAnnotations::OnCommand(int id)
{
    if (!m_graph)
        return false;
    Sync();
    switch (id) {
    case cmd::AddGraphDescription:
        AddGraphDescription();
        return true;
    case cmd::PopupRemove:
        Remove();
        return true;
    case cmd::SelectFont:
        if (CGraphDescObj* box = Target())
            box->SelectFont();
        return true;
    case cmd::JustifyLeft:
    case cmd::JustifyCenter:
    case cmd::JustifyRight:
        if (CGraphDescObj* box = Target())
            box->SetJustify(id == cmd::JustifyLeft     ? annotations::kJustifyLeft
                            : id == cmd::JustifyCenter ? annotations::kJustifyCenter
                                                       : annotations::kJustifyRight);
        return true;
    case cmd::ToggleTitle:
        ToggleTitle();
        return true;
    case cmd::ToggleLegend:
        ToggleLegend();
        return true;
    case cmd::EditSelectAll:
    case cmd::EditCopy:
    case cmd::EditCut:
    case cmd::EditPaste:
        return EditCommand(id);
    default:
        return false;
    }
}

bool CGraphAnnotations::OnUpdateCommand(int id, CommandUi& ui)
{
    if (!m_graph)
        return false;
    ui = CommandUi{};
    switch (id) {
    case cmd::AddGraphDescription:
    case cmd::PopupRemove:
    case cmd::SelectFont:
    case cmd::JustifyLeft:
    case cmd::JustifyCenter:
    case cmd::JustifyRight:
        return true;
    case cmd::ToggleTitle:
        ui.checkable = true;
        ui.checked = TitleShown();
        return true;
    case cmd::ToggleLegend:
        ui.enabled = m_view.GetDocument()->GetDataSetCount() > 0;
        ui.checkable = true;
        ui.checked = m_view.Fields().legend.obj.shown != 0;
        return true;
    case cmd::EditCopy:
    case cmd::EditCut:
        Sync();
        if (ActiveEditor() || (selection::CountSelected(m_view.Fields().attribs) == 0 && AnyBoxSelected()))
            return true;
        return false;
    default:
        return false;
    }
}

#pragma once
// The boxes of one graph display (text boxes, title, legend) and what the display hands them:
// mouse presses, moves, releases, double and right clicks in the order text boxes, legend,
// title; the box commands (Add Graph Description, Remove, Select Font, Justify, the title and
// legend toggles); the edit commands while a box is selected or edited; and their drawing.
// The boxes' stored parts stay in the display's fields, so saving and copying displays keep
// working on those records; the objects here follow them (Sync).
#include <QMetaObject>
#include <QPoint>
#include <memory>

#include "views/annotations/GraphDescArray.h"
#include "views/annotations/GraphLegendObj.h"
#include "views/annotations/GraphTitleObj.h"
#include "views/command/CommandTarget.h"

class QMenu;

class CGraphAnnotations {
public:
    explicit CGraphAnnotations(CTalView& view);
    ~CGraphAnnotations();
    CGraphAnnotations(const CGraphAnnotations&) = delete;
    CGraphAnnotations& operator=(const CGraphAnnotations&) = delete;

    // Mouse events in logical coordinates; true when a box took the event.
    bool OnLButtonDown(int x, int y);
    bool OnMouseMove(int x, int y);
    void OnLButtonUp(int x, int y);
    bool OnLButtonDblClk(int x, int y);
    // Shows the box popup at `globalPos` when a box is hit.
    bool OnRButtonDown(int x, int y, const QPoint& globalPos);

    // The box commands and, while a box is edited or selected with no data set selected, the
    // edit commands; false for every other id.
    bool OnCommand(int id);
    bool OnUpdateCommand(int id, CommandUi& ui);

    void Draw(ViewPainter& dc);
    void EndEditing();
    // Ends editing before a save; true when a box was being edited.
    bool CommitEditing();
    // Hide deletes every selected text box.
    void DeleteSelectedDescriptions();
    void AddGraphDescription();
    void Remove();
    // Creates the title on first use, then shows or hides it.
    void ToggleTitle();
    void ToggleLegend();
    bool TitleShown() const;

    CGraphDescArray& Descriptions();
    CGraphLegendObj& Legend() { return m_legend; }
    CGraphTitleObj* Title();
    // The editor of the title or text box being edited, or null.
    CTalEdit* ActiveEditor();
    // The box popup for the current selection, not yet shown.
    QMenu* BuildPopup();

private:
    void Sync();
    // The selected (or edited) title, else the first selected (or edited) text box.
    CGraphDescObj* Target();
    bool AnyBoxSelected();
    bool EditCommand(int id);

    CTalView& m_view;
    const bool m_graph;  // only graph displays carry boxes
    CGraphDescArray m_descriptions;
    CGraphLegendObj m_legend;
    std::unique_ptr<CGraphTitleObj> m_title;
    QMetaObject::Connection m_focusWatch;
};

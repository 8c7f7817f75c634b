#pragma once
// CGraphDescObj: a text box on a graph (a graph description). Its stored part is the
// display's text-box record at its index; the object adds the font (not stored: a box read
// from a file keeps the font it was constructed with) and the in-place editor, whose text is
// copied back into the record as it is typed and when editing ends.
#include <QPointer>
#include <string>

#include "views/annotations/BoxDrawing.h"
#include "views/annotations/TalEdit.h"
#include "views/annotations/ViewObj.h"

class CGraphDescObj : public CViewObj {
public:
    // The box of the display's text-box record `index`.
    CGraphDescObj(CTalView& owner, int index);
    ~CGraphDescObj() override;

    virtual StoredTextBox& Box();
    const StoredTextBox& Box() const { return const_cast<CGraphDescObj*>(this)->Box(); }
    StoredViewObj& Obj() override { return Box().obj; }
    virtual bool IsTitle() const { return false; }
    int Index() const { return m_index; }
    void SetIndex(int index) { m_index = index; }

    void Draw(ViewPainter& dc) override;
    // Starts editing when the double click hits the box.
    bool OnLButtonDblClk(int x, int y) override;

    // The editor is enabled, placed over the box with the box's font and takes the focus.
    void BeginEditing();
    // The text is copied back and the editor disabled and hidden.
    void EndEditing();
    bool IsEditing() const { return m_editing; }
    CTalEdit* Editor() const { return m_edit; }

    const annotations::BoxFont& Font() const { return m_font; }
    void SetFont(const annotations::BoxFont& font);
    // Runs the font chooser with the box's font; the chosen one applies to the whole box.
    void SelectFont();
    // One of the Justify codes; the document is marked modified.
    void SetJustify(uint16_t justify);

private:
    void CopyTextBack();
    void ApplyLookToEditor();

    int m_index;
    annotations::BoxFont m_font;
    QPointer<CTalEdit> m_edit;
    bool m_editing = false;
    bool m_loading = false;  // the editor's text is being set from the record
};

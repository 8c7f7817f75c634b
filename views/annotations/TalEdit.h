#pragma once
// CTalEdit: the in-place editor over a text box or the title. Created disabled and hidden;
// the box enables and shows it on a double click. It holds plain text only (what the stored
// string can hold); the box's font, colour and justification apply to all of it. The right
// button opens the edit popup with its enabling rules.
#include <QTextEdit>

class QMenu;

class CTalEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit CTalEdit(QWidget* parent);

    // The edit popup: "&Undo", "Cu&t", "&Copy", "&Paste", "&Delete", "Select &All"; Undo
    // disabled when nothing can be undone, Paste when the clipboard offers nothing
    // pasteable, Cut, Copy and Delete when the selection is empty.
    QMenu* BuildEditPopup();
    bool HasSelection() const;

protected:
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

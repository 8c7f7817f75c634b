#pragma once
// CTalViewText: every data set of the document as text in a read-only edit filling the
// display, refreshed after every document update; printable, with Copy of the selection.
#include "views/base/TalView.h"

class QPlainTextEdit;

class CTalViewText : public CTalView {
    Q_OBJECT
public:
    CTalViewText(CTalDocument* document, QWidget* parent);

    DisplayKind GetDisplayKind() const override { return DisplayKind::Text; }
    std::string GetViewTypeName() const override { return "Text"; }
    QPlainTextEdit* Edit() const { return m_edit; }

    void OnUpdate(int hint) override;
    void RefreshDescriptionDialog(int index) override;
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;
    // The text drawn top-left aligned into (50, 50, 950, 950) of the logical page.
    void PrintOn(QPrinter& printer) override;
    // The display as it looks on screen (the mailed picture).
    QImage RenderPicture() override;
    // The document's text with "\r\n" line breaks, as shown.
    std::string Text() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Refresh();

    QPlainTextEdit* m_edit;
};

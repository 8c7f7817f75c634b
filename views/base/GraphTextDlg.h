#pragma once
// A data set's description window: a small movable child window of a display, titled
// "%i  Description:", with one multi-line edit showing and editing the description.
#include <QFrame>
#include <string>

#include "views/base/CaptionDrag.h"
#include "views/base/PrintableChild.h"

class QLabel;
class QPlainTextEdit;

class CGraphTextDlg : public QFrame, public PrintableChild {
    Q_OBJECT
public:
    CGraphTextDlg(int dataSetNumber, const std::string& text, QWidget* parent);

    void SetNumber(int dataSetNumber);
    // Texts use "\r\n" line breaks, as the data set stores them.
    void SetText(const std::string& text);
    std::string Text() const;
    QString Title() const;
    // Paints the title and text into the logical rectangle (printed and picture output).
    void Paint(ViewPainter& dc, const LogicalRect& rect) const override;

signals:
    void closeRequested(CGraphTextDlg* window);  // the close box
    void textEdited(CGraphTextDlg* window);      // the text changed or the edit lost the focus

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_title;
    QPlainTextEdit* m_edit;
    CaptionDrag m_captionDrag;
    bool m_settingText = false;
};

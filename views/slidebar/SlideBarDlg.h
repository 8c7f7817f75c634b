#pragma once
// CSlideBarDlg: the "Slide Bar Info" window of one slide bar, a small movable child window of
// its display titled "%i  Slide Bar:" (the data set's number). It holds the frequency edit (4
// significant digits) and a table of value rows; the gain, impedance and Nyquist dialogs add
// their rows and fill them. It tells its display when a frequency was typed, when it is to be
// closed (Esc: 2, close box: 8, each asked once) and when it becomes active, and it paints its
// contents into printed pages and pictures.
#include <QFrame>
#include <string>
#include <vector>

#include "views/base/CaptionDrag.h"
#include "views/base/PrintableChild.h"

class CEditComponent;
class QGridLayout;
class QLabel;

class CSlideBarDlg : public QFrame, public PrintableChild {
    Q_OBJECT
public:
    static constexpr int kCloseEscape = 2, kCloseBox = 8;

    CSlideBarDlg(int dataSetNumber, QWidget* parent);
    ~CSlideBarDlg() override;

    QString Title() const;
    CEditComponent* FrequencyEdit() const { return m_edit; }
    void SetFrequency(double frequency);
    // The text shown in value row `row` (rows after the frequency, in table order).
    QString ValueText(int row) const;
    // The font height read when the dialog was built, in dialog pixels.
    int FontHeight() const { return m_fontHeight; }
    // Takes the focus into the frequency edit; tells the display when that activates the dialog.
    void Activate();
    void Paint(ViewPainter& dc, const LogicalRect& rect) const override;

signals:
    void frequencyTyped(CSlideBarDlg* dialog, double frequency);
    void closeRequested(CSlideBarDlg* dialog, int reason);
    void activated(CSlideBarDlg* dialog);

protected:
    // Adds a row "name value unit" to `grid` (the dialog's table when none); returns its index.
    int AddRow(const QString& name, const QString& unit, QGridLayout* grid = nullptr);
    void SetValueText(int row, const std::string& text);
    QLabel* NameLabel(int row) const { return m_rows[row].name; }
    QLabel* UnitLabel(int row) const { return m_rows[row].unit; }
    QGridLayout* Table() const { return m_table; }
    // Called when the rows are complete: the dialog takes its natural size.
    void FinishLayout();
    // Esc closes the gain and impedance dialogs; the Nyquist dialog sends every focus loss.
    void SetEscapeCloses(bool closes) { m_escapeCloses = closes; }
    void SetSendEveryCommit(bool always) { m_sendEveryCommit = always; }
    // The second column on paper, one name per value line (frequency first).
    virtual std::vector<std::string> PaperNames() const = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Row {
        QLabel* name;
        QLabel* value;
        QLabel* unit;
    };
    bool FocusInside() const;
    void OnFocusChanged(QWidget* old, QWidget* now);
    void RequestClose(int reason);
    void OnCommitted();

    QLabel* m_title;
    CEditComponent* m_edit;
    QGridLayout* m_table;
    std::vector<Row> m_rows;
    int m_fontHeight = 13;
    bool m_escapeCloses = true;
    bool m_sendEveryCommit = false;
    bool m_textChanged = false;
    bool m_closing = false;
    CaptionDrag m_captionDrag;
};

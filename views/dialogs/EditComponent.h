#pragma once
// CEditComponent: the numeric entry field of every dialog. It keeps a double behind its text,
// shows it in engineering notation (1.5 k, 470 n) with a number of significant digits, and
// commits typed text (parsed with the SI prefix letters) when it loses the focus or when Enter
// is pressed in it; Enter never reaches the dialog's default button.
#include <QLineEdit>

class CEditComponent : public QLineEdit {
    Q_OBJECT
public:
    explicit CEditComponent(QWidget* parent = nullptr);

    void SetValue(double value, int precision = 4);
    // The last committed value; typing alone does not change it.
    double GetValue() const { return m_value; }
    int Precision() const { return m_precision; }
    bool IsModified() const { return m_modified; }
    void UpdateText();
    // Parses the typed text if it was changed; emits committed() either way.
    void Commit();

signals:
    void committed();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    double m_value = 1e-99;
    int m_precision = 4;
    // Set by typing only: a programmatic text change does not mark the field, so leaving an
    // untouched field never re-reads (and rounds) its formatted text.
    bool m_modified = false;
};

#pragma once
// An untitled modal prompt: a centred prompt text, a one-line edit and an OK button. OK returns
// the text typed; Escape leaves the initial (empty) text.
#include <QDialog>

#include <string>

class QLineEdit;

class TextInputDialog : public QDialog {
public:
    explicit TextInputDialog(const std::string& prompt, QWidget* parent = nullptr);

    // True when OK ended it.
    bool Run();
    std::string Text() const { return m_text; }
    void SetText(const std::string& text);
    QLineEdit* Edit() const { return m_edit; }

protected:
    void accept() override;

private:
    QLineEdit* m_edit;
    std::string m_text;
};

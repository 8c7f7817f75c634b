#pragma once
// A modal prompt with an icon, a message and three push buttons; Run returns 1, 2 or 3 for the
// button pressed, and 2 when Escape or the close box ends it.
#include <QDialog>

#include <string>

class QPushButton;

class MessageBox3Buttons : public QDialog {
public:
    // Icon kinds: 16 stop, 32 question, 48 exclamation, 64 information; any other hides it.
    static constexpr int kIconStop = 16;
    static constexpr int kIconQuestion = 32;
    static constexpr int kIconExclamation = 48;
    static constexpr int kIconInformation = 64;

    // defaultButton 1 to 3 makes that button the default; any other value leaves the first.
    MessageBox3Buttons(const std::string& message, const std::string& caption, int iconKind,
                       int defaultButton, const std::string& text1, const std::string& text2,
                       const std::string& text3, QWidget* parent = nullptr);

    int Run();
    QPushButton* Button(int number) const;  // 1 to 3

protected:
    void reject() override;

private:
    QPushButton* m_buttons[3] = {};
};

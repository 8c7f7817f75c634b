#pragma once
// The production Prompter: modal Qt message boxes, the three-button prompt, the one-line text
// prompt and the file choosers, owned by the active window. Texts keep their "\r\n" breaks in
// the program; they are shown with plain "\n".
#include "data/Prompter.h"

class QWidget;

class QtPrompter : public Prompter {
public:
    PromptResult Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                         PromptIcon icon) override;
    // MessageBox3Buttons with the question icon and button 1 as default; Escape gives 2.
    int ThreeButtons(const std::string& text, const std::string& caption, const std::string& button1,
                     const std::string& button2, const std::string& button3) override;
    // TextInputDialog; nothing when it was left with Escape.
    std::optional<std::string> TextInput(const std::string& prompt, const std::string& initial) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;
};

// "Name (*.ext)|*.ext|...||" as a Qt file-dialog filter ("Name (*.ext);;...").
std::string QtFileFilter(const std::string& filter);
// The window that owns a modal prompt: the active modal dialog, else the active window; never
// one that closes by itself (the splash, a popup), but the window that window belongs to.
QWidget* PromptOwner();

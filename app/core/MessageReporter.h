#pragma once
// Where the application core shows the user a message: a modal box with an OK button, owned
// by the main window. The window layer implements it (later through its prompter); tests
// record the texts. Texts are the program's own, with "\r\n" line breaks as written.
#include <string>

class MessageReporter {
public:
    virtual ~MessageReporter() = default;
    virtual void ShowMessage(const std::string& text) = 0;
};

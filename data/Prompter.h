#pragma once
// Every question or message the program puts to the user goes through the Prompter: message
// boxes, the three-button prompt, the one-line text prompt and the file choosers. The window
// layer installs a Qt implementation; tests and the command-line tool install a ScriptedPrompter.
#include <optional>
#include <string>

enum class PromptIcon { None, Information, Warning, Error, Question };
enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class PromptResult { Ok, Cancel, Yes, No, Retry };

// A file chooser's request: caption, filter in the "Name (*.ext)|*.ext|...||" form, default
// extension without the dot, and the proposed file name.
struct FileRequest {
    std::string caption;
    std::string filter;
    std::string defaultExtension;
    std::string defaultName;
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual PromptResult Message(const std::string& text, const std::string& caption,
                                 PromptButtons buttons = PromptButtons::Ok,
                                 PromptIcon icon = PromptIcon::None) = 0;
    // Returns 1, 2 or 3 for the button pressed; closing the prompt gives 3.
    virtual int ThreeButtons(const std::string& text, const std::string& caption,
                             const std::string& button1, const std::string& button2,
                             const std::string& button3) = 0;
    // The text typed, or nothing when cancelled.
    virtual std::optional<std::string> TextInput(const std::string& prompt,
                                                 const std::string& initial = "") = 0;
    virtual std::optional<std::string> OpenFileName(const FileRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const FileRequest& request) = 0;
};

// The process-wide prompter; a ScriptedPrompter that answers the defaults until one is set.
Prompter& prompter();
void SetPrompter(Prompter* prompter);  // nullptr restores the default

#include "cli/sweep/StderrPrompter.h"

#include <iostream>

PromptResult StderrPrompter::Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                                     PromptIcon icon)
{
    if (beforeMessage)
        beforeMessage();
    std::string printed;
    for (const char c : text)
        if (c != '\r')
            printed += c;
    while (!printed.empty() && printed.back() == '\n')
        printed.pop_back();
    std::cerr << "talvern-cli: " << (caption.empty() ? "" : caption + ": ") << printed << '\n';
    return ScriptedPrompter::Message(text, caption, buttons, icon);
}

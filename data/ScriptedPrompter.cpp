#include "data/ScriptedPrompter.h"

namespace {

template <typename T>
T Next(std::deque<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
}

ScriptedPrompter& defaultPrompter()
{
    static ScriptedPrompter instance;
    return instance;
}

Prompter* current = nullptr;

} // namespace

Prompter& prompter()
{
    return current ? *current : defaultPrompter();
}

void SetPrompter(Prompter* p)
{
    current = p;
}

PromptResult ScriptedPrompter::Message(const std::string& text, const std::string& caption,
                                       PromptButtons buttons, PromptIcon)
{
    shown.push_back({"message", text, caption});
    const PromptResult fallback =
        (buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel) ? PromptResult::Yes
                                                                                  : PromptResult::Ok;
    return Next(messageAnswers, fallback);
}

int ScriptedPrompter::ThreeButtons(const std::string& text, const std::string& caption, const std::string&,
                                   const std::string&, const std::string&)
{
    shown.push_back({"three", text, caption});
    return Next(threeButtonAnswers, 3);
}

std::optional<std::string> ScriptedPrompter::TextInput(const std::string& prompt, const std::string&)
{
    shown.push_back({"text", prompt, ""});
    return Next(textAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedPrompter::OpenFileName(const FileRequest& request)
{
    shown.push_back({"open", request.defaultName, request.caption});
    return Next(fileAnswers, std::optional<std::string>());
}

std::optional<std::string> ScriptedPrompter::SaveFileName(const FileRequest& request)
{
    shown.push_back({"save", request.defaultName, request.caption});
    return Next(fileAnswers, std::optional<std::string>());
}

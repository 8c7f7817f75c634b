#include "TourPrompter.h"

#include "TourRecorder.h"

namespace {

std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

}  // namespace

TourPrompter::TourPrompter(TourRecorder& recorder, std::function<int(const std::string&)> configureSimulator)
    : m_recorder(recorder), m_configure(std::move(configureSimulator))
{
}

PromptResult TourPrompter::Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                                   PromptIcon)
{
    m_shown.push_back(text);
    m_recorder.Log("  message [" + caption + "] " + OneLine(text));
    if (text.find("open the circuit") != std::string::npos)
        m_configure("fixture=open");
    else if (text.find("close the circuit") != std::string::npos)
        m_configure("fixture=short");
    else if (text.find("insert the component") != std::string::npos)
        m_configure("fixture=dut");
    if (!messageAnswers.empty()) {
        const PromptResult answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    switch (buttons) {
    case PromptButtons::Ok:
    case PromptButtons::OkCancel:
        return PromptResult::Ok;
    case PromptButtons::YesNo:
        return PromptResult::Yes;
    case PromptButtons::YesNoCancel:
        return PromptResult::No;  // "Save changes to ...?" of a scratch document
    case PromptButtons::RetryCancel:
        return PromptResult::Cancel;
    }
    return PromptResult::Ok;
}

int TourPrompter::ThreeButtons(const std::string& text, const std::string& caption, const std::string& b1,
                               const std::string& b2, const std::string& b3)
{
    m_shown.push_back(text);
    int answer = 1;
    if (!threeButtonAnswers.empty()) {
        answer = threeButtonAnswers.front();
        threeButtonAnswers.pop_front();
    }
    m_recorder.Log("  question [" + caption + "] " + OneLine(text) + " (" + b1 + " / " + b2 + " / " + b3 +
                   "): " + std::to_string(answer));
    return answer;
}

std::optional<std::string> TourPrompter::TextInput(const std::string& prompt, const std::string& initial)
{
    m_shown.push_back(prompt);
    std::string answer = initial;
    if (!textAnswers.empty()) {
        answer = textAnswers.front();
        textAnswers.pop_front();
    }
    m_recorder.Log("  text prompt " + OneLine(prompt) + ": \"" + answer + "\"");
    return answer;
}

std::optional<std::string> TourPrompter::OpenFileName(const FileRequest& request)
{
    m_shown.push_back(request.caption);
    std::optional<std::string> answer;
    if (!openAnswers.empty()) {
        answer = openAnswers.front();
        openAnswers.pop_front();
    }
    m_recorder.Log("  open file [" + request.caption + "] " + (answer ? *answer : "(cancelled)"));
    return answer;
}

std::optional<std::string> TourPrompter::SaveFileName(const FileRequest& request)
{
    m_shown.push_back(request.caption);
    std::optional<std::string> answer;
    if (!saveAnswers.empty()) {
        answer = saveAnswers.front();
        saveAnswers.pop_front();
    } else {
        std::string name = request.defaultName.empty() ? "untitled" : request.defaultName;
        for (char& c : name)
            if (c == '/' || c == ' ' || c == ':')
                c = '_';
        if (!request.defaultExtension.empty() && name.find('.') == std::string::npos)
            name += "." + request.defaultExtension;
        answer = m_recorder.Path(QString::fromStdString("files/" + name)).toStdString();
    }
    m_recorder.Log("  save file [" + request.caption + "] " + (answer ? *answer : "(cancelled)"));
    return answer;
}

bool TourPrompter::Saw(const std::string& part, size_t from) const
{
    for (size_t i = from; i < m_shown.size(); ++i)
        if (m_shown[i].find(part) != std::string::npos)
            return true;
    return false;
}

#include "app/frame/DocTemplate.h"

CDocTemplate::CDocTemplate(DisplayKind kind, std::string description)
    : m_kind(kind), m_description(std::move(description))
{
}

std::string CDocTemplate::GetDocString(DocString field) const
{
    size_t begin = 0;
    for (int i = 0; i < static_cast<int>(field); ++i) {
        begin = m_description.find('\n', begin);
        if (begin == std::string::npos)
            return {};
        ++begin;
    }
    const size_t end = m_description.find('\n', begin);
    return m_description.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string CDocTemplate::NextUntitledTitle()
{
    return GetDocString(DocString::DocName) + std::to_string(++m_untitledCount);
}

std::vector<std::unique_ptr<CDocTemplate>> CreateDocumentTemplates()
{
    std::vector<std::unique_ptr<CDocTemplate>> templates;
    templates.push_back(std::make_unique<CDocTemplate>(
        DisplayKind::Gain,
        "\nGain\nGain and Phase Plot\nTalvern Files (*.tal)\n.tal\nTalvern.Document\nTalvern Document"));
    templates.push_back(std::make_unique<CDocTemplate>(
        DisplayKind::Imp,
        "\nImp\nImpedance and Phase Plot\nTalvern Files (*.tal)\n.tal\nTalvern.Document\nTalvern Document"));
    templates.push_back(std::make_unique<CDocTemplate>(
        DisplayKind::Text,
        "\nText\nText Description\nTalvern Files (*.tal)\n.tal\nTalvern.Document\nTalvern Document"));
    templates.push_back(std::make_unique<CDocTemplate>(
        DisplayKind::Nyq,
        "\nNyq\nNyquist Plot\nTalvern Files (*.tal)\n.tal\nTalvern.Document\nTalvern Document"));
    return templates;
}

std::string DocumentFileFilter()
{
    return "Talvern Files (*.tal)|*.tal|";
}

#include "analyzer/sweep/CommLog.h"

#include <algorithm>

namespace analyzer {

namespace {

std::size_t LineEnds(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

} // namespace

std::size_t CommLog::LineCount() const
{
    return m_lineEnds + ((!m_text.empty() && m_text.back() != '\n') ? 1 : 0);
}

void CommLog::AddToCommLog(std::string_view text, bool replace)
{
    if (replace) {
        m_text.assign(text);
        m_lineEnds = LineEnds(text);
        m_caret = 0;
    } else {
        if (m_suppressed)
            return;
        m_caret = m_text.size();
        m_text.append(text);
        m_lineEnds += LineEnds(text);
    }
    Trim();
}

// Removes the oldest lines two at a time, in one cut, until at most kMaxLines remain (a long
// report appended at once would otherwise let the log outgrow the bound).
void CommLog::Trim()
{
    const std::size_t lines = LineCount();
    if (lines <= kMaxLines)
        return;
    const std::size_t drop = ((lines - kMaxLines + 1) / 2) * 2;
    std::size_t cut = 0;
    for (std::size_t n = 0; n < drop && cut < m_text.size(); ++n) {
        const std::size_t end = m_text.find('\n', cut);
        cut = (end == std::string::npos) ? m_text.size() : end + 1;
    }
    m_lineEnds -= LineEnds(std::string_view(m_text).substr(0, cut));
    m_text.erase(0, cut);
    m_caret = (m_caret > cut) ? m_caret - cut : 0;
}

std::string SentLine(std::string_view command)
{
    std::string line = "Sent:'";
    line.append(command);
    line.append("'\r\n");
    return line;
}

std::string ReceivedLine(std::string_view reply)
{
    std::string line = "Received:'";
    line.append(reply);
    line.append("'\r\n");
    return line;
}

} // namespace analyzer

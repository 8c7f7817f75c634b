#pragma once
// The communication log of an analyzer dialog: every command written, every reply read and every
// failure report, kept to at most 250 lines.

#include <cstddef>
#include <string>
#include <string_view>

namespace analyzer {

class CommLog {
public:
    static constexpr std::size_t kMaxLines = 250;

    // replace: the log becomes text. Otherwise text is appended unless the log is suppressed; while
    // the log then has more than kMaxLines lines its two oldest lines are removed.
    void AddToCommLog(std::string_view text, bool replace = false);

    void SetSuppressed(bool suppressed) { m_suppressed = suppressed; }
    bool Suppressed() const { return m_suppressed; }

    const std::string& Text() const { return m_text; }
    // Where the caret goes: the start of the text appended last.
    std::size_t CaretPosition() const { return m_caret; }
    // Lines of text: line ends, plus one for an unterminated last line.
    std::size_t LineCount() const;

private:
    void Trim();

    std::string m_text;
    std::size_t m_lineEnds = 0;  // '\n' characters in m_text, kept with it
    std::size_t m_caret = 0;
    bool m_suppressed = false;
};

// "Sent:'%s'\r\n" and "Received:'%s'\r\n".
std::string SentLine(std::string_view command);
std::string ReceivedLine(std::string_view reply);

} // namespace analyzer

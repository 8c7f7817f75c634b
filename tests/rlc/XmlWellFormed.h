#pragma once
// A small XML 1.0 well-formedness check for the reports: UTF-8 characters XML allows, one root
// element, matching tags, quoted and unique attributes, only known entity references, no
// markup characters in text. Returns "" or what is wrong and where.
#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace rlctest {

class XmlChecker {
public:
    explicit XmlChecker(const std::string& text) : s(text) {}

    std::string Check()
    {
        if (const std::string e = CheckCharacters(); !e.empty())
            return e;
        std::vector<std::string> open;
        bool rootSeen = false;
        while (i < s.size()) {
            if (s[i] != '<') {
                const size_t start = i;
                while (i < s.size() && s[i] != '<') {
                    if (s[i] == '>' && s.compare(i >= 2 ? i - 2 : 0, 3, "]]>") == 0)
                        return Fail("']]>' in text");
                    if (s[i] == '&' && !Reference())
                        return Fail("bad entity reference");
                    ++i;
                }
                if (open.empty() && s.find_first_not_of(" \t\r\n", start) < i)
                    return Fail("text outside the root element");
                continue;
            }
            if (s.compare(i, 2, "<?") == 0) {
                const size_t end = s.find("?>", i);
                if (end == std::string::npos)
                    return Fail("unterminated processing instruction");
                i = end + 2;
            } else if (s.compare(i, 2, "</") == 0) {
                i += 2;
                const std::string name = Name();
                SkipBlanks();
                if (name.empty() || i >= s.size() || s[i] != '>')
                    return Fail("bad end tag");
                ++i;
                if (open.empty() || open.back() != name)
                    return Fail("end tag </" + name + "> does not match");
                open.pop_back();
            } else {
                ++i;
                const std::string name = Name();
                if (name.empty())
                    return Fail("bad start tag");
                if (open.empty() && rootSeen)
                    return Fail("second root element");
                rootSeen = true;
                std::set<std::string> attributes;
                for (;;) {
                    const size_t before = i;
                    SkipBlanks();
                    if (i >= s.size())
                        return Fail("unterminated start tag");
                    if (s[i] == '>' || s.compare(i, 2, "/>") == 0)
                        break;
                    if (i == before)
                        return Fail("no blank before attribute");
                    const std::string attribute = Name();
                    if (attribute.empty() || !attributes.insert(attribute).second)
                        return Fail("bad or repeated attribute");
                    SkipBlanks();
                    if (i >= s.size() || s[i] != '=')
                        return Fail("attribute without '='");
                    ++i;
                    SkipBlanks();
                    if (i >= s.size() || (s[i] != '"' && s[i] != '\''))
                        return Fail("unquoted attribute");
                    const char quote = s[i++];
                    while (i < s.size() && s[i] != quote) {
                        if (s[i] == '<' || (s[i] == '&' && !Reference()))
                            return Fail("bad attribute value");
                        ++i;
                    }
                    if (i >= s.size())
                        return Fail("unterminated attribute value");
                    ++i;
                }
                if (s[i] == '>') {
                    open.push_back(name);
                    ++i;
                } else {
                    i += 2;
                }
            }
        }
        if (!rootSeen)
            return "no root element";
        if (!open.empty())
            return "unclosed element <" + open.back() + ">";
        return "";
    }

private:
    std::string Fail(const std::string& what) const { return what + " at byte " + std::to_string(i); }

    void SkipBlanks()
    {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n'))
            ++i;
    }

    std::string Name()
    {
        const size_t start = i;
        const auto first = [](unsigned char c) { return std::isalpha(c) || c == '_' || c == ':'; };
        const auto rest = [&](unsigned char c) { return first(c) || std::isdigit(c) || c == '-' || c == '.'; };
        if (i < s.size() && first(static_cast<unsigned char>(s[i])))
            while (i < s.size() && rest(static_cast<unsigned char>(s[i])))
                ++i;
        return s.substr(start, i - start);
    }

    // At '&': a predefined entity or a character reference; leaves i on its ';'.
    bool Reference()
    {
        const size_t end = s.find(';', i);
        if (end == std::string::npos)
            return false;
        const std::string body = s.substr(i + 1, end - i - 1);
        bool ok = body == "amp" || body == "lt" || body == "gt" || body == "quot" || body == "apos";
        if (!ok && body.size() > 1 && body[0] == '#') {
            const bool hex = body[1] == 'x';
            const std::string digits = body.substr(hex ? 2 : 1);
            ok = !digits.empty();
            for (char c : digits)
                ok = ok && (hex ? std::isxdigit(static_cast<unsigned char>(c)) : std::isdigit(static_cast<unsigned char>(c)));
        }
        if (ok)
            i = end;
        return ok;
    }

    std::string CheckCharacters() const
    {
        for (size_t k = 0; k < s.size();) {
            const unsigned char c = static_cast<unsigned char>(s[k]);
            if (c < 0x80) {
                if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
                    return "control character at byte " + std::to_string(k);
                ++k;
                continue;
            }
            const size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
            if (n == 0 || k + n > s.size())
                return "malformed UTF-8 at byte " + std::to_string(k);
            for (size_t m = 1; m < n; ++m)
                if ((static_cast<unsigned char>(s[k + m]) & 0xC0) != 0x80)
                    return "malformed UTF-8 at byte " + std::to_string(k);
            k += n;
        }
        return "";
    }

    const std::string& s;
    size_t i = 0;
};

inline std::string XmlWellFormedError(const std::string& text)
{
    return XmlChecker(text).Check();
}

}  // namespace rlctest

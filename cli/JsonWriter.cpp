#include "cli/JsonWriter.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// Length of the valid UTF-8 sequence at the start of `text`, or 0 if it is not one.
size_t Utf8SequenceLength(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length;
    uint32_t code;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : length;
}

}  // namespace

void AppendJsonEscaped(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    while (!text.empty()) {
        const unsigned char c = static_cast<unsigned char>(text[0]);
        const size_t length = Utf8SequenceLength(text);
        if (length == 0) {
            out += "\\ufffd";
            text.remove_prefix(1);
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out.append(text.substr(0, length));
            }
        }
        text.remove_prefix(length);
    }
}

std::string FormatShortest(double value)
{
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void JsonWriter::NewLine()
{
    m_out << '\n' << std::string(2 * m_hasItems.size(), ' ');
}

void JsonWriter::BeforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_hasItems.empty()) {
        if (m_hasItems.back())
            m_out << ',';
        m_hasItems.back() = true;
        NewLine();
    }
}

void JsonWriter::Open(char bracket)
{
    BeforeValue();
    m_out << bracket;
    m_hasItems.push_back(false);
}

void JsonWriter::Close(char bracket)
{
    const bool hadItems = m_hasItems.back();
    m_hasItems.pop_back();
    if (hadItems)
        NewLine();
    m_out << bracket;
    if (m_hasItems.empty())
        m_out << '\n';
}

void JsonWriter::BeginObject() { Open('{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray() { Open('['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::Key(std::string_view key)
{
    BeforeValue();
    std::string text = "\"";
    AppendJsonEscaped(text, key);
    m_out << text << "\": ";
    m_afterKey = true;
}

void JsonWriter::String(std::string_view value)
{
    BeforeValue();
    std::string text = "\"";
    AppendJsonEscaped(text, value);
    text += '"';
    m_out << text;
}

void JsonWriter::Number(double value)
{
    BeforeValue();
    if (std::isfinite(value))
        m_out << FormatShortest(value);
    else
        m_out << "null";
}

void JsonWriter::Integer(long long value)
{
    BeforeValue();
    m_out << value;
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    m_out << (value ? "true" : "false");
}

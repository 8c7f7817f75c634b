#pragma once
// A small streaming writer of indented JSON: objects, arrays, escaped strings and numbers
// (non-finite numbers become null, which JSON has no spelling for).
#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);  // inside an object, before each value

    void String(std::string_view text);
    void Number(double value);
    void Integer(long long value);
    void Bool(bool value);

    // Key followed by a value.
    template <typename T>
    void Field(std::string_view key, const T& value)
    {
        Key(key);
        Write(value);
    }

private:
    void Write(std::string_view text) { String(text); }
    void Write(const char* text) { String(text); }
    void Write(double value) { Number(value); }
    void Write(bool value) { Bool(value); }
    void Write(int value) { Integer(value); }
    void Write(uint32_t value) { Integer(value); }
    void Write(uint16_t value) { Integer(value); }

    void BeforeValue();
    void Open(char bracket);
    void Close(char bracket);
    void NewLine();

    std::ostream& m_out;
    std::vector<bool> m_hasItems;  // one per open container
    bool m_afterKey = false;
};

// Appends `text` as the inside of a JSON string: quotes, backslashes and control characters
// escaped, bytes that are not UTF-8 replaced with U+FFFD.
void AppendJsonEscaped(std::string& out, std::string_view text);
// Shortest text that reads back as the same double ("inf", "nan" for non-finite values).
std::string FormatShortest(double value);

#pragma once
// Text conversion between the single-byte Windows-1252 text of document files and the UTF-8
// strings kept in memory.
#include <string>
#include <string_view>

// Every byte has a character; the five bytes that Windows-1252 leaves undefined map to the C1
// controls of the same value, so any byte string survives a round trip.
std::string Windows1252ToUtf8(std::string_view bytes);

// Characters without a Windows-1252 byte, and malformed UTF-8, become '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// UTF-16 code units (the wide string form) to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

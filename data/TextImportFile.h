#pragma once
// Reading a text table file for the document's text import: bounded in size, its lines joined
// as the import expects them.
#include <cstddef>
#include <string>
#include <string_view>

// The largest text the import takes from a file or the clipboard.
constexpr size_t kMaxImportTextBytes = 64u << 20;

// A file read as text: each line without trailing white space, lines joined with "\r\n".
std::string JoinImportLines(std::string_view fileText);
// Reads at most `limit` bytes; false when the file cannot be read or is larger.
bool ReadTextFile(const std::string& path, size_t limit, std::string& text);

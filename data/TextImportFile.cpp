#include "data/TextImportFile.h"

#include <fstream>

std::string JoinImportLines(std::string_view fileText)
{
    std::string joined;
    joined.reserve(fileText.size() + fileText.size() / 8);
    bool first = true;
    while (!fileText.empty()) {
        const size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        const size_t last = line.find_last_not_of(" \t\r\n\v\f");
        line = last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
        if (!first)
            joined += "\r\n";
        joined += line;
        first = false;
        if (end == std::string_view::npos)
            break;
        fileText.remove_prefix(end + 1);
    }
    return joined;
}

bool ReadTextFile(const std::string& path, size_t limit, std::string& text)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > limit)
        return false;
    text.resize(static_cast<size_t>(size));
    in.seekg(0);
    return static_cast<bool>(in.read(text.data(), size)) || size == 0;
}

#include "app/core/ShellOpenCommand.h"

#include <string_view>

std::string ShellOpenCommand(const std::string& path)
{
    return "[open(\"" + path + "\")]";
}

std::optional<std::string> ShellOpenCommandPath(const std::string& command)
{
    constexpr std::string_view kBegin = "[open(\"";
    constexpr std::string_view kEnd = "\")]";
    const std::string_view text(command);
    if (text.size() < kBegin.size() + kEnd.size() + 1 || !text.starts_with(kBegin) ||
        !text.ends_with(kEnd))
        return std::nullopt;
    return std::string(text.substr(kBegin.size(), text.size() - kBegin.size() - kEnd.size()));
}

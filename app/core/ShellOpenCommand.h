#pragma once
// The shell's open request as a command string, "[open("<path>")]", as later launches of the
// program hand it to the running one.
#include <optional>
#include <string>

std::string ShellOpenCommand(const std::string& path);
// The path of an open command, or nothing for any other command (or an empty path).
std::optional<std::string> ShellOpenCommandPath(const std::string& command);

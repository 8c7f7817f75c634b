#pragma once
// The program's product version (major, minor, build), as the About box and the picture show it.
#include <string>

inline constexpr int kProductVersionMajor = 4;
inline constexpr int kProductVersionMinor = 6;
inline constexpr int kProductVersionBuild = 0;

// "4.6.0".
inline std::string ProductVersionText()
{
    return std::to_string(kProductVersionMajor) + "." + std::to_string(kProductVersionMinor) + "." +
           std::to_string(kProductVersionBuild);
}

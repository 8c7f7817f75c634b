#pragma once
// Opening a file or folder with the desktop's default application (the shell's "open" verb).
// The result follows the shell's convention: above 32 is success, 32 or less an error code.
#include <string>

class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual int Open(const std::string& path) = 0;
};

// Through QDesktopServices: 2 when a file is missing, 3 when a folder is missing, 31 when the
// desktop has no application for it, 33 on success.
class QtDesktopOpener : public DesktopOpener {
public:
    int Open(const std::string& path) override;
};

inline constexpr int kShellOpenSucceeded = 33;

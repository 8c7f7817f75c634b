#pragma once
// A file of the fuzzing process's own under /tmp, created once and rewritten for each input by
// the fuzzers whose reader takes a path.

#include <unistd.h>

#include <cstdlib>
#include <string>

// The path of the process's scratch file; name is a mkstemp template ("/tmp/...XXXXXX").
inline std::string MakeScratchFile(const char* name)
{
    std::string path = name;
    const int fd = mkstemp(path.data());
    if (fd < 0)
        std::abort();
    close(fd);
    return path;
}

#include "cli/SimulatorLocation.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::filesystem::path ExecutableDirectory()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    return std::filesystem::path(std::string(path, static_cast<size_t>(length))).parent_path();
}

}  // namespace

std::string SimulatorLibraryLocation()
{
    if (const char* path = std::getenv("TALVERN_SIM_LIBRARY"); path && *path)
        return path;
    std::error_code error;
#ifdef TALVERN_CLI_SIM_LIBRARY
    if (std::filesystem::exists(TALVERN_CLI_SIM_LIBRARY, error))
        return TALVERN_CLI_SIM_LIBRARY;
#endif
    const std::filesystem::path installed = ExecutableDirectory() / "../lib/talvern-rlc/libtalvern-sim.so";
    if (std::filesystem::exists(installed, error))
        return std::filesystem::weakly_canonical(installed, error).string();
    return "libtalvern-sim.so";
}

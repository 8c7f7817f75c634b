#pragma once
// A shared library opened at run time by name, and the choice of which names to try. A library once
// opened is never unloaded: its threads (or threads it started for its callers) may still run its
// code at any time until the process ends, so forgetting a library leaves it mapped.

#include <initializer_list>
#include <string>
#include <vector>

namespace instrument {

// Why the last open or symbol look-up failed: an operating-system error number and the loader's text.
struct LoadFailure {
    int osError = 0;
    std::string text;
};

class SharedLibrary {
public:
    SharedLibrary() = default;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Tries the names in turn and keeps the first that opens; false with Failure() set otherwise.
    bool Open(const std::vector<std::string>& names);
    // Lets go of the library without unloading it.
    void Forget();
    bool IsOpen() const { return handle_ != nullptr; }
    const std::string& Name() const { return name_; }

    // The address of a symbol, or nullptr (then Failure() says why).
    void* Symbol(const char* name);
    const LoadFailure& Failure() const { return failure_; }

private:
    void* handle_ = nullptr;
    std::string name_;
    LoadFailure failure_;
};

// The names to try: the configured path alone if set, else the environment variable's value if
// set, else the defaults in order.
std::vector<std::string> LibraryCandidates(const std::string& configured, const char* environmentVariable,
                                           std::initializer_list<const char*> defaults);

} // namespace instrument

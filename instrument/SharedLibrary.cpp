#include "instrument/SharedLibrary.h"

#include <cerrno>
#include <cstdlib>
#include <dlfcn.h>

namespace instrument {

bool SharedLibrary::Open(const std::vector<std::string>& names)
{
    Forget();
    failure_ = {};
    for (const std::string& name : names) {
        errno = 0;
        dlerror();
        handle_ = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (handle_) {
            name_ = name;
            failure_ = {};
            return true;
        }
        // The loader does not always leave errno set; a library that cannot be found is ENOENT.
        failure_.osError = errno != 0 ? errno : ENOENT;
        const char* text = dlerror();
        if (!failure_.text.empty())
            failure_.text += "; ";
        failure_.text += text ? text : name + ": cannot be opened";
    }
    if (names.empty())
        failure_ = {ENOENT, "no library name to try"};
    return false;
}

void SharedLibrary::Forget()
{
    // No dlclose: the handle's reference keeps the library loaded for the life of the process.
    handle_ = nullptr;
    name_.clear();
}

void* SharedLibrary::Symbol(const char* name)
{
    if (!handle_) {
        failure_ = {ENOENT, "library not open"};
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address)
        failure_ = {ENOSYS, name_ + ": no symbol " + name};
    return address;
}

std::vector<std::string> LibraryCandidates(const std::string& configured, const char* environmentVariable,
                                           std::initializer_list<const char*> defaults)
{
    if (!configured.empty())
        return {configured};
    if (const char* value = environmentVariable ? std::getenv(environmentVariable) : nullptr; value && *value)
        return {value};
    return std::vector<std::string>(defaults.begin(), defaults.end());
}

} // namespace instrument

#include "app/simulator/SimulatorConnection.h"

#include <dlfcn.h>

SimulatorConnection::SimulatorConnection(const std::string& path)
{
    // Kept loaded for the program's life, as the bindings keep it.
    if (void* library = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL))
        m_configure = reinterpret_cast<int (*)(const char*)>(dlsym(library, "talsim_configure"));
}

int SimulatorConnection::Configure(const std::string& text) const
{
    return m_configure ? m_configure(text.c_str()) : -1;
}

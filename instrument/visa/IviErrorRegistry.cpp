#include "instrument/visa/IviErrorRegistry.h"

#include <map>
#include <mutex>

namespace ivi {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<visa::ViSession, ErrorRecord> records;
};

Registry& Instance()
{
    static Registry registry;
    return registry;
}

} // namespace

void IviSession_SetError(visa::ViSession session, visa::ViStatus status, const char* description)
{
    Registry& registry = Instance();
    std::lock_guard lock(registry.mutex);
    registry.records[session] = {status, description ? description : ""};
}

void IviSession_Dispose(visa::ViSession session)
{
    Registry& registry = Instance();
    std::lock_guard lock(registry.mutex);
    registry.records.erase(session);
}

std::optional<ErrorRecord> IviSession_GetError(visa::ViSession session)
{
    Registry& registry = Instance();
    std::lock_guard lock(registry.mutex);
    auto it = registry.records.find(session);
    if (it == registry.records.end())
        return std::nullopt;
    return it->second;
}

} // namespace ivi

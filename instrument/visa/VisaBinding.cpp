// Run-time binding of the VISA library. Entries are looked up under a mutex and called without it:
// event handlers run on the library's threads and call back into VISA while other calls are under way.
// A library once bound stays loaded until the process ends (its threads may still run its code).

#include "instrument/visa/Visa.h"

#include <mutex>

namespace visa {

namespace {

enum EntryId { kOpenDefaultRM, kFindRsrc, kOpen, kClose, kSetAttribute, kGetAttribute, kSetBuf, kPrintf, kWrite,
               kRead, kReadSTB, kClear, kLock, kUnlock, kEnableEvent, kDisableEvent, kInstallHandler,
               kUninstallHandler, kEntryCount };
constexpr const char* kEntryNames[kEntryCount] = {
    "viOpenDefaultRM", "viFindRsrc",     "viOpen",         "viClose",         "viSetAttribute",
    "viGetAttribute",  "viSetBuf",       "viPrintf",       "viWrite",         "viRead",
    "viReadSTB",       "viClear",        "viLock",         "viUnlock",        "viEnableEvent",
    "viDisableEvent",  "viInstallHandler", "viUninstallHandler"};

class Binding {
public:
    std::mutex mutex;
    std::string configuredPath;

    // The entry's address, binding the library first; status says why there is none.
    void* Entry(EntryId id, ViStatus& status)
    {
        std::lock_guard lock(mutex);
        if (!library_.IsOpen()) {
            const std::vector<std::string> names = instrument::LibraryCandidates(
                configuredPath, "TALVERN_VISA_LIBRARY", {"libvisa.so", "libvisa.so.0", "libiovisa.so", "librsvisa.so"});
            if (!library_.Open(names)) {
                lastFailure_ = library_.Failure();
                status = VI_ERROR_LIBRARY_NFOUND;
                return nullptr;
            }
            lastFailure_ = {};
        }
        if (!entries_[id])
            entries_[id] = library_.Symbol(kEntryNames[id]);
        if (!entries_[id]) {
            lastFailure_ = library_.Failure();
            status = VI_ERROR_NSUP_OPER;
        }
        return entries_[id];
    }

    void Release()
    {
        std::lock_guard lock(mutex);
        library_.Forget();
        for (void*& entry : entries_)
            entry = nullptr;
    }

    bool Bound()
    {
        std::lock_guard lock(mutex);
        return library_.IsOpen();
    }
    std::string Name()
    {
        std::lock_guard lock(mutex);
        return library_.Name();
    }
    instrument::LoadFailure LastFailure()
    {
        std::lock_guard lock(mutex);
        return lastFailure_;
    }

private:
    instrument::SharedLibrary library_;
    void* entries_[kEntryCount] = {};
    instrument::LoadFailure lastFailure_;
};

Binding& Instance()
{
    // Never destroyed: a library thread may call back into VISA while the process ends.
    static Binding* const binding = new Binding();
    return *binding;
}

template <typename Fn, typename... Args>
ViStatus Call(EntryId id, Args... args)
{
    ViStatus status = VI_SUCCESS;
    auto fn = reinterpret_cast<Fn>(Instance().Entry(id, status));
    return fn ? fn(args...) : status;
}

} // namespace

ViStatus viOpenDefaultRM(ViSession* rm)
{
    return Call<ViStatus (*)(ViSession*)>(kOpenDefaultRM, rm);
}

ViStatus viFindRsrc(ViSession rm, const char* expression, ViObject* findList, uint32_t* count,
                    char description[VI_FIND_BUFLEN])
{
    return Call<ViStatus (*)(ViSession, const char*, ViObject*, uint32_t*, char*)>(kFindRsrc, rm, expression,
                                                                                   findList, count, description);
}

ViStatus viOpen(ViSession rm, const char* name, uint32_t mode, uint32_t timeout, ViSession* vi)
{
    return Call<ViStatus (*)(ViSession, const char*, uint32_t, uint32_t, ViSession*)>(kOpen, rm, name, mode,
                                                                                      timeout, vi);
}

ViStatus viClose(ViObject object)
{
    return Call<ViStatus (*)(ViObject)>(kClose, object);
}

ViStatus viSetAttribute(ViObject object, ViAttr attribute, ViAttrState value)
{
    return Call<ViStatus (*)(ViObject, ViAttr, ViAttrState)>(kSetAttribute, object, attribute, value);
}

ViStatus viGetAttribute(ViObject object, ViAttr attribute, void* value)
{
    return Call<ViStatus (*)(ViObject, ViAttr, void*)>(kGetAttribute, object, attribute, value);
}

ViStatus viSetBuf(ViSession vi, uint16_t mask, uint32_t size)
{
    // uint16_t is promoted as in the C prototype.
    return Call<ViStatus (*)(ViSession, uint16_t, uint32_t)>(kSetBuf, vi, mask, size);
}

ViStatus viPrintfText(ViSession vi, const char* text)
{
    return Call<ViStatus (*)(ViSession, const char*, ...)>(kPrintf, vi, "%s", text);
}

ViStatus viWrite(ViSession vi, const unsigned char* buffer, uint32_t count, uint32_t* written)
{
    return Call<ViStatus (*)(ViSession, const unsigned char*, uint32_t, uint32_t*)>(kWrite, vi, buffer, count, written);
}

ViStatus viRead(ViSession vi, unsigned char* buffer, uint32_t count, uint32_t* received)
{
    return Call<ViStatus (*)(ViSession, unsigned char*, uint32_t, uint32_t*)>(kRead, vi, buffer, count, received);
}

ViStatus viReadSTB(ViSession vi, uint16_t* status)
{
    return Call<ViStatus (*)(ViSession, uint16_t*)>(kReadSTB, vi, status);
}

ViStatus viClear(ViSession vi)
{
    return Call<ViStatus (*)(ViSession)>(kClear, vi);
}

ViStatus viLock(ViSession vi, uint32_t lockType, uint32_t timeout, const char* requestedKey, char* accessKey)
{
    return Call<ViStatus (*)(ViSession, uint32_t, uint32_t, const char*, char*)>(kLock, vi, lockType, timeout,
                                                                                 requestedKey, accessKey);
}

ViStatus viUnlock(ViSession vi)
{
    return Call<ViStatus (*)(ViSession)>(kUnlock, vi);
}

ViStatus viEnableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism, uint32_t context)
{
    return Call<ViStatus (*)(ViSession, ViEventType, uint16_t, uint32_t)>(kEnableEvent, vi, eventType, mechanism,
                                                                          context);
}

ViStatus viDisableEvent(ViSession vi, ViEventType eventType, uint16_t mechanism)
{
    return Call<ViStatus (*)(ViSession, ViEventType, uint16_t)>(kDisableEvent, vi, eventType, mechanism);
}

ViStatus viInstallHandler(ViSession vi, ViEventType eventType, ViHndlr handler, void* userHandle)
{
    return Call<ViStatus (*)(ViSession, ViEventType, ViHndlr, void*)>(kInstallHandler, vi, eventType, handler,
                                                                      userHandle);
}

ViStatus viUninstallHandler(ViSession vi, ViEventType eventType, ViHndlr handler, void* userHandle)
{
    return Call<ViStatus (*)(ViSession, ViEventType, ViHndlr, void*)>(kUninstallHandler, vi, eventType, handler,
                                                                      userHandle);
}

void SetLibraryPath(const std::string& path)
{
    Binding& binding = Instance();
    binding.Release();
    std::lock_guard lock(binding.mutex);
    binding.configuredPath = path;
}

void ReleaseLibrary()
{
    Instance().Release();
}

bool LibraryBound()
{
    return Instance().Bound();
}

std::string BoundLibraryName()
{
    return Instance().Name();
}

instrument::LoadFailure LastLoadFailure()
{
    return Instance().LastFailure();
}

} // namespace visa

// Run-time binding of the NI-488.2 library: the wrappers, the status copies, the hand-over of the
// library's notifications to the bindings' callback thread and the ibnotify emulation for libraries
// without it. A library once bound stays loaded until the process ends.

#include "instrument/CallbackThread.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/NotifyEmulator.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace gpib {

std::atomic<int> ibsta{0};
std::atomic<int> iberr{0};
std::atomic<int> ibcnt{0};
std::atomic<long> ibcntl{0};

long long TimeoutMicroseconds(int code)
{
    static constexpr long long kMicroseconds[] = {0,      10,      30,      100,      300,      1000,
                                                  3000,   10000,   30000,   100000,   300000,   1000000,
                                                  3000000, 10000000, 30000000, 100000000, 300000000, 1000000000};
    return code >= 0 && code < static_cast<int>(std::size(kMicroseconds)) ? kMicroseconds[code] : 0;
}

namespace {

using IbUdFn = int (*)(int);
using IbUdIntFn = int (*)(int, int);
using IbconfigFn = int (*)(int, int, int);
using IbdevFn = int (*)(int, int, int, int, int, int);
using IbfindFn = int (*)(const char*);
using IbnotifyFn = int (*)(int, int, GpibNotifyCallback_t, void*);
using IbrdFn = int (*)(int, void*, long);
using IbrspFn = int (*)(int, char*);
using IbwrtFn = int (*)(int, const void*, long);
using FindLstnFn = void (*)(int, const unsigned short*, unsigned short*, int);
using SendIfcFn = void (*)(int);

enum EntryId { kIbclr, kIbconfig, kIbdev, kIbfindA, kIbnotify, kIbonl, kIbrd, kIbrsp, kIbtmo, kIbwait, kIbwrt,
               kFindLstn, kSendIFC, kEntryCount };
constexpr const char* kEntryNames[kEntryCount] = {"ibclr", "ibconfig", "ibdev",  "ibfindA",  "ibnotify",
                                                  "ibonl", "ibrd",     "ibrsp",  "ibtmo",    "ibwait",
                                                  "ibwrt", "FindLstn", "SendIFC"};

// One of the ways a library publishes a status value, with the width its interface documents.
struct StatusReader {
    enum class Kind { Missing, IntFunction, UnsignedLongFunction, LongFunction, IntVariable, LongVariable };
    Kind kind = Kind::Missing;
    void* address = nullptr;

    long Read() const
    {
        switch (kind) {
        case Kind::IntFunction: return reinterpret_cast<int (*)()>(address)();
        case Kind::UnsignedLongFunction: return static_cast<long>(reinterpret_cast<unsigned long (*)()>(address)());
        case Kind::LongFunction: return reinterpret_cast<long (*)()>(address)();
        case Kind::IntVariable: return *static_cast<volatile int*>(address);
        case Kind::LongVariable: return *static_cast<volatile long*>(address);
        case Kind::Missing: break;
        }
        return 0;
    }
};

struct StatusCandidate {
    const char* symbol;
    StatusReader::Kind kind;
};

// Thread-specific functions first (linux-gpib, NI), then the newer NI functions, then data symbols.
constexpr StatusCandidate kStatusWord[] = {{"ThreadIbsta", StatusReader::Kind::IntFunction},
                                           {"Ibsta", StatusReader::Kind::UnsignedLongFunction},
                                           {"user_ibsta", StatusReader::Kind::IntVariable},
                                           {"ibsta", StatusReader::Kind::IntVariable}};
constexpr StatusCandidate kErrorCode[] = {{"ThreadIberr", StatusReader::Kind::IntFunction},
                                          {"Iberr", StatusReader::Kind::UnsignedLongFunction},
                                          {"user_iberr", StatusReader::Kind::IntVariable},
                                          {"iberr", StatusReader::Kind::IntVariable}};
constexpr StatusCandidate kByteCount[] = {{"ThreadIbcntl", StatusReader::Kind::LongFunction},
                                          {"Ibcnt", StatusReader::Kind::UnsignedLongFunction},
                                          {"user_ibcntl", StatusReader::Kind::LongVariable},
                                          {"ibcntl", StatusReader::Kind::LongVariable}};

// The arming of one descriptor's notification with the library's own ibnotify. The library gets
// NativeCallback with the record as reference data; records are never freed, since a library
// thread may still hold one.
struct NotifyRecord {
    bool armed = false;
    std::uint64_t generation = 0;  // counts armings and disarmings
    GpibNotifyCallback_t callback = nullptr;
    void* refData = nullptr;
};

class Binding {
public:
    // Serialises library calls with the reading of their status (data symbols are shared). No
    // callback the library calls takes it, so it may be held across ibnotify and ibonl.
    std::mutex mutex;
    std::string configuredPath;
    std::unique_ptr<NotifyEmulator> emulator;
    // Guards the notify records; held only briefly, never across a library call or a callback.
    std::mutex notifyMutex;

    // Records an arming (mask != 0) or disarming of ud; the record to give the library.
    NotifyRecord* RecordArming(int ud, int mask, GpibNotifyCallback_t callback, void* refData)
    {
        std::lock_guard lock(notifyMutex);
        std::unique_ptr<NotifyRecord>& record = notifyRecords_[ud];
        if (!record)
            record = std::make_unique<NotifyRecord>();
        record->armed = mask != 0;
        ++record->generation;
        record->callback = callback;
        record->refData = refData;
        return record.get();
    }
    void RecordDisarming(int ud)
    {
        std::lock_guard lock(notifyMutex);
        if (auto it = notifyRecords_.find(ud); it != notifyRecords_.end()) {
            it->second->armed = false;
            ++it->second->generation;
        }
    }
    // The descriptors whose notification is armed with the library's ibnotify.
    std::vector<int> ArmedNatively()
    {
        std::lock_guard lock(notifyMutex);
        std::vector<int> armed;
        for (const auto& [ud, record] : notifyRecords_)
            if (record->armed)
                armed.push_back(ud);
        return armed;
    }

    bool EnsureBound()
    {
        if (bound_)
            return true;
        const std::vector<std::string> names = instrument::LibraryCandidates(
            configuredPath, "TALVERN_GPIB_LIBRARY", {"libni4882.so", "libgpibapi.so", "libgpib.so.0"});
        if (!library_.Open(names)) {
            RecordFailure(library_.Failure());
            return false;
        }
        const char* missing = nullptr;
        if (!Resolve(kStatusWord, status_))
            missing = "ibsta";
        else if (!Resolve(kErrorCode, error_))
            missing = "iberr";
        else if (!Resolve(kByteCount, count_))
            missing = "ibcntl";
        if (missing) {
            const std::string text = library_.Name() + ": no status variable " + missing;
            library_.Forget();
            RecordFailure({ENOSYS, text});
            return false;
        }
        bound_ = true;
        lastFailure_ = {};
        // Registered after the library was loaded, so it runs before the library's own clean-up.
        static const bool exitHook = std::atexit(ShutDownAtExit) == 0;
        (void)exitHook;
        return true;
    }

    // The entry's address, binding the library first; records the failure when there is none.
    void* Entry(EntryId id)
    {
        if (!EnsureBound())
            return nullptr;
        if (void* address = Lookup(id))
            return address;
        RecordFailure(library_.Failure());
        return nullptr;
    }

    // The entry's address without recording a failure when the library lacks it.
    void* Lookup(EntryId id)
    {
        if (!entries_[id]) {
            entries_[id] = library_.Symbol(kEntryNames[id]);
            if (!entries_[id] && id == kIbfindA)
                entries_[id] = library_.Symbol("ibfind");
        }
        return entries_[id];
    }

    WaitStatus ReadStatus() const
    {
        return {static_cast<int>(status_.Read()), static_cast<int>(error_.Read()), count_.Read()};
    }

    void CopyStatus()
    {
        const WaitStatus s = ReadStatus();
        ibsta = s.ibsta;
        iberr = s.iberr;
        ibcnt = static_cast<int>(s.ibcntl);
        ibcntl = s.ibcntl;
    }

    void RecordFailure(const instrument::LoadFailure& failure)
    {
        lastFailure_ = failure;
        ibsta = ERR;
        iberr = EDVR;
        ibcnt = failure.osError;
        ibcntl = failure.osError;
    }

    // Disarms every notification and takes every device offline (the caller holds the mutex).
    void Quiesce()
    {
        if (!bound_)
            return;
        auto notify = reinterpret_cast<IbnotifyFn>(Lookup(kIbnotify));
        for (int ud : ArmedNatively()) {
            RecordDisarming(ud);
            if (notify)
                notify(ud, 0, nullptr, nullptr);
        }
        if (emulator)
            for (const auto& [ud, device] : devices_)
                emulator->Disarm(ud);
        if (auto online = reinterpret_cast<IbUdIntFn>(Lookup(kIbonl)))
            for (const auto& [ud, device] : devices_)
                if (device.opened)
                    online(ud, 0);
        devices_.clear();
    }

    // Forgets the library, which stays loaded (the caller holds the mutex).
    void Release()
    {
        library_.Forget();
        bound_ = false;
        for (void*& entry : entries_)
            entry = nullptr;
        status_ = error_ = count_ = {};
        devices_.clear();
    }

    static void ShutDownAtExit();

    void RememberDevice(int ud, int board, int timeoutCode) { devices_[ud] = {board, timeoutCode, timeoutCode, true}; }
    void RememberTimeout(int ud, int timeoutCode)
    {
        auto it = devices_.find(ud);
        if (it != devices_.end())
            it->second.timeoutCode = timeoutCode;
        else
            devices_[ud] = {BoardOf(ud), timeoutCode, T10s, false};
    }
    // ibonl: offline forgets the descriptor, online returns it to what ibdev gave it.
    void ResetDevice(int ud, bool online)
    {
        auto it = devices_.find(ud);
        if (!online)
            devices_.erase(ud);
        else if (it != devices_.end())
            it->second.timeoutCode = it->second.openedTimeoutCode;
    }
    int TimeoutCode(int ud) const
    {
        auto it = devices_.find(ud);
        return it != devices_.end() ? it->second.timeoutCode : T10s;
    }
    // Board descriptors are the board indices; a device belongs to the board it was opened on.
    int BoardOf(int ud) const
    {
        auto it = devices_.find(ud);
        return it != devices_.end() ? it->second.board : (ud >= 0 && ud < 4 ? ud : 0);
    }

    bool Bound() const { return bound_; }
    std::string LibraryName() const { return library_.Name(); }
    instrument::LoadFailure LastFailure() const { return lastFailure_; }

private:
    template <size_t N>
    bool Resolve(const StatusCandidate (&candidates)[N], StatusReader& reader)
    {
        for (const StatusCandidate& candidate : candidates) {
            if (void* address = library_.Symbol(candidate.symbol)) {
                reader = {candidate.kind, address};
                return true;
            }
        }
        return false;
    }

    instrument::SharedLibrary library_;
    bool bound_ = false;
    void* entries_[kEntryCount] = {};
    StatusReader status_, error_, count_;
    instrument::LoadFailure lastFailure_;
    std::map<int, std::unique_ptr<NotifyRecord>> notifyRecords_;
    struct DeviceInfo {
        int board;
        int timeoutCode;
        int openedTimeoutCode;
        bool opened;  // by ibdev (not a board)
    };
    std::map<int, DeviceInfo> devices_;
};

Binding& Instance()
{
    // Never destroyed: library threads and the bindings' own may still use it while the process ends.
    static Binding* const binding = new Binding();
    return *binding;
}

// At exit: no notification may fire into a program that is going away, and the instruments are
// left offline. Waiting threads are not joined, since one may be inside a callback whose receiver
// no longer runs; the process ends them.
void Binding::ShutDownAtExit()
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    binding.Quiesce();
    if (binding.emulator)
        binding.emulator->Halt();
}

// The library's callback: hands the notification to the callback thread and returns 0 at once, so
// the library never waits for the caller's callback (which waits for the engine's thread). The
// library is left disarmed; the binding arms it again if the caller's callback asks for it.
int NativeCallback(int ud, int ibsta, int iberr, long ibcntl, void* refData)
{
    auto* record = static_cast<NotifyRecord*>(refData);
    Binding& binding = Instance();
    GpibNotifyCallback_t callback = nullptr;
    void* callerData = nullptr;
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(binding.notifyMutex);
        if (!record || !record->armed)
            return 0;
        record->armed = false;
        generation = record->generation;
        callback = record->callback;
        callerData = record->refData;
    }
    instrument::PostCallback([=, &binding] {
        {
            // Disarmed or armed again since: that call stands and this notification is dropped.
            std::lock_guard lock(binding.notifyMutex);
            if (record->generation != generation)
                return;
        }
        const int rearm = callback ? callback(ud, ibsta, iberr, ibcntl, callerData) : 0;
        if (rearm == 0)
            return;
        std::lock_guard lock(binding.mutex);
        auto notify = reinterpret_cast<IbnotifyFn>(binding.Bound() ? binding.Lookup(kIbnotify) : nullptr);
        {
            std::lock_guard recordLock(binding.notifyMutex);
            if (!notify || record->generation != generation)
                return;
            record->armed = true;
            ++record->generation;
        }
        notify(ud, rearm, NativeCallback, record);
    });
    return 0;
}

// Calls an entry that returns the status word; without the entry the recorded status is returned.
template <typename Fn, typename... Args>
int CallStatus(EntryId id, Args... args)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto fn = reinterpret_cast<Fn>(binding.Entry(id));
    if (!fn)
        return ibsta;
    const int result = fn(args...);
    binding.CopyStatus();
    return result;
}

// One slice of the emulated notification's wait: at most about 10 ms, so the caller's I/O is held
// up no longer than that.
WaitStatus WaitSlice(int ud, int mask)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto wait = reinterpret_cast<IbUdIntFn>(binding.Lookup(kIbwait));
    auto timeout = reinterpret_cast<IbUdIntFn>(binding.Lookup(kIbtmo));
    if (!wait)
        return {ERR, EDVR, ENOSYS};
    const int code = binding.TimeoutCode(ud);
    const bool shorten = timeout && (code == 0 || code > T10ms);
    if (shorten)
        timeout(ud, T10ms);
    wait(ud, mask | TIMO);
    const WaitStatus status = binding.ReadStatus();
    if (shorten)
        timeout(ud, code);
    return status;
}

} // namespace

int ibclr(int ud) { return CallStatus<IbUdFn>(kIbclr, ud); }
int ibconfig(int ud, int option, int value) { return CallStatus<IbconfigFn>(kIbconfig, ud, option, value); }
int ibrd(int ud, void* buffer, long count) { return CallStatus<IbrdFn>(kIbrd, ud, buffer, count); }
int ibrsp(int ud, char* statusByte) { return CallStatus<IbrspFn>(kIbrsp, ud, statusByte); }
int ibwait(int ud, int mask) { return CallStatus<IbUdIntFn>(kIbwait, ud, mask); }
int ibwrt(int ud, const void* buffer, long count) { return CallStatus<IbwrtFn>(kIbwrt, ud, buffer, count); }

int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto fn = reinterpret_cast<IbdevFn>(binding.Entry(kIbdev));
    if (!fn)
        return -1;
    const int ud = fn(board, pad, sad, tmo, eot, eos);
    binding.CopyStatus();
    if (ud >= 0)
        binding.RememberDevice(ud, board, tmo);
    return ud;
}

int ibfindA(const char* name)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto fn = reinterpret_cast<IbfindFn>(binding.Entry(kIbfindA));
    if (!fn)
        return -1;
    const int ud = fn(name);
    binding.CopyStatus();
    return ud;
}

int ibtmo(int ud, int timeoutCode)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto fn = reinterpret_cast<IbUdIntFn>(binding.Entry(kIbtmo));
    if (!fn)
        return ibsta;
    const int result = fn(ud, timeoutCode);
    binding.CopyStatus();
    if (!(ibsta & ERR))
        binding.RememberTimeout(ud, timeoutCode);
    return result;
}

int ibonl(int ud, int online)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    auto fn = reinterpret_cast<IbUdIntFn>(binding.Entry(kIbonl));
    if (!fn)
        return ibsta;
    // Taking a descriptor offline or resetting it ends its notification, as the libraries do.
    if (binding.emulator)
        binding.emulator->Disarm(ud);
    binding.RecordDisarming(ud);
    const int result = fn(ud, online);
    binding.CopyStatus();
    binding.ResetDevice(ud, online != 0);
    return result;
}

int ibnotify(int ud, int mask, GpibNotifyCallback_t callback, void* refData)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    if (!binding.EnsureBound())
        return ibsta;
    if (auto native = reinterpret_cast<IbnotifyFn>(binding.Lookup(kIbnotify))) {
        // The library may call NativeCallback inline, before it returns: that only posts.
        NotifyRecord* record = binding.RecordArming(ud, mask, callback, refData);
        const int result = mask != 0 ? native(ud, mask, NativeCallback, record) : native(ud, 0, nullptr, nullptr);
        binding.CopyStatus();
        if (mask != 0 && (ibsta & ERR))
            binding.RecordDisarming(ud);
        return result;
    }
    auto wait = reinterpret_cast<IbUdIntFn>(binding.Entry(kIbwait));
    if (!wait)
        return ibsta;
    if (mask != 0) {
        auto config = reinterpret_cast<IbconfigFn>(binding.Entry(kIbconfig));
        if (!config)
            return ibsta;
        const int result = config(binding.BoardOf(ud), IbcAUTOPOLL, 1);
        binding.CopyStatus();
        if (ibsta & ERR)
            return result;
    }
    // A wait with an empty mask returns the device's current status at once.
    const int result = wait(ud, 0);
    binding.CopyStatus();
    if (ibsta & ERR)
        return result;
    if (!binding.emulator)
        binding.emulator = std::make_unique<NotifyEmulator>(WaitSlice);
    if (mask != 0)
        binding.emulator->Arm(ud, mask, callback, refData, TimeoutMicroseconds(binding.TimeoutCode(ud)));
    else
        binding.emulator->Disarm(ud);
    return result;
}

void FindLstn(int board, const unsigned short* addresses, unsigned short* results, int limit)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    if (auto fn = reinterpret_cast<FindLstnFn>(binding.Entry(kFindLstn))) {
        fn(board, addresses, results, limit);
        binding.CopyStatus();
    }
}

void SendIFC(int board)
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    if (auto fn = reinterpret_cast<SendIfcFn>(binding.Entry(kSendIFC))) {
        fn(board);
        binding.CopyStatus();
    }
}

void ReleaseLibrary()
{
    Binding& binding = Instance();
    std::unique_ptr<NotifyEmulator> emulator;
    {
        std::lock_guard lock(binding.mutex);
        binding.Quiesce();
        emulator = std::move(binding.emulator);
    }
    // The waiting threads take the mutex for each slice, so they are stopped without holding it.
    emulator.reset();
    std::lock_guard lock(binding.mutex);
    binding.Release();
}

void SetLibraryPath(const std::string& path)
{
    ReleaseLibrary();
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    binding.configuredPath = path;
}

bool LibraryBound()
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    return binding.Bound();
}

std::string BoundLibraryName()
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    return binding.LibraryName();
}

instrument::LoadFailure LastLoadFailure()
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    return binding.LastFailure();
}

bool NotifyEmulated()
{
    Binding& binding = Instance();
    std::lock_guard lock(binding.mutex);
    return binding.EnsureBound() && binding.Lookup(kIbnotify) == nullptr;
}

} // namespace gpib

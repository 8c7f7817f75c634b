// The VISA entry points: each takes the simulator's lock and forwards to the sessions.

#include "sim/Exports.h"
#include "sim/Simulator.h"
#include "sim/VisaCodes.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

using talsim::Simulator;

namespace {

template <typename Operation>
std::int32_t Call(Operation operation)
{
    Simulator& sim = Simulator::Instance();
    Simulator::Lock lock(sim.mutex);
    const std::int32_t status = operation(sim.visa, lock);
    sim.Unlock(lock);
    return status;
}

constexpr int kMaxFormatted = 1 << 16;

} // namespace

TALSIM_EXPORT std::int32_t viOpenDefaultRM(std::uint32_t* rm)
{
    return Call([&](auto& visa, auto&) { return visa.OpenDefaultRM(rm); });
}

TALSIM_EXPORT std::int32_t viFindRsrc(std::uint32_t rm, const char* expr, std::uint32_t* findList,
                                      std::uint32_t* retCnt, char desc[256])
{
    return Call([&](auto& visa, auto&) { return visa.FindResources(rm, expr, findList, retCnt, desc); });
}

TALSIM_EXPORT std::int32_t viOpen(std::uint32_t rm, const char* name, std::uint32_t mode, std::uint32_t,
                                  std::uint32_t* vi)
{
    return Call([&](auto& visa, auto&) { return visa.Open(rm, name, mode, vi); });
}

TALSIM_EXPORT std::int32_t viClose(std::uint32_t obj)
{
    return Call([&](auto& visa, auto& lock) { return visa.Close(lock, obj); });
}

TALSIM_EXPORT std::int32_t viSetAttribute(std::uint32_t obj, std::uint32_t attr, std::uint64_t value)
{
    return Call([&](auto& visa, auto&) { return visa.SetAttribute(obj, attr, value); });
}

TALSIM_EXPORT std::int32_t viGetAttribute(std::uint32_t obj, std::uint32_t attr, void* value)
{
    return Call([&](auto& visa, auto&) { return visa.GetAttribute(obj, attr, value); });
}

TALSIM_EXPORT std::int32_t viSetBuf(std::uint32_t vi, std::uint16_t mask, std::uint32_t)
{
    return Call([&](auto& visa, auto&) { return visa.SetBuffer(vi, mask); });
}

TALSIM_EXPORT std::int32_t viWrite(std::uint32_t vi, const unsigned char* buf, std::uint32_t cnt,
                                   std::uint32_t* retCnt)
{
    return Call([&](auto& visa, auto&) { return visa.Write(vi, buf, cnt, retCnt); });
}

TALSIM_EXPORT std::int32_t viPrintf(std::uint32_t vi, const char* fmt, ...)
{
    if (!fmt)
        return talsim::visa::VI_ERROR_INV_FMT;
    // Most commands fit the buffer on the stack; longer ones are formatted again at their length.
    char shortText[512];
    std::string longText;
    std::va_list args;
    va_start(args, fmt);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(shortText, sizeof shortText, fmt, args);
    if (length >= static_cast<int>(sizeof shortText) && length <= kMaxFormatted) {
        longText.resize(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(longText.data(), longText.size(), fmt, again);
        longText.pop_back();
    }
    va_end(again);
    va_end(args);
    if (length < 0 || length > kMaxFormatted)
        return talsim::visa::VI_ERROR_INV_FMT;
    const std::string_view text = longText.empty() ? std::string_view(shortText, static_cast<std::size_t>(length))
                                                   : std::string_view(longText);
    std::uint32_t written = 0;
    return Call([&](auto& visa, auto&) {
        return visa.Write(vi, reinterpret_cast<const unsigned char*>(text.data()),
                          static_cast<std::uint32_t>(text.size()), &written);
    });
}

TALSIM_EXPORT std::int32_t viRead(std::uint32_t vi, unsigned char* buf, std::uint32_t cnt, std::uint32_t* retCnt)
{
    return Call([&](auto& visa, auto& lock) { return visa.Read(lock, vi, buf, cnt, retCnt); });
}

TALSIM_EXPORT std::int32_t viReadSTB(std::uint32_t vi, std::uint16_t* status)
{
    return Call([&](auto& visa, auto&) { return visa.ReadStatusByte(vi, status); });
}

TALSIM_EXPORT std::int32_t viClear(std::uint32_t vi)
{
    return Call([&](auto& visa, auto&) { return visa.Clear(vi); });
}

TALSIM_EXPORT std::int32_t viLock(std::uint32_t vi, std::uint32_t lockType, std::uint32_t timeout,
                                  const char* requestedKey, char* accessKey)
{
    return Call([&](auto& visa, auto& lock) {
        return visa.LockSession(lock, vi, lockType, timeout, requestedKey, accessKey);
    });
}

TALSIM_EXPORT std::int32_t viUnlock(std::uint32_t vi)
{
    return Call([&](auto& visa, auto&) { return visa.Unlock(vi); });
}

TALSIM_EXPORT std::int32_t viEnableEvent(std::uint32_t vi, std::uint32_t eventType, std::uint16_t mechanism,
                                         std::uint32_t)
{
    return Call([&](auto& visa, auto& lock) { return visa.EnableEvent(lock, vi, eventType, mechanism); });
}

TALSIM_EXPORT std::int32_t viDisableEvent(std::uint32_t vi, std::uint32_t eventType, std::uint16_t mechanism)
{
    return Call([&](auto& visa, auto& lock) { return visa.DisableEvent(lock, vi, eventType, mechanism); });
}

TALSIM_EXPORT std::int32_t viInstallHandler(std::uint32_t vi, std::uint32_t eventType, talsim::VisaHandler handler,
                                            void* userHandle)
{
    return Call([&](auto& visa, auto&) { return visa.InstallHandler(vi, eventType, handler, userHandle); });
}

TALSIM_EXPORT std::int32_t viUninstallHandler(std::uint32_t vi, std::uint32_t eventType,
                                              talsim::VisaHandler handler, void* userHandle)
{
    return Call([&](auto& visa, auto& lock) { return visa.UninstallHandler(lock, vi, eventType, handler, userHandle); });
}

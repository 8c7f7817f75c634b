#include "sim/GpibBus.h"

#include "sim/GpibCodes.h"
#include "sim/Simulator.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

namespace talsim {

using namespace gpib;

namespace {

constexpr int kFirstDevice = 16;
constexpr int kMaxDevices = 256;
constexpr long kMaxTransfer = 1 << 20;
constexpr int kListLimit = 1024;
constexpr int kDeviceWaitBits = TIMO | END | RQS | CMPL;
constexpr int kBoardWaitBits = TIMO | END | SRQI | CMPL | 0x00FF;
constexpr int kNotifyBits = RQS | TIMO;
// How long a waiting disarm waits for a running callback before it gives up and says so.
constexpr auto kDisarmWaitLimit = std::chrono::seconds(5);

// The notification whose callback this thread is running, if any.
struct RunningHere {
    bool active = false;
    int ud = -1;
    std::uint64_t openId = 0;
};
thread_local RunningHere runningHere;

// Duration of a time-out code; none for code 0 (no limit).
std::optional<Clock::duration> TimeoutOf(int code)
{
    static constexpr long long kMicroseconds[] = {
        0, 10, 30, 100, 300, 1000, 3000, 10000, 30000, 100000, 300000,
        1000000, 3000000, 10000000, 30000000, 100000000, 300000000, 1000000000};
    if (code <= 0 || code > kMaxTimeoutCode)
        return std::nullopt;
    return std::chrono::microseconds(kMicroseconds[code]);
}

GpibStatus Ok(int bits = 0, long count = 0)
{
    return {CMPL | bits, 0, count};
}

GpibStatus Fail(int error, int bits = 0, long count = 0)
{
    return {ERR | CMPL | bits, error, count};
}

} // namespace

GpibBus::Device* GpibBus::FindDevice(int ud, std::uint64_t openId)
{
    const auto it = devices_.find(ud);
    if (it == devices_.end() || (openId != 0 && it->second.openId != openId))
        return nullptr;
    return &it->second;
}

SimInstrument* GpibBus::InstrumentOf(const Device& device) const
{
    return device.sad == 0 ? sim_.InstrumentAt(device.board, device.pad) : nullptr;
}

bool GpibBus::RequestPending(const Device& device) const
{
    const SimInstrument* instrument = InstrumentOf(device);
    return instrument && instrument->Present() && instrument->RequestingService();
}

GpibStatus GpibBus::FindBoard(const char* name, int& ud)
{
    ud = -1;
    if (!name)
        return Fail(EARG);
    std::string upper;
    for (const char* p = name; *p && upper.size() < 16; ++p)
        upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(*p))));
    for (int board = 0; board < kBoards; ++board) {
        if (upper == "GPIB" + std::to_string(board)) {
            ud = board;
            return Ok(CIC);
        }
    }
    return Fail(EDVR);
}

GpibStatus GpibBus::OpenDevice(int board, int pad, int sad, int tmo, int, int, int& ud)
{
    ud = -1;
    if (board < 0 || board >= kBoards)
        return Fail(ENEB);
    if (pad < 0 || pad > 30 || (sad != 0 && (sad < 0x60 || sad > 0x7E)) || tmo < 0 || tmo > kMaxTimeoutCode)
        return Fail(EARG);
    if (static_cast<int>(devices_.size()) >= kMaxDevices)
        return Fail(EDVR);
    int candidate = kFirstDevice;
    while (devices_.count(candidate))
        ++candidate;
    Device& device = devices_[candidate];
    device.board = board;
    device.pad = pad;
    device.sad = sad;
    device.tmo = tmo;
    device.openedTmo = tmo;
    device.openId = nextOpenId_++;
    ud = candidate;
    return Ok();
}

GpibStatus GpibBus::Clear(int ud)
{
    if (IsBoard(ud))
        return Fail(EARG);
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    SimInstrument* instrument = InstrumentOf(*device);
    if (!instrument || !instrument->Present())
        return Fail(ENOL);
    instrument->DeviceClear();
    sim_.Changed();
    return Ok();
}

GpibStatus GpibBus::Configure(int ud, int option, int value)
{
    if (option == IbcTMO)
        return SetTimeout(ud, value);
    if (IsBoard(ud)) {
        Board& board = boards_[ud];
        if (option == IbcAUTOPOLL) {
            if (value != 0 && value != 1)
                return Fail(EARG);
            // The previous setting is reported in iberr.
            const int previous = board.autopoll ? 1 : 0;
            board.autopoll = value == 1;
            sim_.Changed();
            return {CMPL | CIC, previous, 0};
        }
        return Ok(CIC);
    }
    if (!FindDevice(ud))
        return Fail(EDVR);
    if (option == IbcAUTOPOLL)
        return Fail(ECAP);
    return Ok();
}

GpibStatus GpibBus::Online(Lock& lock, int ud, int online)
{
    if (IsBoard(ud)) {
        boards_[ud] = Board();
        sim_.Changed();
        return Ok(CIC);
    }
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    // Offline or reset, the device's notification ends.
    const std::uint64_t openId = device->openId;
    if (!WaitForCallbacks(lock, ud, openId))
        return Fail(EABO);
    if (!(device = FindDevice(ud, openId)))
        return Fail(EDVR);
    if (online == 0) {
        devices_.erase(ud);
    } else {
        // Back to the state ibdev gave it.
        device->tmo = device->openedTmo;
        device->notify.armed = false;
        ++device->notify.generation;
    }
    sim_.Changed();
    return Ok();
}

GpibStatus GpibBus::SetTimeout(int ud, int code)
{
    if (code < 0 || code > kMaxTimeoutCode)
        return Fail(EARG);
    int* target = nullptr;
    if (IsBoard(ud))
        target = &boards_[ud].tmo;
    else if (Device* device = FindDevice(ud))
        target = &device->tmo;
    else
        return Fail(EDVR);
    const int previous = *target;
    *target = code;
    return {CMPL, previous, 0};
}

GpibStatus GpibBus::Write(int ud, const void* buffer, long count)
{
    if (IsBoard(ud) || count < 0 || count > kMaxTransfer || (!buffer && count > 0))
        return Fail(EARG);
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    SimInstrument* instrument = InstrumentOf(*device);
    if (!instrument || !instrument->AcceptsMessage())
        return Fail(ENOL);
    if (count > 0) {
        instrument->Write(std::string_view(static_cast<const char*>(buffer), static_cast<std::size_t>(count)),
                          Clock::now());
        sim_.Changed();
    }
    return Ok(0, count);
}

void GpibBus::WaitForNothing(Lock& lock, int tmoCode)
{
    const double factor = sim_.config.tmoFactor;
    const auto limit = TimeoutOf(tmoCode);
    // With no limit, a reply that never comes is given up after 1000 s (scaled as well).
    const double seconds = (limit ? std::chrono::duration<double>(*limit).count() : 1000.0) * factor;
    if (seconds <= 0.0)
        return;
    const auto until = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    while (Clock::now() < until)
        sim_.WaitForChange(lock, until);
}

GpibStatus GpibBus::Read(Lock& lock, int ud, void* buffer, long count)
{
    if (IsBoard(ud) || count < 0 || count > kMaxTransfer || (!buffer && count > 0))
        return Fail(EARG);
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    const std::uint64_t openId = device->openId;
    const int tmo = device->tmo;
    SimInstrument* instrument = InstrumentOf(*device);
    if (!instrument || !instrument->Present())
        return Fail(ENOL);
    if (instrument->ReadsTimeOut()) {
        WaitForNothing(lock, tmo);
        return Fail(EABO, TIMO);
    }
    if (count == 0)
        return Ok();
    const auto limit = TimeoutOf(tmo);
    const Clock::time_point deadline = limit ? Clock::now() + *limit : Simulator::kNever;
    while (!instrument->HasOutput()) {
        if (!instrument->OutputPending()) {
            // Nothing was asked: the instrument notes the unterminated query, the read times out.
            instrument->ReadWithoutQuery();
            sim_.Changed();
            WaitForNothing(lock, tmo);
            return Fail(EABO, TIMO);
        }
        if (Clock::now() >= deadline)
            return Fail(EABO, TIMO);
        sim_.WaitForChange(lock, deadline);
        device = FindDevice(ud, openId);
        if (!device)
            return Fail(EABO);
        instrument = InstrumentOf(*device);
        if (!instrument || !instrument->Present())
            return Fail(ENOL);
    }
    bool end = false;
    const std::size_t n = instrument->Read(static_cast<char*>(buffer), static_cast<std::size_t>(count), end);
    device->lastEnd = end;
    sim_.Changed();
    return Ok(end ? END : 0, static_cast<long>(n));
}

GpibStatus GpibBus::SerialPoll(int ud, char* statusByte)
{
    if (IsBoard(ud) || !statusByte)
        return Fail(EARG);
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    SimInstrument* instrument = InstrumentOf(*device);
    if (!instrument || !instrument->Present())
        return Fail(ENOL);
    *statusByte = static_cast<char>(instrument->SerialPoll());
    sim_.Changed();
    return Ok();
}

GpibStatus GpibBus::Wait(Lock& lock, int ud, int mask)
{
    const bool board = IsBoard(ud);
    Device* device = board ? nullptr : FindDevice(ud);
    if (!board && !device)
        return Fail(EDVR);
    if (mask & ~(board ? kBoardWaitBits : kDeviceWaitBits))
        return Fail(EARG);
    // A device's RQS is only known when the board polls automatically.
    if (device && (mask & RQS) && !boards_[device->board].autopoll)
        return Fail(ECAP);
    const std::uint64_t openId = device ? device->openId : 0;
    const auto limit = TimeoutOf(board ? boards_[ud].tmo : device->tmo);
    const Clock::time_point deadline = (mask & TIMO) && limit ? Clock::now() + *limit : Simulator::kNever;
    while (true) {
        int current = CMPL;
        if (device) {
            if (RequestPending(*device))
                current |= RQS;
            if (device->lastEnd)
                current |= END;
        } else {
            current |= CIC;
            const SimInstrument& analyzer = sim_.Analyzer();
            if (sim_.config.board == ud && analyzer.Present() && analyzer.RequestingService())
                current |= SRQI;
        }
        if (mask == 0 || (current & mask & ~TIMO))
            return {current, 0, 0};
        if (Clock::now() >= deadline)
            return {current | TIMO, 0, 0};
        sim_.WaitForChange(lock, deadline);
        if (!board) {
            device = FindDevice(ud, openId);
            if (!device)
                return Fail(EABO);
        }
    }
}

void GpibBus::Arm(Notification& n, int mask, const Device& device)
{
    n.armed = true;
    n.mask = mask;
    const auto limit = TimeoutOf(device.tmo);
    n.deadline = (mask & TIMO) && limit ? std::optional<Clock::time_point>(Clock::now() + *limit) : std::nullopt;
    ++n.generation;
}

bool GpibBus::WaitForCallbacks(Lock& lock, int ud, std::uint64_t openId)
{
    const auto runningElsewhere = [&] {
        const auto it = running_.find({ud, openId});
        const int here = runningHere.active && runningHere.ud == ud && runningHere.openId == openId ? 1 : 0;
        return it != running_.end() && it->second > here;
    };
    const Clock::time_point deadline = Clock::now() + kDisarmWaitLimit;
    while (sim_.config.disarmWaits && runningElsewhere()) {
        if (Clock::now() >= deadline) {
            std::fprintf(stderr, "talvern-sim: disarming device %d waited %lld s for its running callback; "
                                 "a library would wait for ever\n",
                         ud, static_cast<long long>(kDisarmWaitLimit.count()));
            return false;
        }
        sim_.WaitForChange(lock, deadline);
    }
    return true;
}

GpibStatus GpibBus::Notify(Lock& lock, int ud, int mask, GpibNotifyCallback callback, void* refData)
{
    if (IsBoard(ud))
        return Fail(ECAP);
    Device* device = FindDevice(ud);
    if (!device)
        return Fail(EDVR);
    if ((mask & ~kNotifyBits) || (mask != 0 && !callback))
        return Fail(EARG);
    const std::uint64_t openId = device->openId;
    if (mask == 0) {
        if (!WaitForCallbacks(lock, ud, openId))
            return Fail(EABO);
        if (!(device = FindDevice(ud, openId)))
            return Fail(EDVR);
    }
    Notification& n = device->notify;
    if (mask == 0) {
        n.armed = false;
        ++n.generation;
    } else {
        n.callback = callback;
        n.refData = refData;
        Arm(n, mask, *device);
    }
    sim_.Changed();
    const GpibStatus status = Ok(RequestPending(*device) ? RQS : 0);
    // A callback never runs inline inside its own inline call (that would recurse for ever).
    if (mask != 0 && sim_.config.callbacks == CallbackThreads::Inline && !runningHere.active) {
        if (const auto delivery = Take(ud, *device, Clock::now())) {
            sim_.Unlock(lock);
            const int rearm = Invoke(*delivery);
            lock.lock();
            FinishNotification(*delivery, rearm);
        }
    }
    return status;
}

GpibStatus GpibBus::SendIfc(int board)
{
    if (!IsBoard(board))
        return Fail(ENEB);
    return Ok(CIC);
}

GpibStatus GpibBus::FindListeners(int board, const unsigned short* addresses, unsigned short* results, int limit)
{
    if (!IsBoard(board))
        return Fail(ENEB);
    if (!addresses || !results || limit < 0)
        return Fail(EARG);
    long found = 0;
    for (int i = 0; i < kListLimit && addresses[i] != NOADDR; ++i) {
        const int pad = addresses[i] & 0xFF;
        const int sad = addresses[i] >> 8;
        const SimInstrument* instrument = sad == 0 ? sim_.InstrumentAt(board, pad) : nullptr;
        if (!instrument || !instrument->Present())
            continue;
        if (found >= limit)
            return Fail(ETAB, 0, found);
        results[found++] = addresses[i];
    }
    if (found < limit)
        results[found] = NOADDR;
    return Ok(CIC, found);
}

int GpibBus::ReadyBits(const Device& device, Clock::time_point now) const
{
    const Notification& n = device.notify;
    if (!n.armed)
        return 0;
    if ((n.mask & RQS) && RequestPending(device))
        return RQS | CMPL;
    if ((n.mask & TIMO) && n.deadline && now >= *n.deadline)
        return TIMO | CMPL;
    return 0;
}

std::optional<GpibBus::Delivery> GpibBus::Take(int ud, Device& device, Clock::time_point now)
{
    const int bits = ReadyBits(device, now);
    if (bits == 0)
        return std::nullopt;
    Notification& n = device.notify;
    n.armed = false;
    ++running_[{ud, device.openId}];
    return Delivery{ud, device.openId, n.generation, n.callback, n.refData, bits};
}

std::optional<GpibBus::Delivery> GpibBus::TakeNotification(Clock::time_point now)
{
    for (auto& [ud, device] : devices_)
        if (auto delivery = Take(ud, device, now))
            return delivery;
    return std::nullopt;
}

int GpibBus::Invoke(const Delivery& d)
{
    const RunningHere outer = runningHere;
    runningHere = {true, d.ud, d.openId};
    const int rearm = d.callback(d.ud, d.ibsta, 0, 0, d.refData);
    runningHere = outer;
    return rearm;
}

bool GpibBus::NotificationReady(Clock::time_point now) const
{
    for (const auto& [ud, device] : devices_)
        if (ReadyBits(device, now) != 0)
            return true;
    return false;
}

void GpibBus::FinishNotification(const Delivery& delivery, int rearmMask)
{
    const auto running = running_.find({delivery.ud, delivery.openId});
    if (running != running_.end() && --running->second <= 0)
        running_.erase(running);
    sim_.Changed();  // a disarm may be waiting for this callback
    Device* device = FindDevice(delivery.ud, delivery.openId);
    // Armed again (or disarmed) during the callback: that call stands.
    if (!device || device->notify.generation != delivery.generation)
        return;
    if (rearmMask != 0 && (rearmMask & ~kNotifyBits) == 0) {
        Arm(device->notify, rearmMask, *device);
        sim_.Changed();
    }
}

std::optional<Clock::time_point> GpibBus::NextNotifyDeadline() const
{
    std::optional<Clock::time_point> next;
    for (const auto& [ud, device] : devices_)
        if (device.notify.armed && device.notify.deadline && (!next || *device.notify.deadline < *next))
            next = device.notify.deadline;
    return next;
}

} // namespace talsim

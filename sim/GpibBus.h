#pragma once
// The simulated GPIB side: boards GPIB0-GPIB3, device descriptors, reads and writes with their
// time-outs, serial polls, waits and armed notifications. Every operation returns the status the
// library publishes after the call. Callers hold the simulator's lock; operations that wait take
// it as a unique_lock and release it while they wait.

#include "sim/SimInstrument.h"

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

namespace talsim {

class Simulator;

struct GpibStatus {
    int ibsta = 0;
    int iberr = 0;
    long ibcntl = 0;
};

extern "C" {
typedef int (*GpibNotifyCallback)(int ud, int ibsta, int iberr, long ibcntl, void* refData);
}

class GpibBus {
public:
    using Lock = std::unique_lock<std::mutex>;
    static constexpr int kBoards = 4;

    explicit GpibBus(Simulator& simulator) : sim_(simulator) {}
    GpibBus(const GpibBus&) = delete;
    GpibBus& operator=(const GpibBus&) = delete;

    GpibStatus FindBoard(const char* name, int& ud);
    GpibStatus OpenDevice(int board, int pad, int sad, int tmo, int eot, int eos, int& ud);
    GpibStatus Clear(int ud);
    GpibStatus Configure(int ud, int option, int value);
    GpibStatus Online(Lock& lock, int ud, int online);
    GpibStatus SetTimeout(int ud, int code);
    GpibStatus Write(int ud, const void* buffer, long count);
    GpibStatus Read(Lock& lock, int ud, void* buffer, long count);
    GpibStatus SerialPoll(int ud, char* statusByte);
    GpibStatus Wait(Lock& lock, int ud, int mask);
    // With callbacks=inline a request pending at arming is delivered here, on the caller's thread.
    GpibStatus Notify(Lock& lock, int ud, int mask, GpibNotifyCallback callback, void* refData);
    GpibStatus SendIfc(int board);
    GpibStatus FindListeners(int board, const unsigned short* addresses, unsigned short* results, int limit);

    // Event thread: an armed notification whose condition holds is disarmed and handed out (and
    // counts as running until it is finished); Invoke calls its callback without the lock; after
    // the callback its result re-arms it unless the caller armed it again meanwhile.
    struct Delivery {
        int ud = 0;
        std::uint64_t openId = 0;
        std::uint64_t generation = 0;
        GpibNotifyCallback callback = nullptr;
        void* refData = nullptr;
        int ibsta = 0;
    };
    std::optional<Delivery> TakeNotification(Clock::time_point now);
    static int Invoke(const Delivery& delivery);
    bool NotificationReady(Clock::time_point now) const;
    void FinishNotification(const Delivery& delivery, int rearmMask);
    std::optional<Clock::time_point> NextNotifyDeadline() const;

private:
    struct Board {
        bool autopoll = true;
        int tmo = 13;
    };
    struct Notification {
        bool armed = false;
        int mask = 0;
        GpibNotifyCallback callback = nullptr;
        void* refData = nullptr;
        std::optional<Clock::time_point> deadline;
        std::uint64_t generation = 0;
    };
    struct Device {
        int board = 0;
        int pad = 0;
        int sad = 0;
        int tmo = 13;
        int openedTmo = 13;
        std::uint64_t openId = 0;
        bool lastEnd = false;
        Notification notify;
    };

    static bool IsBoard(int ud) { return ud >= 0 && ud < kBoards; }
    Device* FindDevice(int ud, std::uint64_t openId = 0);
    SimInstrument* InstrumentOf(const Device& device) const;
    bool RequestPending(const Device& device) const;
    // The status bits an armed notification reports now, or 0 if its condition does not hold.
    int ReadyBits(const Device& device, Clock::time_point now) const;
    void Arm(Notification& n, int mask, const Device& device);
    std::optional<Delivery> Take(int ud, Device& device, Clock::time_point now);
    // With disarm=wait: waits while a callback of the device runs on another thread; false (and a
    // note on stderr) when it still runs after a limit, where a library would wait for ever.
    bool WaitForCallbacks(Lock& lock, int ud, std::uint64_t openId);
    // Waits as a reply that never comes would: the time-out scaled by tmo_factor.
    void WaitForNothing(Lock& lock, int tmoCode);

    Simulator& sim_;
    std::array<Board, kBoards> boards_{};
    std::map<int, Device> devices_;
    std::uint64_t nextOpenId_ = 1;
    // Callbacks handed out and not yet finished, by descriptor and opening.
    std::map<std::pair<int, std::uint64_t>, int> running_;
};

} // namespace talsim

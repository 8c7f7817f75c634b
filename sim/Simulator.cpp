#include "sim/Simulator.h"

#include "sim/Instrument1800.h"
#include "sim/Instrument1960.h"
#include "sim/Instrument2600.h"
#include "sim/Instrument5060.h"
#include "sim/OtherInstrument.h"
#include "sim/VisaCodes.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace talsim {

namespace {

std::unique_ptr<SimInstrument> MakeAnalyzer(SimConfig& config, Referee& referee)
{
    switch (config.family) {
    case 1960: return std::make_unique<Instrument1960>(config, referee);
    case 1800: return std::make_unique<Instrument1800>(config, referee);
    case 5060: return std::make_unique<Instrument5060>(config, referee);
    default: return std::make_unique<Instrument2600>(config, referee);
    }
}

} // namespace

Simulator& Simulator::Instance()
{
    // Never destroyed: the threads below may run until the process ends.
    static Simulator* const instance = new Simulator();
    return *instance;
}

Simulator::Simulator()
{
    if (const char* text = std::getenv("TALVERN_SIM")) {
        ConfigChanges changes;
        if (const int rejected = ApplyConfigText(text, config, changes))
            std::fprintf(stderr, "talvern-sim: TALVERN_SIM rejected at item %d; defaults in use\n", rejected);
    }
    PowerOn();
    for (int thread = 0; thread < kThreads; ++thread)
        std::thread([this, thread] { InstrumentLoop(thread); }).detach();
}

int Simulator::Configure(std::string_view text)
{
    ConfigChanges changes;
    if (const int rejected = ApplyConfigText(text, config, changes))
        return rejected;
    if (changes.reset || changes.family) {
        PowerOn();
    } else {
        if (changes.seed)
            analyzer_->Reseed();
        if (changes.faults)
            analyzer_->FaultsChanged();
        RebuildOthers();
    }
    Changed();
    return 0;
}

void Simulator::PowerOn()
{
    analyzer_ = MakeAnalyzer(config, referee);
    visa.AnalyzerReplaced();
    RebuildOthers();
}

void Simulator::RebuildOthers()
{
    others_.clear();
    for (int address : config.others)
        others_.push_back(std::make_unique<OtherInstrument>(address));
}

void Simulator::WaitForChange(Lock& lock, Clock::time_point deadline)
{
    if (SendWakeUps(lock))
        return;
    if (deadline == kNever)
        changed.wait(lock);
    else
        changed.wait_until(lock, deadline);
}

SimInstrument* Simulator::InstrumentAt(int board, int address)
{
    if (board != config.board)
        return nullptr;
    if (analyzer_->Address() == address)
        return analyzer_.get();
    for (const auto& other : others_)
        if (other->Address() == address)
            return other.get();
    return nullptr;
}

void Simulator::Changed()
{
    notifyCallers_ = true;
    WakeIdleThread();
}

void Simulator::Unlock(Lock& lock)
{
    const bool callers = notifyCallers_;
    const int thread = notifyThread_;
    notifyCallers_ = false;
    notifyThread_ = -1;
    lock.unlock();
    if (callers)
        changed.notify_all();
    if (thread >= 0)
        work_[thread].notify_one();
}

bool Simulator::SendWakeUps(Lock& lock)
{
    if (!notifyCallers_ && notifyThread_ < 0)
        return false;
    Unlock(lock);
    lock.lock();
    return true;
}

std::optional<Clock::time_point> Simulator::NextWork(Clock::time_point now) const
{
    std::optional<Clock::time_point> next = analyzer_->NextDue();
    if (delivering_)
        return next;  // the delivering thread looks for further deliveries itself
    if (gpib.NotificationReady(now) || visa.EventReady())
        return now;
    if (const auto deadline = gpib.NextNotifyDeadline(); deadline && (!next || *deadline < *next))
        next = deadline;
    return next;
}

void Simulator::WakeIdleThread()
{
    // A running thread looks for work before it waits, and a notified one is on its way.
    if (running_ > 0 || wakePending_)
        return;
    const auto next = NextWork(Clock::now());
    if (!next)
        return;
    int chosen = -1;
    for (int thread = 0; thread < kThreads; ++thread) {
        if (!idle_[thread])
            continue;
        if (wakeAt_[thread] <= *next)
            return;  // wakes in time by itself
        if (chosen < 0 || idleSince_[thread] > idleSince_[chosen])
            chosen = thread;
    }
    // Without an idle thread the threads are still starting and look for work first.
    if (chosen >= 0) {
        wakePending_ = true;
        notifyThread_ = chosen;
    }
}

void Simulator::InstrumentLoop(int thread)
{
    Lock lock(mutex);
    ++running_;
    while (true) {
        const auto now = Clock::now();
        const auto due = analyzer_->NextDue();
        if (due && *due <= now) {
            analyzer_->Advance(now);
            Changed();
            continue;
        }
        if (!delivering_ && Deliver(lock, now))
            continue;
        if (SendWakeUps(lock))
            continue;  // the state may have changed while the lock was released
        wakeAt_[thread] = NextWork(now).value_or(kNever);
        idle_[thread] = true;
        idleSince_[thread] = ++idleCount_;
        --running_;
        if (wakeAt_[thread] == kNever)
            work_[thread].wait(lock);
        else
            work_[thread].wait_until(lock, wakeAt_[thread]);
        idle_[thread] = false;
        ++running_;
        wakePending_ = false;
    }
}

bool Simulator::Deliver(Lock& lock, Clock::time_point now)
{
    auto gpibDelivery = gpib.TakeNotification(now);
    auto visaDelivery = gpibDelivery ? std::nullopt : visa.TakeEvent();
    if (!gpibDelivery && !visaDelivery)
        return false;
    // A library with threads of its own: each delivery runs on a new thread, and this one goes on.
    if (config.callbacks == CallbackThreads::PerDelivery) {
        std::thread([this, gpibDelivery, visaDelivery] { RunDelivery(gpibDelivery, visaDelivery); }).detach();
        return true;
    }
    // The other thread takes over measurements that fall due during the callback.
    delivering_ = true;
    --running_;
    WakeIdleThread();
    Unlock(lock);
    const int rearm = gpibDelivery ? GpibBus::Invoke(*gpibDelivery) : 0;
    if (visaDelivery)
        VisaSessions::Invoke(*visaDelivery);
    lock.lock();
    ++running_;
    if (gpibDelivery)
        gpib.FinishNotification(*gpibDelivery, rearm);
    else
        visa.FinishEvent(*visaDelivery);
    delivering_ = false;
    return true;
}

void Simulator::RunDelivery(std::optional<GpibBus::Delivery> gpibDelivery,
                            std::optional<VisaSessions::Delivery> visaDelivery)
{
    const int rearm = gpibDelivery ? GpibBus::Invoke(*gpibDelivery) : 0;
    if (visaDelivery)
        VisaSessions::Invoke(*visaDelivery);
    Lock lock(mutex);
    if (gpibDelivery)
        gpib.FinishNotification(*gpibDelivery, rearm);
    else
        visa.FinishEvent(*visaDelivery);
    Unlock(lock);
}

} // namespace talsim

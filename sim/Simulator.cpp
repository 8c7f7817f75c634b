#include "sim/Simulator.h"

#include "sim/Instrument2600.h"
#include "sim/OtherInstrument.h"
#include "sim/VisaCodes.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace talsim {

namespace {

std::unique_ptr<SimInstrument> MakeAnalyzer(SimConfig& config)
{
    // Only the 2600 series so far; the family key accepts no other value yet.
    return std::make_unique<Instrument2600>(config);
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
    std::thread([this] { InstrumentLoop(); }).detach();
    std::thread([this] { EventLoop(); }).detach();
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
    analyzer_ = MakeAnalyzer(config);
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

void Simulator::InstrumentLoop()
{
    Lock lock(mutex);
    while (true) {
        const auto due = analyzer_->NextDue();
        const auto now = Clock::now();
        if (due && *due <= now) {
            analyzer_->Advance(now);
            Changed();
        } else {
            WaitForChange(lock, due.value_or(kNever));
        }
    }
}

void Simulator::EventLoop()
{
    Lock lock(mutex);
    while (true) {
        if (const auto delivery = gpib.TakeNotification(Clock::now())) {
            lock.unlock();
            const int rearm = delivery->callback(delivery->ud, delivery->ibsta, 0, 0, delivery->refData);
            lock.lock();
            gpib.FinishNotification(*delivery, rearm);
            continue;
        }
        if (const auto event = visa.TakeEvent()) {
            lock.unlock();
            for (const auto& [handler, user] : event->handlers)
                handler(event->vi, visa::VI_EVENT_SERVICE_REQ, event->event, user);
            lock.lock();
            continue;
        }
        WaitForChange(lock, gpib.NextNotifyDeadline().value_or(kNever));
    }
}

} // namespace talsim

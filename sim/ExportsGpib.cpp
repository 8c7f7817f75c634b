// The NI-488.2 entry points: each takes the simulator's lock, forwards to the bus and publishes
// the resulting status in the caller's thread and in the library's status variables.

#include "sim/Exports.h"
#include "sim/Simulator.h"

using talsim::GpibStatus;
using talsim::Simulator;

extern "C" {
TALSIM_EXPORT_DATA int user_ibsta = 0;
TALSIM_EXPORT_DATA int user_iberr = 0;
TALSIM_EXPORT_DATA long user_ibcntl = 0;
}

namespace {

// Static TLS: the library is loaded with dlopen, and dynamically allocated TLS blocks of such
// libraries trip LeakSanitizer's thread scan at exit.
__attribute__((tls_model("initial-exec"))) thread_local GpibStatus threadStatus;

// Called with the lock held, so the shared variables change one call at a time.
int Publish(const GpibStatus& status)
{
    threadStatus = status;
    user_ibsta = status.ibsta;
    user_iberr = status.iberr;
    user_ibcntl = status.ibcntl;
    return status.ibsta;
}

template <typename Operation>
int Call(Operation operation)
{
    Simulator& sim = Simulator::Instance();
    Simulator::Lock lock(sim.mutex);
    const int status = Publish(operation(sim, lock));
    sim.Unlock(lock);
    return status;
}

int FindBoard(const char* name)
{
    int ud = -1;
    Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.FindBoard(name, ud); });
    return ud;
}

} // namespace

TALSIM_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    int ud = -1;
    Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.OpenDevice(board, pad, sad, tmo, eot, eos, ud); });
    return ud;
}

TALSIM_EXPORT int ibfindA(const char* name)
{
    return FindBoard(name);
}

TALSIM_EXPORT int ibfind(const char* name)
{
    return FindBoard(name);
}

TALSIM_EXPORT int ibclr(int ud)
{
    return Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.Clear(ud); });
}

TALSIM_EXPORT int ibconfig(int ud, int option, int value)
{
    return Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.Configure(ud, option, value); });
}

TALSIM_EXPORT int ibonl(int ud, int v)
{
    return Call([&](Simulator& sim, Simulator::Lock& lock) { return sim.gpib.Online(lock, ud, v); });
}

TALSIM_EXPORT int ibtmo(int ud, int v)
{
    return Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.SetTimeout(ud, v); });
}

TALSIM_EXPORT int ibwrt(int ud, const void* buf, long cnt)
{
    return Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.Write(ud, buf, cnt); });
}

TALSIM_EXPORT int ibrd(int ud, void* buf, long cnt)
{
    return Call([&](Simulator& sim, Simulator::Lock& lock) { return sim.gpib.Read(lock, ud, buf, cnt); });
}

TALSIM_EXPORT int ibrsp(int ud, char* spr)
{
    return Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.SerialPoll(ud, spr); });
}

TALSIM_EXPORT int ibwait(int ud, int mask)
{
    return Call([&](Simulator& sim, Simulator::Lock& lock) { return sim.gpib.Wait(lock, ud, mask); });
}

#ifndef TALSIM_WITHOUT_IBNOTIFY
TALSIM_EXPORT int ibnotify(int ud, int mask, talsim::GpibNotifyCallback cb, void* refData)
{
    return Call([&](Simulator& sim, Simulator::Lock& lock) { return sim.gpib.Notify(lock, ud, mask, cb, refData); });
}
#endif

TALSIM_EXPORT void SendIFC(int board)
{
    Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.SendIfc(board); });
}

TALSIM_EXPORT void FindLstn(int board, const unsigned short* addrs, unsigned short* results, int limit)
{
    Call([&](Simulator& sim, Simulator::Lock&) { return sim.gpib.FindListeners(board, addrs, results, limit); });
}

TALSIM_EXPORT int ThreadIbsta(void)
{
    return threadStatus.ibsta;
}

TALSIM_EXPORT int ThreadIberr(void)
{
    return threadStatus.iberr;
}

TALSIM_EXPORT int ThreadIbcnt(void)
{
    return static_cast<int>(threadStatus.ibcntl);
}

TALSIM_EXPORT long ThreadIbcntl(void)
{
    return threadStatus.ibcntl;
}

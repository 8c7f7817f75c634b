#pragma once
// The NI-488.2 entry points, bound at run time. Each wrapper returns what the library returns
// and copies the library's status into gpib::ibsta, iberr, ibcnt and ibcntl. When the library or
// an entry cannot be bound nothing is called: the status becomes ERR, iberr EDVR and the counts
// the operating system's error code, and the next call tries to bind again.
//
// The library: SetLibraryPath(), else the environment variable TALVERN_GPIB_LIBRARY, else
// libni4882.so, libgpibapi.so and libgpib.so.0 in turn. A library without ibnotify gets it
// emulated (automatic serial polling and a waiting thread that calls the callback).

#include "instrument/SharedLibrary.h"
#include "instrument/gpib/GpibStatus.h"

#include <string>

namespace gpib {

extern "C" {
// Called on a library thread when an armed event occurs; the result re-arms (mask) or disarms (0).
typedef int (*GpibNotifyCallback_t)(int ud, int ibsta, int iberr, long ibcntl, void* refData);
}

int ibclr(int ud);
int ibconfig(int ud, int option, int value);
int ibdev(int board, int pad, int sad, int tmo, int eot, int eos);   // -1 when not bound
int ibfindA(const char* name);                                        // -1 when not bound
int ibnotify(int ud, int mask, GpibNotifyCallback_t callback, void* refData);
int ibonl(int ud, int online);
int ibrd(int ud, void* buffer, long count);
int ibrsp(int ud, char* statusByte);
int ibtmo(int ud, int timeoutCode);
int ibwait(int ud, int mask);
int ibwrt(int ud, const void* buffer, long count);
void FindLstn(int board, const unsigned short* addresses, unsigned short* results, int limit);
void SendIFC(int board);

// Chooses the library (empty: environment or defaults) and releases the one bound now.
void SetLibraryPath(const std::string& path);
// Stops the notification threads and releases the library; the next call binds again.
void ReleaseLibrary();
// Whether a library is bound, its name, and why the last binding attempt failed.
bool LibraryBound();
std::string BoundLibraryName();
instrument::LoadFailure LastLoadFailure();
// Whether the bound library lacks ibnotify, so that it is emulated.
bool NotifyEmulated();

} // namespace gpib

#pragma once
// A thread of the bindings' own that runs the callers' service-request callbacks, one at a time in
// the order posted. The callbacks the bindings give a library only post a job and return, so a
// library's thread never waits for the engine: neither a library that calls back inline (inside
// ibnotify or viEnableEvent) nor one whose disarm waits for its running callbacks can deadlock
// with the engine's thread, which disarms while a service request waits for it.

#include <functional>

namespace instrument {

// Runs job on the callback thread, started on first use and kept until the process ends.
void PostCallback(std::function<void()> job);

} // namespace instrument

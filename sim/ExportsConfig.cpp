// The configuration entry point (the same text as the TALVERN_SIM environment variable).

#include "sim/Exports.h"
#include "sim/Simulator.h"

#include <cstring>

TALSIM_EXPORT int talsim_configure(const char* text)
{
    if (!text)
        return -1;
    talsim::Simulator& sim = talsim::Simulator::Instance();
    talsim::Simulator::Lock lock(sim.mutex);
    const int result = sim.Configure(std::string_view(text, strnlen(text, 65537)));
    sim.Unlock(lock);
    return result;
}

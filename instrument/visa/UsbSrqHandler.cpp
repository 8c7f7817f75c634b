#include "instrument/visa/UsbSrqHandler.h"

#include "instrument/CallbackThread.h"
#include "instrument/SrqSink.h"
#include "instrument/visa/Visa.h"

extern "C" visa::ViStatus UsbSrqHandler(visa::ViSession vi, visa::ViEventType, visa::ViEvent, void* userHandle)
{
    // A failed read delivers 0, which the receiver treats as "no data ready".
    uint16_t statusByte = 0;
    if (visa::viReadSTB(vi, &statusByte) < visa::VI_SUCCESS)
        statusByte = 0;
    // The sink is told on the bindings' callback thread, so the library's thread returns at once.
    if (auto* sink = static_cast<instrument::SrqSink*>(userHandle))
        instrument::PostCallback([sink, statusByte] { sink->OnServiceRequest(statusByte); });
    return visa::VI_SUCCESS;
}

#pragma once
// The VISA service-request handler of the tal2600 session: userHandle is the
// instrument::SrqSink that receives the request.

#include "instrument/visa/VisaTypes.h"

extern "C" {
// Reads the status byte (clearing the request), hands it to the sink on the bindings' callback
// thread (CallbackThread.h) and returns VI_SUCCESS without waiting for the sink.
visa::ViStatus UsbSrqHandler(visa::ViSession vi, visa::ViEventType eventType, visa::ViEvent event, void* userHandle);
}

#pragma once
// The VISA service-request handler of the tal2600 session: userHandle is the
// instrument::SrqSink that receives the request.

#include "instrument/visa/VisaTypes.h"

extern "C" {
// Reads the status byte (clearing the request) and hands it to the sink; returns VI_SUCCESS.
visa::ViStatus UsbSrqHandler(visa::ViSession vi, visa::ViEventType eventType, visa::ViEvent event, void* userHandle);
}

#pragma once
// Receiver of an analyzer's service requests. The GPIB callback and the USB event handler call
// it on the instrument library's thread and wait until it returns, so an implementation that
// hands the request to another thread must do so synchronously.

namespace instrument {

class SrqSink {
public:
    virtual ~SrqSink() = default;
    // statusByte: the status byte read by the USB handler, 0 from the GPIB callback.
    virtual void OnServiceRequest(int statusByte) = 0;
};

} // namespace instrument

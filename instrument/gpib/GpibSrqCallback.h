#pragma once
// The callback given to ibnotify: refData is the instrument::SrqSink that receives the request.

namespace gpib {

extern "C" {
// Tells the sink (status byte 0) and returns 0, which leaves the notification disarmed.
int GpibSrqCallback(int ud, int ibsta, int iberr, long ibcntl, void* refData);
}

} // namespace gpib

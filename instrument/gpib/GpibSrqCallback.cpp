#include "instrument/gpib/GpibSrqCallback.h"

#include "instrument/SrqSink.h"

namespace gpib {

extern "C" int GpibSrqCallback(int, int, int, long, void* refData)
{
    if (auto* sink = static_cast<instrument::SrqSink*>(refData))
        sink->OnServiceRequest(0);
    return 0;
}

} // namespace gpib

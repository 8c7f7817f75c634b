// Feeds arbitrary bytes, as an analyzer could send them, to every family's reply readers: the
// readings of the 2600 series, the 1960 and 1800 series and the NF 5060, the 2600 series'
// capability and identification replies with what follows from them, the event and error
// register decodings and the status-byte report. Each must read what it can and never step
// outside the reply.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analyzer/family1800/Texts.h"
#include "analyzer/family1960/ReadingReply.h"
#include "analyzer/family1960/Texts.h"
#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/Identification.h"
#include "analyzer/family2600/ReadingReply.h"
#include "analyzer/family2600/Texts.h"
#include "analyzer/family5060/ReadingReply.h"
#include "analyzer/family5060/Texts.h"
#include "analyzer/sweep/ReplyTokenizer.h"
#include "analyzer/sweep/StatusReport.h"

using namespace analyzer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // As the engines read a reply: from a buffer, up to the first NUL.
    const std::string_view reply = TextOfReply(reinterpret_cast<const char*>(data), size);
    const int firstByte = size > 0 ? data[0] : 0;

    for (int channels = 0; channels <= 5; ++channels) {
        Reading reading;
        family2600::ParseReadingReply(reply, channels, reading);
    }
    for (const family1960::DialogTexts* texts : {&family1960::Texts(), &family1800::Texts()}) {
        Reading reading;
        family1960::ParseGainPhaseReply(reply, texts->family, reading);
        family1960::EventRegisterReport(reply, texts->errorByteLabel);
        UnexpectedStatusReport(texts->family, "context", firstByte);
    }
    Reading reading;
    family5060::ParseMeasurementReply(reply, reading);
    family5060::ErrorByteOf(reply);
    family5060::ErrorByteReport(reply);
    UnexpectedStatusReport(family5060::Texts(), "context", firstByte);

    const family2600::Capabilities caps = family2600::ParseCapabilityReply(reply);
    if (caps.channelCount < 2 || caps.channelCount > 4 || !(caps.maximumFrequency > 0))
        __builtin_trap();
    for (auto waveform : {family2600::Waveform::Sine, family2600::Waveform::Square})
        for (auto impedance : {family2600::OutputImpedance::Ohms2, family2600::OutputImpedance::Ohms50})
            family2600::LimitsFor(caps, waveform, impedance);
    const family2600::Identification id = family2600::ParseIdentification(reply);
    family2600::ReadingChunkBytes(id.firmwareCode);
    family2600::QueuedWriteModeFor(Bus::Gpib, id.firmwareCode);
    for (int firmware : {0x100, 0x200, id.firmwareCode})
        family2600::EventRegisterReport(reply, firmware);
    family2600::MessageLogLine("VERSION;", reply);
    family2600::UpdateReplyLogLine(reply);
    UnexpectedStatusReport(family2600::Texts(), "context", firstByte);
    return 0;
}

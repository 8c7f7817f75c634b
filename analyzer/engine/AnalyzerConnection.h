#pragma once
// The engine's link to the analyzer: a GPIB device or a tal2600 USB session. Writes, reads, serial
// polls and the service-request arming of either bus, and the names that context sentences give
// each call ("In ReadData(), command ReadFromGPIB has an Error").

#include <cstddef>
#include <optional>
#include <string>

#include "analyzer/sweep/CommandQueue.h"
#include "instrument/visa/VisaTypes.h"

namespace instrument {
class SrqSink;
}

class AnalyzerConnection {
public:
    AnalyzerConnection() = default;
    AnalyzerConnection(const AnalyzerConnection&) = delete;
    AnalyzerConnection& operator=(const AnalyzerConnection&) = delete;

    // USB, or GPIB on board 0-3.
    void Choose(bool usb, int board);
    bool UsesUsb() const { return m_usb; }
    bool UsesGpib() const { return !m_usb; }
    analyzer::Bus Bus() const { return m_usb ? analyzer::Bus::Usb : analyzer::Bus::Gpib; }
    int Board() const { return m_board; }

    // GPIB: the device descriptor (negative when none is open).
    int device = -1;
    // USB: the instrument and resource-manager sessions (0 when none is open), the last status.
    visa::ViSession vi = 0;
    visa::ViSession rm = 0;
    visa::ViStatus lastUsbStatus = 0;

    bool Write(const std::string& text);
    // At most maxBytes bytes, as received; none on failure.
    std::optional<std::string> Read(std::size_t maxBytes);
    // The status byte (0-255); none on failure.
    std::optional<int> SerialPoll();
    // GPIB ibnotify with RQS; USB enables the service-request event for the installed handler.
    bool ArmServiceRequest(instrument::SrqSink* sink);

    // "WriteToGPIB" / "tal2600_WriteInstrData", "ReadFromGPIB" / "tal2600_ReadInstrData".
    const char* WriteCall() const;
    const char* ReadCall() const;
    // The failure report of a bus step: the GPIB text with the status of the last call, or the USB one.
    std::string FailureReport(const std::string& context) const;

private:
    bool m_usb = false;
    int m_board = 0;
};

// "In <operation>(), command <call> has an Error".
std::string CommandContext(const char* operation, const char* call);

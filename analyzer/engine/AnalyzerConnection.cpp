#include "analyzer/engine/AnalyzerConnection.h"

#include <algorithm>

#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibFailureReport.h"
#include "instrument/gpib/GpibSrqCallback.h"
#include "instrument/visa/Tal2600Driver.h"

void AnalyzerConnection::Choose(bool usb, int board)
{
    m_usb = usb;
    m_board = board;
}

bool AnalyzerConnection::Write(const std::string& text)
{
    if (m_usb) {
        lastUsbStatus = tal2600_WriteInstrData(vi, text.c_str());
        return lastUsbStatus >= visa::VI_SUCCESS;
    }
    return (gpib::ibwrt(device, text.data(), static_cast<long>(text.size())) & gpib::ERR) == 0;
}

std::optional<std::string> AnalyzerConnection::Read(std::size_t maxBytes)
{
    std::string buffer(maxBytes, '\0');
    if (m_usb) {
        uint32_t received = 0;
        lastUsbStatus = tal2600_ReadInstrData(vi, static_cast<uint32_t>(maxBytes), buffer.data(), &received);
        if (lastUsbStatus < visa::VI_SUCCESS)
            return std::nullopt;
        buffer.resize(std::min<std::size_t>(received, maxBytes));
        return buffer;
    }
    if (gpib::ibrd(device, buffer.data(), static_cast<long>(maxBytes)) & gpib::ERR)
        return std::nullopt;
    buffer.resize(static_cast<std::size_t>(std::clamp<long>(gpib::ibcntl, 0, static_cast<long>(maxBytes))));
    return buffer;
}

std::optional<int> AnalyzerConnection::SerialPoll()
{
    if (m_usb) {
        int16_t status = 0;
        lastUsbStatus = tal2600_ReadStatusByte(vi, &status);
        if (lastUsbStatus < visa::VI_SUCCESS)
            return std::nullopt;
        return status & 0xFF;
    }
    char status = 0;
    if (gpib::ibrsp(device, &status) & gpib::ERR)
        return std::nullopt;
    return static_cast<unsigned char>(status);
}

bool AnalyzerConnection::ArmServiceRequest(instrument::SrqSink* sink)
{
    if (m_usb) {
        lastUsbStatus = tal2600_EnableEvent(vi, visa::VI_EVENT_SERVICE_REQ, visa::VI_HNDLR, 0);
        return lastUsbStatus >= visa::VI_SUCCESS;
    }
    return (gpib::ibnotify(device, gpib::RQS, gpib::GpibSrqCallback, sink) & gpib::ERR) == 0;
}

const char* AnalyzerConnection::WriteCall() const
{
    return m_usb ? "tal2600_WriteInstrData" : "WriteToGPIB";
}

const char* AnalyzerConnection::ReadCall() const
{
    return m_usb ? "tal2600_ReadInstrData" : "ReadFromGPIB";
}

std::string AnalyzerConnection::FailureReport(const std::string& context) const
{
    return m_usb ? gpib::UsbFailureReport(context) : gpib::GpibFailureReport(context);
}

std::string CommandContext(const char* operation, const char* call)
{
    return std::string("In ") + operation + "(), command " + call + " has an Error";
}

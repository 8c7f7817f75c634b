#include "instrument/gpib/GpibFailureReport.h"

#include "instrument/gpib/GpibStatus.h"

#include <cstdio>

namespace gpib {

namespace {

struct BitName {
    int bit;
    const char* name;
};

constexpr BitName kBitNames[] = {{ERR, " ERR"},   {TIMO, " TIMO"}, {END, " END"},   {SRQI, " SRQI"}, {RQS, " RQS"},
                                 {CMPL, " CMPL"}, {LOK, " LOK"},   {REM, " REM"},   {CIC, " CIC"},   {ATN, " ATN"},
                                 {TACS, " TACS"}, {LACS, " LACS"}, {DTAS, " DTAS"}, {DCAS, " DCAS"}};

const char* ErrorName(int error)
{
    switch (error) {
    case EDVR: return " EDVR <DOS Error>\r\n";
    case ECIC: return " ECIC <Not CIC>\r\n";
    case ENOL: return " ENOL <No Listener>\r\n";
    case EADR: return " EADR <Address error>\r\n";
    case EARG: return " EARG <Invalid argument>\r\n";
    case ESAC: return " ESAC <Not Sys Ctrlr>\r\n";
    case EABO: return " EABO <Op. aborted>\r\n";
    case ENEB: return " ENEB <No GPIB board>\r\n";
    case EOIP: return " EOIP <Async I/O in prg>\r\n";
    case ECAP: return " ECAP <No capability>\r\n";
    case EFSO: return " EFSO <File sys. error>\r\n";
    case EBUS: return " EBUS <Command error>\r\n";
    case ESTB: return " ESTB <Status byte lost>\r\n";
    case ESRQ: return " ESRQ <SRQ stuck on>\r\n";
    case ETAB: return " ETAB <Table Overflow>\r\n";
    default: return "";
    }
}

} // namespace

std::string GpibFailureReport(const std::string& context, int status, int error, int count)
{
    char number[64];
    std::string text = "Error on GPIB Bus...\r\n" + context + "\r\n";
    std::snprintf(number, sizeof number, "ibsta = &H%x <", static_cast<unsigned>(status));
    text += number;
    for (const BitName& bit : kBitNames)
        if (status & bit.bit)
            text += bit.name;
    text += " >\r\n";
    std::snprintf(number, sizeof number, "iberr = %d", error);
    text += number;
    text += ErrorName(error);
    std::snprintf(number, sizeof number, "ibcnt = %d\r\n", count);
    text += number;
    return text;
}

std::string GpibFailureReport(const std::string& context)
{
    return GpibFailureReport(context, ibsta, iberr, ibcnt);
}

std::string UsbFailureReport(const std::string& context)
{
    return "Error on USB Bus...\r\n" + context + "\r\n";
}

} // namespace gpib

#include "instrument/gpib/GpibFailureReport.h"

#include <gtest/gtest.h>

namespace {

struct ReportCase {
    int ibsta;
    int iberr;
    int ibcnt;
    const char* statusLine;
    const char* errorAndCount;
};

const ReportCase kReportCases[] = {
    {0x8100, 6, 0, "ibsta = &H8100 < ERR CMPL >\r\n", "iberr = 6 EABO <Op. aborted>\r\nibcnt = 0\r\n"},
    // An unnamed error adds no line break: the count follows on the same line.
    {0x8000, 8, 3, "ibsta = &H8000 < ERR >\r\n", "iberr = 8ibcnt = 3\r\n"},
    {0x8000, 0, 2, "ibsta = &H8000 < ERR >\r\n", "iberr = 0 EDVR <DOS Error>\r\nibcnt = 2\r\n"},
    {0xffff, 20, -1,
     "ibsta = &Hffff < ERR TIMO END SRQI RQS CMPL LOK REM CIC ATN TACS LACS DTAS DCAS >\r\n",
     "iberr = 20 ETAB <Table Overflow>\r\nibcnt = -1\r\n"},
    {0, 1, 0, "ibsta = &H0 < >\r\n", "iberr = 1 ECIC <Not CIC>\r\nibcnt = 0\r\n"},
    {0xc000, 2, 0, "ibsta = &Hc000 < ERR TIMO >\r\n", "iberr = 2 ENOL <No Listener>\r\nibcnt = 0\r\n"},
    {0x8000, 3, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 3 EADR <Address error>\r\nibcnt = 0\r\n"},
    {0x8000, 4, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 4 EARG <Invalid argument>\r\nibcnt = 0\r\n"},
    {0x8000, 5, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 5 ESAC <Not Sys Ctrlr>\r\nibcnt = 0\r\n"},
    {0x8000, 7, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 7 ENEB <No GPIB board>\r\nibcnt = 0\r\n"},
    {0x8000, 9, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 9ibcnt = 0\r\n"},
    {0x8000, 10, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 10 EOIP <Async I/O in prg>\r\nibcnt = 0\r\n"},
    {0x8000, 11, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 11 ECAP <No capability>\r\nibcnt = 0\r\n"},
    {0x8000, 12, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 12 EFSO <File sys. error>\r\nibcnt = 0\r\n"},
    {0x8000, 13, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 13ibcnt = 0\r\n"},
    {0x8000, 14, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 14 EBUS <Command error>\r\nibcnt = 0\r\n"},
    {0x8000, 15, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 15 ESTB <Status byte lost>\r\nibcnt = 0\r\n"},
    {0x8000, 16, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 16 ESRQ <SRQ stuck on>\r\nibcnt = 0\r\n"},
    {0x8000, 21, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = 21ibcnt = 0\r\n"},
    {0x8000, -1, 0, "ibsta = &H8000 < ERR >\r\n", "iberr = -1ibcnt = 0\r\n"},
};

TEST(GpibFailureReport, DecodesStatusBitsErrorNameAndCount)
{
    for (const ReportCase& c : kReportCases) {
        SCOPED_TRACE(testing::Message() << "ibsta 0x" << std::hex << c.ibsta << std::dec << " iberr " << c.iberr);
        const std::string expected = std::string("Error on GPIB Bus...\r\n"
                                                 "In StartAnalyzer(), command ibnotify has an Error\r\n") +
                                     c.statusLine + c.errorAndCount;
        EXPECT_EQ(gpib::GpibFailureReport("In StartAnalyzer(), command ibnotify has an Error", c.ibsta, c.iberr,
                                          c.ibcnt),
                  expected);
    }
}

TEST(GpibFailureReport, UsbReportIsHeadingAndContext)
{
    EXPECT_EQ(gpib::UsbFailureReport("In ReadData(), command tal2600_ReadInstrData has an Error"),
              "Error on USB Bus...\r\nIn ReadData(), command tal2600_ReadInstrData has an Error\r\n");
}

} // namespace

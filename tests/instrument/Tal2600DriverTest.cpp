// The tal2600 driver through the VISA binding and the simulator.

#include "SimLibrary.h"

#include "instrument/Sleeper.h"
#include "instrument/visa/IviErrorRegistry.h"
#include "instrument/visa/Tal2600Driver.h"
#include "instrument/visa/UsbSrqHandler.h"
#include "instrument/visa/Visa.h"

#include <gtest/gtest.h>

namespace {

using namespace visa;

const std::string kResource = "USB0::0x6B3D::0x2162::1234::INSTR";

class Tal2600 : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Loaded());
        ASSERT_TRUE(sim_.Configure("family=2600;model=2162;serial=1234;time_factor=0"));
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override { visa::SetLibraryPath(""); }

    testsupport::SimLibrary sim_{TALVERN_SIM_LIBRARY};
    instrument::RecordingSleeper sleeper_;
    instrument::ScopedSleeper useSleeper_{sleeper_};
};

TEST_F(Tal2600, ResourceNameCarriesModelCodeInHexAndSerialInDecimal)
{
    EXPECT_EQ(Tal2600ResourceName(0x2162, 1234), kResource);
    EXPECT_EQ(Tal2600ResourceName(0x3231, 7), "USB0::0x6B3D::0x3231::7::INSTR");
}

TEST_F(Tal2600, OpensIdentifiesChecksAndCloses)
{
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_SUCCESS);
    EXPECT_NE(vi, 0u);
    EXPECT_NE(rm, 0u);
    // The identification and the event status replies are each awaited 200 ms.
    EXPECT_EQ(sleeper_.RecordedMilliseconds(), (std::vector<long long>{200, 200}));

    ASSERT_EQ(tal2600_WriteInstrData(vi, "*IDN?;"), VI_SUCCESS);
    char reply[64];
    uint32_t received = 0;
    ASSERT_GE(tal2600_ReadInstrData(vi, sizeof reply, reply, &received), VI_SUCCESS);
    EXPECT_EQ(std::string(reply, received).rfind("TALVERN,", 0), 0u);
    // A per-cent sign in a command is sent as it is, never read as a format.
    EXPECT_EQ(tal2600_WriteInstrData(vi, "%s%n;"), VI_SUCCESS);

    int16_t statusByte = -1;
    EXPECT_EQ(tal2600_ReadStatusByte(vi, &statusByte), VI_SUCCESS);
    EXPECT_GE(statusByte, 0);
    EXPECT_LE(statusByte, 0xFF);

    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
    EXPECT_LT(tal2600_WriteInstrData(vi, "*CLS;"), VI_SUCCESS);
}

TEST_F(Tal2600, CloseClosesBothSessionsAlsoWhenTheLockFails)
{
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_SUCCESS);
    ASSERT_TRUE(sim_.Change("fault=lock_timeout"));
    int16_t statusByte = 0;
    EXPECT_EQ(tal2600_ReadStatusByte(vi, &statusByte), VI_ERROR_TMO);
    // The lock's failure is returned, and nothing is left open for the forgotten handles.
    EXPECT_EQ(tal2600_close(vi, rm), VI_ERROR_TMO);
    ViAttrState value = 0;
    EXPECT_EQ(viGetAttribute(vi, VI_ATTR_TMO_VALUE, &value), VI_ERROR_INV_OBJECT);
    EXPECT_EQ(viGetAttribute(rm, VI_ATTR_TMO_VALUE, &value), VI_ERROR_INV_OBJECT);
    EXPECT_FALSE(ivi::IviSession_GetError(vi).has_value());
    // The analyzer can be opened again.
    ASSERT_TRUE(sim_.Change("fault=none"));
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_SUCCESS);
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
}

TEST_F(Tal2600, ResetAddsItsThreeWaits)
{
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, true, &vi, &rm), VI_SUCCESS);
    EXPECT_EQ(sleeper_.RecordedMilliseconds(), (std::vector<long long>{3000, 500, 500, 200, 200}));
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
}

TEST_F(Tal2600, InitWithoutPlaceForTheSessionOpensNothing)
{
    visa::ReleaseLibrary();
    ViSession rm = 0;
    EXPECT_EQ(tal2600_init(kResource.c_str(), true, false, nullptr, &rm), TAL2600_ERROR_NULL_POINTER);
    EXPECT_FALSE(visa::LibraryBound());
    const auto record = ivi::IviSession_GetError(0);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->status, TAL2600_ERROR_NULL_POINTER);
    EXPECT_EQ(record->description, "Null address for Instrument Handle");
    ivi::IviSession_Dispose(0);
}

struct FailingOpen {
    const char* config;
    const char* resource;
    ViStatus expected;
};

TEST_F(Tal2600, FailedOpeningLeavesNothingOpen)
{
    const FailingOpen cases[] = {
        {"idn=OTHER,2162,1234,2.05", kResource.c_str(), TAL2600_ERROR_ID_QUERY},
        {"fault=esr_error", kResource.c_str(), TAL2600_ERROR_INSTRUMENT_STATUS},
        {"", "USB0::0x6B3D::0x2162::9999::INSTR", VI_ERROR_RSRC_NFOUND},
    };
    for (const FailingOpen& c : cases) {
        SCOPED_TRACE(c.config);
        ASSERT_TRUE(sim_.Configure(std::string("family=2600;model=2162;serial=1234;time_factor=0;") + c.config));
        ViSession vi = 77, rm = 77;
        EXPECT_EQ(tal2600_init(c.resource, true, false, &vi, &rm), c.expected);
        EXPECT_EQ(vi, 0u);
        EXPECT_EQ(rm, 0u);
        EXPECT_FALSE(ivi::IviSession_GetError(rm).has_value());
    }
    // The sessions of the failed attempts are gone: the analyzer opens normally afterwards.
    ASSERT_TRUE(sim_.Configure("family=2600;model=2162;serial=1234;time_factor=0"));
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_SUCCESS);
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
}

TEST_F(Tal2600, EventStatusReplyDecidesTheCheck)
{
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), false, false, &vi, &rm), VI_SUCCESS);
    EXPECT_EQ(tal2600_CheckStatus(vi), VI_SUCCESS);
    // An unknown command sets the command-error bit (32): the check fails and records it.
    ASSERT_EQ(tal2600_WriteInstrData(vi, "NOSUCH;"), VI_SUCCESS);
    EXPECT_EQ(tal2600_CheckStatus(vi), TAL2600_ERROR_INSTRUMENT_STATUS);
    const auto record = ivi::IviSession_GetError(vi);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->status, TAL2600_ERROR_INSTRUMENT_STATUS);
    // Reading the register cleared it.
    EXPECT_EQ(tal2600_CheckStatus(vi), VI_SUCCESS);
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
    EXPECT_FALSE(ivi::IviSession_GetError(vi).has_value());
}

TEST_F(Tal2600, ServiceRequestDeliversTheStatusByteFromALibraryThread)
{
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_SUCCESS);
    testsupport::RecordingSink sink;
    ASSERT_EQ(tal2600_InstallHandler(vi, VI_EVENT_SERVICE_REQ, UsbSrqHandler, &sink), VI_SUCCESS);
    ASSERT_EQ(tal2600_EnableEvent(vi, VI_EVENT_SERVICE_REQ, VI_HNDLR, 0), VI_SUCCESS);
    ASSERT_EQ(tal2600_WriteInstrData(vi, "*SRE,1;FREQ,1000;MEAS;"), VI_SUCCESS);

    ASSERT_TRUE(sink.WaitFor(1));
    EXPECT_NE(sink.Thread(0), std::this_thread::get_id());
    EXPECT_EQ(sink.StatusByte(0) & 0x41, 0x41);
    // The handler's read cleared the request.
    int16_t statusByte = 0;
    EXPECT_EQ(tal2600_ReadStatusByte(vi, &statusByte), VI_SUCCESS);
    EXPECT_EQ(statusByte & 0x40, 0);
    EXPECT_EQ(statusByte & 0x01, 0x01);

    ASSERT_EQ(tal2600_WriteInstrData(vi, "READ?;"), VI_SUCCESS);
    char reply[64];
    uint32_t received = 0;
    EXPECT_GE(tal2600_ReadInstrData(vi, sizeof reply, reply, &received), VI_SUCCESS);
    EXPECT_GT(received, 0u);

    EXPECT_EQ(tal2600_DisableEvent(vi, VI_EVENT_SERVICE_REQ, VI_HNDLR), VI_SUCCESS);
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
}

TEST(Tal2600WithoutVisa, EveryStepFailsWithLibraryNotFound)
{
    visa::SetLibraryPath("/nonexistent/libvisa-missing.so");
    ViSession vi = 0, rm = 0;
    EXPECT_EQ(tal2600_init(kResource.c_str(), true, false, &vi, &rm), VI_ERROR_LIBRARY_NFOUND);
    EXPECT_EQ(vi, 0u);
    EXPECT_FALSE(visa::LibraryBound());
    EXPECT_NE(visa::LastLoadFailure().osError, 0);
    int16_t statusByte = 0;
    EXPECT_EQ(tal2600_ReadStatusByte(1, &statusByte), VI_ERROR_LIBRARY_NFOUND);
    visa::SetLibraryPath("");
}

} // namespace

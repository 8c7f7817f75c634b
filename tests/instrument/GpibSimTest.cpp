// The GPIB binding against the simulator, with the library's own ibnotify and with the emulation.

#include "SimLibrary.h"

#include "instrument/gpib/BusSearch.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibFailureReport.h"
#include "instrument/gpib/GpibSrqCallback.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>

namespace {

struct SimVariant {
    const char* path;
    bool emulated;
};

class GpibSim : public testing::TestWithParam<SimVariant> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Loaded()) << GetParam().path;
        ASSERT_TRUE(sim_.Configure("family=2600;address=5;time_factor=0;tmo_factor=0.01"));
        gpib::SetLibraryPath(GetParam().path);
    }
    void TearDown() override { gpib::SetLibraryPath(""); }

    int OpenAnalyzer()
    {
        const int ud = gpib::ibdev(0, 5, 0, gpib::T10s, 1, 0);
        EXPECT_GE(ud, 0);
        EXPECT_FALSE(gpib::ibsta & gpib::ERR) << gpib::GpibFailureReport("ibdev");
        EXPECT_FALSE(gpib::ibclr(ud) & gpib::ERR) << gpib::GpibFailureReport("ibclr");
        return ud;
    }

    static void Write(int ud, const char* text)
    {
        EXPECT_FALSE(gpib::ibwrt(ud, text, static_cast<long>(std::strlen(text))) & gpib::ERR)
            << gpib::GpibFailureReport(text);
    }

    static std::string Read(int ud)
    {
        char buffer[512] = {};
        gpib::ibrd(ud, buffer, 511);
        EXPECT_FALSE(gpib::ibsta & gpib::ERR) << gpib::GpibFailureReport("ibrd");
        return std::string(buffer, static_cast<size_t>(std::clamp<long>(gpib::ibcntl, 0, 511)));
    }

    testsupport::SimLibrary sim_{GetParam().path};
};

TEST_P(GpibSim, StatusCopiesFollowEveryCall)
{
    const int ud = OpenAnalyzer();
    const int status = gpib::ibwrt(ud, "*IDN?;", 6);
    EXPECT_EQ(status, gpib::ibsta);
    EXPECT_FALSE(status & gpib::ERR);
    EXPECT_EQ(gpib::ibcntl, 6);
    EXPECT_EQ(gpib::ibcnt, 6);

    char buffer[512] = {};
    EXPECT_TRUE(gpib::ibrd(ud, buffer, 511) & gpib::END);
    EXPECT_GT(gpib::ibcntl, 8);
    EXPECT_EQ(gpib::ibcnt, gpib::ibcntl);
    EXPECT_NE(std::string(buffer, gpib::ibcntl).find("TALVERN,"), std::string::npos);

    EXPECT_GE(gpib::ibfindA("GPIB0"), 0);
    EXPECT_FALSE(gpib::ibsta & gpib::ERR);
    EXPECT_FALSE(gpib::ibonl(ud, 0) & gpib::ERR);
}

TEST_P(GpibSim, BusFailuresCarryTheLibrarysErrorCode)
{
    const int nobody = gpib::ibdev(0, 17, 0, gpib::T1s, 1, 0);
    ASSERT_GE(nobody, 0);
    EXPECT_TRUE(gpib::ibwrt(nobody, "*IDN?;", 6) & gpib::ERR);
    EXPECT_EQ(gpib::iberr, gpib::ENOL);
    EXPECT_NE(gpib::GpibFailureReport("In ClearDevice(), command WriteToGPIB has an Error")
                  .find("iberr = 2 ENOL <No Listener>\r\n"),
              std::string::npos);
    gpib::ibonl(nobody, 0);

    // A read with nothing to send times out.
    const int ud = OpenAnalyzer();
    gpib::ibtmo(ud, gpib::T1s);
    char buffer[16];
    const int status = gpib::ibrd(ud, buffer, sizeof buffer);
    EXPECT_EQ(status & (gpib::ERR | gpib::TIMO), gpib::ERR | gpib::TIMO);
    EXPECT_EQ(gpib::iberr, gpib::EABO);
    gpib::ibonl(ud, 0);
}

TEST_P(GpibSim, ServiceRequestReachesTheSinkOnceFromALibraryThread)
{
    const int ud = OpenAnalyzer();
    testsupport::RecordingSink sink;
    Write(ud, "*SRE,1;");
    ASSERT_FALSE(gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink) & gpib::ERR)
        << gpib::GpibFailureReport("ibnotify");
    EXPECT_EQ(gpib::NotifyEmulated(), GetParam().emulated);
    Write(ud, "FREQ,1000;MEAS;");

    ASSERT_TRUE(sink.WaitFor(1));
    EXPECT_NE(sink.Thread(0), std::this_thread::get_id());
    EXPECT_EQ(sink.StatusByte(0), 0);
    char statusByte = 0;
    EXPECT_FALSE(gpib::ibrsp(ud, &statusByte) & gpib::ERR);
    EXPECT_EQ(statusByte & 0x41, 0x41);
    Write(ud, "READ?;");
    EXPECT_FALSE(Read(ud).empty());

    // The callback returned 0: the next request is not delivered until the device is armed again.
    Write(ud, "FREQ,2000;MEAS;");
    EXPECT_TRUE(gpib::ibwait(ud, gpib::RQS | gpib::TIMO) & gpib::RQS);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(sink.Count(), 1u);
    ASSERT_FALSE(gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink) & gpib::ERR);
    ASSERT_TRUE(sink.WaitFor(2));

    // Disarmed explicitly: nothing is delivered.
    gpib::ibrsp(ud, &statusByte);
    ASSERT_FALSE(gpib::ibnotify(ud, 0, nullptr, nullptr) & gpib::ERR);
    Write(ud, "READ?;");
    Read(ud);
    Write(ud, "FREQ,3000;MEAS;");
    EXPECT_TRUE(gpib::ibwait(ud, gpib::RQS | gpib::TIMO) & gpib::RQS);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(sink.Count(), 2u);
    gpib::ibonl(ud, 0);
}

// Records the status the library passes to the callback.
struct CallbackRecord {
    std::mutex mutex;
    std::condition_variable called;
    std::vector<int> statuses;
};

extern "C" int RecordStatusCallback(int, int ibsta, int, long, void* refData)
{
    auto* record = static_cast<CallbackRecord*>(refData);
    std::lock_guard lock(record->mutex);
    record->statuses.push_back(ibsta);
    record->called.notify_all();
    return 0;
}

TEST_P(GpibSim, TimeOutInTheMaskIsReportedWhenNoRequestComes)
{
    const int ud = OpenAnalyzer();
    ASSERT_FALSE(gpib::ibtmo(ud, 9) & gpib::ERR);  // 100 ms
    CallbackRecord record;
    ASSERT_FALSE(gpib::ibnotify(ud, gpib::RQS | gpib::TIMO, RecordStatusCallback, &record) & gpib::ERR);
    std::unique_lock lock(record.mutex);
    ASSERT_TRUE(record.called.wait_for(lock, std::chrono::seconds(10), [&] { return !record.statuses.empty(); }));
    EXPECT_TRUE(record.statuses[0] & gpib::TIMO);
    EXPECT_FALSE(record.statuses[0] & gpib::RQS);
    lock.unlock();
    gpib::ibonl(ud, 0);
}

// Handles each request as a sweep step does: serial poll, read, next measurement, arm again, all
// from the callback's thread before the callback returns 0.
class SweepSink final : public instrument::SrqSink {
public:
    SweepSink(int ud, int readings) : ud_(ud), remaining_(readings) {}

    void OnServiceRequest(int) override
    {
        char statusByte = 0;
        gpib::ibrsp(ud_, &statusByte);
        gpib::ibwrt(ud_, "READ?;", 6);
        char buffer[512];
        gpib::ibrd(ud_, buffer, 511);
        const bool readOk = !(gpib::ibsta & gpib::ERR) && gpib::ibcntl > 0;
        std::lock_guard lock(mutex_);
        if ((statusByte & 0x01) && readOk)
            ++good_;
        if (--remaining_ > 0) {
            gpib::ibwrt(ud_, "FREQ,1500;MEAS;", 15);
            gpib::ibnotify(ud_, gpib::RQS, gpib::GpibSrqCallback, this);
        }
        done_.notify_all();
    }

    bool WaitDone()
    {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, std::chrono::seconds(10), [&] { return remaining_ <= 0; });
    }
    int Good()
    {
        std::lock_guard lock(mutex_);
        return good_;
    }

private:
    int ud_;
    int remaining_;
    int good_ = 0;
    std::mutex mutex_;
    std::condition_variable done_;
};

TEST_P(GpibSim, ArmingAgainInsideTheCallbackKeepsTheNextRequest)
{
    const int ud = OpenAnalyzer();
    SweepSink sink(ud, 5);
    Write(ud, "*SRE,1;FREQ,1000;MEAS;");
    ASSERT_FALSE(gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink) & gpib::ERR);
    ASSERT_TRUE(sink.WaitDone());
    EXPECT_EQ(sink.Good(), 5);
    gpib::ibnotify(ud, 0, nullptr, nullptr);
    gpib::ibonl(ud, 0);
}

TEST_P(GpibSim, BusSearchFindsTheAnalyzerOrListsTheOthers)
{
    ASSERT_TRUE(sim_.Configure("family=2600;address=5;others=7,9;time_factor=0"));
    gpib::BusSearchOutcome outcome = gpib::FindAnalyzerAddress(10, 0);
    EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::Found);
    EXPECT_EQ(outcome.address, 5);

    outcome = gpib::FindAnalyzerAddress(6, 0);
    EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::NotFound);
    EXPECT_EQ(outcome.message, "RLC1960 Analyzer not found.\r\nInstruments were found at the following "
                               "address(es):\r\n 5,  7,  9, ");

    // Nothing on this board; and a board that does not exist.
    ASSERT_TRUE(sim_.Configure("family=2600;board=1;address=5"));
    outcome = gpib::FindAnalyzerAddress(10, 0);
    EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::NotFound);
    EXPECT_EQ(outcome.message, "RLC2600 Analyzer not found.\r\nInstruments were found at the following "
                               "address(es):\r\n");
    outcome = gpib::FindAnalyzerAddress(10, 9);
    EXPECT_EQ(outcome.result, gpib::BusSearchOutcome::Result::BoardError);
    EXPECT_EQ(outcome.message, "Unable to open board");
}

INSTANTIATE_TEST_SUITE_P(Libraries, GpibSim,
                         testing::Values(SimVariant{TALVERN_SIM_LIBRARY, false},
                                         SimVariant{TALVERN_SIM_NOIBNOTIFY_LIBRARY, true}),
                         [](const testing::TestParamInfo<SimVariant>& info) {
                             return info.param.emulated ? std::string("EmulatedNotify") : std::string("LibraryNotify");
                         });

} // namespace

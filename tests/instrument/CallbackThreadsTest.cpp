// The bindings against libraries that call back in ways of their own: inline inside ibnotify or
// viEnableEvent, from a new thread for every delivery, and with a disarm that waits while a
// callback runs. Each request is handled as the engines handle it: handed to the engine's thread
// (here the test's), the callback's thread waiting until it is handled; the engine's thread
// disarms, starts the next measurement and arms again while that thread still waits.

#include "SimLibrary.h"

#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/gpib/GpibFailureReport.h"
#include "instrument/gpib/GpibSrqCallback.h"
#include "instrument/visa/Tal2600Driver.h"
#include "instrument/visa/UsbSrqHandler.h"
#include "instrument/visa/Visa.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

constexpr int kReadings = 6;

// Hands each request to the thread that created it and waits until that thread has handled it;
// on that thread itself it handles the request at once (as the engines' relay does).
class EngineThreadSink final : public instrument::SrqSink {
public:
    std::function<void(int)> handle;

    // Waits until no thread is inside OnServiceRequest any more.
    ~EngineThreadSink()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return inside_ == 0; });
    }

    void OnServiceRequest(int statusByte) override
    {
        if (std::this_thread::get_id() == owner_) {
            handle(statusByte);
            return;
        }
        std::unique_lock lock(mutex_);
        ++inside_;
        requests_.push_back(statusByte);
        const unsigned long long ticket = ++posted_;
        changed_.notify_all();
        // Bounded, so that an engine that never comes fails the test instead of hanging it.
        changed_.wait_for(lock, 10s, [&] { return handled_ >= ticket; });
        --inside_;
        changed_.notify_all();
    }

    // On the engine's thread: handles the next request handed over; false if none came in time.
    bool HandleNext()
    {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, 10s, [&] { return !requests_.empty(); }))
            return false;
        const int statusByte = requests_.front();
        requests_.pop_front();
        lock.unlock();
        handle(statusByte);
        lock.lock();
        ++handled_;
        changed_.notify_all();
        return true;
    }

private:
    const std::thread::id owner_ = std::this_thread::get_id();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<int> requests_;
    unsigned long long posted_ = 0;
    unsigned long long handled_ = 0;
    int inside_ = 0;
};

// The library behaviours, alone and combined.
const char* const kBehaviours[] = {"callbacks=instrument", "callbacks=inline",           "disarm=wait",
                                   "callbacks=thread",     "callbacks=inline;disarm=wait", "callbacks=thread;disarm=wait"};

std::string Name(const testing::TestParamInfo<const char*>& info)
{
    std::string name;
    for (const char* p = info.param; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return name;
}

class GpibCallbacks : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Loaded());
        ASSERT_TRUE(sim_.Configure(std::string("family=2600;time_factor=0;tmo_factor=0.01;") + GetParam()));
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override { gpib::SetLibraryPath(""); }

    testsupport::SimLibrary sim_{TALVERN_SIM_LIBRARY};
};

TEST_P(GpibCallbacks, EveryRequestIsHandledWhileTheEngineDisarmsAndArmsAgain)
{
    const int ud = gpib::ibdev(0, 5, 0, gpib::T10s, 1, 0);
    ASSERT_GE(ud, 0);
    EngineThreadSink sink;
    int handled = 0;
    int readings = 0;
    // Arms once the request is pending, so that a library calling back inline does so in ibnotify.
    const auto measureAndArm = [&](const char* command) {
        ASSERT_FALSE(gpib::ibwrt(ud, command, static_cast<long>(std::strlen(command))) & gpib::ERR);
        EXPECT_TRUE(gpib::ibwait(ud, gpib::RQS | gpib::TIMO) & gpib::RQS);
        EXPECT_FALSE(gpib::ibnotify(ud, gpib::RQS, gpib::GpibSrqCallback, &sink) & gpib::ERR)
            << gpib::GpibFailureReport("ibnotify");
    };
    sink.handle = [&](int) {
        char statusByte = 0;
        EXPECT_FALSE(gpib::ibrsp(ud, &statusByte) & gpib::ERR);
        gpib::ibwrt(ud, "READ?;", 6);
        char reply[512];
        if (!(gpib::ibrd(ud, reply, sizeof reply) & gpib::ERR) && gpib::ibcntl > 0 && (statusByte & 0x01))
            ++readings;
        // While the callback's thread still waits for this step.
        EXPECT_FALSE(gpib::ibnotify(ud, 0, nullptr, nullptr) & gpib::ERR) << gpib::GpibFailureReport("disarm");
        if (++handled < kReadings)
            measureAndArm("FREQ,2000;MEAS;");
    };
    measureAndArm("*SRE,1;FREQ,1000;MEAS;");
    while (handled < kReadings && sink.HandleNext()) {
    }
    EXPECT_EQ(handled, kReadings);
    EXPECT_EQ(readings, kReadings);
    EXPECT_FALSE(gpib::ibonl(ud, 0) & gpib::ERR) << gpib::GpibFailureReport("ibonl");
}

INSTANTIATE_TEST_SUITE_P(Libraries, GpibCallbacks, testing::ValuesIn(kBehaviours), Name);

class UsbCallbacks : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.Loaded());
        ASSERT_TRUE(sim_.Configure(std::string("family=2600;model=2162;serial=1234;time_factor=0;") + GetParam()));
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override { visa::SetLibraryPath(""); }

    testsupport::SimLibrary sim_{TALVERN_SIM_LIBRARY};
    instrument::RecordingSleeper sleeper_;
    instrument::ScopedSleeper useSleeper_{sleeper_};
};

TEST_P(UsbCallbacks, EveryRequestIsHandledWhileTheEngineDisablesAndEnablesAgain)
{
    using namespace visa;
    ViSession vi = 0, rm = 0;
    ASSERT_EQ(tal2600_init("USB0::0x6B3D::0x2162::1234::INSTR", true, false, &vi, &rm), VI_SUCCESS);
    EngineThreadSink sink;
    ASSERT_EQ(tal2600_InstallHandler(vi, VI_EVENT_SERVICE_REQ, UsbSrqHandler, &sink), VI_SUCCESS);
    int handled = 0;
    int readings = 0;
    // Enables once the request is pending (asked with *STB?, which leaves it pending), so that a
    // library calling back inline does so in viEnableEvent.
    const auto measureAndEnable = [&](const char* command) {
        ASSERT_EQ(tal2600_WriteInstrData(vi, command), VI_SUCCESS);
        for (int attempt = 0; attempt < 200; ++attempt) {
            char reply[16] = {};
            uint32_t received = 0;
            ASSERT_EQ(tal2600_WriteInstrData(vi, "*STB?;"), VI_SUCCESS);
            ASSERT_GE(tal2600_ReadInstrData(vi, sizeof reply - 1, reply, &received), VI_SUCCESS);
            if (std::atoi(reply) & 0x40)
                break;
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_GE(tal2600_EnableEvent(vi, VI_EVENT_SERVICE_REQ, VI_HNDLR, 0), VI_SUCCESS);
    };
    sink.handle = [&](int statusByte) {
        EXPECT_GE(tal2600_WriteInstrData(vi, "READ?;"), VI_SUCCESS);
        char reply[64];
        uint32_t received = 0;
        if (tal2600_ReadInstrData(vi, sizeof reply, reply, &received) >= VI_SUCCESS && received > 0 &&
            (statusByte & 0x01))
            ++readings;
        // While the handler's thread still waits for this step.
        EXPECT_GE(tal2600_DisableEvent(vi, VI_EVENT_SERVICE_REQ, VI_HNDLR), VI_SUCCESS);
        if (++handled < kReadings)
            measureAndEnable("FREQ,2000;MEAS;");
    };
    measureAndEnable("*SRE,1;FREQ,1000;MEAS;");
    while (handled < kReadings && sink.HandleNext()) {
    }
    EXPECT_EQ(handled, kReadings);
    EXPECT_EQ(readings, kReadings);
    EXPECT_EQ(tal2600_close(vi, rm), VI_SUCCESS);
}

INSTANTIATE_TEST_SUITE_P(Libraries, UsbCallbacks, testing::ValuesIn(kBehaviours), Name);

} // namespace

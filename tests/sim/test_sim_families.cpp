// The simulated 1960, 1800 series and NF 5060 through the exported GPIB entry points.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace {

constexpr int ERR = 0x8000;

class SimFamilies : public testing::Test {
protected:
    void SetUp() override
    {
        handle_ = dlopen(TALSIM_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        configure = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, "talsim_configure"));
        ibdev = reinterpret_cast<int (*)(int, int, int, int, int, int)>(dlsym(handle_, "ibdev"));
        ibonl = reinterpret_cast<int (*)(int, int)>(dlsym(handle_, "ibonl"));
        ibwrt = reinterpret_cast<int (*)(int, const void*, long)>(dlsym(handle_, "ibwrt"));
        ibrd = reinterpret_cast<int (*)(int, void*, long)>(dlsym(handle_, "ibrd"));
        ibrsp = reinterpret_cast<int (*)(int, char*)>(dlsym(handle_, "ibrsp"));
        ibcntl = reinterpret_cast<long*>(dlsym(handle_, "user_ibcntl"));
        ASSERT_TRUE(configure && ibdev && ibonl && ibwrt && ibrd && ibrsp && ibcntl);
    }
    void TearDown() override
    {
        if (device_ >= 0)
            ibonl(device_, 0);
        dlclose(handle_);
    }

    void Open(const std::string& config)
    {
        ASSERT_EQ(configure(("reset;time_factor=0;tmo_factor=0;noise=0;" + config).c_str()), 0);
        device_ = ibdev(0, 5, 0, 13, 1, 0);
        ASSERT_GE(device_, 0);
    }
    void Write(const std::string& text) { ASSERT_EQ(ibwrt(device_, text.data(), static_cast<long>(text.size())) & ERR, 0); }
    std::string Read()
    {
        char buffer[512] = {};
        if (ibrd(device_, buffer, sizeof buffer - 1) & ERR)
            return "<error>";
        return std::string(buffer, static_cast<size_t>(*ibcntl));
    }
    std::string Query(const std::string& text)
    {
        Write(text);
        return Read();
    }
    // Polls until the reading is ready (it is finished on an instrument thread); the last status.
    int PollUntilReady()
    {
        int status = 0;
        for (int attempt = 0; attempt < 2000 && !(status & 0x01); ++attempt) {
            status = Poll();
            if (!(status & 0x01))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return status;
    }
    int Poll()
    {
        char status = 0;
        ibrsp(device_, &status);
        return static_cast<unsigned char>(status);
    }

    int (*configure)(const char*) = nullptr;
    int (*ibdev)(int, int, int, int, int, int) = nullptr;
    int (*ibonl)(int, int) = nullptr;
    int (*ibwrt)(int, const void*, long) = nullptr;
    int (*ibrd)(int, void*, long) = nullptr;
    int (*ibrsp)(int, char*) = nullptr;
    long* ibcntl = nullptr;

private:
    void* handle_ = nullptr;
    int device_ = -1;
};

TEST_F(SimFamilies, FamilyKeyTakesTheFourFamiliesOnly)
{
    for (const char* family : {"1960", "1800", "5060", "2600"})
        EXPECT_EQ(configure((std::string("family=") + family).c_str()), 0) << family;
    EXPECT_NE(configure("family=1852"), 0);
    EXPECT_NE(configure("family=2601"), 0);
}

TEST_F(SimFamilies, Model1960MeasuresAndReportsItsEventRegisterAsOneByte)
{
    Open("family=1960");
    EXPECT_EQ(Query("*IDN?;"), "TALVERN Model 1960,1234,2.05\n");
    Write("*ESE,60;MODE,GAINPH;AMPLIT,1;OUTPUT,ON;*SRE,1;FREQUE,1000;GAINPH?;");
    EXPECT_EQ(PollUntilReady() & 0x41, 0x41);  // ready, with the request
    const std::string reply = Read();
    EXPECT_EQ(reply.rfind("1.000000E+03,", 0), 0u) << reply;
    EXPECT_EQ(std::count(reply.begin(), reply.end(), ','), 4);
    EXPECT_EQ(Poll() & 0x01, 0);

    Write("FREQUE,2.5E+06;");  // above the sine's 2.2 MHz
    EXPECT_EQ(Poll() & 0x20, 0x20);
    EXPECT_EQ(Query("*ESR?;"), std::string(1, '\x10'));
}

TEST_F(SimFamilies, Model1960MovesToTheConfiguredAddress)
{
    Open("family=1960");
    Write("CONFIG,153,9;PROGRAM,STORE,1;");
    const int moved = ibdev(0, 9, 0, 13, 1, 0);
    char buffer[64] = {};
    ibwrt(moved, "*IDN?;", 6);
    EXPECT_EQ(ibrd(moved, buffer, sizeof buffer) & ERR, 0);
    EXPECT_NE(std::string(buffer).find("Model 1960"), std::string::npos);
    ibonl(moved, 0);
}

TEST_F(SimFamilies, Series1800RefusesAnAmplitudeAboveTheBandCeiling)
{
    Open("family=1800");
    EXPECT_EQ(Query("*IDN?;"), "TALVERN Model 1800-5291,1234,2.05\n");
    Write("*ESE,60;AMPLIT,6;OUTPUT,ON;FREQUE,4.9E+06;GAINPH?;");
    EXPECT_NE(Read(), "<error>");
    Write("AMPLIT,6;FREQUE,5E+06;GAINPH?;");  // 3 V from 5 MHz
    EXPECT_EQ(Poll() & 0x20, 0x20);
    EXPECT_EQ(Query("*ESR?;"), std::string(1, '\x10'));
    Write("WAVEFO,SQUARE;");
    EXPECT_EQ(Query("*ESR?;"), std::string(1, '\x10'));
    Write("COUPLI,CH1,AC+DC;FREQUE,0.00002;");
    EXPECT_EQ(Query("*ESR?;"), std::string(1, '\0'));
}

TEST_F(SimFamilies, Nf5060ReplyOrderStatusAndErrorByte)
{
    Open("family=5060");
    EXPECT_EQ(Query("?IDT;"), "NF 5060A\r\n");
    Write("INT;SSS1;HDR1;OAM 1;OWF0;OON0;OON1;SRQ1;OFR 1000;MSI;");
    EXPECT_EQ(PollUntilReady() & 0x41, 0x41);
    const std::string reply = Read();
    EXPECT_EQ(reply.rfind("MAG ", 0), 0u) << reply;
    EXPECT_NE(reply.find(",FR 1.000000E+03,"), std::string::npos) << reply;
    EXPECT_EQ(std::count(reply.begin(), reply.end(), ','), 10);

    Write("XYZ 1;OAM 20;");
    EXPECT_EQ(Poll() & 0x90, 0x90);  // error and unknown command
    EXPECT_EQ(Query("?ERR;"), "0011\r\n");
    EXPECT_EQ(Poll() & 0x90, 0);

    ASSERT_EQ(configure("idn=NF 5060"), 0);
    Write("OFR 1.5E+06;");
    EXPECT_EQ(Query("?ERR;"), "0010\r\n");
}

} // namespace

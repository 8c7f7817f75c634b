// The referee: each simulated family records the commands that break its instrument's rules,
// with the frequency and the rule, through talsim_violations; talsim_measurements tells what
// amplitude each measurement ran with.

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

namespace {

constexpr int ERR = 0x8000;

class SimReferee : public testing::Test {
protected:
    void SetUp() override
    {
        handle_ = dlopen(TALSIM_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        configure = reinterpret_cast<int (*)(const char*)>(dlsym(handle_, "talsim_configure"));
        violations = reinterpret_cast<int (*)(char*, int, int)>(dlsym(handle_, "talsim_violations"));
        measurements = reinterpret_cast<int (*)(double*, int)>(dlsym(handle_, "talsim_measurements"));
        ibdev = reinterpret_cast<int (*)(int, int, int, int, int, int)>(dlsym(handle_, "ibdev"));
        ibonl = reinterpret_cast<int (*)(int, int)>(dlsym(handle_, "ibonl"));
        ibwrt = reinterpret_cast<int (*)(int, const void*, long)>(dlsym(handle_, "ibwrt"));
        ASSERT_TRUE(configure && violations && measurements && ibdev && ibonl && ibwrt);
    }
    void TearDown() override
    {
        if (device_ >= 0)
            ibonl(device_, 0);
        dlclose(handle_);
    }

    // Writes each message to a freshly configured analyzer; the referee's report.
    std::string Breaches(const std::string& config, const std::vector<std::string>& messages)
    {
        EXPECT_EQ(configure(("reset;time_factor=0;tmo_factor=0;noise=0;" + config).c_str()), 0);
        violations(nullptr, 0, 1);
        if (device_ < 0)
            device_ = ibdev(0, 5, 0, 13, 1, 0);
        for (const std::string& m : messages)
            EXPECT_EQ(ibwrt(device_, m.data(), static_cast<long>(m.size())) & ERR, 0) << m;
        char text[4096] = {};
        const int count = violations(text, sizeof text, 1);
        const std::string report = text;
        EXPECT_EQ(count == 0, report.empty()) << report;
        return report;
    }

    int (*configure)(const char*) = nullptr;
    int (*violations)(char*, int, int) = nullptr;
    int (*measurements)(double*, int) = nullptr;
    int (*ibdev)(int, int, int, int, int, int) = nullptr;
    int (*ibonl)(int, int) = nullptr;
    int (*ibwrt)(int, const void*, long) = nullptr;

private:
    void* handle_ = nullptr;
    int device_ = -1;
};

struct Case {
    const char* name;
    const char* config;
    std::vector<std::string> messages;
    const char* rule;  // a text of the one expected report line; empty: no breach
};

TEST_F(SimReferee, EachFamilyRecordsTheBreachesOfItsRules)
{
    const Case cases[] = {
        {"2600 product rule at 20 MHz", "family=2600", {"OUTP,ON;AMPL,10;FREQ,2E+07;MEAS;"},
         "amplitude x frequency above 80 MV Hz: 'MEAS' at 2e+07 Hz"},
        {"2600 4 V at 20 MHz is allowed", "family=2600", {"OUTP,ON;AMPL,4;FREQ,2E+07;MEAS;"}, ""},
        {"2600 2 Ohm output above 2 V", "family=2600", {"ZOUT,2;OUTP,ON;AMPL,2.5;FREQ,1000;MEAS;"},
         "amplitude above 2 V on the 2 Ohm output"},
        {"2600 AC + DC above 10 V", "family=2600", {"AMPL,6;DCOF,5;BIAS,ON;OUTP,ON;FREQ,1000;MEAS;"},
         "AC + |DC| above 10 V"},
        {"2600 DC without bias counts nothing", "family=2600", {"AMPL,6;DCOF,5;BIAS,OFF;OUTP,ON;MEAS;"}, ""},
        {"2600 amplitude out of range", "family=2600", {"AMPL,12;"}, "execution error (value out of range or refused): 'AMPL,12'"},
        {"2600 unknown header", "family=2600", {"FOO,1;"}, "command error"},
        {"1960 AC + DC above 10 V", "family=1960", {"OUTPUT,ON;AMPLIT,6;OFFSET,5;FREQUE,1000;GAINPH?;"},
         "AC + |DC| above 10 V: 'GAINPH?' at 1000 Hz"},
        {"1960 medium band at 25 kHz", "family=1960", {"OUTPUT,ON;AMPLIT,1;BANDWI,MEDIUM;FREQUE,25000;GAINPH?;"},
         "BANDWI,MEDIUM outside its band (HIGH here)"},
        {"1960 high band at 25 kHz", "family=1960", {"OUTPUT,ON;AMPLIT,1;BANDWI,HIGH;FREQUE,25000;GAINPH?;"}, ""},
        {"1800 ceiling of 1-5 MHz", "family=1800;model=1852;max_frequency=25M",
         {"OUTPUT,ON;AMPLIT,10;BANDWI,AUTO;FREQUE,1E+06;GAINPH?;"},
         "amplitude above the ceiling of the frequency's band: 'GAINPH?' at 1e+06 Hz"},
        {"1800 wide band at 100 kHz", "family=1800;model=1852;max_frequency=25M",
         {"OUTPUT,ON;AMPLIT,1;BANDWI,WIDE;FREQUE,100000;GAINPH?;"}, "BANDWI,WIDE outside its band (AUTO here)"},
        {"5060 amplitude out of range", "family=5060", {"OAM 12;"}, "parameter out of range: 'OAM 12'"},
        {"5060 square wave above 100 kHz", "family=5060", {"OWF1;OFR 200000;"}, "parameter out of range: 'OFR 200000'"},
        {"5060 unknown header", "family=5060", {"XYZ 1;"}, "unknown header"},
    };
    for (const Case& c : cases) {
        const std::string report = Breaches(c.config, c.messages);
        if (*c.rule == '\0') {
            EXPECT_EQ(report, "") << c.name;
        } else {
            EXPECT_NE(report.find(c.rule), std::string::npos) << c.name << ": " << report;
            EXPECT_EQ(report.find('\n'), report.size() - 1) << c.name << ": one line expected: " << report;
        }
    }
}

TEST_F(SimReferee, MeasurementsTellTheAmplitudeApplied)
{
    Breaches("family=2600", {"OUTP,ON;AMPL,0.5;FREQ,1000;MEAS;", "AMPL,1.25;FREQ,2000;MEAS;"});
    double pairs[8] = {};
    ASSERT_EQ(measurements(pairs, 2), 2);
    EXPECT_DOUBLE_EQ(pairs[0], 1000.0);
    EXPECT_DOUBLE_EQ(pairs[1], 0.5);
    EXPECT_DOUBLE_EQ(pairs[2], 2000.0);
    EXPECT_DOUBLE_EQ(pairs[3], 1.25);
    // A refused measurement is not one: the last is still the 2000 Hz one.
    Breaches("family=1800;model=1852;max_frequency=25M", {"OUTPUT,ON;AMPLIT,10;FREQUE,2E+06;GAINPH?;"});
    ASSERT_EQ(measurements(pairs, 1), 1);
    EXPECT_DOUBLE_EQ(pairs[0], 2000.0);
}

} // namespace

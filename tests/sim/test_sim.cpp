// The simulator library through its exported C entry points, loaded with dlopen as the bindings
// load it.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <complex>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int ERR = 0x8000;
constexpr int TIMO = 0x4000;
constexpr int END = 0x2000;
constexpr int RQS = 0x0800;
constexpr int ENOL = 2;
constexpr int EABO = 6;
constexpr int ECAP = 11;
constexpr int ENEB = 7;
constexpr unsigned short NOADDR = 0xFFFF;

constexpr std::int32_t VI_SUCCESS_MAX_CNT = 0x3FFF0006;
constexpr std::int32_t VI_ERROR_RSRC_NFOUND = static_cast<std::int32_t>(0xBFFF0011);
constexpr std::int32_t VI_ERROR_TMO = static_cast<std::int32_t>(0xBFFF0015);
constexpr std::int32_t VI_ERROR_INV_OBJECT = static_cast<std::int32_t>(0xBFFF000E);
constexpr std::uint32_t VI_EVENT_SERVICE_REQ = 0x3FFF200B;
constexpr std::uint32_t VI_ATTR_TMO_VALUE = 0x3FFF001A;

extern "C" {
typedef int (*NotifyFn)(int, int, int, long, void*);
typedef std::int32_t (*HandlerFn)(std::uint32_t, std::uint32_t, std::uint32_t, void*);
}

// The entry points of one loaded simulator library.
struct Library {
    void* handle = nullptr;
    int (*talsim_configure)(const char*);
    int (*ibdev)(int, int, int, int, int, int);
    int (*ibfindA)(const char*);
    int (*ibclr)(int);
    int (*ibconfig)(int, int, int);
    int (*ibonl)(int, int);
    int (*ibtmo)(int, int);
    int (*ibwrt)(int, const void*, long);
    int (*ibrd)(int, void*, long);
    int (*ibrsp)(int, char*);
    int (*ibwait)(int, int);
    int (*ibnotify)(int, int, NotifyFn, void*);
    void (*FindLstn)(int, const unsigned short*, unsigned short*, int);
    int (*ThreadIbsta)();
    int (*ThreadIberr)();
    long (*ThreadIbcntl)();
    int* user_ibsta;
    long* user_ibcntl;
    std::int32_t (*viOpenDefaultRM)(std::uint32_t*);
    std::int32_t (*viFindRsrc)(std::uint32_t, const char*, std::uint32_t*, std::uint32_t*, char*);
    std::int32_t (*viOpen)(std::uint32_t, const char*, std::uint32_t, std::uint32_t, std::uint32_t*);
    std::int32_t (*viClose)(std::uint32_t);
    std::int32_t (*viSetAttribute)(std::uint32_t, std::uint32_t, std::uint64_t);
    std::int32_t (*viPrintf)(std::uint32_t, const char*, ...);
    std::int32_t (*viRead)(std::uint32_t, unsigned char*, std::uint32_t, std::uint32_t*);
    std::int32_t (*viReadSTB)(std::uint32_t, std::uint16_t*);
    std::int32_t (*viEnableEvent)(std::uint32_t, std::uint32_t, std::uint16_t, std::uint32_t);
    std::int32_t (*viInstallHandler)(std::uint32_t, std::uint32_t, HandlerFn, void*);

    template <typename T>
    void Bind(T& target, const char* name)
    {
        target = reinterpret_cast<T>(dlsym(handle, name));
        ASSERT_NE(target, nullptr) << name;
    }

    void Load(const char* path, bool withNotify)
    {
        handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        Bind(talsim_configure, "talsim_configure");
        Bind(ibdev, "ibdev");
        Bind(ibfindA, "ibfindA");
        Bind(ibclr, "ibclr");
        Bind(ibconfig, "ibconfig");
        Bind(ibonl, "ibonl");
        Bind(ibtmo, "ibtmo");
        Bind(ibwrt, "ibwrt");
        Bind(ibrd, "ibrd");
        Bind(ibrsp, "ibrsp");
        Bind(ibwait, "ibwait");
        if (withNotify)
            Bind(ibnotify, "ibnotify");
        Bind(FindLstn, "FindLstn");
        Bind(ThreadIbsta, "ThreadIbsta");
        Bind(ThreadIberr, "ThreadIberr");
        Bind(ThreadIbcntl, "ThreadIbcntl");
        Bind(user_ibsta, "user_ibsta");
        Bind(user_ibcntl, "user_ibcntl");
        Bind(viOpenDefaultRM, "viOpenDefaultRM");
        Bind(viFindRsrc, "viFindRsrc");
        Bind(viOpen, "viOpen");
        Bind(viClose, "viClose");
        Bind(viSetAttribute, "viSetAttribute");
        Bind(viPrintf, "viPrintf");
        Bind(viRead, "viRead");
        Bind(viReadSTB, "viReadSTB");
        Bind(viEnableEvent, "viEnableEvent");
        Bind(viInstallHandler, "viInstallHandler");
    }
};

Library& Sim()
{
    static Library library = [] {
        Library l{};
        l.Load(TALSIM_LIBRARY_PATH, true);
        return l;
    }();
    return library;
}

// Waits for a flag set on another thread; the limit only keeps a broken simulator from hanging the run.
struct Signal {
    std::mutex mutex;
    std::condition_variable cv;
    int count = 0;

    void Raise()
    {
        std::lock_guard lock(mutex);
        ++count;
        cv.notify_all();
    }
    int Count()
    {
        std::lock_guard lock(mutex);
        return count;
    }
    bool WaitFor(int n)
    {
        std::unique_lock lock(mutex);
        return cv.wait_for(lock, std::chrono::seconds(20), [&] { return count >= n; });
    }
};

// Readings of one "READ?;" reply: frequency, then amplitude and phase per channel.
std::vector<double> ParseReading(const std::string& reply)
{
    std::vector<double> values;
    std::size_t start = reply.find(',') + 1;   // after "FREQ"
    while (start < reply.size()) {
        std::size_t end = reply.find(',', start);
        if (end == std::string::npos)
            end = reply.size();
        values.push_back(std::strtod(reply.substr(start, end - start).c_str(), nullptr));
        start = end + 1;
    }
    return values;
}

// Impedance the program derives from a channel pair: V(voltage) * -rref / V(current).
std::complex<double> Impedance(const std::vector<double>& r, int currentChannel, double rref)
{
    const double pi = 3.141592653589793;
    const std::complex<double> current = std::polar(r[2 * currentChannel - 1], r[2 * currentChannel] * pi / 180);
    const std::complex<double> voltage = std::polar(r[2 * currentChannel + 1], r[2 * currentChannel + 2] * pi / 180);
    return voltage * -rref / current;
}

class SimTest : public ::testing::Test {
protected:
    static constexpr const char* kQuiet = "reset;noise=0;tmo_factor=0;";

    void SetUp() override { ASSERT_EQ(lib.talsim_configure(kQuiet), 0); }

    void Configure(const std::string& text) { ASSERT_EQ(lib.talsim_configure((kQuiet + text).c_str()), 0); }

    int Open(int address = 5)
    {
        const int ud = lib.ibdev(0, address, 0, 13, 1, 0);
        EXPECT_GE(ud, 0);
        return ud;
    }

    void Write(int ud, const std::string& text)
    {
        EXPECT_EQ(lib.ibwrt(ud, text.data(), static_cast<long>(text.size())) & ERR, 0) << text;
    }

    std::string Read(int ud, long count = 511)
    {
        std::string buffer(static_cast<std::size_t>(count), '\0');
        const int status = lib.ibrd(ud, buffer.data(), count);
        EXPECT_EQ(status & ERR, 0);
        buffer.resize(static_cast<std::size_t>(lib.ThreadIbcntl()));
        return buffer;
    }

    std::string Query(int ud, const std::string& text, long count = 511)
    {
        Write(ud, text);
        return Read(ud, count);
    }

    int Poll(int ud)
    {
        char status = 0;
        EXPECT_EQ(lib.ibrsp(ud, &status) & ERR, 0);
        return static_cast<unsigned char>(status);
    }

    // A measurement with the reading's service request taken through ibwait.
    std::string Measure(int ud, const std::string& commands = "")
    {
        Write(ud, "*SRE,1;OUTP,ON;" + commands + "MEAS;");
        EXPECT_EQ(lib.ibwait(ud, RQS | TIMO) & (RQS | ERR), RQS);
        EXPECT_EQ(Poll(ud) & 0x41, 0x41);
        return Query(ud, "READ?;");
    }

    Library& lib = Sim();
};

TEST_F(SimTest, ExportsOnlyTheCApisAndTheVariantLacksIbnotify)
{
    EXPECT_EQ(dlsym(lib.handle, "_ZN6talsim9Simulator8InstanceEv"), nullptr);
    void* variant = dlopen(TALSIM_NOIBNOTIFY_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(variant, nullptr) << dlerror();
    EXPECT_EQ(dlsym(variant, "ibnotify"), nullptr);
    EXPECT_NE(dlsym(variant, "ibwait"), nullptr);
    EXPECT_NE(dlsym(variant, "viReadSTB"), nullptr);
}

TEST_F(SimTest, ConfigurationIsCheckedAndARejectedTextChangesNothing)
{
    struct Case {
        std::string text;
        int result;
    };
    const Case cases[] = {
        {"model=3231;serial=42;firmware=1.40;channels=4;pair=3/4", 0},
        {"dut=R || L || C: R=1k, L=1m, C=1u\nfixture=short", 0},
        {"dut=lowpass:fc=1k,k=2;fault=truncated,stb_error;others=", 0},
        {"dut=R+(R||C):R=10,Rp=1k,C=10n;fault=vanish_after:3", 0},
        {"callbacks=inline;disarm=wait;fault=lock_timeout", 0},
        {"callbacks = Thread; disarm = return", 0},
        {"bogus=1", 1},
        {"callbacks=library", 1},
        {"disarm=never", 1},
        {"channels=5", 1},
        {"reset;address=31", 2},
        {"dut=R+L:R=10", 1},
        {"dut=C:C=-1", 1},
        {"dut=R:L=1m", 1},
        {"noise=abc", 1},
        {"fault=vanish_after:x", 1},
        {"others=7,7", 1},
        {"firmware=2", 1},
        {"model=12345", 1},
        {"idn=" + std::string(200, 'x'), 1},
        {"address=7;others=7,9", 3},
        {"channels=2;pair=3/4", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(lib.talsim_configure(kQuiet), 0);
        EXPECT_EQ(lib.talsim_configure(c.text.c_str()), c.result);
    }
    EXPECT_NE(lib.talsim_configure(nullptr), 0);

    Configure("model=3231");
    EXPECT_EQ(lib.talsim_configure("model=1111;serial=7;bogus=1"), 3);
    const int ud = Open();
    EXPECT_EQ(Query(ud, "*IDN?;"), "TALVERN,MODEL 3231,1234,2.05\n");
    lib.ibonl(ud, 0);
}

TEST_F(SimTest, GpibIdentificationCapabilityAndStatusVariables)
{
    Configure("channels=3;hwclass=6;options=2");
    EXPECT_EQ(lib.ibfindA("GPIB0"), 0);
    const int ud = Open();
    EXPECT_EQ(lib.ibclr(ud) & ERR, 0);
    Write(ud, "*IDN?;");
    EXPECT_EQ(lib.ThreadIbcntl(), 6);
    char buffer[512];
    const int status = lib.ibrd(ud, buffer, 511);
    EXPECT_EQ(status & (ERR | END), END);
    const std::string reply(buffer, static_cast<std::size_t>(lib.ThreadIbcntl()));
    EXPECT_EQ(reply, "TALVERN,MODEL 2162,1234,2.05\n");
    EXPECT_EQ(*lib.user_ibcntl, static_cast<long>(reply.size()));
    EXPECT_EQ(*lib.user_ibsta, status);

    // A short read leaves the rest of the reply for the next one.
    Write(ud, "PROB?;");
    EXPECT_EQ(lib.ibrd(ud, buffer, 4) & END, 0);
    EXPECT_EQ(Read(ud), "0062\n");

    // An unknown command is a command error; with *ESE the event summary bit shows it.
    Write(ud, "*ESE,60;BOGUS,1;FREQ,1E12;");
    EXPECT_EQ(Poll(ud) & 0x20, 0x20);
    EXPECT_EQ(Query(ud, "*ESR?;"), "48\n");
    EXPECT_EQ(Poll(ud) & 0x20, 0);
    lib.ibonl(ud, 0);
}

TEST_F(SimTest, FirmwareOneAndTwoDiffer)
{
    Configure("firmware=1.40");
    int ud = Open();
    // 1.x: the event register as a raw byte, no VERSION, an UPDATE? reply.
    Write(ud, "VERSION;");
    EXPECT_EQ(Query(ud, "*ESR?;"), std::string(1, '\x20'));
    EXPECT_EQ(Query(ud, "UPDATE?;"), "MAIN 1.40,DSP 1.02,FPGA 1.0\n");
    lib.ibonl(ud, 0);

    Configure("firmware=2.10");
    ud = Open();
    // 2.x: VERSION queues messages (status bit 4), each read with "READ?;".
    Write(ud, "*SRE,0x10;VERSION;");
    EXPECT_EQ(lib.ibwait(ud, RQS | TIMO) & RQS, RQS);
    std::vector<std::string> messages;
    while (Poll(ud) & 0x10)
        messages.push_back(Query(ud, "READ?;", 64));
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "VERSION MAIN 2.10\n");
    EXPECT_EQ(Query(ud, "*ESR?;"), "0\n");
    lib.ibonl(ud, 0);
}

TEST_F(SimTest, UsbIdentificationAndTimeout)
{
    Configure("model=2162;serial=1234");
    std::uint32_t rm = 0, list = 0, count = 0, vi = 0;
    char description[256] = {};
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), 0);
    ASSERT_EQ(lib.viFindRsrc(rm, "USB0::?*", &list, &count, description), 0);
    EXPECT_EQ(count, 1u);
    EXPECT_STREQ(description, "USB0::0x6B3D::0x2162::1234::INSTR");
    EXPECT_EQ(lib.viOpen(rm, "USB0::0x6B3D::0x2162::9999::INSTR", 0, 0, &vi), VI_ERROR_RSRC_NFOUND);
    ASSERT_EQ(lib.viOpen(rm, "USB0::0x6B3D::0x2162::1234::INSTR", 0, 0, &vi), 0);
    EXPECT_EQ(lib.viSetAttribute(vi, VI_ATTR_TMO_VALUE, 5000), 0);
    EXPECT_EQ(lib.viSetAttribute(vi, 0x0FFF8009, 1), 0);

    unsigned char buffer[64];
    std::uint32_t got = 0;
    ASSERT_EQ(lib.viPrintf(vi, "*IDN?;"), 0);
    ASSERT_EQ(lib.viRead(vi, buffer, 64, &got), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), "TALVERN,MODEL 2162,1234,2.05\n");
    // Reading with nothing asked times out and is remembered as a query error.
    EXPECT_EQ(lib.viRead(vi, buffer, 64, &got), VI_ERROR_TMO);
    ASSERT_EQ(lib.viPrintf(vi, "*ESR?;"), 0);
    ASSERT_EQ(lib.viRead(vi, buffer, 16, &got), 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), "4\n");

    EXPECT_EQ(lib.viClose(rm), 0);
    EXPECT_EQ(lib.viClose(vi), VI_ERROR_INV_OBJECT);
}

struct NotifyRecord {
    Library* lib = nullptr;
    std::thread::id thread;
    std::atomic<int> statusByte{0};
    std::atomic<int> ibsta{0};
    Signal signal;
};

int RecordNotify(int ud, int ibsta, int, long, void* ref)
{
    auto* record = static_cast<NotifyRecord*>(ref);
    char status = 0;
    record->lib->ibrsp(ud, &status);
    record->thread = std::this_thread::get_id();
    record->statusByte = static_cast<unsigned char>(status);
    record->ibsta = ibsta;
    record->signal.Raise();
    return 0;
}

TEST_F(SimTest, GpibServiceRequestArrivesOnAnotherThreadOncePerArming)
{
    Configure("dut=R:R=470;series_r=0;series_l=0;parallel_c=0;rref=100;rsource=50");
    const int ud = Open();
    NotifyRecord record;
    record.lib = &lib;
    ASSERT_EQ(lib.ibnotify(ud, RQS, RecordNotify, &record) & ERR, 0);
    Write(ud, "*CLS;*SRE,1;AMPL,1;OUTP,ON;FREQ,1000;MEAS;");
    ASSERT_TRUE(record.signal.WaitFor(1));
    EXPECT_NE(record.thread, std::this_thread::get_id());
    EXPECT_EQ(record.ibsta & RQS, RQS);
    EXPECT_EQ(record.statusByte, 0x41);

    const std::vector<double> reading = ParseReading(Query(ud, "READ?;"));
    ASSERT_EQ(reading.size(), 5u);
    EXPECT_DOUBLE_EQ(reading[0], 1000.0);
    EXPECT_NEAR(reading[1], 100.0 / 620.0, 1e-5);   // across rref
    EXPECT_NEAR(reading[3], 470.0 / 620.0, 1e-5);   // across the resistor
    const std::complex<double> z = Impedance(reading, 1, 100.0);
    EXPECT_NEAR(z.real(), 470.0, 0.01);
    EXPECT_NEAR(z.imag(), 0.0, 0.01);
    EXPECT_EQ(Poll(ud) & 0x01, 0);

    // The callback returned 0: the next request waits until the notification is armed again.
    Write(ud, "MEAS;");
    EXPECT_EQ(lib.ibwait(ud, RQS | TIMO) & RQS, RQS);
    EXPECT_EQ(record.signal.Count(), 1);
    ASSERT_EQ(lib.ibnotify(ud, RQS, RecordNotify, &record) & ERR, 0);
    ASSERT_TRUE(record.signal.WaitFor(2));
    lib.ibnotify(ud, 0, nullptr, nullptr);
    lib.ibonl(ud, 0);
}

// Starts a timed reading from inside the callback and waits for it there.
struct WaitingRecord {
    Library* lib = nullptr;
    std::string reply;
    int readStatus = 0;
    Signal signal;
};

int MeasureAndReadInCallback(int ud, int, int, long, void* ref)
{
    auto* record = static_cast<WaitingRecord*>(ref);
    char status = 0;
    record->lib->ibrsp(ud, &status);
    record->lib->ibwrt(ud, "MEAS;READ?;", 11);
    char buffer[256];
    record->readStatus = record->lib->ibrd(ud, buffer, sizeof buffer);
    record->reply.assign(buffer, static_cast<std::size_t>(record->lib->ThreadIbcntl()));
    record->signal.Raise();
    return 0;
}

TEST_F(SimTest, CallbackMayWaitForAReadingThatFallsDueMeanwhile)
{
    // The reading started in the callback is finished by the other instrument thread.
    Configure("time_factor=1");
    const int ud = Open();
    WaitingRecord record;
    record.lib = &lib;
    ASSERT_EQ(lib.ibnotify(ud, RQS, MeasureAndReadInCallback, &record) & ERR, 0);
    Write(ud, "*CLS;*SRE,1;TIME,0.02;FREQ,1000;MEAS;");
    ASSERT_TRUE(record.signal.WaitFor(1));
    EXPECT_EQ(record.readStatus & (ERR | TIMO), 0);
    EXPECT_EQ(record.reply.rfind("FREQ,1.000000E+03,", 0), 0u) << record.reply;
    lib.ibonl(ud, 0);
}

struct HandlerRecord {
    Library* lib = nullptr;
    std::thread::id thread;
    std::atomic<std::uint32_t> eventType{0};
    std::atomic<int> statusByte{0};
    Signal signal;
};

std::int32_t RecordHandler(std::uint32_t vi, std::uint32_t eventType, std::uint32_t, void* user)
{
    auto* record = static_cast<HandlerRecord*>(user);
    std::uint16_t status = 0;
    record->lib->viReadSTB(vi, &status);
    record->thread = std::this_thread::get_id();
    record->eventType = eventType;
    record->statusByte = status;
    record->signal.Raise();
    return 0;
}

TEST_F(SimTest, UsbServiceRequestAndAReadingInChunks)
{
    Configure("channels=4;dut=C:C=1u");
    std::uint32_t rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), 0);
    ASSERT_EQ(lib.viOpen(rm, "USB0::0x6B3D::0x2162::1234::INSTR", 0, 0, &vi), 0);
    HandlerRecord record;
    record.lib = &lib;
    ASSERT_EQ(lib.viInstallHandler(vi, VI_EVENT_SERVICE_REQ, RecordHandler, &record), 0);
    ASSERT_EQ(lib.viPrintf(vi, "*SRE,1;OUTP,ON;FREQ,%.4G;MEAS;", 1000.0), 0);
    // The reading may be ready before the event is enabled; the handler gets its request either way.
    ASSERT_EQ(lib.viEnableEvent(vi, VI_EVENT_SERVICE_REQ, 2, 0), 0);
    ASSERT_TRUE(record.signal.WaitFor(1));
    EXPECT_NE(record.thread, std::this_thread::get_id());
    EXPECT_EQ(record.eventType, VI_EVENT_SERVICE_REQ);
    EXPECT_EQ(record.statusByte, 0x41);

    // Four channels do not fit one 64-byte read: bit 0 stays set and "READ?;" continues.
    std::string reply;
    unsigned char chunk[64];
    std::uint32_t got = 0;
    std::uint16_t status = 0;
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(lib.viReadSTB(vi, &status), 0);
        if (!(status & 0x01))
            break;
        ASSERT_EQ(lib.viPrintf(vi, "READ?;"), 0);
        const std::int32_t result = lib.viRead(vi, chunk, 64, &got);
        EXPECT_EQ(result, i == 0 ? VI_SUCCESS_MAX_CNT : 0);
        reply.append(reinterpret_cast<char*>(chunk), got);
    }
    EXPECT_EQ(status & 0x01, 0);
    const std::vector<double> reading = ParseReading(reply);
    ASSERT_EQ(reading.size(), 9u);
    EXPECT_DOUBLE_EQ(reading[0], 1000.0);
    lib.viClose(rm);
}

TEST_F(SimTest, FindLstnListsEveryListenerAndOthersIdentifyThemselves)
{
    Configure("address=5;others=9,7");
    unsigned short addresses[31];
    for (int i = 0; i < 30; ++i)
        addresses[i] = static_cast<unsigned short>(i + 1);
    addresses[30] = NOADDR;
    unsigned short results[31];
    lib.FindLstn(0, addresses, results, 31);
    ASSERT_EQ(lib.ThreadIbsta() & ERR, 0);
    ASSERT_EQ(lib.ThreadIbcntl(), 3);
    EXPECT_EQ(std::vector<unsigned short>(results, results + 4), (std::vector<unsigned short>{5, 7, 9, NOADDR}));

    const int other = lib.ibdev(0, 7, 0, 11, 1, 0);
    ASSERT_GE(other, 0);
    EXPECT_EQ(Query(other, "*IDN?"), "OTHER INSTRUMENT,MODEL 1,0,1.0\n");
    lib.ibonl(other, 0);

    // The analyzer missing from the bus; a board that does not exist.
    Configure("address=5;others=9,7;fault=no_listener");
    lib.FindLstn(0, addresses, results, 31);
    EXPECT_EQ(lib.ThreadIbcntl(), 2);
    lib.FindLstn(4, addresses, results, 31);
    EXPECT_EQ(lib.ThreadIbsta() & ERR, ERR);
    EXPECT_EQ(lib.ThreadIberr(), ENEB);
}

TEST_F(SimTest, FaultsShowOnTheBus)
{
    Configure("fault=no_listener");
    int ud = Open();
    const std::string idn = "*IDN?;";
    EXPECT_EQ(lib.ibwrt(ud, idn.data(), 6) & ERR, ERR);
    EXPECT_EQ(lib.ThreadIberr(), ENOL);
    lib.ibonl(ud, 0);

    Configure("fault=timeout");
    ud = Open();
    Write(ud, idn);
    char buffer[64];
    EXPECT_EQ(lib.ibrd(ud, buffer, 64) & (ERR | TIMO), ERR | TIMO);
    EXPECT_EQ(lib.ThreadIberr(), EABO);
    lib.ibonl(ud, 0);

    Configure("fault=truncated");
    ud = Open();
    EXPECT_EQ(ParseReading(Measure(ud)).size(), 2u);
    lib.ibonl(ud, 0);

    Configure("fault=stb_error,esr_error");
    ud = Open();
    Write(ud, "*ESE,60;");
    EXPECT_EQ(Query(ud, "*ESR?;"), "8\n");   // device-dependent error since power-on
    Measure(ud);
    EXPECT_EQ(Poll(ud) & 0x20, 0x20);
    lib.ibonl(ud, 0);

    // Two readings are answered; the message after them finds nobody.
    Configure("fault=vanish_after:2");
    ud = Open();
    Measure(ud);
    Measure(ud);
    const std::string meas = "FREQ,100;MEAS;";
    EXPECT_EQ(lib.ibwrt(ud, meas.data(), static_cast<long>(meas.size())) & ERR, ERR);
    EXPECT_EQ(lib.ThreadIberr(), ENOL);
    lib.ibonl(ud, 0);
}

TEST_F(SimTest, OpenShortCalibrationRecoversTheComponent)
{
    // A parallel RC in a fixture with lead resistance and inductance and stray capacitance; the
    // component's impedance comes back once the short is subtracted and the open removed.
    const std::string fixture = "rref=100;series_r=0.5;series_l=1u;parallel_c=100p;dut=R||C:R=1k,C=1u;";
    const double w = 2 * 3.141592653589793 * 1000;
    const std::complex<double> expected = 1.0 / (1.0 / 1000.0 + std::complex<double>(0, w * 1e-6));
    std::complex<double> z[3];
    const char* states[] = {"fixture=open", "fixture=short", "fixture=dut"};
    for (int i = 0; i < 3; ++i) {
        Configure(fixture + states[i]);
        const int ud = Open();
        z[i] = Impedance(ParseReading(Measure(ud, "AMPL,1;FREQ,1000;")), 1, 100.0);
        lib.ibonl(ud, 0);
    }
    const std::complex<double> seriesRemoved = z[2] - z[1];
    const std::complex<double> corrected = 1.0 / (1.0 / seriesRemoved - 1.0 / z[0]);
    EXPECT_NEAR(std::abs(corrected - expected) / std::abs(expected), 0.0, 1e-4);
    // Uncorrected, the leads alone are off by more than that.
    EXPECT_GT(std::abs(z[2] - expected) / std::abs(expected), 1e-4);

    // Channel pair 2/3: channel 2 carries the current, channel 3 the voltage.
    Configure("channels=3;pair=2/3;series_r=0;series_l=0;parallel_c=0;dut=R:R=220");
    const int ud = Open();
    EXPECT_NEAR(Impedance(ParseReading(Measure(ud)), 2, 100.0).real(), 220.0, 0.01);
    lib.ibonl(ud, 0);
}

TEST_F(SimTest, GainNetworkSeededNoiseAndScaledIntegrationTime)
{
    // A first-order low-pass read at its corner: CH2/CH1 is 1/sqrt(2) at -45 degrees.
    Configure("dut=lowpass:fc=1k");
    int ud = Open();
    const std::vector<double> bode = ParseReading(Measure(ud, "AMPL,2;FREQ,1000;"));
    EXPECT_NEAR(bode[1], 2.0, 1e-5);
    EXPECT_NEAR(bode[3] / bode[1], std::sqrt(0.5), 1e-5);
    EXPECT_NEAR(bode[4] - bode[2], -45.0, 1e-3);
    lib.ibonl(ud, 0);

    // The same seed gives the same noisy reading, another seed another one.
    std::string replies[3];
    const char* seeds[] = {"seed=5", "seed=5", "seed=6"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(lib.talsim_configure((std::string("reset;tmo_factor=0;noise=0.01;") + seeds[i]).c_str()), 0);
        ud = Open();
        replies[i] = Measure(ud);
        lib.ibonl(ud, 0);
    }
    EXPECT_EQ(replies[0], replies[1]);
    EXPECT_NE(replies[0], replies[2]);

    // Integration time scaled by 1000: a 1 s reading is not ready right after MEAS.
    Configure("time_factor=1000");
    ud = Open();
    Write(ud, "TIME,1;MEAS;");
    EXPECT_EQ(Poll(ud) & 0x01, 0);
    Write(ud, "ABORT;");
    lib.ibonl(ud, 0);
}

TEST(SimEnvironment, TalvernSimConfiguresTheProcessAtFirstUse)
{
    // A copy of the library is a fresh load, which reads the variable on its first call.
    static int run = 0;
    const std::filesystem::path copy = std::filesystem::path(::testing::TempDir())
        / ("talvern-sim-env-" + std::to_string(getpid()) + "-" + std::to_string(++run) + ".so");
    std::filesystem::copy_file(TALSIM_LIBRARY_PATH, copy, std::filesystem::copy_options::overwrite_existing);
    ASSERT_EQ(setenv("TALVERN_SIM", "model=5010;serial=77\nfirmware=1.40", 1), 0);
    Library fresh{};
    fresh.Load(copy.c_str(), true);
    const int ud = fresh.ibdev(0, 5, 0, 13, 1, 0);
    const std::string idn = "*IDN?;";
    ASSERT_EQ(fresh.ibwrt(ud, idn.data(), 6) & ERR, 0);
    char buffer[64];
    ASSERT_EQ(fresh.ibrd(ud, buffer, 64) & ERR, 0);
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(fresh.ThreadIbcntl())), "TALVERN,MODEL 5010,77,1.40\n");
    unsetenv("TALVERN_SIM");
    std::filesystem::remove(copy);
}

TEST(SimNoIbnotify, WaitingForTheServiceRequestWithAutomaticPolling)
{
    Library variant{};
    variant.Load(TALSIM_NOIBNOTIFY_LIBRARY_PATH, false);
    ASSERT_EQ(variant.talsim_configure("reset;noise=0;tmo_factor=0"), 0);
    const int ud = variant.ibdev(0, 5, 0, 13, 1, 0);
    ASSERT_GE(ud, 0);
    ASSERT_EQ(variant.ibconfig(0, 7, 0) & ERR, 0);
    EXPECT_EQ(variant.ibwait(ud, RQS | TIMO) & ERR, ERR);
    EXPECT_EQ(variant.ThreadIberr(), ECAP);
    ASSERT_EQ(variant.ibconfig(0, 7, 1) & ERR, 0);

    const std::string start = "*SRE,1;OUTP,ON;MEAS;";
    ASSERT_EQ(variant.ibwrt(ud, start.data(), static_cast<long>(start.size())) & ERR, 0);
    EXPECT_EQ(variant.ibwait(ud, RQS | TIMO) & (RQS | TIMO | ERR), RQS);
    char status = 0;
    ASSERT_EQ(variant.ibrsp(ud, &status) & ERR, 0);
    EXPECT_EQ(status, 0x41);
    // Polled: no request is left, so a short wait ends with TIMO (and no error).
    ASSERT_EQ(variant.ibtmo(ud, 7) & ERR, 0);
    EXPECT_EQ(variant.ibwait(ud, RQS | TIMO) & (RQS | TIMO | ERR), TIMO);
    variant.ibonl(ud, 0);
}

} // namespace

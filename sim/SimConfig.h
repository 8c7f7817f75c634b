#pragma once
// The simulator's configuration: what instruments sit on the bus, the circuit they measure and the
// faults they show. Parsed from `key=value` text (talsim_configure, TALVERN_SIM); sim/README.md
// lists every key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace talsim {

// What the analyzer's inputs are connected to.
struct DutModel {
    // Eleven impedance circuit kinds, in the order of the RLC panel's component list, and two
    // gain networks for Bode work.
    enum Kind {
        R, L, C, RSeriesL, RSeriesC, RSeriesLSeriesC, RParallelL, RParallelC,
        RSeriesRpParallelC, RSeriesLParallelC, RParallelLParallelC,
        LowPass, HighPass
    };
    Kind kind = R;
    double r = 100.0;   // ohm
    double l = 0.0;     // henry
    double c = 0.0;     // farad
    double rp = 0.0;    // ohm, the parallel resistor of R + (R || C)
    double fc = 0.0;    // Hz, corner of a gain network
    double k = 1.0;     // pass-band gain of a gain network

    bool IsGainNetwork() const { return kind == LowPass || kind == HighPass; }
};

enum class Fixture { Open, Short, Dut };

struct Faults {
    bool noListener = false;   // the analyzer does not answer on the bus
    bool timeout = false;      // reads from the analyzer time out
    bool truncated = false;    // reading replies lose everything after CH1's amplitude
    bool garbled = false;      // reading replies have their digits after the frequency replaced
    bool stbError = false;     // each finished reading also sets the event summary bit
    bool esrError = false;     // a device-dependent error at power-on and after each reading
    long vanishAfter = -1;     // the analyzer stops answering after this many readings (-1: never)
    bool lockTimeout = false;  // viLock of an instrument session fails with VI_ERROR_TMO
};

// Which threads run the notification callbacks and VISA handlers: the simulator's two instrument
// threads; also the caller's own thread inside ibnotify (or viEnableEvent) when the request is
// already pending; or a new thread for every delivery.
enum class CallbackThreads { Instrument, Inline, PerDelivery };

struct SimConfig {
    int family = 2600;
    std::string model = "2162";        // designation digits; the USB model code reads them as hex
    std::uint32_t serial = 1234;
    std::string firmware = "2.05";     // digit, point, one to three digits
    int channels = 2;
    int board = 0;                     // the GPIB board the instruments are attached to
    int address = 5;                   // the analyzer's primary address
    std::vector<int> others;           // further listeners that answer "*IDN?"
    std::string idn;                   // overrides the identification reply when not empty
    std::string capability;            // overrides the capability reply when not empty
    int hardwareClass = 6;
    int options = 0;                   // bit 0: 880 mode, bit 1: input attenuator
    double maxFrequency = 40e6;        // Hz, a multiple of 100 kHz

    DutModel dut;
    Fixture fixture = Fixture::Dut;
    double rref = 100.0;               // reference resistor in series with the fixture
    double rsource = 50.0;             // generator output impedance with "ZOUT,50;"
    double seriesR = 0.02;             // fixture lead resistance
    double seriesL = 20e-9;            // fixture lead inductance
    double parallelC = 2e-12;          // stray capacitance across the fixture terminals
    double parallelR = 0.0;            // leakage resistance across the terminals (0: none)
    int pairLow = 1;                   // current channel; the voltage channel is pairLow + 1

    double noise = 0.001;              // relative amplitude noise (and radians of phase noise)
    std::uint32_t seed = 1;
    double timeFactor = 0.0;           // scales integration times; 0: readings ready at once
    double tmoFactor = 1.0;            // scales time-outs of replies that never come

    Faults faults;
    CallbackThreads callbacks = CallbackThreads::Instrument;
    // Disarming (ibnotify mask 0, ibonl; viDisableEvent, viUninstallHandler, viClose) waits while
    // a callback or handler of that device or session runs on another thread.
    bool disarmWaits = false;
    // Command headers the analyzer refuses (an execution error and a breach, nothing done), for
    // the cases where a program's command is refused: the sweep waits for a request that never comes.
    std::vector<std::string> refuse;

    int FirmwareMajor() const { return firmware.empty() ? 0 : firmware[0] - '0'; }
    // "USB0::0x6B3D::0x<model>::<serial>::INSTR".
    std::string UsbResource() const;
};

// Which parts of the configuration a text touched, so the simulator knows what to redo.
struct ConfigChanges {
    bool reset = false;
    bool family = false;
    bool address = false;
    bool seed = false;
    bool faults = false;
};

// Applies text to config. Returns 0 when every pair was accepted; otherwise the 1-based number of
// the first rejected pair (or of the check that failed) and config is left unchanged.
int ApplyConfigText(std::string_view text, SimConfig& config, ConfigChanges& changes);

} // namespace talsim

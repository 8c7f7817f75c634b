#pragma once
// What an analyzer engine needs from the application: the connection settings, the program-wide
// values it sets, the voltage-limit switches, its preference block and the active display. The
// application implements it over its values and settings store; BasicAnalyzerHost holds plain
// values for the command-line tool and the tests.

#include <string>

class SweepTarget;

class AnalyzerHost {
public:
    virtual ~AnalyzerHost() = default;

    virtual int AnalyzerType() const = 0;            // 10 (RLC2600) or 11 (RLC1370)
    virtual int InterfaceIndex() const = 0;          // 0-3 GPIB board, 4 USB
    virtual int GpibAddressApplication() const = 0;  // the address the analyzer should have
    virtual int GpibAddressAnalyzer() const = 0;     // the address the analyzer has
    virtual void SetGpibAddressAnalyzer(int address) = 0;
    virtual int ModelCode() const = 0;               // 0x3231 for model 3231
    virtual int SerialNumber() const = 0;
    virtual void SetOptionBits(int bits) = 0;        // from the capability reply

    // The reduced voltage limits of the 2 Ohm output and the 50 Ohm input.
    virtual void SetOutput5Vmax(bool active, bool quiet) = 0;
    virtual void SetInput15Vmax(bool active, bool quiet) = 0;

    // The family's preference block: the dialog's parameter dump.
    virtual std::string& PreferenceBlock() = 0;

    // The display active now, which becomes a sweep's target; none when no display is open.
    virtual SweepTarget* ActiveDisplay() = 0;
};

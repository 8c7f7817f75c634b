#pragma once
// An AnalyzerHost of plain values, for the command-line tool and the tests.

#include "analyzer/engine/AnalyzerHost.h"

class BasicAnalyzerHost : public AnalyzerHost {
public:
    int analyzerType = 10;
    int interfaceIndex = 0;
    int gpibAddressApplication = 5;
    int gpibAddressAnalyzer = 5;
    int modelCode = 0x2162;
    int serialNumber = 1234;
    int optionBits = 0;
    bool output5Vmax = false;
    bool input15Vmax = false;
    std::string preferenceBlock;
    SweepTarget* activeDisplay = nullptr;

    int AnalyzerType() const override { return analyzerType; }
    int InterfaceIndex() const override { return interfaceIndex; }
    int GpibAddressApplication() const override { return gpibAddressApplication; }
    int GpibAddressAnalyzer() const override { return gpibAddressAnalyzer; }
    void SetGpibAddressAnalyzer(int address) override { gpibAddressAnalyzer = address; }
    int ModelCode() const override { return modelCode; }
    int SerialNumber() const override { return serialNumber; }
    void SetOptionBits(int bits) override { optionBits = bits; }
    void SetOutput5Vmax(bool active, bool) override { output5Vmax = active; }
    void SetInput15Vmax(bool active, bool) override { input15Vmax = active; }
    std::string& PreferenceBlock() override { return preferenceBlock; }
    SweepTarget* ActiveDisplay() override { return activeDisplay; }
};

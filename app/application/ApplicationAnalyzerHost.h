#pragma once
// The application's side of an analyzer engine: the program-wide values it reads and writes, the
// reduced voltage limits, the family's preference block and the active display as sweep target.
#include <functional>

#include "analyzer/engine/AnalyzerHost.h"
#include "app/application/AnalyzerControl.h"
#include "app/core/ApplicationValues.h"

class ApplicationAnalyzerHost : public AnalyzerHost {
public:
    explicit ApplicationAnalyzerHost(const AnalyzerDialogContext& context);

    int AnalyzerType() const override;
    int InterfaceIndex() const override;
    int GpibAddressApplication() const override;
    int GpibAddressAnalyzer() const override;
    void SetGpibAddressAnalyzer(int address) override;
    int ModelCode() const override;
    int SerialNumber() const override;
    void SetOptionBits(int bits) override;
    void SetOutput5Vmax(bool active, bool quiet) override;
    void SetInput15Vmax(bool active, bool quiet) override;
    // The block of the context's family ("1960 System Dialog Preferences" for the 1960, ...).
    std::string& PreferenceBlock() override;
    // The active display's sweep target; none while no display is active.
    SweepTarget* ActiveDisplay() override;

private:
    ApplicationValues& m_values;
    ::PreferenceBlock m_block;
    std::function<QWidget*()> m_activeDisplay;
    std::function<void(bool, bool)> m_setInput15Vmax;
    std::function<void(bool, bool)> m_setOutput5Vmax;
};

#pragma once
// The 2600-series analyzer control dialog (CAnalyzer2600Dlg, also for the 1370) as the
// application holds it: the dialog with its engine, and the host it reads the program's values
// through. The dialog may delete itself (its engine lets it go); Window() then answers nullptr.
#include <QPointer>

#include <memory>

#include "app/application/AnalyzerControl.h"
#include "app/application/ApplicationAnalyzerHost.h"

class CAnalyzer2600Dlg;

class Analyzer2600Control : public AnalyzerControl {
public:
    explicit Analyzer2600Control(const AnalyzerDialogContext& context);
    ~Analyzer2600Control() override;
    Analyzer2600Control(const Analyzer2600Control&) = delete;
    Analyzer2600Control& operator=(const Analyzer2600Control&) = delete;

    QWidget* Window() override;
    bool IsSweeping() const override;
    bool IsBusy() const override;
    void StopMeasurement() override;
    void SetChannelCount(int count) override;
    // InitDialogStage2; the channel count the analyzer reported becomes the application's.
    bool ApplyPreferenceBlock(const std::string& block) override;
    void StoreParameters() override;
    void OnAnalyzerAddressChanged() override;
    AnalyzerDialog* Engine() override;

private:
    ApplicationValues& m_values;
    std::unique_ptr<ApplicationAnalyzerHost> m_host;
    QPointer<CAnalyzer2600Dlg> m_dialog;
};

#pragma once
// The measurement workflow's analyzer seam over an analyzer engine: the AnalyzerDialog
// operations every family shares, its CallbackInterface handed on to the workflow's
// SweepListener, and the forwarded controls reached through the operations of the engine of
// whichever family it is, so that the engine ends in the state the user's change there would
// leave.
// The engine is not owned; once it is gone every call does nothing.
#include <QPointer>

#include <functional>
#include <string>

#include "analyzer/engine/AnalyzerDialog.h"
#include "analyzer/engine/CallbackInterface.h"
#include "rlc/workflow/MeasurementAnalyzer.h"

class Analyzer2600Engine;

class EngineMeasurementAnalyzer final : public MeasurementAnalyzer, public CallbackInterface {
public:
    explicit EngineMeasurementAnalyzer(AnalyzerDialog* dialog);
    // A sweep this adapter started stops, and the dialog no longer calls it.
    ~EngineMeasurementAnalyzer() override;
    EngineMeasurementAnalyzer(const EngineMeasurementAnalyzer&) = delete;
    EngineMeasurementAnalyzer& operator=(const EngineMeasurementAnalyzer&) = delete;

    AnalyzerDialog* Dialog() const { return m_dialog; }
    // The 2600-series engine, or nullptr for another family or once it is gone.
    Analyzer2600Engine* Engine2600() const;

    // MeasurementAnalyzer
    void SetSweepRange(double start, double stop) override;
    double GetMaxAcVoltsOut() override;
    void SetAcVoltsOut(double amplitude, double ceiling) override;
    void SetFrequencyDisplay(double frequency) override;
    void StartCallbackSweep(SweepListener& listener) override;
    void SelectChannelRatio(int pair) override;
    void SelectInputRange(int entry) override;
    void SelectInputTypeChannel1(int entry) override;
    void SetIntegrationTimeText(const std::string& seconds) override;
    void SelectIntegrationByTime() override;
    void SelectIntegrationTimeEntry(int entry) override;
    void SetAcVoltsOutField(double volts) override;
    void SetDcVoltsOutField(double volts) override;
    void SelectInputCoupling(int entry) override;
    void SetMaxPhaseChangeCheck(bool checked) override;
    void SetMaxPhaseChangeLimit(double degrees) override;

    // CallbackInterface: the end of a sweep this adapter started, handed to the listener;
    // afterSweepComplete runs once the listener has handled it. A sweep the listener starts
    // meanwhile (the next calibration step, a redo) starts from the event loop, once the
    // dialog has finished stopping the last one and has dropped the requests that stop left.
    void OnSweepComplete(int code) override;
    std::function<void()> afterSweepComplete;

    // True while the settling readings or the sweep this adapter started run.
    bool SweepRunning() const;
    // Stops the settling readings or the sweep this adapter started, without telling the listener
    // (the panel that owns it is going), and detaches it from the dialog.
    void ReleaseSweep();

    // The 2600 series' second initialisation stage again (identification and capabilities),
    // keeping the fields as they are; false when there is no such engine or it failed.
    bool Reinitialize();
    // Stops any sweep and returns the analyzer to its safe output and input state.
    void ShutDownToSafeState();

private:
    QPointer<AnalyzerDialog> m_dialog;
    SweepListener* m_listener = nullptr;
    bool m_inCompletion = false;
    // Bounds the sweeps queued from a completion: they go with the adapter.
    QObject m_queueContext;
};

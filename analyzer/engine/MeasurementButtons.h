#pragma once
// The buttons and stops the 1960-style engines (1960, 1800 series, NF 5060) share, as a base of
// each: "Run &Sweep" and "&Take Data at Start Freq" with their texts and enabling, the orderly or
// error stop of what runs, and the DC output switched off. The engine befriends this base; it
// needs its sweep flags, controls, target, host and queue, and StartAnalyzer, StopAnalyzer,
// ShutDownAnalyzerOnError, ClearErrorFlags and EmitFieldsChanged.

#include "analyzer/engine/AnalyzerHost.h"
#include "analyzer/target/SweepTarget.h"

template <class Engine>
class MeasurementButtons {
public:
    // Starts a sweep into the active display (nothing without one), or stops the running sweep.
    // Start-frequency readings in progress go on as the sweep: the next one is its first point.
    void OnButtonRunSweep()
    {
        Engine& e = Self();
        if (e.m_sweeping) {
            StopSweep();
            return;
        }
        auto* display = e.m_host.ActiveDisplay();
        if (!display)
            return;
        e.m_target = display;
        display->OnNewSweep(e);
        e.m_controls.dcEnabled = false;
        e.m_controls.dcText = "DC Voltage is On";
        e.m_controls.runSweepText = "Stop &Sweep";
        e.m_controls.takeDataText = "&Take Data at Start Freq";
        e.m_controls.takeDataEnabled = false;
        e.m_sweeping = true;
        emit e.ControlsChanged();
        if (e.m_startFrequencyMode) {
            e.m_startFrequencyMode = false;
            return;
        }
        // Flags left by an error outside a measurement would make every service request be ignored.
        e.ClearErrorFlags();
        e.StartAnalyzer();
    }

    // Starts or stops the readings at the start frequency; ignored while sweeping.
    void OnButtonTakeData()
    {
        Engine& e = Self();
        if (e.m_sweeping)
            return;
        if (e.m_startFrequencyMode) {
            StopStartFrequencyMode();
            return;
        }
        e.m_startFrequencyMode = true;
        e.m_controls.takeDataText = "Stop &Taking Data";
        e.m_controls.dcEnabled = false;
        e.m_controls.dcText = "DC Voltage is On";
        emit e.ControlsChanged();
        e.ClearErrorFlags();
        e.StartAnalyzer();
    }

protected:
    MeasurementButtons() = default;
    ~MeasurementButtons() = default;

    // The shutdown after an error, else the orderly stop; the queue is emptied.
    void StopWhatRuns()
    {
        Engine& e = Self();
        e.m_stopping = true;
        if (e.m_busError || e.m_analyzerError)
            e.ShutDownAnalyzerOnError();
        else
            e.StopAnalyzer();
        e.m_stopping = false;
        e.m_queue.clear();
    }

    void StopSweep()
    {
        Engine& e = Self();
        StopWhatRuns();
        e.m_controls.runSweepText = "Run &Sweep";
        e.m_controls.takeDataEnabled = true;
        RestoreDcButton();
        e.m_sweeping = false;
        e.m_target = nullptr;
        e.EmitFieldsChanged();  // Steps/Decade and Frequency Step show the user's values again
        emit e.ControlsChanged();
        e.OnDataPointTaken(e.m_sweep.reading.frequency);
    }

    void StopStartFrequencyMode()
    {
        Engine& e = Self();
        StopWhatRuns();
        e.m_controls.takeDataText = "&Take Data At Start Freq";
        e.m_startFrequencyMode = false;
        RestoreDcButton();
        e.EmitFieldsChanged();
        emit e.ControlsChanged();
        e.AbandonSettling();
    }

    void SwitchDcOff()
    {
        Engine& e = Self();
        e.m_dcOn = false;
        StopWhatRuns();
        e.m_controls.dcText = "Turn On DC Voltage";
        emit e.ControlsChanged();
        e.ClearErrorFlags();
    }

    void RestoreDcButton()
    {
        Engine& e = Self();
        e.m_controls.dcEnabled = true;
        e.m_controls.dcText = e.m_dcOn ? "Turn Off DC Voltage" : "Turn On DC Voltage";
    }

private:
    Engine& Self() { return static_cast<Engine&>(*this); }
};

#pragma once
// The state and operations every analyzer family shares for the RLC control panel: the sweep range
// of the progress indicator, the output fields it sets, the settling readings of
// StartCallbackSweep and the end-of-sweep notification. Each family engine derives from it and
// gives it access to its fields and buttons.

#include <QObject>

#include <string>

class CallbackInterface;

class AnalyzerDialog : public QObject {
    Q_OBJECT
public:
    // Readings taken at the start frequency before a sweep started with StartCallbackSweep.
    static constexpr int kSettlingReadings = 4;

    // Stores start and stop (Hz) as the range of the progress indicator and shows them in the start
    // and stop frequency fields.
    void SetSweepRange(double start, double stop);
    // The Max AC Volts Out value; 0 for a family without the field.
    double GetMaxAcVoltsOut() const { return MaxAcVoltsOutField(); }
    // Shows amplitude and ceiling (V) in AC Volts Out and Max AC Volts Out.
    void SetAcVoltsOut(double amplitude, double ceiling) { ShowAcVoltsOut(amplitude, ceiling); }
    // Shows frequency (Hz) in the read-only "Frequency:" field.
    void SetFrequencyDisplay(double frequency) { ShowFrequency(frequency); }
    // Takes four readings at the start frequency with no callback, then restores callback and runs
    // the sweep; callback hears of its end.
    void StartCallbackSweep(CallbackInterface* callback);
    // The bus search found the analyzer at a new GPIB address: the connection to the old address is
    // let go (a DC output on it switched off first), so the next measurement opens the new one.
    // Ignored while measuring.
    virtual void OnAnalyzerAddressChanged() = 0;
    // After each reading and when a measurement stops: settling count, progress, end notification.
    void OnDataPointTaken(double frequency);
    // The start-frequency readings stopped before the settling readings were all taken: settling
    // ends, and the callback hears of a bus or analyzer error that stopped them.
    void AbandonSettling();

    // True while the settling readings or the sweep that callback started run.
    bool CallbackSweepRunning(const CallbackInterface* callback) const;
    // The owner of callback goes: the dialog forgets it, and the settling readings or the sweep it
    // started stop without telling it.
    void ReleaseCallback(const CallbackInterface* callback);

    double RangeStart() const { return m_rangeStart; }
    double RangeStop() const { return m_rangeStop; }
    bool SettlingActive() const { return m_settlingActive; }
    CallbackInterface* Callback() const { return m_callback; }

signals:
    // The percentage of the sweep done, for the main window's progress indicator (0 resets it).
    void ProgressChanged(int percent);
    // A measurement stopped; code as told to the callback.
    void SweepComplete(int code);
    // What a family dialog shows changed: fields, button states, the reading read-outs.
    void FieldsChanged();
    void ControlsChanged();
    void ReadingShown();
    // Text appended to the communication log (or, with replaced, the log's new text).
    void CommLogAppended(const std::string& text, bool replaced);
    // The dialog is to be hidden, or closed for good.
    void HideRequested();
    void DestroyRequested();

protected:
    explicit AnalyzerDialog(QObject* parent = nullptr) : QObject(parent) {}

    virtual void ShowSweepRange(double start, double stop) = 0;
    virtual double MaxAcVoltsOutField() const { return 0.0; }
    virtual void ShowAcVoltsOut(double amplitude, double ceiling) = 0;
    virtual void ShowFrequency(double frequency) = 0;
    // The "Run &Sweep" and "&Take Data at Start Freq" buttons, as pressed by the user.
    virtual void PressRunSweep() = 0;
    virtual void PressTakeData() = 0;
    virtual bool Sweeping() const = 0;
    // 1 after a bus error, 2 after an analyzer error, else 0; the flags are cleared once reported.
    virtual int CompletionCode() const = 0;
    virtual void ClearErrorFlags() = 0;

private:
    CallbackInterface* m_callback = nullptr;
    CallbackInterface* m_savedCallback = nullptr;
    bool m_settlingActive = false;
    int m_settlingCount = 0;
    double m_rangeStart = 0.0;
    double m_rangeStop = 0.0;
};

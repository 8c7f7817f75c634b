#pragma once
// The arithmetic of slide bars, without Qt: where a new bar starts and where its dialog goes,
// a typed frequency, the phase shown in the display's window and the equivalent circuit.

// One third of the logarithmic axis from the left, doubled for each of the `existing` bars,
// clamped into [minimum, maximum].
double InitialSlideBarFrequency(double frequencyMin, double frequencyMax, int existing);

// The dialog's top-left corner in client pixels for the bar with index `existing`.
struct ClientPoint {
    int x = 0, y = 0;
};
ClientPoint SlideBarDialogPosition(int existing, int clientWidth, int clientHeight);

// A typed frequency clamped into the data set's range; the previous frequency when the result
// lies outside the display's range.
double TypedSlideBarFrequency(double typed, double setMin, double setMax, double displayMin, double displayMax,
                              double previous);

// A phase in the 360-degree window centred on the display's phase range; 9e99 stays.
double WrapPhaseToWindow(double phase, double phaseMin, double phaseMax);

// The series (R + L or C) or parallel (R || L or C) circuit with impedance |Z| and phase (deg).
struct EquivalentCircuit {
    bool valid = false;        // |Z| and phase known
    bool capacitance = false;  // "Capacitance:" (F), else "Inductance:" (H)
    double resistance = 0;
    double reactive = 0;       // farads or henries
};
EquivalentCircuit ComputeEquivalentCircuit(double frequency, double magnitude, double phaseDegrees, bool parallel);

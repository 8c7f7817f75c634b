#pragma once
// The settings of the 2600-series dialog: every field with its default and its clamp.

#include <string_view>

#include "analyzer/sweep/MaxChange.h"
#include "analyzer/sweep/Servo.h"

namespace analyzer::family2600 {

enum class Waveform { Sine, Square };
enum class OutputImpedance { Ohms2, Ohms50 };
enum class InputImpedance { Ohms50, OneMeg };
enum class IntegrationOption { Off, HighNoise };
enum class InputRange { Below10V, Below100V, Below500V };

struct Settings {
    double startFrequency = 10.0;  // Hz
    double stopFrequency = 100000.0;
    bool logSweep = true;
    double stepsPerDecade = 10.0;  // 0.1-2000
    double frequencyStep = 1000.0; // Hz, 1e-05-40000000
    double acVoltsOut = 1.0;       // V, minimum AC output-10
    double dcVoltsOut = 0.0;       // V, -9.99..9.99, below 0.01 in magnitude taken as 0
    Waveform waveform = Waveform::Sine;
    OutputImpedance outputImpedance = OutputImpedance::Ohms50;
    InputImpedance inputImpedance = InputImpedance::OneMeg;
    IntegrationOption option = IntegrationOption::Off;
    InputRange inputRange = InputRange::Below10V;
    bool integrationByTime = true;
    double integrationTime = 1.0;  // s, 0.02-100000
    double delayTime = 0.0;        // s, 0-100000
    int cycles = 1;                // 1-9999
    int delayCycles = 0;           // 0-9999
    bool servoOn = false;
    ServoChoice servoChannel = ServoChoice::Channel1;
    double servoAcVoltsIn = 0.01;  // V
    double servoStepDb = 10.0;     // dB
    double maxAcVoltsOut = 10.0;   // V, 0.001-10
    int numeratorChannel = 2;      // the channel ratio, default CH2/CH1
    int denominatorChannel = 1;
    bool maxChangeGainOn = false;
    double maxChangeGain = 10.0;   // dB
    bool maxChangePhaseOn = false;
    double maxChangePhase = 20.0;  // degrees

    bool operator==(const Settings&) const = default;
};

// List texts.
const char* WaveformText(Waveform waveform);                   // "Sine", "Square"
const char* OutputImpedanceText(OutputImpedance impedance);    // "2", "50"
const char* InputImpedanceText(InputImpedance impedance);      // "50", "1 Meg"
const char* IntegrationOptionText(IntegrationOption option);   // "Off", "High Noise Algorithm"
const char* InputRangeText(InputRange range);                  // "< 10 V", "< 100 V", "< 500 V"

// Field clamps. A value that is not a number gives the field's default.
double ClampStepsPerDecade(double value);
double ClampFrequencyStep(double value);
double ClampDcVoltsOut(double value);
double ClampIntegrationTime(double value);
double ClampDelayTime(double value);
int ClampCycles(double value);       // integer part, 1-9999
int ClampDelayCycles(double value);  // integer part, 0-9999

// AC Volts Out: at most 10 V less |dc| and at least minimumAcOutput; at most 2 V with the 2 Ohm
// output; while measuring at frequency (Hz, > 0, as sent with four digits) also amplitude x
// frequency <= 80,000,000 V Hz. In three digits as sent, never rounded above a limit.
double LimitAcVoltsOut(double volts, double minimumAcOutput, OutputImpedance impedance,
                       bool measuring, double frequency, double dc = 0.0);
// Max AC Volts Out: 0.001-10 V, then the same DC, 2 V and product rules.
double LimitMaxAcVoltsOut(double volts, OutputImpedance impedance, bool measuring, double frequency,
                          double dc = 0.0);

} // namespace analyzer::family2600

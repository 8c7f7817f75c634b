#pragma once
// The settings of the NF 5060 dialog: every field with its default and clamp, the integration
// modes and the three-channel ratio rule.

#include <string_view>

#include "analyzer/sweep/Servo.h"

namespace analyzer::family5060 {

enum class Waveform { Sine, Square, Triangle };
enum class IntegrationMode { Time = 0, Cycles = 1, Automatic = 2 };

struct Settings {
    double startFrequency = 10.0;
    double stopFrequency = 100000.0;
    bool logSweep = true;
    double stepsPerDecade = 10.0;
    double frequencyStep = 1000.0;
    double acVoltsOut = 1.0;        // V peak, 0.001-10
    double dcVoltsOut = 0.0;        // V, -10..10
    double maxAcVoltsOut = 10.0;    // V peak, 0.001-10
    Waveform waveform = Waveform::Sine;
    IntegrationMode integrationMode = IntegrationMode::Time;
    double integrationTime = 1.0;   // s, 0.0256-10000
    double delayTime = 0.0;         // s, 0-10000
    int integrationCycles = 1;      // 1-9999
    int delayCycles = 0;            // 0-9999
    int automaticChannel = 0;       // list position: "1", "2", "3"
    int automaticMode = 0;          // list position: "Short", "Long"
    bool servoOn = false;
    ServoChoice servoChannel = ServoChoice::Channel1;
    double servoAcVoltsIn = 0.01;
    double servoStepDb = 10.0;
    int numeratorChannel = 2;       // "CH2/CH1"
    int denominatorChannel = 1;
    bool maxChangeGainOn = false;
    double maxChangeGain = 10.0;
    bool maxChangePhaseOn = false;
    double maxChangePhase = 20.0;

    bool operator==(const Settings&) const = default;
};

const char* WaveformText(Waveform waveform);  // "Sine", "Square", "Triangle"
bool WaveformFromText(std::string_view text, Waveform& waveform);
const char* AutomaticModeText(int position);  // "Short", "Long"

double ClampAcVolts(double volts);            // 0.001-10 (AC Volts Out and Max AC Volts Out)
double ClampDcVoltsOut(double volts);         // -10..10, magnitude below 0.01 is 0
double ClampIntegrationTime(double seconds);  // 0.0256-10000
double ClampDelayTime(double seconds);        // 0-10000
int ClampIntegrationCycles(double cycles);    // integer part, 1-9999
int ClampDelayCycles(double cycles);          // integer part, 0-9999

// The ratio list's choice: the numerator by the entry's third character ("1", "3", else 2), the
// denominator by its seventh, never the numerator itself.
void RatioFromEntry(std::string_view entry, int& numerator, int& denominator);

} // namespace analyzer::family5060

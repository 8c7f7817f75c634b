#pragma once
// The settings of the 1960 dialog: every field with its default, its list texts and its clamp, and
// the output-amplitude rules the 1800 series shares.

#include <string_view>

#include "analyzer/sweep/MaxChange.h"
#include "analyzer/sweep/Servo.h"

namespace analyzer::family1960 {

enum class Waveform { Sine, Square, Triangle };
// "AC < 500V", "AC < 55V", "DC".
enum class Coupling { AcHigh, AcLow, Dc };
enum class Speed { Fast, Medium, Slow, VSlow };

struct Settings {
    double startFrequency = 10.0;   // Hz
    double stopFrequency = 100000.0;
    bool logSweep = true;
    double stepsPerDecade = 10.0;   // 0.1-2000
    double frequencyStep = 1000.0;  // Hz
    double acVoltsOut = 1.0;        // V peak
    double dcVoltsOut = 0.0;        // V
    double maxAcVoltsOut = 10.0;    // V peak
    Waveform waveform = Waveform::Sine;
    Coupling coupling = Coupling::AcLow;
    bool integrationByTime = true;
    Speed speed = Speed::Medium;
    int cycles = 1;                 // 1-100
    int delay = 0;                  // s, 0-60
    bool servoOn = false;
    ServoChoice servoChannel = ServoChoice::Channel1;
    double servoAcVoltsIn = 0.01;   // V rms
    double servoStepDb = 10.0;
    int numeratorChannel = 2;       // "CH2/CH1"
    int denominatorChannel = 1;
    bool maxChangeGainOn = false;
    double maxChangeGain = 10.0;
    bool maxChangePhaseOn = false;
    double maxChangePhase = 20.0;

    bool operator==(const Settings&) const = default;
};

// List texts, and the entry a list text names (none for a text the list does not hold).
const char* WaveformText(Waveform waveform);  // "Sine", "Square", "Triangle"
const char* CouplingText(Coupling coupling);  // "AC < 500V", "AC < 55V", "DC"
const char* SpeedText(Speed speed);           // "Fast", "Medium", "Slow", "VSlow"
bool WaveformFromText(std::string_view text, Waveform& waveform);
bool CouplingFromText(std::string_view text, Coupling& coupling);
bool SpeedFromText(std::string_view text, Speed& speed);

// Field clamps; a value that is not a number gives the lower bound (the field's default for the
// step fields).
double ClampStepsPerDecade(double value);                 // 0.1-2000
double ClampFrequencyStep(double value, double minimum, double maximum);
double ClampDcVoltsOut(double value);                     // -9.99..9.99 in three digits, below 0.01 is 0
int ClampCycles(double value);                            // integer part, 1-100
int ClampDelay(double value);                             // integer part, 0-60

// AC Volts Out: into [minimum, 10], in three digits as sent, never above Max AC Volts Out.
double LimitAcVoltsOut(double volts, double maxAcVoltsOut, double minimum);

struct MaxAcResult {
    double maxAcVoltsOut = 10.0;
    bool releaseHold = false;  // the DC headroom lowered the ceiling: the amplitude is sent after all
};
// Max AC Volts Out: above the hardware ceiling it becomes the ceiling, below minimum the minimum;
// otherwise 10 V may not be exceeded by AC or Max AC plus abs(DC) (the ceiling becomes 10 - abs(DC)),
// and a ceiling that sat at its limit with the previous DC follows a smaller DC back up.
MaxAcResult LimitMaxAcVoltsOut(double volts, double acVoltsOut, double dc, double previousDc, double minimum,
                               double hardwareCeiling);

// The ratio list's choice by the third character of its entry ("CH1/CH2" gives 1 over 2).
void RatioFromEntry(std::string_view entry, int& numerator, int& denominator);

} // namespace analyzer::family1960

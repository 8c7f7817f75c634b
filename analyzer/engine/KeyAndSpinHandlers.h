#pragma once
// The keys and spin buttons every analyzer dialog shares, as a base of each family engine: Page Up
// and Page Down move DC Volts Out by 0.01 V, Up and Down scale AC Volts In (servo on) or AC Volts
// Out by 10^(S/20) with S the AC Out Step Size, the frequency spins jump to the next power of ten
// and apply the limits, the step spins double or halve. The engine befriends this base; it needs
// m_fields, m_limits, ApplyFrequencyLimits and the field setters.

#include <cmath>

namespace analyzer {

// The next power of ten above (10^floor(log10 f + 1)) or below (10^ceil(log10 f - 1)) value; a
// value that is not positive starts from minimum.
inline double NextPowerOfTen(double value, bool up, double minimum)
{
    if (!(value > 0.0))
        value = minimum;
    const double exponent = up ? std::floor(std::log10(value) + 1.0) : std::ceil(std::log10(value) - 1.0);
    return std::pow(10.0, exponent);
}

} // namespace analyzer

template <class Engine>
class KeyAndSpinHandlers {
public:
    static constexpr double kDcKeyStep = 0.01;  // V

    void OnKeyPageUp() { Self().SetDcVoltsOut(Self().m_fields.dcVoltsOut + kDcKeyStep); }
    void OnKeyPageDown() { Self().SetDcVoltsOut(Self().m_fields.dcVoltsOut - kDcKeyStep); }
    void OnKeyUp() { ScaleAmplitude(true); }
    void OnKeyDown() { ScaleAmplitude(false); }

    void SpinStartFrequency(bool up)
    {
        Engine& e = Self();
        e.m_fields.startFrequency = analyzer::NextPowerOfTen(e.m_fields.startFrequency, up, e.m_limits.minimum);
        e.ApplyFrequencyLimits();
    }
    void SpinStopFrequency(bool up)
    {
        Engine& e = Self();
        e.m_fields.stopFrequency = analyzer::NextPowerOfTen(e.m_fields.stopFrequency, up, e.m_limits.minimum);
        e.ApplyFrequencyLimits();
    }
    void SpinStepsPerDecade(bool up)
    {
        const double steps = Self().m_fields.stepsPerDecade;
        Self().SetStepsPerDecade(up ? steps * 2.0 : steps / 2.0);
    }
    void SpinFrequencyStep(bool up)
    {
        const double step = Self().m_fields.frequencyStep;
        Self().SetFrequencyStep(up ? step * 2.0 : step / 2.0);
    }

protected:
    KeyAndSpinHandlers() = default;
    ~KeyAndSpinHandlers() = default;

private:
    Engine& Self() { return static_cast<Engine&>(*this); }

    void ScaleAmplitude(bool up)
    {
        Engine& e = Self();
        const double factor = std::pow(10.0, e.m_fields.servoStepDb / 20.0);
        if (e.m_fields.servoOn)
            e.SetServoAcVoltsIn(up ? e.m_fields.servoAcVoltsIn * factor : e.m_fields.servoAcVoltsIn / factor);
        else
            e.SetAcVoltsOutField(up ? e.m_fields.acVoltsOut * factor : e.m_fields.acVoltsOut / factor);
    }
};

#include "analyzer/family5060/Commands.h"

#include "analyzer/sweep/NumberText.h"

namespace analyzer::family5060 {

std::string AmplitudeCommand(double volts) { return FormatNumberText("OAM %.3G;", volts); }
std::string OffsetCommand(double volts) { return FormatNumberText("ODB %.3G;", volts); }

std::string WaveformCommand(Waveform waveform)
{
    return FormatNumberText("OWF%c;", static_cast<char>('0' + static_cast<int>(waveform)));
}

std::string IntegrationTimeCommand(double seconds) { return FormatNumberText("BIS %.3G;", seconds); }
std::string DelayTimeCommand(double seconds) { return FormatNumberText("BDS %.3G;", seconds); }
std::string IntegrationCyclesCommand(int cycles) { return FormatNumberText("BIC %d;", cycles); }
std::string DelayCyclesCommand(int cycles) { return FormatNumberText("BDC %d;", cycles); }
std::string AutomaticChannelCommand(int position) { return FormatNumberText("AIC %d;", position + 1); }

std::string AutomaticModeCommand(bool automatic, int position)
{
    return FormatNumberText("AIM %d;", automatic ? position + 1 : 0);
}

std::string IntegrationCommands(const Settings& s)
{
    std::string text;
    if (s.integrationMode == IntegrationMode::Time)
        text = DelayTimeCommand(s.delayTime) + IntegrationTimeCommand(s.integrationTime);
    else if (s.integrationMode == IntegrationMode::Cycles)
        text = DelayCyclesCommand(s.delayCycles) + IntegrationCyclesCommand(s.integrationCycles);
    const bool automatic = s.integrationMode == IntegrationMode::Automatic;
    if (automatic)
        text += AutomaticChannelCommand(s.automaticChannel);
    return text + AutomaticModeCommand(automatic, s.automaticMode);
}

std::string MeasureAtCommand(double frequency) { return FormatNumberText("OFR %.4G;MSI;", frequency); }

std::string StopCommand(bool dcOn) { return dcOn ? "SRQ0;MST;OOF0;" : "SRQ0;MST;OOF0;OOF1;"; }

} // namespace analyzer::family5060

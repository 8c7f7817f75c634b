#include "analyzer/family1960/Commands.h"

#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer::family1960 {

std::string AmplitudeCommand(double volts) { return FormatNumberText("AMPLIT,%.3G;", volts); }

std::string OffsetCommand(double volts) { return FormatNumberText("OFFSET,%.3G;", volts); }

std::string IdleDcCommand(double volts) { return FormatNumberText("AMPLIT,0;OFFSET,%.3G;", volts); }

std::string CouplingCommand(Coupling coupling)
{
    switch (coupling) {
    case Coupling::AcHigh: return "COUPLI,CH1,ACHIGH;COUPLI,CH2,ACHIGH;";
    case Coupling::AcLow: return "COUPLI,CH1,ACONLY;COUPLI,CH2,ACONLY;";
    case Coupling::Dc: break;
    }
    return "COUPLI,CH1,AC+DC;COUPLI,CH2,AC+DC;";
}

std::string DelayCommand(int seconds) { return FormatNumberText("DELAY,%d;", seconds); }

std::string SpeedCommand(Speed speed)
{
    switch (speed) {
    case Speed::Fast: return "SPEED,FAST;";
    case Speed::Medium: return "SPEED,MEDIUM;";
    case Speed::Slow: return "SPEED,SLOW;";
    case Speed::VSlow: break;
    }
    return "SPEED,VSLOW;";
}

std::string IntegrationCommand(bool byTime, Speed speed, int cycles)
{
    return SpeedCommand(speed) + (byTime ? std::string("CYCLES,0;") : FormatNumberText("CYCLES,%d;", cycles));
}

std::string WaveformCommand(Waveform waveform)
{
    switch (waveform) {
    case Waveform::Sine: return "OUTPUT,SIGNAL;WAVEFO,SINEWA;";
    case Waveform::Square: return "OUTPUT,SIGNAL;WAVEFO,SQUARE;";
    case Waveform::Triangle: break;
    }
    return "OUTPUT,SIGNAL;WAVEFO,TRIANG;";
}

std::string MeasureAtCommand(double frequency) { return FormatNumberText("FREQUE,%.4G;GAINPH?;", frequency); }

std::string AddressCommand(int address) { return FormatNumberText("CONFIG,153,%d;PROGRAM,STORE,1;", address); }

std::string StopCommand(bool dcOn) { return dcOn ? "*SRE,0;AMPLIT,0;" : "*SRE,0;OUTPUT,OFF;"; }

int FilterBand(double frequency)
{
    if (std::isnan(frequency))
        return 0;
    if (frequency < 4000.0)
        return 1;
    return frequency < 25000.0 ? 2 : 3;
}

std::string FilterBandCommand(int band)
{
    switch (band) {
    case 1: return "BANDWI,LOW;";
    case 2: return "BANDWI,MEDIUM;";
    case 3: return "BANDWI,HIGH;";
    default: return "";
    }
}

} // namespace analyzer::family1960

#include "analyzer/family2600/Commands.h"

#include <algorithm>
#include <cmath>

#include "analyzer/sweep/NumberText.h"

namespace analyzer::family2600 {

std::string AmplitudeCommand(double volts)
{
    if (std::isnan(volts))
        volts = 0.001;
    return FormatNumberText("AMPL,%.3G;", std::clamp(volts, 0.001, 10.0));
}

std::string DcOffsetCommand(double volts)
{
    return FormatNumberText("DCOF,%.3G;", ClampDcVoltsOut(volts));
}

std::string WaveformCommand(Waveform waveform)
{
    return waveform == Waveform::Square ? "WAVE,SQUA;" : "WAVE,SINE;";
}

std::string OutputImpedanceCommand(OutputImpedance impedance)
{
    return impedance == OutputImpedance::Ohms2 ? "ZOUT,2;" : "ZOUT,50;";
}

std::string InputImpedanceCommand(InputImpedance impedance, const Capabilities& caps)
{
    std::vector<int> channels{1, 2};
    if (caps.hardwareClass == 13)
        channels = {1, 2, 4};
    else if (caps.channelCount >= 4 || caps.hardwareClass == 10)
        channels = {1, 2, 3, 4};
    const char* value = impedance == InputImpedance::Ohms50 ? "50" : "1E6";
    std::string command;
    for (int ch : channels)
        command += FormatNumberText("ZZIN,%d,%s;", ch, value);
    return command;
}

std::string IntegrationOptionCommand(IntegrationOption option)
{
    return option == IntegrationOption::HighNoise ? "NALG,ON;" : "NALG,OFF;";
}

std::string AttenuatorCommand(InputRange range, int outputChannel)
{
    const char* attenuation = "0dB;";
    if (range == InputRange::Below100V)
        attenuation = "20dB;";
    else if (range == InputRange::Below500V)
        attenuation = "40dB;";
    switch (outputChannel) {
    case 2: return std::string("ATTE,2,") + attenuation;
    case 3: return std::string("ATTE,2,AUTO;ATTE,3,") + attenuation;
    case 4: return std::string("ATTE,2,AUTO;ATTE,3,AUTO;ATTE,4,") + attenuation;
    default: return {};
    }
}

std::string IntegrationTimeCommand(double seconds)
{
    return FormatNumberText("TIME,%.3G;", ClampIntegrationTime(seconds));
}

std::string DelayTimeCommand(double seconds)
{
    return FormatNumberText("DELAY,TIME,%.3f;", ClampDelayTime(seconds));
}

std::string CyclesCommand(int cycles)
{
    return FormatNumberText("CYCL,%d;", std::clamp(cycles, 1, 9999));
}

std::string DelayCyclesCommand(int cycles)
{
    return FormatNumberText("DELAY,CYCL,%d;", std::clamp(cycles, 0, 9999));
}

std::string FrequencyCommand(double hertz)
{
    return FormatNumberText("FREQ,%.4G;", hertz);
}

std::string MeasureAtCommand(double hertz)
{
    return FormatNumberText("FREQ,%.4G;MEAS;", hertz);
}

std::string AddressCommand(int address)
{
    return FormatNumberText("ADDR,%d;", std::clamp(address, 0, 30));
}

std::vector<std::string> StartCommands(double startFrequency)
{
    return {"BIAS,ON;", "OUTP,ON;", "*SRE,1;", FrequencyCommand(startFrequency), "MEAS;"};
}

std::vector<std::string> StopCommands(bool dcOutputOn)
{
    return {kAbortCommand, dcOutputOn ? "*SRE,0;" : "*SRE,0;OUTP,OFF;BIAS,OFF;"};
}

std::vector<std::string> ErrorStopCommands()
{
    return {kAbortCommand, "*SRE,0;OUTP,OFF;CLEAR;"};
}

std::vector<std::string> DcOutputOnCommands(double dcVolts)
{
    return {DcOffsetCommand(dcVolts), kDcOutputOn};
}

std::string PrepareCommand(const Capabilities& caps)
{
    std::string command = "ACIN,0;";
    if (Has880Option(caps))
        command += "#880,OFF;";
    if (caps.hardwareClass == 13)
        command += "DFRA,OFF;";
    return command;
}

std::vector<std::string> ShutDownCommands(const Capabilities& caps)
{
    const bool attenuator = HasInputAttenuator(caps);
    std::vector<std::string> commands{"OUTP,OFF;ZZIN,1,1e6;ZZIN,2,1e6;ZOUT,50;"};
    if (attenuator)
        commands.push_back("ATTE,2,AUTO;");
    if (caps.channelCount >= 3) {
        commands.push_back("ZZIN,3,1e6;");
        if (attenuator)
            commands.push_back("ATTE,3,AUTO;");
    }
    if (caps.channelCount >= 4 || caps.hardwareClass == 10 || caps.hardwareClass == 13) {
        commands.push_back("ZZIN,4,1e6;");
        if (attenuator)
            commands.push_back("ATTE,4,AUTO;");
    }
    commands.push_back("*SRE,0;*ESE,0;CLEAR;*CLS;");
    return commands;
}

std::string VersionQuery(int firmwareCode)
{
    return firmwareCode >= 0x200 ? "*SRE,0x10;VERSION;" : "UPDATE?;";
}

} // namespace analyzer::family2600

#include "sim/Instrument1800.h"

#include <cctype>

namespace talsim {

namespace {

std::string Upper(const std::string& s)
{
    std::string out = s;
    for (char& ch : out)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return out;
}

} // namespace

double Instrument1800::BandCeiling(double frequency)
{
    static constexpr double kBandStarts[] = {1e6, 5e6, 10e6, 15e6, 20e6, 25e6, 30e6};
    static constexpr double kCeilings[] = {10.0, 6.0, 3.0, 2.0, 1.5, 1.2, 1.0, 0.75};
    int band = 0;
    while (band < 7 && frequency >= kBandStarts[band])
        ++band;
    return kCeilings[band];
}

const char* Instrument1800::BandFor(double frequency) const
{
    if (frequency < 10e3)
        return "LOW";
    return frequency < 100e3 ? "WIDE" : "AUTO";
}

std::string Instrument1800::Identification() const
{
    if (!config_.idn.empty())
        return config_.idn;
    return "TALVERN Model 1800-5291," + std::to_string(config_.serial) + "," + config_.firmware;
}

bool Instrument1800::CouplingKnown(const std::string& keyword) const
{
    return keyword == "ACONLY" || keyword == "AC+DC";
}

bool Instrument1800::BandKnown(const std::string& keyword) const
{
    return keyword == "LOW" || keyword == "WIDE" || keyword == "AUTO";
}

bool Instrument1800::ExecuteFamily(const Command& c)
{
    if (c.header == "INTYPE") {
        const std::string channel = c.args.size() == 2 ? Upper(c.args[0]) : std::string();
        const std::string type = c.args.size() == 2 ? Upper(c.args[1]) : std::string();
        if (channel != "CH1" && channel != "CH2")
            SetEventBits(kCommandError);
        else if (type != "MAIN" && type != "DIFFER")
            SetEventBits(kExecutionError);
        else if (channel == "CH1")
            differential_ = type == "DIFFER";
        return true;
    }
    if (c.header == "RESOLU") {
        const std::string v = c.args.size() == 1 ? Upper(c.args[0]) : std::string();
        if (v != "HIGH" && v != "LOW")
            SetEventBits(kExecutionError);
        else
            highResolution_ = v == "HIGH";
        return true;
    }
    return false;
}

} // namespace talsim

#include "analyzer/family1800/Bands.h"

#include <algorithm>
#include <cmath>

namespace analyzer::family1800 {

namespace {

constexpr double kBandStarts[kBandCount - 1] = {1e6, 5e6, 10e6, 15e6, 20e6, 25e6, 30e6};
constexpr double kCeilings[kBandCount] = {10.0, 6.0, 3.0, 2.0, 1.5, 1.2, 1.0, 0.75};

} // namespace

double MaximumFrequency(int analyzerType)
{
    if (analyzerType == 7)
        return 15e6;
    return analyzerType == 9 ? 35e6 : 25e6;
}

int BandOf(double frequency)
{
    int band = 0;
    while (band < kBandCount - 1 && frequency >= kBandStarts[band])
        ++band;
    return band;
}

double HardwareCeiling(int band)
{
    return kCeilings[std::clamp(band, 0, kBandCount - 1)];
}

int Bandwidth(double frequency)
{
    if (std::isnan(frequency))
        return 0;
    if (frequency < 10000.0)
        return 1;
    return frequency < 100000.0 ? 2 : 3;
}

std::string BandwidthCommand(int bandwidth)
{
    switch (bandwidth) {
    case 1: return "BANDWI,LOW;";
    case 2: return "BANDWI,WIDE;";
    case 3: return "BANDWI,AUTO;";
    default: return "";
    }
}

} // namespace analyzer::family1800

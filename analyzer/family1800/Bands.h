#pragma once
// The 1800 series' frequency-dependent limits: the highest frequency of each model, the output
// ceiling of each frequency band and the bandwidth for a frequency.

#include <string>

namespace analyzer::family1800 {

inline constexpr int kBandCount = 8;

// 15 MHz for type 7 (1842), 35 MHz for type 9 (1862), otherwise 25 MHz (type 8, 1852).
double MaximumFrequency(int analyzerType);

// The band that holds frequency (lower bounds inclusive): 0 below 1 MHz, then 1-5, 5-10, 10-15,
// 15-20, 20-25, 25-30 MHz, and 7 from 30 MHz.
int BandOf(double frequency);
// The hardware ceiling of a band (V peak): 10, 6, 3, 2, 1.5, 1.2, 1, 0.75.
double HardwareCeiling(int band);

// The bandwidth of a frequency: 1 low (below 10 kHz), 2 wide (below 100 kHz), 3 auto; 0 for a
// frequency that is not a number. BandwidthCommand gives "BANDWI,LOW;", "BANDWI,WIDE;", "BANDWI,AUTO;".
int Bandwidth(double frequency);
std::string BandwidthCommand(int bandwidth);

} // namespace analyzer::family1800

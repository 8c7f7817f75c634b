#pragma once
// A data set's impedance as the refinement reads it: the usable points (f > 0, Z finite and not
// zero) as angular frequency and complex Z, in ascending frequency.
#include <complex>
#include <vector>

class CDataSet;

struct ImpedanceSample {
    double w;                 // rad/s
    std::complex<double> z;   // ohm
};

std::vector<ImpedanceSample> ImpedanceSamples(const CDataSet& set);

#pragma once
// The arithmetic of the Nyquist display: the automatic range and its rounding, pixels per ohm
// and origin on the graph's device rectangle, the point mapping and the grid step.
#include <optional>
#include <string>

enum class NyqRangeAxis { X = 0, Y = 1 };

struct NyqRange {
    double range = 0.0001;
    NyqRangeAxis axis = NyqRangeAxis::X;
};

// The range is rounded up to whole megohms, kilohms, ohms, milliohms or micro-ohms by size.
double RoundNyqRangeUp(double range);
// From the largest |real| and |imaginary| parts (each at least 0.0001): the larger spans its
// axis (X when equal), rounded up.
NyqRange AutomaticNyqRange(double largestReal, double largestImag);

// Pixels per ohm and origin on the graph rectangle [left, right] x [top, bottom] (pixels).
struct NyqScale {
    double pixelsPerOhm = 0;
    int x0 = 0, y0 = 0;
    bool invertY = false;

    static NyqScale For(int left, int top, int right, int bottom, const NyqRange& range, bool onlyPositiveX,
                        bool invertY);
    // Device position of an impedance, each product to the nearest pixel (halves away from 0).
    int X(double real) const;
    int Y(double imag) const;
};

// The grid step: the smallest of 1, 2, 5 ... 500 x 10^e (e = -3, 0, 3, 6) at least 40 pixels
// long, with its exponent; none when no step is long enough.
struct NyqGridStep {
    double value = 0;
    int exponent = 0;
};
std::optional<NyqGridStep> ChooseNyqGridStep(double pixelsPerOhm);
// "500 mOhm", "20 Ohm", "2 kOhm": the distance from the origin in units of 10^exponent.
std::string NyqGridLabel(double distance, int exponent);

#pragma once
// Steps of the horizontal grid lines: 1, 2 or 5 times a power of ten, never above a tenth of
// the span; the phase prefers 30, 20 or 15 degrees. 0 for an empty range.
double GainGridStep(double minimum, double maximum);
double PhaseGridStep(double minimum, double maximum);

#pragma once
// The values a slide-bar dialog shows, read from the bar's data set at its frequency, without
// Qt: gain, phase and slope; impedance and phase; the Nyquist parts; and the texts they are
// shown with ("- - -" for a missing value).
#include <string>

class CTalDocument;

// Engineering notation with 4 significant digits; "- - -" for a missing value (9e99).
std::string SlideBarValueText(double value);
// The slope with "%.3g"; "- - -" when missing.
std::string SlideBarSlopeText(double slope);
// The Nyquist phase with "%.1f"; "- - -" when missing.
std::string SlideBarNyqPhaseText(double phase);

// Gain in dB, phase in the display's phase window and slope (decades per decade); values below
// 1e-6 in magnitude read 0, missing ones 9e99.
struct GainReadout {
    double gain = 9e99, phase = 9e99, slope = 9e99;
};
GainReadout ReadGainAt(const CTalDocument& doc, int dataSet, double frequency, double phaseMin, double phaseMax);

// |Z| in ohms and the phase as the gain readout shows it.
struct ImpReadout {
    double magnitude = 9e99, phase = 9e99;
};
ImpReadout ReadImpedanceAt(const CTalDocument& doc, int dataSet, double frequency, double phaseMin,
                           double phaseMax);

// |Z| at the frequency with the bar's stored phase p (degrees): |Z| cos p and |Z| sin p.
struct NyqReadout {
    double magnitude = 9e99, phase = 9e99, real = 9e99, imag = 9e99;
};
NyqReadout ReadNyquistAt(const CTalDocument& doc, int dataSet, double frequency, double phase);

// The phase a bar stores: the data set's phase at the frequency, turned by 180 degrees towards
// zero when the Nyquist phase-flip flag is set; 9e99 outside the data.
double SlideBarValueAt(const CTalDocument& doc, int dataSet, double frequency, bool phaseFlip);

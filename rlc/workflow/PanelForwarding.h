#pragma once
// The Measurement page's value fields as they reach the analyzer dialog of the current type:
// each value clamped to the page's range, rounded to the four significant digits the analyzer
// field shows, and sent to the control of that type. Each returns what the page then shows.
#include <string>

class MeasurementAnalyzer;

// The "Integration time:" list: "0.05", "0.33", "2.5", "10" (seconds).
constexpr int kIntegrationTimeCount = 4;
const char* IntegrationTimeText(int position);  // "" outside the list

// RLC880: the text into the integration time field; the 1960 and 1800 series: the same list
// position; the 2600 series: the "Time" radio, then the text into the field.
void ForwardIntegrationTime(int analyzerType, int position, MeasurementAnalyzer& analyzer);
double ForwardAcVoltage(double volts, MeasurementAnalyzer& analyzer);    // 0.01 .. 10
double ForwardDcVoltage(double volts, MeasurementAnalyzer& analyzer);    // -9.99 .. 9.99
// Only the 1960 and 1800 series have a coupling list; the others are AC (position 0).
bool InputCouplingSelectable(int analyzerType);
int ForwardInputCoupling(int analyzerType, int position, MeasurementAnalyzer& analyzer);
void ForwardPhaseLimitCheck(bool checked, MeasurementAnalyzer& analyzer);
double ForwardPhaseLimit(double degrees, MeasurementAnalyzer& analyzer);  // 1 .. 180

// A value with four significant digits, as the analyzer's fields show it (a value that is not
// a number stays as it is).
double FourDigits(double value);

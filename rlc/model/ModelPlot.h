#pragma once
// The impedance of a circuit kind with given values, and "Create Plot": a data set of that
// impedance at the frequencies of a measured set, added to the document for comparison.
#include <complex>
#include <memory>

#include "rlc/model/ModelFit.h"

class CDataSet;
class CTalDocument;

// Z of `kind` at angular frequency w (rad/s).
std::complex<double> ModelImpedance(int kind, const ModelValues& values, double w);

// The checks of "Create Plot": at least one value positive, and no negative value among those
// the kind is checked for (kind 8 is not checked).
bool ModelValuesPlottable(int kind, const ModelValues& values);

// The model set "Model (<kind text>)" over the source's frequencies, or nothing when the values
// fail the checks or the impedance is not finite at one of the frequencies (a zero value in a
// divisor), so that no display ever receives infinite or undefined points.
std::unique_ptr<CDataSet> MakeModelDataSet(int kind, const ModelValues& values,
                                           const CDataSet& source);

// Adds the model set of data set `sourceIndex` to the document (modified flag, update hint 0);
// the new index, or -1 when nothing was created.
int CreateModelPlot(CTalDocument& document, int sourceIndex, int kind, const ModelValues& values);

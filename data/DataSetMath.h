#pragma once
// Complex arithmetic between data sets (gain as magnitude, phase as angle), sampled on the
// union of both operands' frequencies inside their common range. CTalDocument::OnViewMath
// builds on these; results read back as value x the application's math scale factor.
#include <memory>

#include "data/DataSet.h"

class CTalDocument;

// Operation codes of CTalDocument::OnViewMath.
enum MathOperation : int {
    MATH_ADD = 0,
    MATH_SUBTRACT = 1,
    MATH_MULTIPLY = 2,
    MATH_DIVIDE = 3,
    MATH_ADD_PARALLEL = 4,       // (A x B) / (B + A)
    MATH_SUBTRACT_PARALLEL = 5,  // (A x B) / (B - A)
};

// An empty result set: application defaults, scale factor = math scale factor (1 if that is
// 0 or not finite).
std::unique_ptr<CDataSet> NewMathResultSet();
// Appends magnitude and phase at `frequency` as a point whose input node reads 1 and whose
// output node reads the value, for the set's input and output node.
void AppendMathResultPoint(CDataSet& set, double frequency, double magnitude, double phase);
// A constant as a result set: points at 1e-6 and 1e15 Hz, or 211 points 10^(m/10), m = -60..150.
std::unique_ptr<CDataSet> MakeConstantDataSet(double constant, bool dense);
// x op y for MATH_ADD .. MATH_DIVIDE; the operands are left untouched.
std::unique_ptr<CDataSet> CombineDataSets(const CDataSet& x, const CDataSet& y, MathOperation op);

// "Create transfer function": B / (A + B) as a sum (OnViewMath code 0) divided into operand 2
// (code 3), after which the sum is deleted. Returns the index of the result, -1 on bad operands.
int CreateTransferFunction(CTalDocument& document, int index1, double constant1, int index2,
                           double constant2);

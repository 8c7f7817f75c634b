#pragma once
// Closed-form estimates of a circuit kind's values from a measured impedance curve, each rule
// looking at one or two characteristic points (the phase zero crossing, the most inductive or
// most capacitive point, the reactance extreme of a parallel R and C).
#include <optional>

class CDataSet;

// Fitted or entered values of a model; -1 means unknown. `second` is L, or Rp for kind 8.
struct ModelValues {
    double r = -1;
    double second = -1;
    double c = -1;
};

// The estimates for `kind` from the set's impedance (gain as |Z|, phase in degrees). Values
// the rules cannot give, or that come out zero, negative or not finite, stay -1. Nothing for a
// set without points or an unknown kind.
std::optional<ModelValues> FitModel(const CDataSet& set, int kind);

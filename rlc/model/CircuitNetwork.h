#pragma once
// A circuit kind as a network the refinement can differentiate: stages in series, each a single
// part or a parallel group, every part tied to one of the kind's three values.
#include <array>
#include <complex>
#include <vector>

#include "rlc/model/ModelFit.h"

enum class NetworkPart { Resistor, Inductor, Capacitor };

struct NetworkElement {
    NetworkPart part;
    int value;  // 0: R, 1: the second value (L, or Rp for kind 8), 2: C
};
using NetworkStage = std::vector<NetworkElement>;

// The network of `kind` (empty for an unknown kind).
std::vector<NetworkStage> CircuitNetwork(int kind);

// Z of the network at angular frequency w, with `values` indexed as NetworkElement::value.
// With `derivatives`, also dZ / d(ln value) for each value the network uses.
std::complex<double> NetworkImpedance(const std::vector<NetworkStage>& network,
                                      const std::array<double, 3>& values, double w,
                                      std::array<std::complex<double>, 3>* derivatives = nullptr);

std::array<double, 3> AsArray(const ModelValues& values);
ModelValues AsModelValues(const std::array<double, 3>& values);

#pragma once
// What the "Simulated Instrument" window puts in the simulated analyzer: the fixture's content
// (open, short, or a component of one of the eleven circuit kinds with its values), the noise
// and the faults, and the simulator's configuration text for it.
#include <optional>
#include <string>
#include <vector>

struct SimulatedFixture {
    enum class Content { Open, Short, Component };
    Content content = Content::Component;
    int kind = 3;               // circuit kind 0-10 (rlc/model/CircuitKind.h), R + L
    std::string r = "10";       // values as typed, with SI prefixes: "4.7k", "1m"
    std::string second = "1m";  // L, or Rp for R + (R || C)
    std::string c = "100n";
    double noise = 0.001;       // 0-0.5
    std::vector<std::string> faults;  // simulator fault names; empty: none
};

// The simulator's fault names the window offers, in its order.
const std::vector<std::string>& SimulatorFaultNames();

// "fixture=...;dut=<kind>:<name>=<value>,...;noise=...;fault=..." with only the values the kind
// uses; none when a value the kind uses is no plain number text (digits, sign, point, exponent and
// one SI prefix letter, at most 24 characters), so typed text cannot add items of its own. The
// simulator checks the ranges.
std::optional<std::string> SimulatorConfigText(const SimulatedFixture& fixture);

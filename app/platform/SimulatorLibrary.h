#pragma once
// Where "--simulate" finds the simulated analyzer library: the one built beside the program in
// the build tree, else the installed <prefix>/lib/talvern-rlc/libtalvern-sim.so.
#include <string>

// Empty when neither exists.
std::string SimulatorLibraryPath();

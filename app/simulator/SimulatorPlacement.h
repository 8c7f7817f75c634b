#pragma once
// Where "--simulate" puts the simulated analyzer: the family of the analyzer type, on the GPIB
// board of the interface setting, at the address the analyzer was last found at, with the model
// and serial number of the settings, so that the program finds it as it would find a real one.
#include <string>
#include <vector>

class ApplicationValues;

// The simulator's configuration items ("family=1960", "board=0", "address=8", "model=1960",
// "serial=0"), each to be applied on its own: a value the simulator does not take (an address
// outside 1-30) leaves the others in force.
std::vector<std::string> SimulatorPlacementItems(const ApplicationValues& values);

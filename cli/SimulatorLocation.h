#pragma once
// Where the simulated analyzer's library is: TALVERN_SIM_LIBRARY, else the build tree's, else
// the one installed beside the tool (<prefix>/lib/talvern-rlc), else the plain name for dlopen.
#include <string>

std::string SimulatorLibraryLocation();

#pragma once
// The program folder: where the help file, the manual and the "Matlab m-files" folder live.
// Installed, that is <prefix>/share/TalvernRLC/ beside the program's bin/ folder; run from the
// build tree, it is the program's own folder. Always ends in "/".
#include <string>

std::string ProgramFolder();

#pragma once
// The first display's state block that follows the data in a document file.
#include "data/DisplayState.h"

class CArchive;

// Reads the block of a file with leading version `fileVersion`: only versions 1003 and 1004
// start it with the format marker (otherwise taken as 0); a marker below 0x100000 means slide
// bars without a value; files before 1002 end the block after the default scale factor.
void ReadDisplayState(CArchive& ar, DisplayState& state, int fileVersion);
// Writes the current layout, starting with DisplayState::kFormatMarker.
void WriteDisplayState(CArchive& ar, const DisplayState& state);

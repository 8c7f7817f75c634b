#pragma once
// The "Find Address" bus search: finds the GPIB address of the analyzer of a given type by asking
// every listener on the board for its identification.

#include <string>

namespace gpib {

struct BusSearchOutcome {
    enum class Result { Found, NotFound, BoardError, FindListenersError, InvalidType };
    Result result = Result::NotFound;
    int address = -1;     // the analyzer's address when found
    std::string message;  // the text to show for every result but Found
};

// analyzerType: the program's analyzer type id (6 1960, 7-9 1800 series, 10 and 11 2600 series).
BusSearchOutcome FindAnalyzerAddress(int analyzerType, int boardIndex);

} // namespace gpib

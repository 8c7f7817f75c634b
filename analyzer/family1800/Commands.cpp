#include "analyzer/family1800/Commands.h"

namespace analyzer::family1800 {

std::string InputTypeCommand(bool differential)
{
    return differential ? "INTYPE,CH1,DIFFER;INTYPE,CH2,MAIN;" : "INTYPE,CH1,MAIN;INTYPE,CH2,MAIN;";
}

} // namespace analyzer::family1800

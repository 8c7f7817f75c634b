#include "analyzer/family1800/Texts.h"

#include "analyzer/family1800/Commands.h"

namespace analyzer::family1800 {

const family1960::DialogTexts& Texts()
{
    static const family1960::DialogTexts texts{
        "1800 Analyzer Control Menu",
        "Data gathered by the 1800 System\r\n",
        "Model 1800-5291",
        "1800 Analyzer found.\r\n",
        "1800 Analyzer not found.\r\n",
        kModeCommand,
        "On1852Error",
        "1852 Error Byte = ",
        {"CAnalyzer1852Dlg",
         "OnMsg1852Sweep",
         "Unexpected Status Byte from the 1842 or 1852 analyzer\r\n",
         "1852 Status Byte = ",
         {{6, " Bit6-RQS"},
          {5, " Bit5-Standard Event Summary Bit"},
          {4, " Bit4-Message Available"},
          {1, " Bit1-Sweep Data Availiable"},
          {0, " Bit0-Result Data Available"}}},
    };
    return texts;
}

} // namespace analyzer::family1800

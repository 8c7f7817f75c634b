// Feeds arbitrary bytes to the document reader: it must either load them or report an error,
// without crashing, leaking or allocating beyond what the input can justify.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/TalDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTalDocument doc;
    std::string error;
    if (!doc.LoadFromBytes({data, size}, error))
        return 0;
    // Whatever loads must save, and what is saved must load again.
    std::vector<uint8_t> saved;
    CTalDocument again;
    if (!doc.SaveToBytes(saved, error) || !again.LoadFromBytes(saved, error) ||
        again.GetDataSetCount() != doc.GetDataSetCount())
        __builtin_trap();
    return 0;
}

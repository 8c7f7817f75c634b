// Feeds arbitrary bytes to the document reader: it must either load them or report an error,
// without crashing, leaking or allocating beyond what the input can justify. The bytes are read
// once from memory and once in small pieces, as a file is read; both must agree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "data/TalDocument.h"
#include "data/archive/Archive.h"

namespace {

bool LoadInPieces(CTalDocument& doc, const uint8_t* data, size_t size)
{
    size_t pos = 0;
    CArchive ar(
        [&](uint8_t* out, size_t max) {
            const size_t n = std::min({max, size_t{7}, size - pos});
            std::memcpy(out, data + pos, n);
            pos += n;
            return n;
        },
        size);
    try {
        doc.Serialize(ar);
        return true;
    } catch (const ArchiveError&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CTalDocument doc;
    std::string error;
    const bool loaded = doc.LoadFromBytes({data, size}, error);
    CTalDocument pieces;
    if (LoadInPieces(pieces, data, size) != loaded ||
        (loaded && pieces.GetDataSetCount() != doc.GetDataSetCount()))
        __builtin_trap();
    if (!loaded)
        return 0;
    // Whatever loads must save, and what is saved must load again.
    std::vector<uint8_t> saved;
    CTalDocument again;
    if (!doc.SaveToBytes(saved, error) || !again.LoadFromBytes(saved, error) ||
        again.GetDataSetCount() != doc.GetDataSetCount())
        __builtin_trap();
    return 0;
}

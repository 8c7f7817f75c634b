// Feeds arbitrary text to the text import, as pasted from the clipboard (first byte even) or read
// from a ".dat" file (odd: the file's lines are joined first), with nodes and a scale factor
// taken from the input's first bytes. Whatever is imported must save as a document and load again
// with the same data sets.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/TalDocument.h"
#include "data/TextImportFile.h"
#include "data/TextTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const bool datFile = (data[0] & 1) != 0;
    const int outputNode = data[1] % 6;
    const int inputNode = data[2] % 6;
    const double scaleFactor = static_cast<int8_t>(data[3]) / 4.0;
    const std::string raw(reinterpret_cast<const char*>(data + 4), size - 4);
    const std::string text = datFile ? JoinImportLines(raw) : raw;

    CTalDocument doc;
    doc.ImportText(text, outputNode, inputNode, scaleFactor);
    for (int i = 0; i < doc.GetDataSetCount(); ++i) {
        for (DisplayKind kind : {DisplayKind::Gain, DisplayKind::Imp, DisplayKind::Volt})
            FormatDataAsText(*doc.GetDataSet(i), kind, datFile);
    }
    std::vector<uint8_t> saved;
    std::string error;
    CTalDocument again;
    if (!doc.SaveToBytes(saved, error) || !again.LoadFromBytes(saved, error) ||
        again.GetDataSetCount() != doc.GetDataSetCount())
        __builtin_trap();
    return 0;
}

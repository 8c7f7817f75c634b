#pragma once
// Data sets in and out of a display as tab-separated text: Copy, Cut and Paste through the
// clipboard, Export and Import of ".dat" files for Matlab and Mathcad, and Copy Graph (the
// display as a picture on the clipboard).
#include <cstddef>
#include <string>
#include <string_view>

#include "data/TextImportFile.h"
#include "views/command/CommandTarget.h"

class CTalView;

namespace exchange {

// Texts larger than this (clipboard or file) are refused rather than read.
constexpr size_t kMaxTextBytes = kMaxImportTextBytes;

// The ".dat" file choosers' filter, default extension and default name.
extern const char kDatFilter[];

// Runs an exchange command or answers its enabling; false when `id` is none of them.
bool OnCommand(CTalView& view, int id);
bool OnUpdateCommand(CTalView& view, int id, CommandUi& ui);

void Copy(CTalView& view);
void Cut(CTalView& view);
void Paste(CTalView& view);
void Export(CTalView& view);
void Import(CTalView& view);
void CopyGraph(CTalView& view);

// The export clean-up: while the text holds a "*", its first line (up to and including the
// first "\n") is removed; a "*" with no line break after it empties the text.
std::string BareNumberTable(std::string table);
// The import file's reading, shared with the command line (data/TextImportFile).
using ::JoinImportLines;
using ::ReadTextFile;

}  // namespace exchange

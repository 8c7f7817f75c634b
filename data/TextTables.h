#pragma once
// Tab-separated text tables of one data set, as copied, exported and shown by the text display.
#include <string>

#include "data/DataSet.h"
#include "data/DocumentView.h"

// The description lines: each line of the description trimmed and prefixed with "*".
std::string FormatDescriptionLines(const CDataSet& set);
// The whole table for a display of `kind`; `voltageFormat` selects the 5-column node block.
std::string FormatDataAsText(const CDataSet& set, DisplayKind kind, bool voltageFormat);

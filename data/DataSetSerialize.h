#pragma once
// Data-set object references in a document file: "CDataSet", "CDataSetGain" and "CDataSetImp"
// records (schema 1), each owning its "CDataPoint" records.
#include <cstddef>
#include <memory>

#include "data/DataSet.h"

class CArchive;

// Fewest bytes a data-set reference and record take (tag, marker, version, empty point array).
constexpr size_t kMinDataSetObjectBytes = 2 + 8 + 4 + 2;

// Reads one data-set reference. The document owns every set once, so a missing object or a
// reference back to a set read earlier is rejected with ArchiveError.
std::unique_ptr<CDataSet> ReadDataSetObject(CArchive& ar);
// Writes a new-object reference of the set's class followed by its record.
void WriteDataSetObject(CArchive& ar, CDataSet& set);

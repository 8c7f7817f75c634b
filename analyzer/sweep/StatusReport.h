#pragma once
// Reports of an unexpected status byte: the family's heading, the context sentence and the
// status byte in hexadecimal with the names of its set bits.

#include <string>
#include <string_view>
#include <vector>

#include "analyzer/sweep/FamilyTexts.h"

namespace analyzer {

// The texts of the set bits of value, in table order, concatenated.
std::string SetBitNames(int value, const std::vector<StatusBitName>& bits);

// heading + context + "\r\n" + label + "&H%x <" + set bit names + " >\r\n"; the status byte is
// taken as a value from 0 to 255. The family appends its event-register decoding when bit 5 is set.
std::string UnexpectedStatusReport(const FamilyTexts& texts, std::string_view context, int statusByte);

// Bit 5 of a status byte: the event summary bit, set when the event register has something to report.
inline bool HasEventSummary(int statusByte) { return (statusByte & 0x20) != 0; }

} // namespace analyzer

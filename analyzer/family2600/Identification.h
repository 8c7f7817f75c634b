#pragma once
// The reply to "*IDN?;" and what the firmware version it carries decides.

#include <cstddef>
#include <string_view>

#include "analyzer/sweep/CommandQueue.h"

namespace analyzer::family2600 {

inline constexpr int kUnknownFirmwareCode = 0x100;  // until the analyzer has identified itself

struct Identification {
    bool recognized = false;             // the reply contains "TALVERN,"
    int firmwareCode = kUnknownFirmwareCode;  // version M.m... as 0xMm0 (2.10 gives 0x210)
};

// The third token of the reply (separated by blanks, commas, tabs, line ends and capital letters)
// is the version: a digit, a point, digits. A version not of that form leaves the code unknown.
Identification ParseIdentification(std::string_view reply);

// Firmware 1.x (code below 0x200) over GPIB takes the queued commands joined in one write.
QueuedWriteMode QueuedWriteModeFor(Bus bus, int firmwareCode);
// Bytes read per "READ?;" chunk: 511 with firmware 1.x (each read replaces the last), else 64.
std::size_t ReadingChunkBytes(int firmwareCode);
// Firmware 2.0 and later: text messages ("VERSION;"), a text event register reply.
inline bool HasMessages(int firmwareCode) { return firmwareCode >= 0x200; }

} // namespace analyzer::family2600

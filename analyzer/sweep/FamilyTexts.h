#pragma once
// The texts by which one analyzer family names itself in the reports of the family-independent
// sweep rules (servo, reply tokenizer, status reports).
//
// How a family plugs into the sweep rules (see analyzer/family2600/ for the reference family):
//  1. Give a FamilyTexts: its dialog class and service-request handler names, the heading and
//     label of its status report and its status-bit names in report order.
//  2. Write its command builders (one function per setting command, with the clamp and number
//     format of the family) and its reply readers on top of ReplyTokenizer.
//  3. Give a settings struct with its defaults and clamps, and DumpParameters/ApplyPreferences
//     for its preference block.
//  4. Its engine collects setting commands in a CommandQueue, sends them with
//     SendQueuedCommands, logs through CommLog, and judges every reading with JudgeReading and
//     steps with NextFrequency over its SweepState.

#include <string>
#include <vector>

namespace analyzer {

// One status-byte (or event-register) bit and its report text, leading blank included.
struct StatusBitName {
    int bit;
    const char* text;
};

struct FamilyTexts {
    std::string dialogClass;    // "CAnalyzer2600Dlg"
    std::string sweepHandler;   // "OnMsg2600Sweep"
    std::string statusHeading;  // "Unexpected Status Byte from the Talvern analyzer\r\n"
    std::string statusLabel;    // "Analyzer Status Byte = "
    std::vector<StatusBitName> statusBits;  // in report order
};

// Caption of the analyzer dialogs' message boxes.
inline constexpr const char* kAnalyzerMenuCaption = "Analyzer Menu";

} // namespace analyzer

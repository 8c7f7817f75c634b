#pragma once
// The text with which a failed bus step is reported: a heading, the context sentence naming the
// step, and for GPIB the decoded status word, error code and byte count.

#include <string>

namespace gpib {

std::string GpibFailureReport(const std::string& context, int ibsta, int iberr, int ibcnt);
// With the status copies of the last call.
std::string GpibFailureReport(const std::string& context);
std::string UsbFailureReport(const std::string& context);

} // namespace gpib

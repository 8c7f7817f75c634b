#include "instrument/gpib/BusSearch.h"

#include "instrument/gpib/Gpib.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace gpib {

namespace {

struct AnalyzerIdentity {
    const char* typeCode;
    const char* identification;
};

bool IdentityOf(int analyzerType, AnalyzerIdentity& identity)
{
    switch (analyzerType) {
    case 6: identity = {"RLC1960", "Model 1960"}; return true;
    case 7: identity = {"RLC1842", "Model 1800-5291"}; return true;
    case 8: identity = {"RLC1852", "Model 1800-5291"}; return true;
    case 9: identity = {"RLC1862", "Model 1800-5291"}; return true;
    case 10: identity = {"RLC2600", "TALVERN,"}; return true;
    case 11: identity = {"RLC1370", "TALVERN,"}; return true;
    default: return false;
    }
}

constexpr int kHighestAddress = 30;
constexpr int kResultCapacity = 31;
constexpr long kReplyCapacity = 511;

// Asks the device for its identification; false when the clear, the query or the poll fails.
bool Identify(int ud, std::string& reply)
{
    if (ibclr(ud) & ERR)
        return false;
    if (ibwrt(ud, "*IDN?", 5) & ERR)
        return false;
    char statusByte = 0;
    if (ibrsp(ud, &statusByte) & ERR)
        return false;
    char buffer[kReplyCapacity + 1] = {};
    const bool readFailed = (ibrd(ud, buffer, kReplyCapacity) & ERR) != 0;
    const long received = readFailed ? 0 : std::clamp<long>(ibcntl, 0, kReplyCapacity);
    buffer[received] = '\0';
    reply = buffer;
    return true;
}

} // namespace

BusSearchOutcome FindAnalyzerAddress(int analyzerType, int boardIndex)
{
    BusSearchOutcome outcome;
    AnalyzerIdentity identity{};
    if (!IdentityOf(analyzerType, identity)) {
        char text[96];
        std::snprintf(text, sizeof text, "Invalid Analyzer Type (internal id: %i) for the Find Address button",
                      analyzerType);
        outcome.result = BusSearchOutcome::Result::InvalidType;
        outcome.message = text;
        return outcome;
    }

    SendIFC(boardIndex);
    if (ibsta & ERR) {
        outcome.result = BusSearchOutcome::Result::BoardError;
        outcome.message = "Unable to open board";
        return outcome;
    }

    unsigned short addresses[kHighestAddress + 1];
    for (int i = 0; i < kHighestAddress; ++i)
        addresses[i] = static_cast<unsigned short>(i + 1);
    addresses[kHighestAddress] = NOADDR;
    // Room for a terminator after the last result.
    unsigned short results[kResultCapacity + 1];
    std::fill(std::begin(results), std::end(results), NOADDR);
    FindLstn(boardIndex, addresses, results, kResultCapacity);
    if (ibsta & ERR) {
        outcome.result = BusSearchOutcome::Result::FindListenersError;
        outcome.message = "Unable to issue FindLstn call";
        return outcome;
    }
    const long listeners = std::clamp<long>(ibcntl, 0, kResultCapacity);
    ibonl(boardIndex, 0);

    std::string others;
    for (long i = 0; i < listeners; ++i) {
        const int address = results[i] & 0xFF;
        const int ud = ibdev(boardIndex, address, 0, T1s, 1, 0);
        if (ud < 0 || (ibsta & ERR))
            continue;
        std::string reply;
        if (!Identify(ud, reply)) {
            ibonl(ud, 0);
            continue;
        }
        if (reply.find(identity.identification) != std::string::npos) {
            ibonl(boardIndex, 0);
            ibonl(ud, 0);
            outcome.result = BusSearchOutcome::Result::Found;
            outcome.address = address;
            return outcome;
        }
        char entry[16];
        std::snprintf(entry, sizeof entry, " %d, ", address);
        others += entry;
        ibonl(ud, 0);
    }

    ibonl(boardIndex, 0);
    outcome.result = BusSearchOutcome::Result::NotFound;
    outcome.message = std::string(identity.typeCode) +
                      " Analyzer not found.\r\nInstruments were found at the following address(es):\r\n" + others;
    return outcome;
}

} // namespace gpib

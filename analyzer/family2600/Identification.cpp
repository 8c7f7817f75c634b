#include "analyzer/family2600/Identification.h"

namespace analyzer::family2600 {

namespace {

constexpr std::string_view kDelimiters = " ,\t\n\rABCDEFGHIJKLMNOPQRSTUVWXYZ";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

Identification ParseIdentification(std::string_view reply)
{
    Identification id;
    id.recognized = reply.find("TALVERN,") != std::string_view::npos;
    if (!id.recognized)
        return id;
    std::size_t position = 0;
    std::string_view token;
    for (int n = 0; n < 3; ++n) {
        const std::size_t begin = reply.find_first_not_of(kDelimiters, position);
        if (begin == std::string_view::npos)
            return id;
        std::size_t end = reply.find_first_of(kDelimiters, begin);
        if (end == std::string_view::npos)
            end = reply.size();
        token = reply.substr(begin, end - begin);
        position = end;
    }
    if (token.size() >= 3 && IsDigit(token[0]) && token[1] == '.' && IsDigit(token[2]))
        id.firmwareCode = ((token[0] - '0') * 16 + (token[2] - '0')) * 16;
    return id;
}

QueuedWriteMode QueuedWriteModeFor(Bus bus, int firmwareCode)
{
    return (bus == Bus::Gpib && firmwareCode < 0x200) ? QueuedWriteMode::Joined : QueuedWriteMode::Separate;
}

std::size_t ReadingChunkBytes(int firmwareCode)
{
    return firmwareCode < 0x200 ? 511 : 64;
}

} // namespace analyzer::family2600

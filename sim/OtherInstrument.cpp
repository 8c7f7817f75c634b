#include "sim/OtherInstrument.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace talsim {

void OtherInstrument::Write(std::string_view message, Clock::time_point)
{
    output_.clear();
    std::size_t start = 0;
    while (start <= message.size()) {
        std::size_t end = message.find(';', start);
        if (end == std::string_view::npos)
            end = message.size();
        std::string command;
        for (char ch : message.substr(start, end - start))
            if (!std::isspace(static_cast<unsigned char>(ch)))
                command.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(ch))));
        if (command == "*IDN?")
            output_ = std::string(kIdentification) + "\n";
        start = end + 1;
    }
}

std::size_t OtherInstrument::Read(char* out, std::size_t max, bool& end)
{
    const std::size_t n = std::min(max, output_.size());
    std::memcpy(out, output_.data(), n);
    output_.erase(0, n);
    end = output_.empty();
    return n;
}

} // namespace talsim

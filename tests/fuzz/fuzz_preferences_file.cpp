// Feeds arbitrary bytes as a preferences file: read into text as the reader holds it, then
// parsed into the application values of the type the first byte names. Whatever parses must be
// written by the program as a file that reads back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "app/prefs/PreferencesText.h"

namespace {

// The writer's bytes: every "\r" removed and every "\n" written as "\r\n".
std::string OnDisk(const std::string& text)
{
    std::string bytes;
    for (char c : text) {
        if (c == '\n')
            bytes += '\r';
        if (c != '\r')
            bytes += c;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const auto types = AnalyzerTypeTable();
    const int type = types[data[0] % types.size()].id;
    const std::string text =
        PreferencesTextAsRead(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    ApplicationData shared;
    ApplicationValues values(shared);
    values.SelectAnalyzerType(type);
    if (!ParsePreferences(text, values))
        return 0;
    ApplicationData sharedAgain;
    ApplicationValues again(sharedAgain);
    again.SelectAnalyzerType(type);
    if (!ParsePreferences(PreferencesTextAsRead(OnDisk(FormatPreferences(values))), again))
        __builtin_trap();
    return 0;
}

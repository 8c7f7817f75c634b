#include "app/core/AnalyzerTypes.h"

#include <array>

namespace {

constexpr std::array<AnalyzerTypeInfo, 7> kTypes = {{
    {0, "RLC880", "Settings880", 0x880, true, AnalyzerFamily::NF5060, 3},
    {6, "RLC1960", "Settings1960", 0x1960, true, AnalyzerFamily::A1960, 2},
    {7, "RLC1842", "Settings1842", 0x1842, true, AnalyzerFamily::S1800, 2},
    {8, "RLC1852", "Settings1852", 0x1852, true, AnalyzerFamily::S1800, 2},
    {9, "RLC1862", "Settings1862", 0x1862, true, AnalyzerFamily::S1800, 2},
    {10, "RLC2600", "Settings2600", 0, false, AnalyzerFamily::A2600, 0},
    {11, "RLC1370", "Settings1370", 0x1370, false, AnalyzerFamily::A2600, 2},
}};

// The codes "/t:" accepts, in the order the invalid-type message lists them.
constexpr std::array<const char*, 8> kCommandLineCodes = {
    "RLC2600", "RLC1370", "RLC1862", "RLC1852", "RLC1842", "RLC1960", "RLC880", "RLC0880"};

}  // namespace

std::span<const AnalyzerTypeInfo> AnalyzerTypeTable()
{
    return kTypes;
}

const AnalyzerTypeInfo* FindAnalyzerType(int id)
{
    for (const AnalyzerTypeInfo& type : kTypes) {
        if (type.id == id)
            return &type;
    }
    return nullptr;
}

std::optional<int> AnalyzerTypeFromCode(std::string_view code)
{
    if (code == "RLC0880")
        code = "RLC880";
    for (const AnalyzerTypeInfo& type : kTypes) {
        if (code == type.code)
            return type.id;
    }
    return std::nullopt;
}

std::string MainWindowTitle(int id)
{
    if (id == kAnalyzer2600)
        return "Talvern RLC Stability Analysis";
    const AnalyzerTypeInfo* type = FindAnalyzerType(id);
    return std::string("Talvern Systems ") + (type ? type->code : "");
}

std::string PreferencesFileName(int id)
{
    if (id >= 0 && id <= 2)
        return "TalprefRLC880.txt";
    const AnalyzerTypeInfo* type = FindAnalyzerType(id);
    return type ? std::string("Talpref") + type->code + ".txt" : std::string();
}

std::string InvalidAnalyzerTypeMessage()
{
    std::string codes;
    for (const char* code : kCommandLineCodes) {
        if (!codes.empty())
            codes += ", ";
        codes += code;
    }
    return "Invalid Analyzer Type given.\r\nCommand line option /t:<type> must specify <type> "
           "as one of:\r\n    " +
           codes + "\r\nPlease contact Talvern Customer Service at 1-800-555-0134 or "
                   "1-555-555-0178.";
}

AnalyzerTypeChoice ChooseAnalyzerType(const std::vector<std::string>& arguments)
{
    const std::string* code = nullptr;
    for (const std::string& argument : arguments) {
        if (argument.size() >= 3 && (argument[0] == '/' || argument[0] == '-') &&
            argument.compare(1, 2, "t:") == 0)
            code = &argument;
    }
    if (!code)
        return {true, kDefaultAnalyzerType};
    const std::optional<int> id = AnalyzerTypeFromCode(std::string_view(*code).substr(3));
    if (!id)
        return {false, kNoAnalyzerType};
    return {true, *id};
}

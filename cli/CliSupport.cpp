#include "cli/CliSupport.h"

#include <algorithm>
#include <charconv>

#include "data/TalDocument.h"

const std::string* ParsedArguments::Value(std::string_view name) const
{
    const auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               const std::vector<std::string_view>& valueOptions,
                               const std::vector<std::string_view>& flagOptions,
                               size_t positionalCount, std::string_view positionalNames)
{
    const auto listed = [](const std::vector<std::string_view>& names, std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        if (listed(valueOptions, name)) {
            std::string value;
            if (equals != std::string::npos)
                value = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                throw UsageError("option " + name + " needs a value");
            if (!parsed.values.emplace(name, value).second)
                throw UsageError("option " + name + " given twice");
        } else if (listed(flagOptions, name) && equals == std::string::npos) {
            if (!parsed.flags.emplace(name, true).second)
                throw UsageError("option " + name + " given twice");
        } else {
            throw UsageError("unknown option " + arg);
        }
    }
    if (parsed.positional.size() != positionalCount)
        throw UsageError("expected " + std::string(positionalNames));
    return parsed;
}

long long ParseBoundedInteger(std::string_view text, std::string_view what, long long min,
                              long long max)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    const std::string range = std::to_string(min) + " to " + std::to_string(max);
    if (text.empty() || stop != end || error == std::errc::invalid_argument)
        throw UsageError(std::string(what) + " must be an integer from " + range + ", not '" +
                         std::string(text) + "'");
    if (error == std::errc::result_out_of_range || value < min || value > max)
        throw UsageError(std::string(what) + " must be from " + range + ", not " +
                         std::string(text));
    return value;
}

int DataSetIndexByNumber(const CTalDocument& document, long long number, const std::string& path)
{
    for (int i = 0; i < document.GetDataSetCount(); ++i)
        if (document.GetDataSetNumber(i) == number)
            return i;
    throw UsageError(path + " has no data set number " + std::to_string(number) +
                     " (talvern-cli info lists the numbers)");
}

void LoadDocumentOrThrow(CTalDocument& document, const std::string& path)
{
    std::string error;
    if (!document.LoadFromFile(path, error))
        throw FileError(path + ": " + (error.empty() ? "Failed to open document." : error));
}

void SaveDocumentOrThrow(CTalDocument& document, const std::string& path)
{
    std::string error;
    if (!document.SaveToFile(path, error))
        throw FileError(path + ": " + (error.empty() ? "Failed to save document." : error));
}

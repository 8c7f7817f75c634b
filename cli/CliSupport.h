#pragma once
// Exit codes, errors and strict argument parsing shared by the talvern-cli commands.
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class CTalDocument;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;  // output could not be written
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;     // a file could not be read or written

// Bad command line: reported with the usage text, exit kExitUsage.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be read or written: reported with its message, exit kExitFile.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command's arguments: positionals in order, "--name value" / "--name=value" options and
// "--name" flags. Unknown, repeated or value-less options are usage errors.
struct ParsedArguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string, std::less<>> values;
    std::map<std::string, bool, std::less<>> flags;

    const std::string* Value(std::string_view name) const;
    bool Flag(std::string_view name) const { return flags.count(name) != 0; }
};

ParsedArguments ParseArguments(const std::vector<std::string>& args,
                               const std::vector<std::string_view>& valueOptions,
                               const std::vector<std::string_view>& flagOptions,
                               size_t positionalCount, std::string_view positionalNames);

// A decimal integer in [min, max] spelled with digits only (and a leading '-'), else UsageError.
long long ParseBoundedInteger(std::string_view text, std::string_view what, long long min,
                              long long max);

// The position of the data set numbered `number` (as info lists it); UsageError naming `path`
// when the document has none.
int DataSetIndexByNumber(const CTalDocument& document, long long number, const std::string& path);

// Reads a document file; FileError with "PATH: message" when it cannot be read.
void LoadDocumentOrThrow(CTalDocument& document, const std::string& path);
// Writes a document file; FileError with "PATH: message" when it cannot be written.
void SaveDocumentOrThrow(CTalDocument& document, const std::string& path);

#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "data/TalDocument.h"
#include "data/TextImportFile.h"

namespace {

// The nodes and scale factor a display gives imported voltage data without a parameter line.
constexpr int kDefaultOutputNode = 2;
constexpr int kDefaultInputNode = 1;
constexpr double kDefaultScaleFactor = 1.0;

}  // namespace

int RunImport(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(args, {"--out", "--into"}, {}, 1, "one TABLE");
    const std::string* out = parsed.Value("--out");
    const std::string* into = parsed.Value("--into");
    if ((out == nullptr) == (into == nullptr))
        throw UsageError("import needs either --out DOC.tal or --into DOC.tal");
    const std::string& table = parsed.positional[0];

    std::string contents;
    if (!ReadTextFile(table, kMaxImportTextBytes, contents))
        throw FileError(table + ": cannot be read (missing, unreadable or larger than 64 MiB)");
    CTalDocument document;
    if (into)
        LoadDocumentOrThrow(document, *into);
    const int index =
        document.ImportText(JoinImportLines(contents), kDefaultOutputNode, kDefaultInputNode, kDefaultScaleFactor);
    if (index < 0)
        throw FileError(table + ": holds no table the import reads");
    SaveDocumentOrThrow(document, into ? *into : *out);
    std::cout << document.GetDataSetNumber(index) << '\n';
    return kExitOk;
}

#include <iostream>
#include <limits>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "data/TalDocument.h"
#include "data/TextTables.h"

namespace {

DisplayKind TableKind(const std::string& table)
{
    if (table == "gain")
        return DisplayKind::Gain;
    if (table == "imp")
        return DisplayKind::Imp;
    if (table == "volt")
        return DisplayKind::Text;  // the 5-column node-voltage block
    throw UsageError("--table must be gain, imp or volt, not '" + table + "'");
}

}  // namespace

int RunExport(const Arguments& args)
{
    const ParsedArguments parsed =
        ParseArguments(args, {"--set", "--table"}, {}, 1, "one FILE");
    const std::string* setText = parsed.Value("--set");
    const std::string* tableText = parsed.Value("--table");
    if (!setText || !tableText)
        throw UsageError("export needs --set NUMBER and --table gain|imp|volt");
    const int number = static_cast<int>(ParseBoundedInteger(
        *setText, "--set", 1, std::numeric_limits<int32_t>::max()));
    const DisplayKind kind = TableKind(*tableText);

    const std::string& path = parsed.positional[0];
    CTalDocument document;
    LoadDocumentOrThrow(document, path);
    for (int i = 0; i < document.GetDataSetCount(); ++i) {
        const CDataSet& set = *document.GetDataSet(i);
        if (set.m_number == number) {
            std::cout << FormatDataAsText(set, kind, false) << "\r\n";
            return kExitOk;
        }
    }
    throw UsageError(path + " has no data set number " + std::to_string(number) +
                     " (talvern-cli info lists the numbers)");
}

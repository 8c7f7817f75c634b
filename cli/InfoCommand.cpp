#include <iostream>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/DocumentReport.h"
#include "data/TalDocument.h"

int RunInfo(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(args, {}, {"--json"}, 1, "one FILE");
    const std::string& path = parsed.positional[0];
    CTalDocument document;
    LoadDocumentOrThrow(document, path);
    if (parsed.Flag("--json"))
        PrintDocumentJson(std::cout, document, path);
    else
        PrintDocumentText(std::cout, document, path, true);
    return kExitOk;
}

#include <iostream>
#include <limits>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelPage.h"
#include "rlc/report/ReportFile.h"
#include "rlc/report/ReportWriter.h"

int RunReport(const Arguments& args)
{
    const ParsedArguments parsed =
        ParseArguments(args, {"--out", "--kind", "--set"}, {"--refine"}, 1, "one DOC.tal");
    const std::string* out = parsed.Value("--out");
    const std::string* kindText = parsed.Value("--kind");
    const std::string* setText = parsed.Value("--set");
    if (!out)
        throw UsageError("report needs --out REPORT.xml");
    if (!kindText && (parsed.Flag("--refine") || setText))
        throw UsageError("--refine and --set go with --kind");
    const bool automatic = kindText && *kindText == "auto";
    const std::optional<int> kind = kindText && !automatic ? ParseCircuitKind(*kindText) : std::nullopt;
    if (kindText && !automatic && !kind)
        throw UsageError("--kind must be a kind's list text (such as 'R + L' or R+L), its position 0-10 "
                         "or auto, not '" + *kindText + "'");
    const long long number =
        setText ? ParseBoundedInteger(*setText, "--set", 1, std::numeric_limits<int32_t>::max()) : 0;

    const std::string& path = parsed.positional[0];
    CTalDocument document;
    LoadDocumentOrThrow(document, path);

    // The Model page as the user leaves it: the kind chosen (its data set the list's default,
    // or --set), the estimate in the fields, refined with --refine; "auto" is "Best Fit".
    ModelPage page;
    if (kind)
        page.ChooseKind(*kind, document);
    if (setText)
        page.ChooseDataSet(DataSetIndexByNumber(document, number, path), document);
    if (automatic)
        page.BestFit(document);
    else if (kind && parsed.Flag("--refine"))
        page.Refine(document);

    const std::string report =
        FormatReport(document, ReportOptions{}, ReportCircuitOf(page), CurrentReportTimeStamp());
    if (const std::string error = WriteReportFile(*out, report); !error.empty())
        throw FileError(*out + ": " + error);
    return kExitOk;
}

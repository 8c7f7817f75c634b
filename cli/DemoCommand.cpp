#include <cstdint>
#include <filesystem>
#include <iostream>
#include <optional>
#include <system_error>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/DocumentReport.h"
#include "cli/RandomDocument.h"
#include "data/TalDocument.h"
#include "data/TextTables.h"

int RunDemo(const Arguments& args)
{
    const ParsedArguments parsed = ParseArguments(args, {"--seed"}, {}, 1, "one OUTDIR");
    std::optional<uint32_t> seed;
    if (const std::string* text = parsed.Value("--seed"))
        seed = static_cast<uint32_t>(ParseBoundedInteger(*text, "--seed", 0, UINT32_MAX));

    const std::filesystem::path dir = parsed.positional[0];
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        throw FileError(dir.string() + ": " + error.message());
    const std::string path = (dir / "demo.tal").string();

    CTalDocument made;
    FillRandomDocument(made, 4, 3, seed);
    SaveDocumentOrThrow(made, path);

    CTalDocument read;
    LoadDocumentOrThrow(read, path);
    std::cout << "== Demonstration document, read back from the file\n";
    PrintDocumentText(std::cout, read, path, false);
    if (const CDataSet* first = read.GetDataSet(0)) {
        std::cout << "\n== Gain table of data set " << first->m_number << "\n";
        std::cout << FormatDataAsText(*first, DisplayKind::Gain, false) << "\r\n";
    }
    std::cout << "\nThe demonstration document is " << path << '\n';
    return kExitOk;
}

#include <cstdint>
#include <iostream>
#include <optional>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/RandomDocument.h"
#include "data/ApplicationData.h"
#include "data/TalDocument.h"

int RunRandom(const Arguments& args)
{
    const ParsedArguments parsed =
        ParseArguments(args, {"--channels", "--count", "--seed"}, {}, 1, "one OUT.tal");
    int channels = 4;
    int count = 3;
    std::optional<uint32_t> seed;
    if (const std::string* text = parsed.Value("--channels"))
        channels = static_cast<int>(
            ParseBoundedInteger(*text, "--channels", kMinChannels, kMaxChannels));
    if (const std::string* text = parsed.Value("--count"))
        count = static_cast<int>(ParseBoundedInteger(*text, "--count", 1, kMaxRandomSets));
    if (const std::string* text = parsed.Value("--seed"))
        seed = static_cast<uint32_t>(ParseBoundedInteger(*text, "--seed", 0, UINT32_MAX));

    const std::string& path = parsed.positional[0];
    CTalDocument document;
    FillRandomDocument(document, channels, count, seed);
    SaveDocumentOrThrow(document, path);
    std::cout << "Wrote " << count << " random data set" << (count == 1 ? "" : "s") << " of "
              << channels << " channels to " << path << '\n';
    return kExitOk;
}

// Feeds arbitrary text, as a preferences file or a document may carry it, to each analyzer
// family's preference-block reader, then writes the settings it read and reads that block again:
// neither read may step outside its text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "analyzer/family1960/ParameterDump.h"
#include "analyzer/family2600/Capabilities.h"
#include "analyzer/family2600/ParameterDump.h"
#include "analyzer/family5060/ParameterDump.h"

using namespace analyzer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string block;
    {
        family2600::Settings settings;
        family2600::ApplyPreferences(text, settings, family2600::Capabilities{});
        family2600::DumpParameters(settings, block);
        family2600::Settings again;
        family2600::ApplyPreferences(block, again, family2600::Capabilities{});
    }
    for (auto kind : {family1960::BlockKind::Model1960, family1960::BlockKind::Series1800}) {
        family1960::Settings settings;
        bool differential = false;
        family1960::ApplyPreferences(text, kind, settings, differential);
        family1960::DumpParameters(settings, kind, differential, block);
        family1960::Settings again;
        family1960::ApplyPreferences(block, kind, again, differential);
    }
    {
        family5060::Settings settings;
        family5060::ApplyPreferences(text, settings);
        family5060::DumpParameters(settings, block);
        family5060::Settings again;
        family5060::ApplyPreferences(block, again);
    }
    return 0;
}

// Feeds arbitrary bytes as the settings file: the INI store opens it (setting a damaged file
// aside) and the application reads every value it keeps there, for every analyzer type, as at
// construction and start-up. Each read must give the stored value or the default, never fail.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "app/settings/IniSettingsStore.h"
#include "ScratchFile.h"

namespace {

const std::string& SettingsPath()
{
    static const std::string path = MakeScratchFile("/tmp/talvern-fuzz-iniXXXXXX");
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string& path = SettingsPath();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();
    IniSettingsStore store(path);
    for (const AnalyzerTypeInfo& type : AnalyzerTypeTable()) {
        ApplicationData shared;
        ApplicationValues values(shared);
        values.ReadConstructionSettings(store);
        values.SelectAnalyzerType(type.id);
        values.ReadStartUpSettings(store);
        const GpibAddressRange range = GpibAddressesOf(type.id);
        if (values.interfaceIndex < 0 || values.interfaceIndex > kMaxInterfaceIndex ||
            values.gpibAddressAnalyzer < range.minimum || values.gpibAddressAnalyzer > range.maximum)
            __builtin_trap();
    }
    for (int i = 1; i <= 4; ++i)
        store.GetString("Recent File List", "File" + std::to_string(i), "");
    std::remove((path + ".bad").c_str());
    return 0;
}

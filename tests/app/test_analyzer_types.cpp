#include <gtest/gtest.h>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "app/settings/MemorySettingsStore.h"

namespace {

TEST(AnalyzerTypes, CommandLineChoosesTheTypeByItsCode)
{
    struct Case {
        std::vector<std::string> arguments;
        bool valid;
        int id;
    };
    const Case cases[] = {
        {{}, true, 10},
        {{"file.tal"}, true, 10},
        {{"/t:RLC2600"}, true, 10},
        {{"-t:RLC1370"}, true, 11},
        {{"/t:RLC1862"}, true, 9},
        {{"/t:RLC1852"}, true, 8},
        {{"/t:RLC1842"}, true, 7},
        {{"/t:RLC1960"}, true, 6},
        {{"/t:RLC880"}, true, 0},
        {{"/t:RLC0880"}, true, 0},
        {{"/t:RLC1960", "doc.tal", "-t:RLC880"}, true, 0},  // the last flag counts
        {{"/T:RLC1960"}, true, 10},                          // not a type flag
        {{"t:RLC1960"}, true, 10},                           // no flag introducer
        {{"/t:rlc2600"}, false, -1},                         // codes are case-sensitive
        {{"/t:RLC2601"}, false, -1},
        {{"/t:"}, false, -1},
        {{"/t:RLC2600 "}, false, -1},
    };
    for (const Case& c : cases) {
        const AnalyzerTypeChoice choice = ChooseAnalyzerType(c.arguments);
        EXPECT_EQ(choice.valid, c.valid) << testing::PrintToString(c.arguments);
        if (c.valid) {
            EXPECT_EQ(choice.id, c.id) << testing::PrintToString(c.arguments);
        }
    }
}

TEST(AnalyzerTypes, InvalidTypeMessageListsTheEightCodes)
{
    EXPECT_EQ(InvalidAnalyzerTypeMessage(),
              "Invalid Analyzer Type given.\r\nCommand line option /t:<type> must specify "
              "<type> as one of:\r\n    RLC2600, RLC1370, RLC1862, RLC1852, RLC1842, RLC1960, "
              "RLC880, RLC0880\r\nPlease contact Talvern Customer Service at 1-800-555-0134 or "
              "1-555-555-0178.");
}

TEST(AnalyzerTypes, ReservedIdsHaveNoEntry)
{
    for (int id : {-1, 1, 2, 3, 4, 5, 12})
        EXPECT_EQ(FindAnalyzerType(id), nullptr) << id;
    EXPECT_EQ(PreferencesFileName(1), "TalprefRLC880.txt");
    EXPECT_EQ(PreferencesFileName(2), "TalprefRLC880.txt");
    EXPECT_EQ(PreferencesFileName(3), "");
}

// Every type started on a store whose per-type section holds USB (index 4) and model 0x9999.
TEST(AnalyzerTypes, TypeRulesAtStartUp)
{
    struct Case {
        int id;
        const char* section;
        const char* title;
        const char* fileName;
        int channelCount;
        int interfaceIndex;
        int modelCode;
        bool gpibOnly;
        PreferenceBlock block;
    };
    constexpr PreferenceBlock k880 = PreferenceBlock::Family880;
    constexpr PreferenceBlock k1960 = PreferenceBlock::Family1960;
    constexpr PreferenceBlock k1800 = PreferenceBlock::Series1800;
    constexpr PreferenceBlock k2600 = PreferenceBlock::Family2600;
    const Case cases[] = {
        {0, "Settings880", "Talvern Systems RLC880", "TalprefRLC880.txt", 3, 0, 0x880, true, k880},
        {6, "Settings1960", "Talvern Systems RLC1960", "TalprefRLC1960.txt", 2, 0, 0x1960, true, k1960},
        {7, "Settings1842", "Talvern Systems RLC1842", "TalprefRLC1842.txt", 2, 0, 0x1842, true, k1800},
        {8, "Settings1852", "Talvern Systems RLC1852", "TalprefRLC1852.txt", 2, 0, 0x1852, true, k1800},
        {9, "Settings1862", "Talvern Systems RLC1862", "TalprefRLC1862.txt", 2, 0, 0x1862, true, k1800},
        {10, "Settings2600", "Talvern RLC Stability Analysis", "TalprefRLC2600.txt", 0, 4, 0x9999,
         false, k2600},
        {11, "Settings1370", "Talvern Systems RLC1370", "TalprefRLC1370.txt", 2, 4, 0x1370, false, k2600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const AnalyzerTypeInfo* type = FindAnalyzerType(c.id);
        ASSERT_NE(type, nullptr);
        EXPECT_STREQ(type->settingsSection, c.section);
        EXPECT_EQ(MainWindowTitle(c.id), c.title);
        EXPECT_EQ(PreferencesFileName(c.id), c.fileName);
        EXPECT_EQ(FamilyPreferenceBlock(type->family), c.block);

        MemorySettingsStore store;
        store.WriteInt(c.section, "GPIB Interface", 4);
        store.WriteInt(c.section, "Analyzer - Model Number", 0x9999);
        ApplicationData shared;
        ApplicationValues values(shared);
        values.SelectAnalyzerType(c.id);
        values.ReadStartUpSettings(store);
        EXPECT_EQ(shared.channelCount, c.channelCount);
        EXPECT_EQ(values.interfaceIndex, c.interfaceIndex);
        EXPECT_EQ(values.modelCode, c.modelCode);
        EXPECT_EQ(values.IsGpibOnly(), c.gpibOnly);
    }
}

TEST(AnalyzerTypes, PerTypeSectionOverridesSettingsAndBadValuesFallBackOneLevel)
{
    MemorySettingsStore store;
    store.WriteInt("Settings", "GPIB Interface", 2);
    store.WriteInt("Settings", "GPIB address - application", 12);
    store.WriteInt("Settings", "GPIB address - analyzer", 40);  // out of range: default 8
    store.WriteInt("Settings", "Analyzer - Serial Number", 1234);
    store.WriteInt("Settings2600", "GPIB Interface", 9);        // out of range: "Settings" value
    store.WriteInt("Settings2600", "GPIB address - application", 5);
    store.WriteString("Settings2600", "Analyzer - Serial Number", "77");  // wrong type
    store.WriteString("Settings2600", "Math Scale Factor", "2.5e1");
    store.WriteInt("RLC Settings", "Default plot type", 7);     // out of 0..3: default 1
    store.WriteInt("RLC Settings", "Automatically use default type", 0);
    store.WriteInt("Settings", "Maximized", 0);

    ApplicationData shared;
    ApplicationValues values(shared);
    values.SelectAnalyzerType(10);
    values.ReadStartUpSettings(store);
    EXPECT_EQ(values.interfaceIndex, 2);
    EXPECT_EQ(values.gpibAddressApplication, 5);
    EXPECT_EQ(values.gpibAddressAnalyzer, 8);
    EXPECT_EQ(values.serialNumber, 1234);
    EXPECT_EQ(values.modelCode, 0x3231);
    EXPECT_DOUBLE_EQ(shared.mathScaleFactor, 25.0);
    EXPECT_EQ(values.defaultPlotType, 1);
    EXPECT_FALSE(values.automaticDefaultType);
    EXPECT_FALSE(values.maximized);

    for (const char* bad : {"", "abc", "nan", "inf", "1e999"}) {
        store.WriteString("Settings2600", "Math Scale Factor", bad);
        values.ReadStartUpSettings(store);
        EXPECT_DOUBLE_EQ(shared.mathScaleFactor, 1.0) << bad;
    }
}

// Start-up reads back every address the Settings dialog accepts for the type, and no other.
TEST(AnalyzerTypes, StoredGpibAddressesReadBackInTheSettingsDialogsRange)
{
    struct Case {
        int id;
        int stored;
        int read;
    };
    for (const Case c : {Case{6, 31, 31}, Case{6, 0, 0}, Case{0, 31, 31}, Case{8, 32, 8}, Case{10, 31, 8},
                         Case{10, 30, 30}, Case{10, 0, 8}, Case{11, 1, 1}, Case{11, 31, 8}}) {
        MemorySettingsStore store;
        const AnalyzerTypeInfo* type = FindAnalyzerType(c.id);
        ASSERT_NE(type, nullptr);
        store.WriteInt(type->settingsSection, "GPIB address - application", c.stored);
        store.WriteInt(type->settingsSection, "GPIB address - analyzer", c.stored);
        ApplicationData shared;
        ApplicationValues values(shared);
        values.SelectAnalyzerType(c.id);
        values.ReadStartUpSettings(store);
        EXPECT_EQ(values.gpibAddressApplication, c.read) << c.id << " " << c.stored;
        EXPECT_EQ(values.gpibAddressAnalyzer, c.read) << c.id << " " << c.stored;
    }
}

TEST(AnalyzerTypes, DefaultModelOf1370ComesFromSettingsOnlyAsDefault)
{
    MemorySettingsStore store;
    ApplicationData shared;
    ApplicationValues values(shared);
    values.SelectAnalyzerType(10);
    values.ReadStartUpSettings(store);
    EXPECT_EQ(values.modelCode, 0x3231);
    values.SelectAnalyzerType(11);
    values.ReadStartUpSettings(store);
    EXPECT_EQ(values.modelCode, 0x1370);
}

}  // namespace

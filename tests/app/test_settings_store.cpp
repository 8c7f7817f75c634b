#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/settings/IniSettingsStore.h"
#include "app/settings/MemorySettingsStore.h"

namespace {

TEST(MemorySettingsStore, ReadsBackTypedValuesAndFallsBackOnWrongTypeOrRange)
{
    MemorySettingsStore store;
    store.WriteInt("Settings", "GPIB Interface", 3);
    store.WriteString("Settings2600", "Math Scale Factor", "2.5");
    store.WriteString("Settings", "Text where a number belongs", "7");
    store.WriteInt("RLC Settings", "Default plot type", 9);

    EXPECT_EQ(store.GetInt("Settings", "GPIB Interface", 0), 3);
    EXPECT_EQ(store.GetString("Settings2600", "Math Scale Factor", "1.0"), "2.5");
    EXPECT_EQ(store.GetInt("Settings", "Text where a number belongs", 5), 5);
    EXPECT_EQ(store.GetString("Settings", "GPIB Interface", "none"), "none");
    EXPECT_EQ(store.GetInt("RLC Settings", "Default plot type", 1, 0, 3), 1);
    EXPECT_EQ(store.GetInt("Missing", "Value", -4), -4);

    store.WriteString("S", "Long", std::string(SettingsStore::kMaxStringLength + 1, 'x'));
    EXPECT_EQ(store.GetString("S", "Long", "short"), "short");
}

class IniSettingsStoreTest : public ::testing::Test {
protected:
    std::string PathOf(const char* name) const { return dir.filePath(name).toStdString(); }
    void WriteFile(const char* name, const QByteArray& bytes) const
    {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QTemporaryDir dir;
};

TEST_F(IniSettingsStoreTest, ValuesWithSpacesInTheirNamesSurviveAReload)
{
    {
        IniSettingsStore store(PathOf("a.ini"));
        store.WriteInt("Settings2600", "GPIB address - application", 17);
        store.WriteInt("Settings2600", "Analyzer - Model Number", 0x3231);
        store.WriteInt("ShowVmax", "Input15Vmax", -1);
        store.WriteString("RLC Settings", "RLC Ref Resistor Value", "1, 000 = 1k; \"quoted\"");
    }
    IniSettingsStore store(PathOf("a.ini"));
    EXPECT_EQ(store.GetInt("Settings2600", "GPIB address - application", 8), 17);
    EXPECT_EQ(store.GetInt("Settings2600", "Analyzer - Model Number", 0), 0x3231);
    EXPECT_EQ(store.GetInt("ShowVmax", "Input15Vmax", 1), -1);
    EXPECT_EQ(store.GetString("RLC Settings", "RLC Ref Resistor Value", ""),
              "1, 000 = 1k; \"quoted\"");
}

TEST_F(IniSettingsStoreTest, HandEditedValuesOfTheWrongKindReadAsTheDefault)
{
    WriteFile("b.ini", "[Settings]\n"
                       "GPIB%20Interface=two\n"
                       "Maximized=99999999999\n"
                       "Window%20Left=-12\n"
                       "Window%20Top=1, 2\n"
                       "Window%20Right=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5QRect)\n"
                       "Window%20Bottom=  42  \n"
                       "[RLC%20Settings]\n"
                       "RLC%20Ref%20Resistor%20Value=a, b\n");
    IniSettingsStore store(PathOf("b.ini"));
    EXPECT_EQ(store.GetInt("Settings", "GPIB Interface", 0), 0);
    EXPECT_EQ(store.GetInt("Settings", "Maximized", 1), 1);
    EXPECT_EQ(store.GetInt("Settings", "Window Left", 20), -12);
    EXPECT_EQ(store.GetInt("Settings", "Window Top", 20), 20);
    EXPECT_EQ(store.GetInt("Settings", "Window Right", 780), 780);
    EXPECT_EQ(store.GetInt("Settings", "Window Bottom", 580), 42);
    EXPECT_EQ(store.GetString("RLC Settings", "RLC Ref Resistor Value", "100.0"), "100.0");
}

}  // namespace

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

#include "RecordingReporter.h"
#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationLifecycle.h"
#include "app/core/ApplicationValues.h"
#include "app/core/ShellCommandQueue.h"
#include "app/prefs/PreferencesFile.h"
#include "app/prefs/PreferencesText.h"
#include "app/settings/IniSettingsStore.h"
#include "app/settings/MemorySettingsStore.h"

namespace {

std::string ReadAll(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll().toStdString();
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).path());
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Formatted text as the writer stores it.
std::string OnDisk(const std::string& text)
{
    std::string bytes;
    for (char c : text) {
        if (c != '\r')
            bytes += c == '\n' ? "\r\n" : std::string(1, c);
    }
    return bytes;
}

class LifecycleTest : public ::testing::Test {
protected:
    LifecycleTest()
    {
        location.userFolder = dir.filePath("user").toStdString();
        location.allUsersFolders = {dir.filePath("common").toStdString()};
    }

    std::string UserFile(const char* name) const
    {
        return location.userFolder + "/Talvern/" + name;
    }
    std::string CommonFile(const char* name) const
    {
        return location.allUsersFolders[0] + "/Talvern/" + name;
    }

    QTemporaryDir dir;
    PreferencesLocation location;
    RecordingReporter reporter;
};

TEST_F(LifecycleTest, EmptyStoreStartsWithDefaultsAndProgramEndWritesEverything)
{
    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    values.ReadConstructionSettings(store);
    ASSERT_TRUE(SelectAnalyzerTypeFromCommandLine({}, values, reporter));
    LoadSettingsAtStartUp(values, store, location, reporter);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(values.analyzerType, 10);
    EXPECT_EQ(data.channelCount, 0);
    EXPECT_TRUE(values.showInputWarning);
    EXPECT_TRUE(values.showOutputWarning);
    EXPECT_TRUE(values.maximized);
    EXPECT_TRUE(data.voltageFormat);
    EXPECT_EQ(data.parameterText, FormatPreferences(values));

    SaveSettingsAtProgramEnd(values, store, location, reporter);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(ReadAll(UserFile("TalprefRLC2600.txt")), OnDisk(FormatPreferences(values)));

    using Value = MemorySettingsStore::Value;
    const std::map<std::string, Value, std::less<>> expected = {
        {"GPIB Interface", Value(0)},
        {"GPIB address - application", Value(8)},
        {"GPIB address - analyzer", Value(8)},
        {"Analyzer - Serial Number", Value(0)},
        {"Analyzer - Model Number", Value(0x3231)},
        {"Math Scale Factor", Value(std::string("1"))},
    };
    ASSERT_EQ(store.Values().size(), 1u);  // "Settings" is never written
    EXPECT_EQ(store.Values().at("Settings2600"), expected);
}

TEST_F(LifecycleTest, ChangedValuesSurviveARestartThroughTheIniStoreAndTheFile)
{
    const std::string ini = dir.filePath("TalvernRLC.ini").toStdString();
    {
        IniSettingsStore store(ini);
        ApplicationData data;
        ApplicationValues values(data);
        ASSERT_TRUE(SelectAnalyzerTypeFromCommandLine({"/t:RLC1370"}, values, reporter));
        LoadSettingsAtStartUp(values, store, location, reporter);
        values.interfaceIndex = 4;
        values.gpibAddressAnalyzer = 22;
        values.serialNumber = 4711;
        data.mathScaleFactor = 0.25;
        values.page.marginTop = 333;
        data.defaultOutputNode = 3;
        values.Block(PreferenceBlock::Family2600) = "Sweep Type=Log\r\nOutput Impedance=50\r\n";
        SaveSettingsAtProgramEnd(values, store, location, reporter);
    }
    IniSettingsStore store(ini);
    ApplicationData data;
    ApplicationValues values(data);
    ASSERT_TRUE(SelectAnalyzerTypeFromCommandLine({"-t:RLC1370"}, values, reporter));
    LoadSettingsAtStartUp(values, store, location, reporter);
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_EQ(values.interfaceIndex, 4);
    EXPECT_EQ(values.gpibAddressAnalyzer, 22);
    EXPECT_EQ(values.serialNumber, 4711);
    EXPECT_EQ(values.modelCode, 0x1370);
    EXPECT_DOUBLE_EQ(data.mathScaleFactor, 0.25);
    EXPECT_EQ(values.page.marginTop, 333);
    EXPECT_EQ(data.defaultOutputNode, 3);
    EXPECT_EQ(values.Block(PreferenceBlock::Family2600), "Sweep Type=Log\r\nOutput Impedance=50\r\n");
    EXPECT_FALSE(values.outputLimitActive);
}

TEST_F(LifecycleTest, EveryTypeWritesItsOwnFileAndSection)
{
    for (const AnalyzerTypeInfo& type : AnalyzerTypeTable()) {
        SCOPED_TRACE(type.code);
        MemorySettingsStore store;
        ApplicationData data;
        ApplicationValues values(data);
        values.SelectAnalyzerType(type.id);
        LoadSettingsAtStartUp(values, store, location, reporter);
        SaveSettingsAtProgramEnd(values, store, location, reporter);
        const std::string name = PreferencesFileName(type.id);
        EXPECT_NE(ReadAll(UserFile(name.c_str())), "<missing>");
        ASSERT_EQ(store.Values().size(), 1u);
        EXPECT_EQ(store.Values().begin()->first, type.settingsSection);
    }
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(LifecycleTest, TheUsersFileComesFirstThenTheAllUsersFile)
{
    ApplicationData source;
    ApplicationValues written(source);
    written.SelectAnalyzerType(6);
    written.page.marginLeft = 111;
    WriteAll(CommonFile("TalprefRLC1960.txt"), OnDisk(FormatPreferences(written)));

    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    values.SelectAnalyzerType(6);
    LoadSettingsAtStartUp(values, store, location, reporter);
    EXPECT_EQ(values.page.marginLeft, 111);

    written.page.marginLeft = 222;
    WriteAll(UserFile("TalprefRLC1960.txt"), OnDisk(FormatPreferences(written)));
    LoadSettingsAtStartUp(values, store, location, reporter);
    EXPECT_EQ(values.page.marginLeft, 222);
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(LifecycleTest, The2600BlockSetsTheVoltageLimitsFor2600And1370Only)
{
    ApplicationData source;
    ApplicationValues written(source);
    written.Block(PreferenceBlock::Family2600) = "Input Impedance=1 Meg\r\nOutput Impedance=20\r\n";
    for (const char* name : {"TalprefRLC2600.txt", "TalprefRLC1370.txt", "TalprefRLC1960.txt"})
        WriteAll(UserFile(name), OnDisk(FormatPreferences(written)));

    struct Case {
        int id;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {10, {"input 0 quiet 0", "output 1 quiet 0"}},
        {11, {"input 0 quiet 0", "output 1 quiet 0"}},
        {6, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::vector<std::string> calls;
        VoltageLimitHooks hooks;
        hooks.setInput15Vmax = [&calls](bool active, bool quiet) {
            calls.push_back("input " + std::to_string(active) + " quiet " + std::to_string(quiet));
        };
        hooks.setOutput5Vmax = [&calls](bool active, bool quiet) {
            calls.push_back("output " + std::to_string(active) + " quiet " + std::to_string(quiet));
        };
        MemorySettingsStore store;
        ApplicationData data;
        ApplicationValues values(data);
        values.SelectAnalyzerType(c.id);
        LoadSettingsAtStartUp(values, store, location, reporter, hooks);
        EXPECT_EQ(calls, c.calls);
        EXPECT_EQ(values.outputLimitActive, !c.calls.empty());
        EXPECT_FALSE(values.inputLimitActive);
    }
}

TEST_F(LifecycleTest, AMalformedFileIsReportedOnceKeptAsBadAndChangesNoValue)
{
    ApplicationData source;
    ApplicationValues written(source);
    written.page.orientation = 1;
    written.Block(PreferenceBlock::Family2600) = "Input Impedance=50\r\n";
    std::string bytes = OnDisk(FormatPreferences(written));
    bytes.resize(bytes.find("Volt 2 Color"));
    WriteAll(UserFile("TalprefRLC2600.txt"), bytes);

    int hookCalls = 0;
    VoltageLimitHooks hooks;
    hooks.setInput15Vmax = [&hookCalls](bool, bool) { ++hookCalls; };
    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    values.SelectAnalyzerType(10);
    LoadSettingsAtStartUp(values, store, location, reporter, hooks);
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Error reading preferences file."});
    EXPECT_EQ(values.page.orientation, 2);
    EXPECT_EQ(values.Block(PreferenceBlock::Family2600), "");
    EXPECT_EQ(ReadAll(UserFile("TalprefRLC2600.txt.bad")), bytes);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_TRUE(values.settingsLoaded);
}

TEST_F(LifecycleTest, AnUnknownTypeEndsStartUpAndProgramEndThenWritesNothing)
{
    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    EXPECT_FALSE(SelectAnalyzerTypeFromCommandLine({"/t:RLC9999"}, values, reporter));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{InvalidAnalyzerTypeMessage()});

    // Neither after an unknown type nor when start-up stopped before the reads.
    SaveSettingsAtProgramEnd(values, store, location, reporter);
    values.SelectAnalyzerType(10);
    SaveSettingsAtProgramEnd(values, store, location, reporter);
    EXPECT_TRUE(store.Values().empty());
    EXPECT_EQ(ReadAll(UserFile("TalprefRLC2600.txt")), "<missing>");
}

TEST_F(LifecycleTest, ProgramEndRemindsOfActiveLimitsOnlyFor2600)
{
    struct Case {
        int id;
        bool input;
        bool output;
        const char* message;
    };
    const Case cases[] = {
        {10, true, true,
         "Please power off the analyzer to restore higher voltage limits.\r\nInput is vulnerable "
         "to damage above 15 Vpk until powered off.\r\nOutput is vulnerable to damage above 5 "
         "Vpk until powered off."},
        {10, true, false,
         "Please power off the analyzer to restore higher voltage limits.\r\nInput is vulnerable "
         "to damage above 15 Vpk until powered off."},
        {10, false, true,
         "Please power off the analyzer to restore higher voltage limits.\r\nOutput is "
         "vulnerable to damage above 5 Vpk until powered off."},
        {10, false, false, nullptr},
        {11, true, true, nullptr},
    };
    for (const Case& c : cases) {
        RecordingReporter shown;
        MemorySettingsStore store;
        ApplicationData data;
        ApplicationValues values(data);
        values.SelectAnalyzerType(c.id);
        LoadSettingsAtStartUp(values, store, location, shown);
        values.inputLimitActive = c.input;
        values.outputLimitActive = c.output;
        SaveSettingsAtProgramEnd(values, store, location, shown);
        EXPECT_EQ(shown.messages,
                  c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    }
}

TEST_F(LifecycleTest, AFolderThatCannotBeCreatedReportsTheWriteFailure)
{
    WriteAll(location.userFolder + "/Talvern", "a file where the folder belongs");
    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    values.SelectAnalyzerType(8);
    LoadSettingsAtStartUp(values, store, location, reporter);
    SaveSettingsAtProgramEnd(values, store, location, reporter);
    EXPECT_EQ(reporter.messages,
              std::vector<std::string>{"Error when opening preferences file for writing"});
}

TEST_F(LifecycleTest, ShowWarningSwitchesAreWrittenAtOnceAndReadAtConstruction)
{
    MemorySettingsStore store;
    ApplicationData data;
    ApplicationValues values(data);
    values.SetShowOutputWarning(false, store);
    store.WriteString("ShowVmax", "Input15Vmax", "0");  // wrong type: shown
    ApplicationValues next(data);
    next.ReadConstructionSettings(store);
    EXPECT_TRUE(next.showInputWarning);
    EXPECT_FALSE(next.showOutputWarning);
}

TEST(StandardPreferencesLocation, FollowsTheXdgDataFolders)
{
    QTemporaryDir home;
    const std::string dataHome = home.path().toStdString();
    setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
    setenv("XDG_DATA_DIRS", "/opt/a:/opt/b", 1);
    const PreferencesLocation location = StandardPreferencesLocation();
    EXPECT_EQ(location.userFolder, dataHome);
    EXPECT_EQ(location.allUsersFolders, (std::vector<std::string>{"/opt/a", "/opt/b"}));
    EXPECT_EQ(PreferencesPathForWriting(location, 6), dataHome + "/Talvern/TalprefRLC1960.txt");

    // A file only at the former place (".../Talvern/TalvernRLC/Talvern/") is read, and the next
    // write goes to the new place, which is read from then on.
    EXPECT_EQ(location.formerUserFolder, dataHome + "/Talvern/TalvernRLC");
    const std::string former = dataHome + "/Talvern/TalvernRLC/Talvern/TalprefRLC1960.txt";
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dataHome + "/Talvern/TalvernRLC/Talvern")));
    QFile formerFile(QString::fromStdString(former));
    ASSERT_TRUE(formerFile.open(QIODevice::WriteOnly));
    formerFile.close();
    EXPECT_EQ(PreferencesPathForReading(location, 6), former);
    QFile current(QString::fromStdString(PreferencesPathForWriting(location, 6)));
    ASSERT_TRUE(current.open(QIODevice::WriteOnly));
    current.close();
    EXPECT_EQ(PreferencesPathForReading(location, 6), dataHome + "/Talvern/TalprefRLC1960.txt");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_DATA_DIRS");
}

TEST(ShellCommandQueue, QueuesUntilStartUpFinishesThenReplaysInOrderUpToAFailure)
{
    ShellCommandQueue queue;
    EXPECT_TRUE(queue.Offer("[open(\"a.tal\")]"));
    EXPECT_TRUE(queue.Offer(""));
    EXPECT_TRUE(queue.Offer("[open(\"bad.txt\")]"));
    EXPECT_TRUE(queue.Offer("[open(\"c.tal\")]"));
    EXPECT_EQ(queue.Queued(), "\n[open(\"a.tal\")]\n\n[open(\"bad.txt\")]\n[open(\"c.tal\")]");

    std::vector<std::string> executed;
    EXPECT_FALSE(queue.FinishStartUp([&executed](const std::string& command) {
        executed.push_back(command);
        return command.find("bad") == std::string::npos;
    }));
    EXPECT_EQ(executed, (std::vector<std::string>{"[open(\"a.tal\")]", "[open(\"bad.txt\")]"}));
    EXPECT_TRUE(queue.StartUpFinished());
    EXPECT_FALSE(queue.Offer("[open(\"d.tal\")]"));
}

}  // namespace

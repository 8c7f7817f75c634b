// Start-up over damaged preferences and settings files: whatever a file holds, start-up ends
// with every value at its default, at most one message, and the damaged bytes kept beside the
// file as "<file>.bad".
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <random>

#include "RecordingReporter.h"
#include "app/core/ApplicationLifecycle.h"
#include "app/core/ApplicationValues.h"
#include "app/prefs/PreferencesFile.h"
#include "app/prefs/PreferencesText.h"
#include "app/settings/IniSettingsStore.h"
#include "app/settings/MemorySettingsStore.h"

namespace {

constexpr qint64 kHugeSize = 100LL * 1024 * 1024;

QByteArray RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray bytes(static_cast<qsizetype>(count), '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// A complete file of the kind, as the program writes it.
QByteArray SoundPreferences()
{
    ApplicationData data;
    ApplicationValues values(data);
    values.SelectAnalyzerType(10);
    values.Block(PreferenceBlock::Family2600) = "Input Impedance=50\r\n";
    QByteArray bytes;
    for (char c : FormatPreferences(values)) {
        if (c != '\r')
            bytes += c == '\n' ? QByteArray("\r\n") : QByteArray(1, c);
    }
    return bytes;
}

QByteArray SoundSettings()
{
    return "[Settings2600]\nGPIB%20Interface=4\nGPIB%20address%20-%20analyzer=17\n"
           "Math%20Scale%20Factor=2.5\n[Settings]\nMaximized=0\n";
}

// Every line of `bytes` made 20,000 characters long.
QByteArray LinesTooLong(const QByteArray& bytes)
{
    QByteArray result;
    for (const QByteArray& line : bytes.split('\n'))
        result += line.trimmed() + QByteArray(20000, '7') + "\r\n";
    return result;
}

QByteArray Utf16(const QByteArray& bytes)
{
    QByteArray result("\xff\xfe", 2);
    for (char c : bytes)
        result += QByteArray(1, c) + QByteArray(1, '\0');
    return result;
}

struct Damage {
    const char* name;
    QByteArray (*bytes)(const QByteArray& sound);
};

const Damage kDamages[] = {
    {"empty", [](const QByteArray&) { return QByteArray(); }},
    {"binary", [](const QByteArray&) { return RandomBytes(5000, 23); }},
    {"truncated", [](const QByteArray& sound) { return sound.left(sound.size() * 2 / 3); }},
    {"wrong encoding", [](const QByteArray& sound) { return Utf16(sound); }},
    {"every line too long", [](const QByteArray& sound) { return LinesTooLong(sound); }},
};

class DamagedFilesTest : public ::testing::Test {
protected:
    DamagedFilesTest()
    {
        location.userFolder = dir.filePath("user").toStdString();
        QDir().mkpath(dir.filePath("user/Talvern"));
    }

    QString PreferencesPath() const { return dir.filePath("user/Talvern/TalprefRLC2600.txt"); }
    QString SettingsPath() const { return dir.filePath("TalvernRLC.ini"); }

    void Write(const QString& path, const QByteArray& bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // A file of kHugeSize bytes: the sound text, then zeros.
    void WriteHuge(const QString& path, const QByteArray& sound) const
    {
        Write(path, sound);
        QFile file(path);
        ASSERT_TRUE(file.resize(kHugeSize));
    }

    // Runs the start-up reads over whatever the two files hold; returns the values' text and
    // the store-backed values that differ from a start-up without any file.
    void StartUp()
    {
        IniSettingsStore store(SettingsPath().toStdString());
        ApplicationData data;
        ApplicationValues values(data);
        values.ReadConstructionSettings(store);
        values.SelectAnalyzerType(10);
        LoadSettingsAtStartUp(values, store, location, reporter);
        text = FormatPreferences(values);
        storeValues = {values.interfaceIndex, values.gpibAddressAnalyzer, values.maximized ? 1 : 0,
                       static_cast<int>(data.mathScaleFactor * 1000)};
    }

    void ExpectDefaults()
    {
        ApplicationData data;
        ApplicationValues values(data);
        MemorySettingsStore empty;
        values.ReadConstructionSettings(empty);
        values.SelectAnalyzerType(10);
        RecordingReporter quiet;
        LoadSettingsAtStartUp(values, empty, {}, quiet);
        EXPECT_EQ(text, FormatPreferences(values));
        EXPECT_EQ(storeValues, (std::vector<int>{values.interfaceIndex, values.gpibAddressAnalyzer,
                                                 values.maximized ? 1 : 0,
                                                 static_cast<int>(data.mathScaleFactor * 1000)}));
    }

    // At most one message; with one, the damaged file's bytes are kept as "<file>.bad".
    void ExpectReportedOnceAndKept(const QString& path, qint64 size)
    {
        EXPECT_LE(reporter.messages.size(), 1u);
        if (!reporter.messages.empty()) {
            EXPECT_EQ(QFileInfo(path + ".bad").size(), size);
        }
    }

    QTemporaryDir dir;
    PreferencesLocation location;
    RecordingReporter reporter;
    std::string text;
    std::vector<int> storeValues;
};

TEST_F(DamagedFilesTest, ADamagedPreferencesFileStartsWithDefaultsAndAtMostOneMessage)
{
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        const QByteArray bytes = damage.bytes(SoundPreferences());
        Write(PreferencesPath(), bytes);
        reporter.messages.clear();
        StartUp();
        ExpectDefaults();
        ExpectReportedOnceAndKept(PreferencesPath(), bytes.size());
    }
    // A sound text followed by 100 MB is not a preferences file either.
    WriteHuge(PreferencesPath(), SoundPreferences());
    reporter.messages.clear();
    StartUp();
    ExpectDefaults();
    EXPECT_EQ(reporter.messages, std::vector<std::string>{"Error reading preferences file."});
    EXPECT_EQ(QFileInfo(PreferencesPath() + ".bad").size(), kHugeSize);
}

TEST_F(DamagedFilesTest, ADamagedSettingsFileStartsWithDefaultsAndAtMostOneMessage)
{
    for (const Damage& damage : kDamages) {
        SCOPED_TRACE(damage.name);
        const QByteArray bytes = damage.bytes(SoundSettings());
        Write(SettingsPath(), bytes);
        reporter.messages.clear();
        StartUp();
        ExpectDefaults();
        ExpectReportedOnceAndKept(SettingsPath(), bytes.size());
    }
    WriteHuge(SettingsPath(), SoundSettings());
    reporter.messages.clear();
    StartUp();
    ExpectDefaults();
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_NE(reporter.messages[0].find(SettingsPath().toStdString() + ".bad"), std::string::npos);
    EXPECT_EQ(QFileInfo(SettingsPath() + ".bad").size(), kHugeSize);
    // The store starts anew in the file's place and keeps what is written to it.
    {
        IniSettingsStore store(SettingsPath().toStdString());
        EXPECT_EQ(store.DamageMessage(), "");
        store.WriteInt("Settings2600", "GPIB Interface", 3);
    }
    EXPECT_EQ(IniSettingsStore(SettingsPath().toStdString()).GetInt("Settings2600", "GPIB Interface", 0), 3);
}

TEST_F(DamagedFilesTest, SoundFilesAreTakenWithoutAMessage)
{
    Write(PreferencesPath(), SoundPreferences());
    Write(SettingsPath(), SoundSettings());
    StartUp();
    EXPECT_TRUE(reporter.messages.empty());
    EXPECT_NE(text.find("Input Impedance=50"), std::string::npos);
    EXPECT_EQ(storeValues, (std::vector<int>{4, 17, 0, 2500}));
    EXPECT_FALSE(QFile::exists(PreferencesPath() + ".bad"));
    EXPECT_FALSE(QFile::exists(SettingsPath() + ".bad"));
}

}  // namespace

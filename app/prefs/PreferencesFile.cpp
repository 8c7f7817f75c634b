#include "app/prefs/PreferencesFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/core/AnalyzerTypes.h"
#include "app/core/ApplicationValues.h"
#include "app/core/MessageReporter.h"
#include "app/prefs/PreferencesText.h"

namespace {

const QString kFormerIdentityFolder = QStringLiteral("/Talvern/TalvernRLC");

QString PreferencesPath(const std::string& folder, int analyzerType)
{
    return QString::fromStdString(folder) + QStringLiteral("/Talvern/") +
           QString::fromStdString(PreferencesFileName(analyzerType));
}

// The text with every "\r" removed and every "\n" written as "\r\n".
QByteArray FileBytes(const std::string& text)
{
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(text.size() + text.size() / 16 + 16));
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n')
            bytes.append('\r');
        bytes.append(c);
    }
    return bytes;
}

}  // namespace

// The file sits in "<data folder>/Talvern/" itself. Earlier releases used AppDataLocation
// (GenericDataLocation + "/Talvern/TalvernRLC"), which put "Talvern" in the path twice.
PreferencesLocation StandardPreferencesLocation()
{
    PreferencesLocation location;
    const QStringList folders =
        QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        if (i == 0) {
            location.userFolder = folders[i].toStdString();
            location.formerUserFolder = (folders[i] + kFormerIdentityFolder).toStdString();
        } else {
            location.allUsersFolders.push_back(folders[i].toStdString());
        }
    }
    return location;
}

std::string PreferencesPathForReading(const PreferencesLocation& location, int analyzerType)
{
    if (PreferencesFileName(analyzerType).empty())
        return {};
    std::vector<std::string> folders{location.userFolder, location.formerUserFolder};
    folders.insert(folders.end(), location.allUsersFolders.begin(),
                   location.allUsersFolders.end());
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        const QString path = PreferencesPath(folder, analyzerType);
        if (QFileInfo(path).isFile())
            return path.toStdString();
    }
    return {};
}

std::string PreferencesPathForWriting(const PreferencesLocation& location, int analyzerType)
{
    if (location.userFolder.empty() || PreferencesFileName(analyzerType).empty())
        return {};
    QDir().mkpath(QString::fromStdString(location.userFolder) + QStringLiteral("/Talvern"));
    return PreferencesPath(location.userFolder, analyzerType).toStdString();
}

bool WritePreferencesFile(const std::string& path, const ApplicationValues& values,
                          MessageReporter& reporter)
{
    QSaveFile file(QString::fromStdString(path));
    if (path.empty() || !file.open(QIODevice::WriteOnly)) {
        reporter.ShowMessage("Error when opening preferences file for writing");
        return false;
    }
    const QByteArray bytes = FileBytes(FormatPreferences(values));
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        file.cancelWriting();
        reporter.ShowMessage("Error in closing preferences file");
        return false;
    }
    return true;
}

namespace {

// Keeps the damaged file's bytes as "<path>.bad" beside it (replacing an older copy), so that
// nothing is lost when program end writes the file anew. Best effort: a folder that cannot be
// written keeps no copy.
void KeepDamagedCopy(const QString& path)
{
    const QString copy = path + QStringLiteral(".bad");
    QFile::remove(copy);
    QFile::copy(path, copy);
}

// The writer's lines, block texts included, are far shorter than a reader's piece; a longer
// line is not from this program.
bool HasOverlongLine(std::string_view bytes)
{
    size_t lineStart = 0;
    for (size_t i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\n') {
            if (i - lineStart > kPreferencesPieceLength)
                return true;
            lineStart = i + 1;
        }
    }
    return false;
}

// Parses into scratch values first, so that a damaged text leaves every value at what it was
// before (the defaults at start-up) rather than half read.
bool ParsesCompletely(const std::string& text, const ApplicationValues& values)
{
    ApplicationData scratchData;
    ApplicationValues scratch(scratchData);
    scratch.SelectAnalyzerType(values.analyzerType);
    return ParsePreferences(text, scratch);
}

}  // namespace

bool ReadPreferencesFile(const std::string& path, ApplicationValues& values,
                         MessageReporter& reporter)
{
    const QString name = QString::fromStdString(path);
    QFile file(name);
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return false;
    const bool tooLarge = file.size() > kMaxPreferencesFileSize;
    const QByteArray bytes = tooLarge ? QByteArray() : file.read(kMaxPreferencesFileSize);
    const bool readFailed = file.error() != QFileDevice::NoError;
    file.close();
    if (readFailed) {
        KeepDamagedCopy(name);
        reporter.ShowMessage("Error when closing preferences file.");
        return false;
    }
    const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
    const std::string text = PreferencesTextAsRead(view);
    if (tooLarge || HasOverlongLine(view) || !ParsesCompletely(text, values)) {
        KeepDamagedCopy(name);
        reporter.ShowMessage("Error reading preferences file.");
        return false;
    }
    return ParsePreferences(text, values);
}

#include "app/settings/IniSettingsStore.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QVariant>

namespace {

QString Key(std::string_view section, std::string_view name)
{
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + u'/' +
           QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The stored text, or nothing for a missing value or one the file holds as another type
// (a comma-separated list, a serialized variant).
std::optional<QString> StoredText(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

// Where QSettings keeps the user's INI file of this identity.
QString UserFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Talvern/TalvernRLC.ini");
}

// Moves the file to "<file>.bad" (replacing an older copy); returns the copy's name.
std::string SetAside(const QString& path)
{
    const QString copy = path + QStringLiteral(".bad");
    QFile::remove(copy);
    if (!QFile::rename(path, copy))
        QFile::remove(path);
    return copy.toStdString();
}

// QSettings takes a last line without "=" silently, where it would reject the same line
// anywhere else: that is a file cut off in the middle of a line.
bool EndsInACutLine(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.read(IniSettingsStore::kMaxFileSize);
    const QByteArray last = bytes.mid(bytes.lastIndexOf('\n') + 1).trimmed();
    return !last.isEmpty() && !last.contains('=') && !last.startsWith('[') && !last.startsWith(';') &&
           !last.startsWith('#');
}

}  // namespace

IniSettingsStore::IniSettingsStore()
{
    Open(UserFilePath(), [] {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                           QStringLiteral("Talvern"), QStringLiteral("TalvernRLC"));
    });
}

IniSettingsStore::IniSettingsStore(const std::string& filePath)
{
    const QString path = QString::fromStdString(filePath);
    Open(path, [path] { return std::make_unique<QSettings>(path, QSettings::IniFormat); });
}

// QSettings reads the whole file when it is made, reads what it can of a damaged one and
// writes the rest back over it at the first write. So a file too large to be this program's
// is moved aside to "<file>.bad" before QSettings sees it, one it cannot parse or that was cut
// off right after, and the store starts empty.
void IniSettingsStore::Open(const QString& path, const std::function<std::unique_ptr<QSettings>()>& make)
{
    if (QFileInfo(path).size() > kMaxFileSize)
        m_setAside = SetAside(path);
    m_settings = make();
    if (m_settings->status() == QSettings::FormatError || EndsInACutLine(path)) {
        m_settings.reset();
        m_setAside = SetAside(path);
        m_settings = make();
    }
}

std::string IniSettingsStore::DamageMessage() const
{
    if (m_setAside.empty())
        return {};
    return "The settings file was damaged and has been set aside as\r\n" + m_setAside +
           "\r\nThe program starts with default settings.";
}

IniSettingsStore::~IniSettingsStore() = default;

void IniSettingsStore::WriteInt(std::string_view section, std::string_view name, int value)
{
    m_settings->setValue(Key(section, name), QString::number(value));
    m_settings->sync();
}

void IniSettingsStore::WriteString(std::string_view section, std::string_view name,
                                   std::string_view value)
{
    m_settings->setValue(Key(section, name),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    m_settings->sync();
}

std::string IniSettingsStore::FilePath() const
{
    return m_settings->fileName().toStdString();
}

std::optional<int> IniSettingsStore::ReadInt(std::string_view section,
                                             std::string_view name) const
{
    const std::optional<QString> text = StoredText(*m_settings, Key(section, name));
    if (!text || text->size() > 16)
        return std::nullopt;
    bool ok = false;
    const int value = text->toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<std::string> IniSettingsStore::ReadString(std::string_view section,
                                                        std::string_view name) const
{
    const std::optional<QString> text = StoredText(*m_settings, Key(section, name));
    if (!text || static_cast<size_t>(text->size()) > kMaxStringLength)
        return std::nullopt;
    return text->toStdString();
}

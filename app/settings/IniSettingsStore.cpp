#include "app/settings/IniSettingsStore.h"

#include <QSettings>
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

}  // namespace

IniSettingsStore::IniSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Talvern"),
                                             QStringLiteral("TalvernRLC")))
{
}

IniSettingsStore::IniSettingsStore(const std::string& filePath)
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(filePath),
                                             QSettings::IniFormat))
{
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

#pragma once
// The settings store as an INI file (QSettings), with the registry's section and value names.
// The file has no types: integers are written as decimal text, an integer read accepts only
// text that is a whole 32-bit decimal number, and a string read accepts any single text value.
// A file that does not parse, or is larger than kMaxFileSize, is moved aside to "<file>.bad" at
// opening and the store starts empty.
#include <functional>
#include <memory>
#include <string>

#include "app/settings/SettingsStore.h"

class QSettings;
class QString;

class IniSettingsStore : public SettingsStore {
public:
    static constexpr long long kMaxFileSize = 4 * 1024 * 1024;

    // The user's store, $XDG_CONFIG_HOME/Talvern/TalvernRLC.ini.
    IniSettingsStore();
    // A store in the given INI file (tests, other locations).
    explicit IniSettingsStore(const std::string& filePath);
    ~IniSettingsStore() override;
    IniSettingsStore(const IniSettingsStore&) = delete;
    IniSettingsStore& operator=(const IniSettingsStore&) = delete;

    // Each write reaches the file at once, as a registry write would.
    void WriteInt(std::string_view section, std::string_view name, int value) override;
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    std::string FilePath() const;
    std::string DamageMessage() const override;

protected:
    std::optional<int> ReadInt(std::string_view section, std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view section,
                                          std::string_view name) const override;

private:
    void Open(const QString& path, const std::function<std::unique_ptr<QSettings>()>& make);

    std::unique_ptr<QSettings> m_settings;
    std::string m_setAside;  // the ".bad" copy made at opening, or empty
};

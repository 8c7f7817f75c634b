#include "app/settings/SettingsStore.h"

int SettingsStore::GetInt(std::string_view section, std::string_view name, int fallback, int min,
                          int max) const
{
    const std::optional<int> value = ReadInt(section, name);
    if (!value || *value < min || *value > max)
        return fallback;
    return *value;
}

std::string SettingsStore::GetString(std::string_view section, std::string_view name,
                                     std::string_view fallback) const
{
    std::optional<std::string> value = ReadString(section, name);
    if (!value || value->size() > kMaxStringLength)
        return std::string(fallback);
    return std::move(*value);
}

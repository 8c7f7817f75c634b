#include "app/settings/MemorySettingsStore.h"

void MemorySettingsStore::WriteInt(std::string_view section, std::string_view name, int value)
{
    m_values[std::string(section)][std::string(name)] = value;
}

void MemorySettingsStore::WriteString(std::string_view section, std::string_view name,
                                      std::string_view value)
{
    m_values[std::string(section)][std::string(name)] = std::string(value);
}

const MemorySettingsStore::Value* MemorySettingsStore::Find(std::string_view section,
                                                            std::string_view name) const
{
    const auto s = m_values.find(section);
    if (s == m_values.end())
        return nullptr;
    const auto v = s->second.find(name);
    return v == s->second.end() ? nullptr : &v->second;
}

std::optional<int> MemorySettingsStore::ReadInt(std::string_view section,
                                                std::string_view name) const
{
    const Value* value = Find(section, name);
    if (!value || !std::holds_alternative<int>(*value))
        return std::nullopt;
    return std::get<int>(*value);
}

std::optional<std::string> MemorySettingsStore::ReadString(std::string_view section,
                                                           std::string_view name) const
{
    const Value* value = Find(section, name);
    if (!value || !std::holds_alternative<std::string>(*value))
        return std::nullopt;
    return std::get<std::string>(*value);
}

#pragma once
// A settings store held in memory, typed like the registry it stands in for: an integer read
// of a string value (or the other way round) is a wrong-type read. Used by tests.
#include <map>
#include <string>
#include <variant>

#include "app/settings/SettingsStore.h"

class MemorySettingsStore : public SettingsStore {
public:
    using Value = std::variant<int, std::string>;

    void WriteInt(std::string_view section, std::string_view name, int value) override;
    void WriteString(std::string_view section, std::string_view name,
                     std::string_view value) override;

    // The stored value itself, for inspection; nullptr when missing.
    const Value* Find(std::string_view section, std::string_view name) const;
    // Every stored value, keyed by section then name.
    const std::map<std::string, std::map<std::string, Value, std::less<>>, std::less<>>&
    Values() const { return m_values; }

protected:
    std::optional<int> ReadInt(std::string_view section, std::string_view name) const override;
    std::optional<std::string> ReadString(std::string_view section,
                                          std::string_view name) const override;

private:
    std::map<std::string, std::map<std::string, Value, std::less<>>, std::less<>> m_values;
};

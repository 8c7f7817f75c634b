#pragma once
// The per-user settings store: a tree of sections holding named 32-bit integers and strings.
// Reads are checked: a missing value, a value of the wrong type, an integer outside the
// caller's range or an overlong string yields the caller's default.
#include <climits>
#include <optional>
#include <string>
#include <string_view>

class SettingsStore {
public:
    // Longest string value a read accepts; longer stored text reads as the default.
    static constexpr size_t kMaxStringLength = 4096;

    virtual ~SettingsStore() = default;

    int GetInt(std::string_view section, std::string_view name, int fallback,
               int min = INT_MIN, int max = INT_MAX) const;
    std::string GetString(std::string_view section, std::string_view name,
                          std::string_view fallback) const;

    // The message for a damaged store that was set aside at opening; empty when there was none.
    virtual std::string DamageMessage() const { return {}; }

    virtual void WriteInt(std::string_view section, std::string_view name, int value) = 0;
    virtual void WriteString(std::string_view section, std::string_view name,
                             std::string_view value) = 0;

protected:
    // The raw stored value, or nothing when it is missing or not of that type.
    virtual std::optional<int> ReadInt(std::string_view section, std::string_view name) const = 0;
    virtual std::optional<std::string> ReadString(std::string_view section,
                                                  std::string_view name) const = 0;
};

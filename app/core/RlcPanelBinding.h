#pragma once
// The RLC control panel's view of the application: its values as RlcProgramValues and the
// "RLC Settings" section of the settings store as RlcSettingsSection.
#include "rlc/ui/RlcPanelHost.h"

class ApplicationValues;
class SettingsStore;

RlcProgramValues RlcValuesOf(ApplicationValues& values);

class StoreRlcSettings final : public RlcSettingsSection {
public:
    explicit StoreRlcSettings(SettingsStore& store) : m_store(store) {}

    int GetInt(std::string_view name, int fallback, int min, int max) const override;
    std::string GetString(std::string_view name, std::string_view fallback) const override;
    void WriteInt(std::string_view name, int value) override;
    void WriteString(std::string_view name, std::string_view value) override;

private:
    SettingsStore& m_store;
};

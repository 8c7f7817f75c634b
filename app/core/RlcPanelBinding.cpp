#include "app/core/RlcPanelBinding.h"

#include "app/core/ApplicationValues.h"
#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"

RlcProgramValues RlcValuesOf(ApplicationValues& values)
{
    return {values.analyzerType,     values.optionBits,       values.referenceResistor,
            values.frequencyMinimum, values.frequencyMaximum, values.shared};
}

int StoreRlcSettings::GetInt(std::string_view name, int fallback, int min, int max) const
{
    return m_store.GetInt(settings_names::kRlcSettings, name, fallback, min, max);
}

std::string StoreRlcSettings::GetString(std::string_view name, std::string_view fallback) const
{
    return m_store.GetString(settings_names::kRlcSettings, name, fallback);
}

void StoreRlcSettings::WriteInt(std::string_view name, int value)
{
    m_store.WriteInt(settings_names::kRlcSettings, name, value);
}

void StoreRlcSettings::WriteString(std::string_view name, std::string_view value)
{
    m_store.WriteString(settings_names::kRlcSettings, name, value);
}

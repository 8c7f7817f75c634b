#include "app/application/VoltageLimitWarnings.h"

#include "app/core/ApplicationValues.h"
#include "app/dialogs/VoltageWarningDlg.h"
#include "views/command/CommandIds.h"

VoltageLimitWarnings::VoltageLimitWarnings(ApplicationValues& values, SettingsStore& store, Hooks hooks)
    : m_values(values), m_store(store), m_hooks(std::move(hooks))
{
}

bool VoltageLimitWarnings::ForThisType() const
{
    return m_values.analyzerType == kAnalyzer2600;
}

bool VoltageLimitWarnings::CommandsEnabled() const
{
    return ForThisType();
}

void VoltageLimitWarnings::SetInput15Vmax(bool active, bool quiet)
{
    m_values.inputLimitActive = active;
    if (!ForThisType())
        return;
    if (m_hooks.setPaneText)
        m_hooks.setPaneText(cmd::PaneInputLimit, active ? "Input 15 Vpk max!" : "");
    if (active && m_values.showInputWarning && !quiet)
        ShowInputWarning();
}

void VoltageLimitWarnings::SetOutput5Vmax(bool active, bool quiet)
{
    m_values.outputLimitActive = active;
    if (!ForThisType())
        return;
    if (m_hooks.setPaneText)
        m_hooks.setPaneText(cmd::PaneOutputLimit, active ? "Output 5 Vpk max!" : "");
    if (active && m_values.showOutputWarning && !quiet)
        ShowOutputWarning();
}

void VoltageLimitWarnings::OnInputPane()
{
    if (m_values.inputLimitActive)
        ShowInputWarning();
}

void VoltageLimitWarnings::OnOutputPane()
{
    if (m_values.outputLimitActive)
        ShowOutputWarning();
}

void VoltageLimitWarnings::ToggleShowInputWarning()
{
    m_values.SetShowInputWarning(!m_values.showInputWarning, m_store);
}

void VoltageLimitWarnings::ToggleShowOutputWarning()
{
    m_values.SetShowOutputWarning(!m_values.showOutputWarning, m_store);
}

void VoltageLimitWarnings::ShowInputWarning()
{
    CInput15VmaxDlg dialog(
        m_values.showInputWarning, [this](bool show) { m_values.SetShowInputWarning(show, m_store); },
        m_hooks.owner ? m_hooks.owner() : nullptr);
    dialog.exec();
}

void VoltageLimitWarnings::ShowOutputWarning()
{
    COutput5VmaxDlg dialog(
        m_values.showOutputWarning, [this](bool show) { m_values.SetShowOutputWarning(show, m_store); },
        m_hooks.owner ? m_hooks.owner() : nullptr);
    dialog.exec();
}

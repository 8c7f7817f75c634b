#include "app/application/AnalyzerDialogs.h"

#include <QWidget>

#include "app/application/AnalyzerDialogFactory.h"
#include "app/application/AnalyzerKeyForwarding.h"
#include "app/core/ApplicationValues.h"
#include "app/core/MessageReporter.h"

AnalyzerDialogs::AnalyzerDialogs(ApplicationValues& values, MessageReporter& reporter)
    : m_values(values), m_reporter(reporter)
{
    InstallAnalyzerKeyHook(*this);
}

AnalyzerDialogs::~AnalyzerDialogs()
{
    RemoveAnalyzerKeyHook();
}

AnalyzerControl* AnalyzerDialogs::Family(AnalyzerFamily family) const
{
    const auto it = m_dialogs.find(family);
    return it != m_dialogs.end() && it->second->Window() ? it->second.get() : nullptr;
}

AnalyzerControl* AnalyzerDialogs::CurrentFamily() const
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(m_values.analyzerType);
    return type ? Family(type->family) : nullptr;
}

AnalyzerControl* AnalyzerDialogs::LastShown() const
{
    return m_lastShown && m_lastShown->Window() ? m_lastShown : nullptr;
}

bool AnalyzerDialogs::LastShownIsSweeping() const
{
    const AnalyzerControl* dialog = LastShown();
    return dialog && dialog->IsSweeping();
}

bool AnalyzerDialogs::ShowAnalyzerDialog(ShowState state, const AnalyzerDialogContext& context)
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(m_values.analyzerType);
    if (!type) {
        m_reporter.ShowMessage("Invalid Analyzer Type Selected.\r\n Go to View->Settings.");
        return false;
    }
    const AnalyzerFamily family = type->family;
    const bool is2600 = family == AnalyzerFamily::A2600;
    AnalyzerControl* dialog = Family(family);
    if (dialog) {
        m_lastShown = dialog;
        dialog->Window()->raise();
        dialog->Window()->activateWindow();
        if (is2600)
            dialog->SetChannelCount(m_values.shared.channelCount);
    } else {
        std::unique_ptr<AnalyzerControl> created = CreateAnalyzerDialog(family, context);
        if (!created) {
            m_reporter.ShowMessage(AnalyzerDialogNotAvailableText(family));
            return false;
        }
        dialog = created.get();
        m_dialogs[family] = std::move(created);
        m_lastShown = dialog;
        const std::string& block = m_values.Block(FamilyPreferenceBlock(family));
        bool started = true;
        if (is2600) {
            dialog->SetChannelCount(m_values.shared.channelCount);
            started = dialog->ApplyPreferenceBlock(block);
        } else if (!block.empty()) {
            dialog->ApplyPreferenceBlock(block);
        }
        if (!started || !dialog->Window()) {
            // A dialog that could not start goes; the next request creates it anew.
            m_lastShown = nullptr;
            m_dialogs.erase(family);
            return false;
        }
    }
    dialog->Window()->setVisible(state == ShowState::Normal);
    return true;
}

void AnalyzerDialogs::DestroyCurrentFamily()
{
    const AnalyzerTypeInfo* type = FindAnalyzerType(m_values.analyzerType);
    if (!type)
        return;
    const auto it = m_dialogs.find(type->family);
    if (it == m_dialogs.end())
        return;
    if (m_lastShown == it->second.get())
        m_lastShown = nullptr;
    m_dialogs.erase(it);
}

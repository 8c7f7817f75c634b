#include "rlc/adapters/HookedWorkspace.h"

bool HookedWorkspace::HasActiveDisplay() const
{
    return m_hooks.hasActiveDisplay && m_hooks.hasActiveDisplay();
}

CTalDocument* HookedWorkspace::ActiveDocument()
{
    return m_hooks.activeDocument ? m_hooks.activeDocument() : nullptr;
}

void HookedWorkspace::HideDataSet(int index)
{
    if (m_hooks.hideDataSet)
        m_hooks.hideDataSet(index);
}

void HookedWorkspace::CloseActiveDocument()
{
    if (m_hooks.closeActiveDocument)
        m_hooks.closeActiveDocument();
}

CTalDocument* HookedWorkspace::OpenImpedanceDocument()
{
    return m_hooks.openImpedanceDocument ? m_hooks.openImpedanceDocument() : nullptr;
}

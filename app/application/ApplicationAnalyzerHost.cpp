#include "app/application/ApplicationAnalyzerHost.h"

#include "views/base/TalView.h"

ApplicationAnalyzerHost::ApplicationAnalyzerHost(const AnalyzerDialogContext& context)
    : m_values(context.values),
      m_block(FamilyPreferenceBlock(context.family)),
      m_activeDisplay(context.activeDisplay),
      m_setInput15Vmax(context.setInput15Vmax),
      m_setOutput5Vmax(context.setOutput5Vmax)
{
}

int ApplicationAnalyzerHost::AnalyzerType() const
{
    return m_values.analyzerType;
}

int ApplicationAnalyzerHost::InterfaceIndex() const
{
    return m_values.interfaceIndex;
}

int ApplicationAnalyzerHost::GpibAddressApplication() const
{
    return m_values.gpibAddressApplication;
}

int ApplicationAnalyzerHost::GpibAddressAnalyzer() const
{
    return m_values.gpibAddressAnalyzer;
}

void ApplicationAnalyzerHost::SetGpibAddressAnalyzer(int address)
{
    m_values.gpibAddressAnalyzer = address;
}

int ApplicationAnalyzerHost::ModelCode() const
{
    return m_values.modelCode;
}

int ApplicationAnalyzerHost::SerialNumber() const
{
    return m_values.serialNumber;
}

void ApplicationAnalyzerHost::SetOptionBits(int bits)
{
    m_values.optionBits = bits;
}

void ApplicationAnalyzerHost::SetOutput5Vmax(bool active, bool quiet)
{
    if (m_setOutput5Vmax)
        m_setOutput5Vmax(active, quiet);
    else
        m_values.outputLimitActive = active;
}

void ApplicationAnalyzerHost::SetInput15Vmax(bool active, bool quiet)
{
    if (m_setInput15Vmax)
        m_setInput15Vmax(active, quiet);
    else
        m_values.inputLimitActive = active;
}

std::string& ApplicationAnalyzerHost::PreferenceBlock()
{
    return m_values.Block(m_block);
}

SweepTarget* ApplicationAnalyzerHost::ActiveDisplay()
{
    auto* view = dynamic_cast<CTalView*>(m_activeDisplay ? m_activeDisplay() : nullptr);
    return view ? &view->GetSweepTarget() : nullptr;
}

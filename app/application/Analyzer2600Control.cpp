#include "app/application/Analyzer2600Control.h"

#include "analyzer/dialogs/Analyzer2600Dlg.h"
#include "app/core/ApplicationValues.h"

Analyzer2600Control::Analyzer2600Control(const AnalyzerDialogContext& context)
    : m_values(context.values), m_host(std::make_unique<ApplicationAnalyzerHost>(context))
{
    m_dialog = new CAnalyzer2600Dlg(*m_host, context.parent);
    if (context.progress)
        QObject::connect(m_dialog, &CAnalyzer2600Dlg::progressChanged, m_dialog,
                         [progress = context.progress](int percent) { progress(percent); });
}

Analyzer2600Control::~Analyzer2600Control()
{
    // The dialog holds a reference to the host: it goes first.
    delete m_dialog.data();
}

QWidget* Analyzer2600Control::Window()
{
    return m_dialog.data();
}

bool Analyzer2600Control::IsSweeping() const
{
    return m_dialog && m_dialog->Engine().IsSweeping();
}

bool Analyzer2600Control::IsBusy() const
{
    return m_dialog && m_dialog->Engine().IsMeasuring();
}

void Analyzer2600Control::StopMeasurement()
{
    if (!m_dialog)
        return;
    if (m_dialog->Engine().IsSweeping())
        m_dialog->Engine().OnButtonRunSweep();
    else if (m_dialog->Engine().InStartFrequencyMode())
        m_dialog->Engine().OnButtonTakeData();
}

void Analyzer2600Control::SetChannelCount(int count)
{
    if (m_dialog)
        m_dialog->Engine().SetChannelCount(count);
}

bool Analyzer2600Control::ApplyPreferenceBlock(const std::string& block)
{
    if (!m_dialog || !m_dialog->Engine().InitDialogStage2(block))
        return false;
    if (m_dialog->Engine().ChannelCount() > 0)
        m_values.shared.channelCount = m_dialog->Engine().ChannelCount();
    return true;
}

void Analyzer2600Control::OnAnalyzerAddressChanged()
{
    if (m_dialog)
        m_dialog->Engine().OnAnalyzerAddressChanged();
}

void Analyzer2600Control::StoreParameters()
{
    if (m_dialog)
        m_dialog->Engine().DumpParameters(m_host->PreferenceBlock());
}

AnalyzerDialog* Analyzer2600Control::Engine()
{
    return m_dialog ? &m_dialog->Engine() : nullptr;
}

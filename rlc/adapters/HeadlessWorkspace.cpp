#include "rlc/adapters/HeadlessWorkspace.h"

#include "data/TalDocument.h"

HeadlessWorkspace::HeadlessWorkspace(double referenceResistor, std::function<void(SweepTarget*)> activeTargetChanged)
    : m_targetHost(referenceResistor), m_activeTargetChanged(std::move(activeTargetChanged))
{
}

HeadlessWorkspace::~HeadlessWorkspace()
{
    m_open.clear();
    TellActive();
}

CTalDocument* HeadlessWorkspace::ActiveDocument()
{
    return m_open.empty() ? nullptr : m_open.back().document.get();
}

void HeadlessWorkspace::CloseActiveDocument()
{
    if (m_open.empty())
        return;
    m_open.pop_back();
    TellActive();
}

CTalDocument* HeadlessWorkspace::OpenImpedanceDocument()
{
    Entry entry;
    entry.document = std::make_unique<CTalDocument>();
    entry.document->OnNewDocument();
    entry.target = std::make_unique<SweepTarget>(*entry.document, &m_targetHost);
    m_open.push_back(std::move(entry));
    TellActive();
    return ActiveDocument();
}

void HeadlessWorkspace::TellActive()
{
    if (m_activeTargetChanged)
        m_activeTargetChanged(m_open.empty() ? nullptr : m_open.back().target.get());
}

#include "app/frame/ChildFrame.h"

#include <QCloseEvent>

#include "app/frame/DisplayFactory.h"
#include "app/frame/DocManager.h"
#include "app/frame/DocTemplate.h"
#include "data/TalDocument.h"

CChildFrame::CChildFrame(CTalDocument* doc, CDocTemplate& docTemplate, CDocManager& manager)
    : m_doc(doc), m_template(docTemplate), m_manager(manager)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    m_display = CreateDisplay(docTemplate.Kind(), doc, this);
    setWidget(m_display);
    if (CDocumentView* view = View())
        doc->AddView(view);
}

CChildFrame::~CChildFrame()
{
    // The display goes first, while its document still exists.
    if (CDocumentView* view = View())
        m_doc->RemoveView(view);
    delete m_display;
    m_display = nullptr;
    m_manager.OnFrameDestroyed(this);
}

DisplayKind CChildFrame::Kind() const
{
    return m_template.Kind();
}

CDocumentView* CChildFrame::View() const
{
    return dynamic_cast<CDocumentView*>(m_display);
}

CommandTarget* CChildFrame::DisplayTarget() const
{
    return dynamic_cast<CommandTarget*>(m_display);
}

void CChildFrame::CloseWithoutPrompt()
{
    m_closingDocument = true;
    close();
}

bool CChildFrame::OnCommand(int)
{
    return false;
}

bool CChildFrame::OnUpdateCommand(int, CommandUi&)
{
    return false;
}

void CChildFrame::closeEvent(QCloseEvent* event)
{
    if (m_manager.AnalyzerSweeping() || (!m_closingDocument && !m_manager.CanCloseFrame(this))) {
        m_closingDocument = false;
        event->ignore();
        return;
    }
    m_manager.OnFrameClosing(this);
    QMdiSubWindow::closeEvent(event);
}

#include "app/frame/DocManager.h"

#include <QFileInfo>
#include <QMdiArea>

#include <algorithm>

#include "app/frame/ChildFrame.h"
#include "app/frame/DocumentCommands.h"
#include "app/platform/PrompterReporter.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"

struct CDocManager::Entry {
    std::unique_ptr<CTalDocument> doc;
    std::unique_ptr<DocumentCommands> commands;
    std::vector<CChildFrame*> frames;  // open ones, in the order they were created
};

namespace {

std::string AbsolutePath(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    const QString canonical = info.canonicalFilePath();
    return (canonical.isEmpty() ? info.absoluteFilePath() : canonical).toStdString();
}

std::string FileTitle(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).fileName().toStdString();
}

}  // namespace

CDocManager::CDocManager(QMdiArea& area, Hooks hooks) : m_area(area), m_hooks(std::move(hooks))
{
    QObject::connect(&m_area, &QMdiArea::subWindowActivated, &m_area, [this](QMdiSubWindow* window) {
        if (window)
            m_lastActivated = window;
    });
}

CDocManager::~CDocManager()
{
    // Frames, closed or not, hold displays of the documents: they go first.
    for (CChildFrame* frame : m_area.findChildren<CChildFrame*>())
        delete frame;
}

void CDocManager::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate)
{
    m_templates.push_back(std::move(docTemplate));
}

CDocTemplate* CDocManager::Template(int index) const
{
    return index >= 0 && index < TemplateCount() ? m_templates[static_cast<size_t>(index)].get() : nullptr;
}

CDocManager::Entry* CDocManager::Find(const CTalDocument* doc) const
{
    for (const auto& entry : m_documents)
        if (entry->doc.get() == doc)
            return entry.get();
    return nullptr;
}

CDocManager::Entry& CDocManager::AddDocument()
{
    auto entry = std::make_unique<Entry>();
    entry->doc = std::make_unique<CTalDocument>();
    entry->commands = std::make_unique<DocumentCommands>(*this, *entry->doc);
    m_documents.push_back(std::move(entry));
    return *m_documents.back();
}

void CDocManager::RemoveDocument(const CTalDocument* doc)
{
    std::erase_if(m_documents, [doc](const auto& entry) { return entry->doc.get() == doc; });
}

CChildFrame* CDocManager::ShowFrame(CChildFrame* frame)
{
    // Before the main window is first shown its layout has not run: its own size stands in.
    const QSize area = m_area.isVisible() ? m_area.viewport()->size() : m_area.window()->size() - QSize(0, 120);
    frame->resize(std::max(CChildFrame::kMinimumWidth, area.width() * 3 / 4),
                  std::max(CChildFrame::kMinimumHeight, area.height() * 3 / 4));
    frame->show();
    m_area.setActiveSubWindow(frame);
    frame->widget()->setFocus();
    UpdateFrameTitles(frame->Document());
    if (m_hooks.framesChanged)
        m_hooks.framesChanged();
    return frame;
}

CChildFrame* CDocManager::OpenNewDocument(CDocTemplate& docTemplate)
{
    Entry& entry = AddDocument();
    entry.doc->OnNewDocument();
    entry.doc->m_title = docTemplate.NextUntitledTitle();
    return CreateFrame(entry.doc.get(), docTemplate);
}

CChildFrame* CDocManager::OpenDocumentFile(const std::string& path, CDocTemplate& docTemplate)
{
    const std::string absolute = AbsolutePath(path);
    for (const auto& entry : m_documents) {
        if (entry->doc->m_pathName == absolute && !entry->frames.empty()) {
            CChildFrame* frame = entry->frames.front();
            m_area.setActiveSubWindow(frame);
            return frame;
        }
    }

    Entry& entry = AddDocument();
    CTalDocument* doc = entry.doc.get();
    auto* frame = new CChildFrame(doc, docTemplate, *this);
    entry.frames.push_back(frame);
    m_area.addSubWindow(frame);
    std::string error;
    if (!doc->LoadFromFile(absolute, error)) {
        delete frame;  // the document goes with its only frame
        prompter().Message(error, kApplicationCaption, PromptButtons::Ok, PromptIcon::Warning);
        return nullptr;
    }
    doc->m_pathName = absolute;
    doc->m_title = FileTitle(absolute);
    if (m_hooks.fileOpened)
        m_hooks.fileOpened(absolute);
    return ShowFrame(frame);
}

CChildFrame* CDocManager::CreateFrame(CTalDocument* doc, CDocTemplate& docTemplate)
{
    Entry* entry = Find(doc);
    if (!entry)
        return nullptr;
    auto* frame = new CChildFrame(doc, docTemplate, *this);
    entry->frames.push_back(frame);
    m_area.addSubWindow(frame);
    return ShowFrame(frame);
}

std::vector<CTalDocument*> CDocManager::Documents() const
{
    std::vector<CTalDocument*> docs;
    for (const auto& entry : m_documents)
        if (!entry->frames.empty())
            docs.push_back(entry->doc.get());
    return docs;
}

std::vector<CChildFrame*> CDocManager::Frames(const CTalDocument* doc) const
{
    const Entry* entry = Find(doc);
    return entry ? entry->frames : std::vector<CChildFrame*>{};
}

CChildFrame* CDocManager::FrameOfFirstDisplay(const CTalDocument* doc) const
{
    const CDocumentView* first = doc->GetFirstDisplayView();
    for (CChildFrame* frame : Frames(doc))
        if (frame->View() == first)
            return frame;
    return nullptr;
}

CChildFrame* CDocManager::ActiveFrame() const
{
    QMdiSubWindow* current = m_area.currentSubWindow();
    if (!current && m_area.subWindowList().contains(m_lastActivated))
        current = m_lastActivated;
    auto* frame = dynamic_cast<CChildFrame*>(current);
    if (!frame)
        return nullptr;
    const Entry* entry = Find(frame->Document());
    return entry && std::find(entry->frames.begin(), entry->frames.end(), frame) != entry->frames.end()
               ? frame
               : nullptr;
}

CommandTarget* CDocManager::DocumentTarget(const CTalDocument* doc) const
{
    const Entry* entry = Find(doc);
    return entry ? entry->commands.get() : nullptr;
}

bool CDocManager::SaveModified(CTalDocument* doc)
{
    doc->SaveModified();
    if (!doc->IsModified())
        return true;
    const std::string name = doc->m_pathName.empty() ? doc->m_title : doc->m_pathName;
    switch (prompter().Message("Save changes to " + name + "?", kApplicationCaption,
                               PromptButtons::YesNoCancel, PromptIcon::Warning)) {
    case PromptResult::Yes:
        return DoSave(doc, false);
    case PromptResult::No:
        return true;
    default:
        return false;
    }
}

bool CDocManager::SaveAllModified()
{
    for (CTalDocument* doc : Documents())
        if (!SaveModified(doc))
            return false;
    return true;
}

bool CDocManager::DoSave(CTalDocument* doc, bool askForName)
{
    std::string path = doc->m_pathName;
    if (askForName || path.empty()) {
        FileRequest request;
        request.caption = "Save As";
        request.filter = DocumentFileFilter() + "All Files (*.*)|*.*||";
        request.defaultExtension = "tal";
        request.defaultName = path.empty() ? doc->m_title + ".tal" : path;
        const std::optional<std::string> chosen = prompter().SaveFileName(request);
        if (!chosen || chosen->empty())
            return false;
        path = *chosen;
    }
    if (m_hooks.beforeSave)
        m_hooks.beforeSave();
    std::string error;
    if (!doc->SaveToFile(path, error)) {
        prompter().Message(error, kApplicationCaption, PromptButtons::Ok, PromptIcon::Warning);
        return false;
    }
    doc->m_pathName = AbsolutePath(path);
    doc->m_title = FileTitle(doc->m_pathName);
    if (m_hooks.fileOpened)
        m_hooks.fileOpened(doc->m_pathName);
    UpdateFrameTitles(doc);
    if (m_hooks.framesChanged)
        m_hooks.framesChanged();
    return true;
}

void CDocManager::CloseDocument(CTalDocument* doc)
{
    for (CChildFrame* frame : Frames(doc))
        frame->CloseWithoutPrompt();
}

bool CDocManager::CloseAllDocuments()
{
    for (CTalDocument* doc : Documents())
        CloseDocument(doc);
    return Documents().empty();
}

bool CDocManager::AnalyzerSweeping() const
{
    return m_hooks.analyzerSweeping && m_hooks.analyzerSweeping();
}

bool CDocManager::CanCloseFrame(CChildFrame* frame)
{
    if (Frames(frame->Document()).size() > 1)
        return true;
    return SaveModified(frame->Document());
}

void CDocManager::OnFrameClosing(CChildFrame* frame)
{
    if (Entry* entry = Find(frame->Document())) {
        // The display leaves the document now; its window goes later.
        if (CDocumentView* view = frame->View())
            entry->doc->RemoveView(view);
        std::erase(entry->frames, frame);
        UpdateFrameTitles(entry->doc.get());
    }
    if (m_hooks.framesChanged)
        m_hooks.framesChanged();
}

void CDocManager::OnFrameDestroyed(CChildFrame* frame)
{
    Entry* entry = Find(frame->Document());
    if (!entry)
        return;
    const bool wasOpen = std::find(entry->frames.begin(), entry->frames.end(), frame) != entry->frames.end();
    std::erase(entry->frames, frame);
    bool framesLeft = !entry->frames.empty();
    // Frames closed but not yet destroyed still hold displays of the document.
    for (CChildFrame* other : m_area.findChildren<CChildFrame*>())
        if (other != frame && other->Document() == frame->Document())
            framesLeft = true;
    if (!framesLeft)
        RemoveDocument(frame->Document());
    if (wasOpen && m_hooks.framesChanged)
        m_hooks.framesChanged();
}

void CDocManager::UpdateFrameTitles(const CTalDocument* doc)
{
    const std::vector<CChildFrame*> frames = Frames(doc);
    for (size_t i = 0; i < frames.size(); ++i) {
        std::string title = doc->m_title;
        if (frames.size() > 1)
            title += ":" + std::to_string(i + 1);
        frames[i]->setWindowTitle(QString::fromStdString(title));
    }
}

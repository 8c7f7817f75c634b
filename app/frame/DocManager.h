#pragma once
// The document manager: the registered templates, the open documents (owned here) and their
// child frames in the main window's MDI area, and the framework's document commands: new,
// open, save, save as, close, and the save question before a modified document goes.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/frame/DocTemplate.h"

class QMdiSubWindow;

class CChildFrame;
class CTalDocument;
class CommandTarget;
class QMdiArea;

class CDocManager {
public:
    struct Hooks {
        std::function<bool()> analyzerSweeping;               // child frames refuse to close
        std::function<void()> beforeSave;                     // refresh what documents store
        std::function<void(const std::string&)> fileOpened;   // recent-file list
        std::function<void()> framesChanged;                  // titles and menus follow
    };

    CDocManager(QMdiArea& area, Hooks hooks);
    ~CDocManager();
    CDocManager(const CDocManager&) = delete;
    CDocManager& operator=(const CDocManager&) = delete;

    void AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    int TemplateCount() const { return static_cast<int>(m_templates.size()); }
    CDocTemplate* Template(int index) const;  // nullptr outside the list

    // A new empty document in the template's display, shown and active.
    CChildFrame* OpenNewDocument(CDocTemplate& docTemplate);
    // Loads a file into a new document in the template's display; an open document of the same
    // file is activated instead. Shows the load error and returns nullptr on failure.
    CChildFrame* OpenDocumentFile(const std::string& path, CDocTemplate& docTemplate);
    // A further display of an open document, shown and active.
    CChildFrame* CreateFrame(CTalDocument* doc, CDocTemplate& docTemplate);

    std::vector<CTalDocument*> Documents() const;
    std::vector<CChildFrame*> Frames(const CTalDocument* doc) const;
    // The frame of the document's first display view.
    CChildFrame* FrameOfFirstDisplay(const CTalDocument* doc) const;
    CChildFrame* ActiveFrame() const;
    CommandTarget* DocumentTarget(const CTalDocument* doc) const;

    // "Save changes to %1?" for a modified document; false when the user cancels (or the save
    // fails), so that it stays open.
    bool SaveModified(CTalDocument* doc);
    bool SaveAllModified();
    // Save (to its file, or through Save As when it has none) and Save As.
    bool DoSave(CTalDocument* doc, bool askForName);
    // Closes every frame of the document, without the save question.
    void CloseDocument(CTalDocument* doc);
    // Closes every document; false when a frame refused (an analyzer dialog is sweeping).
    bool CloseAllDocuments();

    // The child frames' side.
    bool AnalyzerSweeping() const;
    bool CanCloseFrame(CChildFrame* frame);
    // A frame accepted its close; it is destroyed later, and the document with its last frame.
    void OnFrameClosing(CChildFrame* frame);
    void OnFrameDestroyed(CChildFrame* frame);

    // "Imp1", or "Imp1:2" for the second window of a document.
    void UpdateFrameTitles(const CTalDocument* doc);

private:
    struct Entry;
    Entry* Find(const CTalDocument* doc) const;
    Entry& AddDocument();
    void RemoveDocument(const CTalDocument* doc);
    CChildFrame* ShowFrame(CChildFrame* frame);

    QMdiArea& m_area;
    // The frame last activated: the area forgets its current window while a dialog of another
    // top-level window has the focus and no window manager gives the main window back.
    QMdiSubWindow* m_lastActivated = nullptr;
    Hooks m_hooks;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::vector<std::unique_ptr<Entry>> m_documents;
};

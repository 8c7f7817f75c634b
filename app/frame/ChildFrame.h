#pragma once
// CChildFrame: the document window around one display, an MDI child of the main window with a
// minimum size of 300 by 200. A close request is ignored while the analyzer dialog shown last
// sweeps; closing the last window of a modified document asks to save it first.
#include <QMdiSubWindow>

#include "data/DocumentView.h"
#include "views/command/CommandTarget.h"

class CDocManager;
class CDocTemplate;
class CTalDocument;

class CChildFrame : public QMdiSubWindow, public CommandTarget {
    Q_OBJECT

public:
    static constexpr int kMinimumWidth = 300;
    static constexpr int kMinimumHeight = 200;

    // Creates the template's display for `doc` and attaches it to the document.
    CChildFrame(CTalDocument* doc, CDocTemplate& docTemplate, CDocManager& manager);
    ~CChildFrame() override;

    CTalDocument* Document() const { return m_doc; }
    CDocTemplate& Template() const { return m_template; }
    DisplayKind Kind() const;
    QWidget* Display() const { return m_display; }
    CDocumentView* View() const;
    // The display's command handling, or nullptr.
    CommandTarget* DisplayTarget() const;

    // Closes without the save question (the document is being closed as a whole).
    void CloseWithoutPrompt();

    // A frame handles no command of its own; it stands in the routing chain for the commands a
    // frame would.
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CTalDocument* m_doc;
    CDocTemplate& m_template;
    CDocManager& m_manager;
    QWidget* m_display;
    bool m_closingDocument = false;
};

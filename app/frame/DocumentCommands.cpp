#include "app/frame/DocumentCommands.h"

#include "app/frame/DocManager.h"
#include "views/command/CommandIds.h"

bool DocumentCommands::OnCommand(int id)
{
    switch (id) {
    case cmd::FileSave:
        m_manager.DoSave(&m_doc, false);
        return true;
    case cmd::FileSaveAs:
        m_manager.DoSave(&m_doc, true);
        return true;
    case cmd::FileClose:
        if (m_manager.SaveModified(&m_doc))
            m_manager.CloseDocument(&m_doc);  // last: the document may be gone afterwards
        return true;
    default:
        return false;
    }
}

bool DocumentCommands::OnUpdateCommand(int id, CommandUi& ui)
{
    if (id != cmd::FileSave && id != cmd::FileSaveAs && id != cmd::FileClose)
        return false;
    ui.enabled = true;
    return true;
}

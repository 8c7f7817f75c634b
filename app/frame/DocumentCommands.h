#pragma once
// The document's place in the command routing: Save, Save As and Close of the active document.
#include "views/command/CommandTarget.h"

class CDocManager;
class CTalDocument;

class DocumentCommands : public CommandTarget {
public:
    DocumentCommands(CDocManager& manager, CTalDocument& doc) : m_manager(manager), m_doc(doc) {}

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, CommandUi& ui) override;

private:
    CDocManager& m_manager;
    CTalDocument& m_doc;
};

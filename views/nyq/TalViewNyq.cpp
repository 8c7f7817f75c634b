#include "views/nyq/TalViewNyq.h"

#include "views/command/CommandIds.h"
#include "views/mail/DisplayMail.h"
#include "views/picture/DisplayPicture.h"

CTalViewNyq::CTalViewNyq(CTalDocument* document, QWidget* parent)
    : CTalView(document, parent), m_nyqRenderer(*document, m_fields)
{
    m_fields.displayMode = "Nyq";
    m_fields.firstUpdate = 0;
    AttachToDocument();
}

void CTalViewNyq::OnGraphProperties()
{
    RunGraphSettingsDialog(*this);
}

void CTalViewNyq::OnDataSetProperties()
{
    RunPropertiesFor(3);
}

bool CTalViewNyq::OnCommand(int id)
{
    switch (id) {
    case cmd::SaveToJpg:
        OnSaveToJpg(*this);
        return true;
    case cmd::MailTo:
        OnMailTo(*this);
        return true;
    default:
        return CTalView::OnCommand(id);
    }
}

bool CTalViewNyq::OnUpdateCommand(int id, CommandUi& ui)
{
    if (id == cmd::SaveToJpg || id == cmd::MailTo) {
        ui = CommandUi{};
        return true;
    }
    return CTalView::OnUpdateCommand(id, ui);
}

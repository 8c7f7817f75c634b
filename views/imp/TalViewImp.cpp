#include "views/imp/TalViewImp.h"

#include "views/command/CommandIds.h"
#include "views/dialogs/MathImpDialog.h"

CTalViewImp::CTalViewImp(CTalDocument* document, QWidget* parent)
    : CTalView(document, parent), m_impRenderer(*document, m_fields)
{
    m_fields.displayMode = "Imp & Phase";
    AttachToDocument();
}

void CTalViewImp::OnGraphProperties()
{
    RunGraphSettingsDialog(*this);
}

void CTalViewImp::OnDataSetProperties()
{
    RunPropertiesFor(1);
}

void CTalViewImp::OnMathMenu()
{
    MathImpDialog dialog(m_doc, this);
    dialog.exec();
}

bool CTalViewImp::OnCommand(int id)
{
    if (id == cmd::DoMath) {
        OnMathMenu();
        return true;
    }
    return CTalView::OnCommand(id);
}

bool CTalViewImp::OnUpdateCommand(int id, CommandUi& ui)
{
    if (id == cmd::DoMath) {
        ui = CommandUi{};
        return true;
    }
    return CTalView::OnUpdateCommand(id, ui);
}

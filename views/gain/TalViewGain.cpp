#include "views/gain/TalViewGain.h"


CTalViewGain::CTalViewGain(CTalDocument* document, QWidget* parent)
    : CTalView(document, parent), m_renderer(*document, m_fields)
{
    m_fields.displayMode = "Gain & Phase";
    AttachToDocument();
}

void CTalViewGain::OnGraphProperties()
{
    RunGraphSettingsDialog(*this);
}

void CTalViewGain::OnDataSetProperties()
{
    RunPropertiesFor(2);
}

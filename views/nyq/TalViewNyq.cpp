#include "views/nyq/TalViewNyq.h"

#include "views/annotations/GraphAnnotations.h"
#include "views/command/CommandIds.h"

CTalViewNyq::CTalViewNyq(CTalDocument* document, QWidget* parent)
    : CTalView(document, parent), m_nyqRenderer(*document, m_fields)
{
    m_fields.displayMode = "Nyq";
    m_fields.firstUpdate = 0;
    AttachToDocument();
}

CGraphSettingsNyqDlg::Values CTalViewNyq::SettingsValues() const
{
    CGraphSettingsNyqDlg::Values v;
    v.gridColor = m_fields.gridColor;
    v.auxColor = m_fields.nyquistAuxColor;
    v.options = m_fields.nyquistOptions;
    v.dataNumbers = m_fields.dataNumbersShown != 0;
    v.title = Annotations().TitleShown();
    v.range = m_nyqRenderer.range;
    v.rangeAxis = int(m_nyqRenderer.rangeAxis);
    v.invertY = m_nyqRenderer.invertY;
    v.onlyPositiveX = m_nyqRenderer.onlyPositiveX;
    return v;
}

void CTalViewNyq::ApplySettings(const CGraphSettingsNyqDlg::Values& v)
{
    m_fields.gridColor = v.gridColor;
    m_fields.nyquistAuxColor = v.auxColor;
    m_fields.nyquistOptions = v.options;
    m_fields.dataNumbersShown = v.dataNumbers ? 1 : 0;
    if (v.title != Annotations().TitleShown())
        OnCommand(cmd::ToggleTitle);
    if (v.range > 0)
        m_nyqRenderer.range = v.range;
    m_nyqRenderer.rangeAxis = v.rangeAxis == 1 ? NyqRangeAxis::Y : NyqRangeAxis::X;
    m_nyqRenderer.invertY = v.invertY;
    m_nyqRenderer.onlyPositiveX = v.onlyPositiveX;
    SetModified();
    Redraw();
}

void CTalViewNyq::OnGraphProperties()
{
    CGraphSettingsNyqDlg dialog(SettingsValues(), this);
    if (dialog.exec() == QDialog::Accepted)
        ApplySettings(dialog.Result());
}

void CTalViewNyq::OnDataSetProperties()
{
    RunPropertiesFor(3);
}

#include "views/base/TalView.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "data/ApplicationData.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "data/TextTables.h"
#include "views/annotations/GraphAnnotations.h"
#include "views/base/GraphTextDlg.h"
#include "views/base/PrintableChild.h"
#include "views/base/ViewPrinting.h"
#include "views/base/ViewSelection.h"
#include "views/command/CommandIds.h"
#include "views/exchange/DataExchange.h"
#include "views/slidebar/SlideBars.h"
#include "analyzer/target/SweepBand.h"

namespace {

StoredRect ToStored(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect FromStored(const StoredRect& r)
{
    return QRect(QPoint(r.left, r.top), QSize(std::max(0, r.right - r.left), std::max(0, r.bottom - r.top)));
}

bool ValidNode(int node)
{
    return node >= 1 && node <= 4;
}

const char kDeleteText[] =
    "Deleting this data will preminently remove it from the plot. If you prefer you can just hide it. If you hide "
    "the data, you can restore it by using the Show All (Ctrl+L) menu item. Which would you like to do?";

}  // namespace

CTalView::CTalView(CTalDocument* document, QWidget* parent)
    : QWidget(parent), m_doc(document), m_sweepTarget(*document, this, this),
      m_slideBars(std::make_unique<CSlideBars>(*this))
{
    SweepTarget::Defaults& defaults = m_sweepTarget.DataSetDefaults();
    defaults.outputNode = appData().defaultOutputNode;
    defaults.inputNode = appData().defaultInputNode;
    defaults.scaleFactor = appData().defaultScaleFactor;
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CTalView::~CTalView()
{
    m_doc->RemoveView(this);
}

void CTalView::AttachToDocument()
{
    m_annotations = std::make_unique<CGraphAnnotations>(*this);
    CTalView* first = dynamic_cast<CTalView*>(m_doc->GetFirstDisplayView());
    m_doc->AddView(this);
    const int count = m_doc->GetDataSetCount();
    m_fields.attribs.assign(count, GraphAttrib{});
    m_descriptionWindows.assign(count, nullptr);
    if (first)
        CopyFromFirstDisplay(*first);
    else if (m_doc->m_displayStatePresent)
        LoadDisplayState(m_doc->m_displayState);
    RecalcCurrentDataSet();
}

void CTalView::CopyFromFirstDisplay(CTalView& first)
{
    const ViewFields& f = first.m_fields;
    m_fields.frequencyMin = f.frequencyMin;
    m_fields.frequencyMax = f.frequencyMax;
    m_fields.gainMin = f.gainMin;
    m_fields.gainMax = f.gainMax;
    m_fields.impedanceMin = f.impedanceMin;
    m_fields.impedanceMax = f.impedanceMax;
    m_fields.phaseMin = f.phaseMin;
    m_fields.phaseMax = f.phaseMax;
    m_fields.reserved[0] = f.reserved[0];
    m_fields.reserved[1] = f.reserved[1];
    m_fields.heavyPenWidth = f.heavyPenWidth;
    m_fields.lightPenWidth = f.lightPenWidth;
    m_fields.markerHalfSize = f.markerHalfSize;
    m_fields.gridColor = f.gridColor;
    m_fields.dataNumbersShown = f.dataNumbersShown;
    m_fields.automaticScaling = f.automaticScaling;
    m_fields.textRect = f.textRect;
    m_sweepTarget.DataSetDefaults() = first.DataSetDefaults();
    for (size_t i = 0; i < m_fields.attribs.size() && i < f.attribs.size(); ++i) {
        m_fields.attribs[i].selected = f.attribs[i].selected;
        m_fields.attribs[i].visible = f.attribs[i].visible;
    }
    if (GetDisplayKind() == DisplayKind::Text)
        return;
    // Slide bars, open description windows and the Nyquist settings; boxes loaded from a file once.
    m_slideBars->CopyFrom(*first.m_slideBars);
    for (size_t i = 0; i < first.m_descriptionWindows.size() && i < m_descriptionWindows.size(); ++i) {
        if (const CGraphTextDlg* window = first.m_descriptionWindows[i]) {
            const StoredRect placement = ToStored(window->geometry());
            OpenDescriptionWindow(int(i), &placement);
        }
    }
    m_fields.nyquistOptions = f.nyquistOptions;
    m_fields.nyquistReserved = f.nyquistReserved;
    m_fields.nyquistPhaseFlip = f.nyquistPhaseFlip;
    if (f.loadedFromFile) {
        m_fields.titlePresent = f.titlePresent;
        m_fields.title = f.title;
        m_fields.descriptions = f.descriptions;
        m_fields.legend = f.legend;
        first.m_fields.loadedFromFile = 0;
    }
}

void CTalView::OnInitialUpdate()
{
    if (m_initialUpdateDone || width() <= 0 || height() <= 0)
        return;
    m_initialUpdateDone = true;
    CGraphRenderer* renderer = Renderer();
    if (!renderer)
        return;
    const LogicalMapping mapping = ClientMapping();
    if (!renderer->ComputeGraphRect(mapping))
        prompter().Message("Error setting graph rectangle.", "");
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    ViewPainter dc(painter, mapping);
    if (!renderer->ComputeTextRect(dc))
        prompter().Message("Error setting graph text rectangle.", "");
    // The legend box at the graph's top-left corner with this display's two lines.
    const std::vector<std::string> texts = LegendTexts();
    if (!texts.empty() && m_fields.legend.texts.empty()) {
        const LogicalRect& g = m_fields.graphRect;
        m_fields.legend.obj.rect = {g.left, g.top, g.left + 300, g.top + 150};
        m_fields.legend.texts = texts;
        m_fields.legend.colors.assign(texts.size(), 0);
        RecolorLegend();
    }
}

LogicalMapping CTalView::ClientMapping() const
{
    return LogicalMapping(0, 0, std::max(1, width()), std::max(1, height()));
}

void CTalView::SetModified()
{
    m_doc->SetModifiedFlag();
}

void CTalView::Redraw(bool erase)
{
    (void)erase;  // painting covers the whole area through the off-screen image
    m_fields.cacheValid = 0;
    update();
}

int CTalView::AutoScale()
{
    CGraphRenderer* renderer = Renderer();
    return renderer ? renderer->AutoScale() : 0;
}

void CTalView::AddDataSetAttributes(int index)
{
    if (index < 0)
        return;
    if (index >= int(m_fields.attribs.size())) {
        m_fields.attribs.resize(index + 1);
        m_descriptionWindows.resize(index + 1, nullptr);
    }
    m_fields.attribs[index].selected = true;
    m_fields.cacheValid = 0;
}

void CTalView::RemoveDataSetAttributes(int index)
{
    if (index < 0 || index >= int(m_fields.attribs.size()))
        return;
    m_slideBars->RemoveDataSet(index);
    if (index < int(m_descriptionWindows.size())) {
        delete m_descriptionWindows[index];
        m_descriptionWindows.erase(m_descriptionWindows.begin() + index);
    }
    m_fields.attribs.erase(m_fields.attribs.begin() + index);
    m_fields.cacheValid = 0;
    RecalcCurrentDataSet();
}

void CTalView::RefreshDescriptionDialog(int index)
{
    if (CGraphTextDlg* window = DescriptionWindow(index))
        window->SetText(m_doc->GetDataSetDescription(index));
}

CGraphTextDlg* CTalView::DescriptionWindow(int index) const
{
    return index >= 0 && index < int(m_descriptionWindows.size()) ? m_descriptionWindows[index] : nullptr;
}

void CTalView::OnUpdate(int hint)
{
    if (hint == HINT_POINT_APPENDED && Renderer()) {
        update(PointBandRect());
        return;
    }
    if (hint == HINT_VOLTAGE_FORMAT)
        return;
    if (m_fields.automaticScaling)
        AutoScale();
    RecalcCurrentDataSet();
    Redraw();
}

QRect CTalView::PointBandRect()
{
    const CGraphRenderer* renderer = Renderer();
    if (!renderer)
        return rect();
    int x0 = renderer->XFromFrequency(sweepBand().previousFrequency);
    int x1 = renderer->XFromFrequency(sweepBand().currentFrequency);
    if (x1 < x0)
        std::swap(x0, x1);
    const LogicalRect band{x0 - m_fields.markerHalfSize, m_fields.graphRect.top, x1 + m_fields.markerHalfSize,
                           m_fields.graphRect.bottom};
    // Widened by the pen so that the curve's round ends are repainted too.
    const LogicalMapping m = ClientMapping();
    const int pad = m.PenPixels(m_fields.heavyPenWidth) + 1;
    return QRect(QPoint(m.DeviceX(band.left) - pad, m.DeviceY(band.top) - pad),
                 QPoint(m.DeviceX(band.right) + pad, m.DeviceY(band.bottom) + pad));
}

void CTalView::StoreDisplayState(DisplayState& state) const
{
    state.formatMarker = DisplayState::kFormatMarker;
    m_slideBars->Store(state.slideBars);
    state.selected.clear();
    for (const GraphAttrib& attrib : m_fields.attribs)
        state.selected.push_back(attrib.selected ? 1 : 0);
    state.descriptionWindows.clear();
    for (size_t i = 0; i < m_descriptionWindows.size(); ++i) {
        StoredDescriptionWindow entry;
        if (const CGraphTextDlg* window = m_descriptionWindows[i]) {
            entry.present = 1;
            entry.dataSetIndex = int32_t(i);
            entry.rect = ToStored(window->geometry());
        }
        state.descriptionWindows.push_back(entry);
    }
    const double ranges[10] = {m_fields.frequencyMin, m_fields.frequencyMax, m_fields.gainMin,
                               m_fields.gainMax,      m_fields.impedanceMin, m_fields.impedanceMax,
                               m_fields.phaseMin,     m_fields.phaseMax,     m_fields.reserved[0],
                               m_fields.reserved[1]};
    std::copy(std::begin(ranges), std::end(ranges), state.ranges);
    state.gridColor = int32_t(m_fields.gridColor);
    state.dataNumbersShown = m_fields.dataNumbersShown;
    state.automaticScaling = m_fields.automaticScaling;
    state.displayMode = m_fields.displayMode;
    state.defaultOutputNode = DataSetDefaults().outputNode;
    state.defaultInputNode = DataSetDefaults().inputNode;
    state.defaultScaleFactor = DataSetDefaults().scaleFactor;
    state.titlePresent = m_fields.titlePresent;
    state.title = m_fields.title;
    state.descriptions = m_fields.descriptions;
    state.legend = m_fields.legend;
    state.nyquistReserved = m_fields.nyquistReserved;
    state.nyquistOptions = m_fields.nyquistOptions;
    state.nyquistPhaseFlip = m_fields.nyquistPhaseFlip;
}

void CTalView::LoadDisplayState(const DisplayState& state)
{
    const int count = m_doc->GetDataSetCount();
    for (CGraphTextDlg* window : m_descriptionWindows)
        delete window;
    m_descriptionWindows.assign(count, nullptr);
    m_fields.attribs.assign(count, GraphAttrib{});
    for (int i = 0; i < count; ++i)
        m_fields.attribs[i].selected = i < int(state.selected.size()) && state.selected[i] != 0;
    for (const StoredDescriptionWindow& entry : state.descriptionWindows)
        if (entry.present && entry.dataSetIndex >= 0 && entry.dataSetIndex < count)
            OpenDescriptionWindow(entry.dataSetIndex, &entry.rect);

    m_fields.frequencyMin = state.ranges[0];
    m_fields.frequencyMax = state.ranges[1];
    m_fields.gainMin = state.ranges[2];
    m_fields.gainMax = state.ranges[3];
    m_fields.impedanceMin = state.ranges[4];
    m_fields.impedanceMax = state.ranges[5];
    m_fields.phaseMin = state.ranges[6];
    m_fields.phaseMax = state.ranges[7];
    m_fields.reserved[0] = state.ranges[8];
    m_fields.reserved[1] = state.ranges[9];
    SanitizeRanges(m_fields);
    m_fields.gridColor = uint32_t(state.gridColor) & 0xFFFFFF;
    m_fields.dataNumbersShown = state.dataNumbersShown != 0;
    m_fields.automaticScaling = state.automaticScaling != 0;
    if (!state.displayMode.empty())
        m_fields.displayMode = state.displayMode;
    SweepTarget::Defaults& defaults = m_sweepTarget.DataSetDefaults();
    if (ValidNode(state.defaultOutputNode))
        defaults.outputNode = state.defaultOutputNode;
    if (ValidNode(state.defaultInputNode))
        defaults.inputNode = state.defaultInputNode;
    if (std::isfinite(state.defaultScaleFactor) && state.defaultScaleFactor != 0)
        defaults.scaleFactor = state.defaultScaleFactor;
    m_fields.titlePresent = state.titlePresent;
    m_fields.title = state.title;
    m_fields.descriptions = state.descriptions;
    m_fields.legend = state.legend;
    m_fields.nyquistReserved = state.nyquistReserved;
    m_fields.nyquistOptions = state.nyquistOptions;
    m_fields.nyquistPhaseFlip = state.nyquistPhaseFlip;
    m_fields.markerPresent = state.formatMarker != 0;
    m_fields.storedFormatMarker = state.formatMarker;
    m_fields.loadedFromFile = 1;
    m_fields.cacheValid = 0;
    m_slideBars->Load(state.slideBars);
    RecalcCurrentDataSet();
}

bool CTalView::CommitAnnotationEdit()
{
    return m_annotations->CommitEditing();
}

void CTalView::OnDataSetColorChanged(int index)
{
    if (index == m_fields.currentDataSet)
        RecolorLegend();
    Redraw();
}

void CTalView::RecalcCurrentDataSet()
{
    m_fields.currentDataSet = selection::CurrentDataSet(m_fields.attribs);
    RecolorLegend();
}

void CTalView::RecolorLegend()
{
    StoredLegend& legend = m_fields.legend;
    if (legend.colors.size() < 2 || (GetDisplayKind() != DisplayKind::Gain && GetDisplayKind() != DisplayKind::Imp))
        return;
    legend.colors[0] = m_doc->GetGainColor(m_fields.currentDataSet);
    legend.colors[1] = m_doc->GetPhaseColor(m_fields.currentDataSet);
}

int CTalView::HitDataSet(int x, int y) const
{
    for (size_t i = 0; i < m_fields.attribs.size(); ++i)
        if (m_fields.attribs[i].visible && m_fields.attribs[i].hit.Contains(x, y))
            return int(i);
    return -1;
}

int CTalView::FormatDataAsText(int index, std::string& text) const
{
    const CDataSet* set = m_doc->GetDataSet(index);
    if (!set)
        return 0;
    text = ::FormatDataAsText(*set, TableKind(), appData().voltageFormat);
    return 1;
}

void CTalView::AfterSelectionChange(bool changed)
{
    if (changed) {
        Redraw();
        SetModified();
    }
    RecalcCurrentDataSet();
}

void CTalView::DeselectAllDataSets()
{
    AfterSelectionChange(selection::DeselectAll(m_fields.attribs));
}

std::optional<double> CTalView::RlcReferenceResistor() const
{
    return RlcPanelReferenceResistor();
}

DataSetProperties CTalView::GetDataSetProperties(int index)
{
    DataSetProperties p;
    const CDataSet* set = m_doc->GetDataSet(index);
    if (!set)
        return p;
    if (selection::SelectOnly(m_fields.attribs, index)) {
        Redraw();
        RecalcCurrentDataSet();
    }
    p.outputNode = set->GetOutputNode();
    p.inputNode = set->GetInputNode();
    p.scaleFactor = set->GetScaleFactor();
    p.gainColor = set->GetGainColor();
    p.phaseColor = set->GetPhaseColor();
    for (int k = 0; k < 4; ++k)
        p.nodeColor[k] = set->GetNodeColor(k + 1);
    p.description = set->m_description;
    p.visible = index < int(m_fields.attribs.size()) && m_fields.attribs[index].visible;
    return p;
}

void CTalView::SetDataSetProperties(int index, const DataSetProperties& p)
{
    CDataSet* set = m_doc->GetDataSet(index);
    if (!set || index >= int(m_fields.attribs.size()))
        return;
    set->SetOutputNode(p.outputNode);
    set->SetInputNode(p.inputNode);
    set->SetScaleFactor(p.scaleFactor);
    for (int k = 0; k < 4; ++k)
        set->SetNodeColor(k + 1, p.nodeColor[k]);
    m_doc->SetGainColor(index, p.gainColor);
    m_doc->SetPhaseColor(index, p.phaseColor);
    if (set->m_description != p.description)
        m_doc->SetDataSetDescription(index, p.description);
    m_fields.attribs[index].visible = p.visible;
    if (!p.visible)
        OnHide();
    SweepTarget::Defaults& defaults = m_sweepTarget.DataSetDefaults();
    defaults.outputNode = p.outputNode;
    defaults.inputNode = p.inputNode;
    defaults.scaleFactor = p.scaleFactor;
    m_fields.cacheValid = 0;
    SetModified();
}

void CTalView::RunPropertiesFor(int kind)
{
    if (m_doc->GetDataSetCount() == 0)
        return;
    const int lowest = selection::LowestSelected(m_fields.attribs);
    const int index = lowest < 0 ? 0 : lowest;
    RunDataSetPropertiesDialog(*this, index, kind);
    if (index < int(m_fields.attribs.size()) && !m_fields.attribs[index].visible)
        m_fields.attribs[index].selected = false;
    RecalcCurrentDataSet();
}

void CTalView::ApplyDataSetProperties(int index, bool visible)
{
    DataSetProperties p = GetDataSetProperties(index);
    p.visible = visible;
    SetDataSetProperties(index, p);
}

void CTalView::OnSelectAll()
{
    AfterSelectionChange(selection::SelectAllVisible(m_fields.attribs));
}

void CTalView::OnShowAll()
{
    if (selection::ShowAll(m_fields.attribs)) {
        m_doc->UpdateAllViews(HINT_ALL);
        RecalcCurrentDataSet();
        SetModified();
    }
}

void CTalView::OnHide()
{
    for (size_t i = 0; i < m_fields.attribs.size(); ++i) {
        GraphAttrib& attrib = m_fields.attribs[i];
        if (!attrib.selected)
            continue;
        attrib.selected = false;
        attrib.visible = false;
        attrib.hit.Clear();
        CloseDescriptionWindow(int(i));
    }
    m_annotations->DeleteSelectedDescriptions();
    RecalcCurrentDataSet();
    m_doc->UpdateAllViews(HINT_ALL);
    SetModified();
}

void CTalView::OnDelete()
{
    if (selection::CountSelected(m_fields.attribs) == 0)
        return;
    const int answer = prompter().ThreeButtons(kDeleteText, "Delete Data", "Delete", "Hide", "Cancel");
    if (answer == 1) {
        for (int i = int(m_fields.attribs.size()) - 1; i >= 0; --i)
            if (i < int(m_fields.attribs.size()) && m_fields.attribs[i].selected)
                m_doc->DeleteDataSet(i);
        m_doc->UpdateAllViews(HINT_ALL);
        SetModified();
    } else if (answer == 2) {
        OnHide();
    }
}

void CTalView::CloseDescriptionWindow(int index)
{
    if (CGraphTextDlg* window = DescriptionWindow(index)) {
        m_descriptionWindows[index] = nullptr;
        window->deleteLater();
        window->hide();
    }
}

void CTalView::OpenDescriptionWindow(int index, const StoredRect* placement)
{
    if (index < 0 || index >= int(m_descriptionWindows.size()) || m_descriptionWindows[index])
        return;
    auto* window = new CGraphTextDlg(m_doc->GetDataSetNumber(index), m_doc->GetDataSetDescription(index), this);
    if (placement) {
        const QRect r = FromStored(*placement);
        window->setGeometry(r.isEmpty() ? QRect(r.topLeft(), window->size()) : r);
    } else {
        window->move(std::min(10 + 20 * index, width() - 16), std::min(10 + 20 * index, height() - 16));
    }
    connect(window, &CGraphTextDlg::closeRequested, this, &CTalView::OnDescriptionClosed);
    connect(window, &CGraphTextDlg::textEdited, this, &CTalView::OnDescriptionEdited);
    m_descriptionWindows[index] = window;
    window->show();
}

int CTalView::DescriptionIndex(const CGraphTextDlg* window) const
{
    for (size_t i = 0; i < m_descriptionWindows.size(); ++i)
        if (m_descriptionWindows[i] == window)
            return int(i);
    return -1;
}

void CTalView::OnDescriptionClosed(CGraphTextDlg* window)
{
    const int index = DescriptionIndex(window);
    if (index < 0) {
        prompter().Message("Error- Not a valid TextDlg number to close. Aborting.", "");
        return;
    }
    CloseDescriptionWindow(index);
}

void CTalView::OnDescriptionEdited(CGraphTextDlg* window)
{
    const int index = DescriptionIndex(window);
    if (index < 0) {
        prompter().Message("Error- Not a valid TextDlg number to close. Aborting.", "");
        return;
    }
    const std::string text = window->Text();
    if (text == m_doc->GetDataSetDescription(index))
        return;
    m_doc->SetDataSetDescription(index, text);
    SetModified();
}

void CTalView::OnShowDataDescription()
{
    if (m_doc->GetDataSetCount() == 0)
        return;
    std::vector<int> selected;
    for (size_t i = 0; i < m_fields.attribs.size(); ++i)
        if (m_fields.attribs[i].selected)
            selected.push_back(int(i));
    const bool allOpen = std::all_of(selected.begin(), selected.end(), [this](int i) { return DescriptionWindow(i); });
    if (allOpen && selected.size() > 1) {
        for (int i : selected)
            CloseDescriptionWindow(i);
        SetModified();
    } else {
        for (int i : selected) {
            if (CGraphTextDlg* window = DescriptionWindow(i))
                window->raise();
            else
                OpenDescriptionWindow(i, nullptr);
        }
    }
    setFocus();
}

bool CTalView::OnCommand(int id)
{
    if (m_annotations->OnCommand(id))
        return true;
    switch (id) {
    case cmd::EditSelectAll:
        OnSelectAll();
        return true;
    case cmd::ShowAll:
        OnShowAll();
        return true;
    case cmd::Hide:
        OnHide();
        return true;
    case cmd::EditDelete:
        OnDelete();
        return true;
    case cmd::ToggleDataNumbers:
        m_fields.dataNumbersShown = !m_fields.dataNumbersShown;
        Redraw();
        return true;
    case cmd::VoltageFormat:
        appData().voltageFormat = !appData().voltageFormat;
        m_doc->UpdateAllViews(HINT_VOLTAGE_FORMAT);
        return true;
    case cmd::AddRandomData: {
        m_doc->AddRandomData();
        const int index = m_doc->GetLastAddedIndex();
        m_doc->SetScaleFactor(index, DataSetDefaults().scaleFactor);
        m_doc->SetOutputNode(index, DataSetDefaults().outputNode);
        m_doc->SetInputNode(index, DataSetDefaults().inputNode);
        m_doc->SetModifiedFlag();
        m_doc->UpdateAllViews(HINT_ALL);
        return true;
    }
    case cmd::ShowDataDescription:
        OnShowDataDescription();
        return true;
    case cmd::DataSetProperties:
        OnDataSetProperties();
        return true;
    case cmd::GraphProperties:
        OnGraphProperties();
        return true;
    case cmd::AddSlideBar:
        OnAddSlideBar();
        return true;
    case cmd::FilePrint:
        OnFilePrint();
        return true;
    case cmd::FilePrintPreview:
        OnFilePrintPreview();
        return true;
    default:
        return exchange::OnCommand(*this, id);
    }
}

bool CTalView::OnUpdateCommand(int id, CommandUi& ui)
{
    const int selectedCount = selection::CountSelected(m_fields.attribs);
    const bool hasData = m_doc->GetDataSetCount() > 0;
    if (m_annotations->OnUpdateCommand(id, ui))
        return true;
    ui = CommandUi{};
    switch (id) {
    case cmd::EditSelectAll:
    case cmd::ShowAll:
    case cmd::GraphProperties:
    case cmd::AddRandomData:
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
        return true;
    case cmd::Hide:
    case cmd::EditDelete:
    case cmd::AddSlideBar:
        ui.enabled = selectedCount > 0;
        return true;
    case cmd::ToggleDataNumbers:
        ui.checkable = true;
        ui.checked = m_fields.dataNumbersShown != 0;
        return true;
    case cmd::VoltageFormat:
        ui.checkable = true;
        ui.checked = appData().voltageFormat;
        return true;
    case cmd::ShowDataDescription:
        ui.enabled = selectedCount > 0;
        ui.checkable = true;
        ui.checked = DescriptionWindow(selection::LowestSelected(m_fields.attribs)) != nullptr;
        return true;
    case cmd::DataSetProperties:
        ui.enabled = hasData;
        return true;
    default:
        return exchange::OnUpdateCommand(*this, id, ui);
    }
}

void CTalView::Render(QPainter& painter, const LogicalMapping& mapping, bool printing)
{
    CGraphRenderer* renderer = Renderer();
    if (!renderer)
        return;
    m_slideBars->SyncDialogVisibility();
    ViewPainter dc(painter, mapping, printing);
    renderer->drawChildDialogs = [this](ViewPainter& d) { DrawChildDialogs(d); };
    renderer->Draw(dc);
    if (!m_messagesPending) {
        m_messagesPending = true;
        QTimer::singleShot(0, this, &CTalView::ShowPaintMessages);
    }
}

void CTalView::DrawChildDialogs(ViewPainter& dc)
{
    const double sx = double(LogicalMapping::kWindowExtent) / std::max(1, width());
    const double sy = double(LogicalMapping::kWindowExtent) / std::max(1, height());
    // Children in stacking order, bottom first.
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        const auto* window = dynamic_cast<const PrintableChild*>(child);
        if (!widget || !window || !widget->isVisibleTo(this))
            continue;
        const QRect r = widget->geometry();
        const LogicalRect rect{TruncateCoordinate(r.left() * sx), TruncateCoordinate(r.top() * sy),
                               TruncateCoordinate((r.left() + r.width()) * sx),
                               TruncateCoordinate((r.top() + r.height()) * sy)};
        window->Paint(dc, rect);
    }
}

void CTalView::ShowPaintMessages()
{
    m_messagesPending = false;
    CGraphRenderer* renderer = Renderer();
    if (!renderer)
        return;
    for (const std::string& text : renderer->Messages().TakeNew())
        prompter().Message(text, "");
}

QImage CTalView::RenderPicture()
{
    QImage image(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    Render(painter, ClientMapping(), true);
    return image;
}

void CTalView::PrintOn(QPrinter& printer)
{
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    PrintArea area;
    area.right = printer.width();
    area.bottom = printer.height();
    area.widthMM = printer.widthMM();
    area.heightMM = printer.heightMM();
    const QRect viewport = PrintViewport(area, CurrentPageSetup());
    Render(painter, LogicalMapping(viewport.left(), viewport.top(), viewport.width(), viewport.height()), true);
}

namespace {

void PreparePrinter(QPrinter& printer)
{
    printer.setPageOrientation(CurrentPageSetup().orientation == 1 ? QPageLayout::Portrait : QPageLayout::Landscape);
    printer.setFromTo(1, 1);
}

}  // namespace

void CTalView::OnFilePrint()
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, 1);
    if (dialog.exec() == QDialog::Accepted)
        PrintOn(printer);
}

void CTalView::OnFilePrintPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    QPrintPreviewDialog preview(&printer, this);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) { PrintOn(*p); });
    preview.exec();
}

bool CTalView::PrintToFile(const std::string& path)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    PrintOn(printer);
    return true;
}

void CTalView::PaintToBuffer(const QRect& area)
{
    OnInitialUpdate();
    if (m_buffer.size() != size())
        m_buffer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&m_buffer);
    painter.setClipRect(area);
    painter.fillRect(area, palette().color(QPalette::Base));
    CGraphRenderer* renderer = Renderer();
    if (!renderer)
        return;
    ViewPainter dc(painter, ClientMapping(), false);
    dc.SetPaintBounds(area);
    renderer->drawChildDialogs = nullptr;
    renderer->Draw(dc);
    m_slideBars->SyncDialogVisibilityLater();
    if (!m_messagesPending) {
        m_messagesPending = true;
        QTimer::singleShot(0, this, &CTalView::ShowPaintMessages);
    }
}

void CTalView::paintEvent(QPaintEvent* event)
{
    const QRect area = event->rect();
    PaintToBuffer(area);
    QPainter screen(this);
    screen.drawImage(area, m_buffer, area);
}

void CTalView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnInitialUpdate();
}

void CTalView::mousePressEvent(QMouseEvent* event)
{
    setFocus();
    const LogicalMapping m = ClientMapping();
    const QPoint p = event->position().toPoint();
    const int x = m.LogicalX(p.x()), y = m.LogicalY(p.y());
    m_boxPopupShown = false;
    if (event->button() == Qt::LeftButton && m_annotations->OnLButtonDown(x, y))
        return;
    if (event->button() == Qt::RightButton && m_annotations->OnRButtonDown(x, y, event->globalPosition().toPoint())) {
        m_boxPopupShown = true;
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const int barSet = m_slideBars->Press(x, y);
        if (barSet >= 0) {
            AfterSelectionChange(selection::SelectOnly(m_fields.attribs, barSet));
            return;
        }
    }
    const int hit = HitDataSet(x, y);
    if (event->button() == Qt::LeftButton) {
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        AfterSelectionChange(selection::Click(m_fields.attribs, hit, ctrl, shift));
    } else if (event->button() == Qt::RightButton && hit >= 0) {
        AfterSelectionChange(selection::SelectOnly(m_fields.attribs, hit));
    }
}

void CTalView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const LogicalMapping m = ClientMapping();
    const QPoint p = event->position().toPoint();
    if (m_annotations->OnLButtonDblClk(m.LogicalX(p.x()), m.LogicalY(p.y())))
        return;
    const int hit = HitDataSet(m.LogicalX(p.x()), m.LogicalY(p.y()));
    if (hit >= 0) {
        AfterSelectionChange(selection::SelectOnly(m_fields.attribs, hit));
        OnDataSetProperties();
    } else {
        OnGraphProperties();
    }
}

void CTalView::mouseReleaseEvent(QMouseEvent* event)
{
    for (SlideBarState& bar : m_fields.slideBars)
        bar.dragging = false;
    const LogicalMapping m = ClientMapping();
    const QPoint p = event->position().toPoint();
    m_annotations->OnLButtonUp(m.LogicalX(p.x()), m.LogicalY(p.y()));
    QWidget::mouseReleaseEvent(event);
}

void CTalView::contextMenuEvent(QContextMenuEvent* event)
{
    // A right press on a box has shown the box's popup instead.
    if (m_boxPopupShown)
        event->accept();
    else
        event->ignore();
    m_boxPopupShown = false;
}

void CTalView::mouseMoveEvent(QMouseEvent* event)
{
    const LogicalMapping m = ClientMapping();
    const QPoint p = event->position().toPoint();
    if (m_annotations->OnMouseMove(m.LogicalX(p.x()), m.LogicalY(p.y())))
        return;
    if (!m_slideBars->DragTo(m.LogicalX(p.x())))
        QWidget::mouseMoveEvent(event);
}

void CTalView::OnAddSlideBar()
{
    m_slideBars->Add();
}

bool CTalView::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool shift = modifiers & Qt::ShiftModifier;
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return ForwardKeyToAnalyzer(key);
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (ForwardKeyToAnalyzer(key))
            return true;
        AfterSelectionChange(selection::MoveSelection(m_fields.attribs, key == Qt::Key_Up));
        return true;
    case Qt::Key_End:
    case Qt::Key_Home:
        AfterSelectionChange(selection::AlsoSelectEnd(m_fields.attribs, key == Qt::Key_End));
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        return ctrl == shift && m_slideBars->StepActive(key == Qt::Key_Right);
    case Qt::Key_Delete:
        if (ctrl) {
            if (selection::CountSelected(m_fields.attribs) > 0)
                OnHide();
        } else {
            OnDelete();
        }
        return true;
    case Qt::Key_A:
    case Qt::Key_F1:
        if (!ctrl)
            return false;
        OnSelectAll();
        return true;
    case Qt::Key_B:
        if (selection::CountSelected(m_fields.attribs) > 0)
            OnAddSlideBar();
        return true;
    case Qt::Key_D:
        OnDataSetProperties();
        return true;
    case Qt::Key_G:
        OnGraphProperties();
        return true;
    case Qt::Key_L:
        if (!ctrl)
            return false;
        OnShowAll();
        return true;
    default:
        return false;
    }
}

void CTalView::keyPressEvent(QKeyEvent* event)
{
    if (!HandleKey(event->key(), event->modifiers()))
        QWidget::keyPressEvent(event);
}

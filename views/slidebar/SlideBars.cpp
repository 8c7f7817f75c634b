#include "views/slidebar/SlideBars.h"

#include <QImage>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/annotations/GraphAnnotations.h"
#include "views/base/TalView.h"
#include "views/base/ViewSelection.h"
#include "views/slidebar/SlideBarGainDlg.h"
#include "views/slidebar/SlideBarImpDlg.h"
#include "views/slidebar/SlideBarMath.h"
#include "views/slidebar/SlideBarNyqDlg.h"
#include "views/slidebar/SlideBarReadout.h"

namespace {

StoredRect ToStored(const QRect& r)
{
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect FromStored(const StoredRect& r)
{
    return QRect(QPoint(r.left, r.top), QSize(std::max(0, r.right - r.left), std::max(0, r.bottom - r.top)));
}

}  // namespace

CSlideBars::CSlideBars(CTalView& view) : m_view(view) {}

int CSlideBars::Count() const
{
    return int(m_view.Fields().slideBars.size());
}

CSlideBarDlg* CSlideBars::Dialog(int index) const
{
    return index >= 0 && index < int(m_dialogs.size()) ? m_dialogs[index].data() : nullptr;
}

CSlideBarDlg* CSlideBars::CreateDialog(int dataSet)
{
    const int number = m_view.GetDocument()->GetDataSetNumber(dataSet);
    CSlideBarDlg* dialog = nullptr;
    switch (m_view.GetDisplayKind()) {
    case DisplayKind::Imp:
        dialog = new CSlideBarImpDlg(number, &m_view);
        break;
    case DisplayKind::Nyq:
        dialog = new CSlideBarNyqDlg(number, &m_view);
        break;
    default:
        dialog = new CSlideBarGainDlg(number, &m_view);
        break;
    }
    connect(dialog, &CSlideBarDlg::frequencyTyped, this, &CSlideBars::OnFrequencyTyped);
    // Closing is posted: the dialog's own handler returns before the dialog goes.
    connect(dialog, &CSlideBarDlg::closeRequested, this, &CSlideBars::OnCloseRequested, Qt::QueuedConnection);
    connect(dialog, &CSlideBarDlg::activated, this, [this](CSlideBarDlg* d) {
        m_view.Annotations().EndEditing();
        m_view.DeselectAllDataSets();
        const int index = IndexOf(d);
        if (index < 0 || m_view.GetDisplayKind() == DisplayKind::Gain)
            return;
        const int set = m_view.Fields().slideBars[index].dataSetIndex;
        if (set >= 0 && set < int(m_view.Fields().attribs.size()) && !m_view.Fields().attribs[set].selected) {
            m_view.Fields().attribs[set].selected = true;
            m_view.RecalcCurrentDataSet();
            m_view.Redraw();
        }
    });
    return dialog;
}

void CSlideBars::AppendBar(int dataSet, double frequency, double value, const QRect& placement)
{
    SlideBarState bar;
    bar.dataSetIndex = dataSet;
    bar.frequency = frequency;
    bar.value = value;
    CSlideBarDlg* dialog = CreateDialog(dataSet);
    dialog->setGeometry(placement.isEmpty() ? QRect(placement.topLeft(), dialog->size()) : placement);
    bar.rect = ToStored(dialog->geometry());
    m_view.Fields().slideBars.push_back(bar);
    m_dialogs.emplace_back(dialog);
    dialog->show();
}

void CSlideBars::Add()
{
    ViewFields& f = m_view.Fields();
    const int set = selection::LowestSelected(f.attribs);
    if (!m_view.Renderer() || set < 0 || set >= m_view.GetDocument()->GetDataSetCount())
        return;
    const int k = Count();
    const double frequency = InitialSlideBarFrequency(f.frequencyMin, f.frequencyMax, k);
    const ClientPoint at = SlideBarDialogPosition(k, m_view.width(), m_view.height());
    AppendBar(set, frequency, ValueAt(set, frequency), QRect(at.x, at.y, 0, 0));
    f.attribs[set].selected = true;
    m_view.RecalcCurrentDataSet();
    BuildRegion(k);
    Invalidate(f.slideBars[k].region);
    m_view.GetDocument()->SetModifiedFlag();
    UpdateFromView(k);
    m_view.Redraw();
}

double CSlideBars::ValueAt(int dataSet, double frequency) const
{
    const bool flip = m_view.GetDisplayKind() == DisplayKind::Nyq && m_view.Fields().nyquistPhaseFlip;
    return SlideBarValueAt(*m_view.GetDocument(), dataSet, frequency, flip);
}

int CSlideBars::IndexOf(const CSlideBarDlg* dialog) const
{
    for (size_t i = 0; i < m_dialogs.size(); ++i)
        if (dialog && m_dialogs[i] == dialog)
            return int(i);
    return -1;
}

void CSlideBars::UpdateFromView(int index)
{
    CSlideBarDlg* dialog = Dialog(index);
    if (!dialog || index >= Count())
        return;
    const SlideBarState& bar = m_view.Fields().slideBars[index];
    const ViewFields& f = m_view.Fields();
    const CTalDocument& doc = *m_view.GetDocument();
    if (auto* imp = qobject_cast<CSlideBarImpDlg*>(dialog)) {
        const ImpReadout r = ReadImpedanceAt(doc, bar.dataSetIndex, bar.frequency, f.phaseMin, f.phaseMax);
        imp->ShowValues(bar.frequency, r.magnitude, r.phase);
    } else if (auto* nyq = qobject_cast<CSlideBarNyqDlg*>(dialog)) {
        nyq->ShowValues(bar.frequency, ReadNyquistAt(doc, bar.dataSetIndex, bar.frequency, bar.value));
        nyq->raise();
        nyq->update();
    } else if (auto* gain = qobject_cast<CSlideBarGainDlg*>(dialog)) {
        gain->ShowValues(bar.frequency, ReadGainAt(doc, bar.dataSetIndex, bar.frequency, f.phaseMin, f.phaseMax));
    }
}

void CSlideBars::OnFrequencyTyped(CSlideBarDlg* dialog, double frequency)
{
    int index = IndexOf(dialog);
    if (index < 0) {
        prompter().Message("Error- Can't figure out which SlideBar to update. Set to 0.", "");
        index = 0;
    }
    if (index >= Count()) {
        prompter().Message("Error- Not a valid SlideBar number to update. Aborting.", "");
        return;
    }
    MoveTo(index, frequency);
}

void CSlideBars::MoveTo(int index, double frequency)
{
    ViewFields& f = m_view.Fields();
    SlideBarState& bar = f.slideBars[index];
    const CTalDocument& doc = *m_view.GetDocument();
    if (bar.dataSetIndex >= 0 && bar.dataSetIndex < doc.GetDataSetCount())
        bar.frequency = TypedSlideBarFrequency(frequency, doc.GetMinFrequency(bar.dataSetIndex),
                                               doc.GetMaxFrequency(bar.dataSetIndex), f.frequencyMin,
                                               f.frequencyMax, bar.frequency);
    Invalidate(bar.region);
    bar.value = ValueAt(bar.dataSetIndex, bar.frequency);
    BuildRegion(index);
    Invalidate(bar.region);
    m_view.Redraw();
    UpdateFromView(index);
    // The first position update only ends the display's start-up; a change the user made to the
    // document keeps its modified mark.
    f.firstUpdate = 0;
}

bool CSlideBars::StepActive(bool up)
{
    if (m_active < 0 || m_active >= Count())
        return false;
    const SlideBarState& bar = m_view.Fields().slideBars[m_active];
    const CTalDocument& doc = *m_view.GetDocument();
    bool found = false;
    double best = 0;
    for (int i = 0; i < doc.GetPointCount(bar.dataSetIndex); ++i) {
        const double f = doc.GetFrequency(bar.dataSetIndex, i);
        if (up ? (f > bar.frequency && (!found || f < best)) : (f < bar.frequency && (!found || f > best))) {
            best = f;
            found = true;
        }
    }
    if (found)
        MoveTo(m_active, best);
    return true;
}

void CSlideBars::OnCloseRequested(CSlideBarDlg* dialog)
{
    int index = IndexOf(dialog);
    if (index < 0) {
        prompter().Message("Error- Can't figure out which SlideBar to close. Set to 0.", "");
        index = 0;
    }
    if (index >= Count()) {
        prompter().Message("Error- Not a valid SlideBar number to close.  Aborting.", "");
        return;
    }
    auto& bars = m_view.Fields().slideBars;
    Invalidate(bars[index].region);
    if (CSlideBarDlg* d = Dialog(index))
        m_view.update(d->geometry());
    DestroyDialog(index);
    bars.erase(bars.begin() + index);
    m_dialogs.erase(m_dialogs.begin() + index);
    if (m_active == index)
        m_active = -1;
    else if (m_active > index)
        --m_active;
    m_view.Redraw();
    m_view.GetDocument()->SetModifiedFlag();
}

void CSlideBars::DestroyDialog(int index)
{
    if (CSlideBarDlg* dialog = Dialog(index)) {
        dialog->hide();
        dialog->deleteLater();
    }
}

int CSlideBars::Press(int x, int y)
{
    ViewFields& f = m_view.Fields();
    for (SlideBarState& bar : f.slideBars)
        bar.frequency = std::clamp(bar.frequency, f.frequencyMin, f.frequencyMax);
    for (int i = 0; i < Count(); ++i) {
        SlideBarState& bar = f.slideBars[i];
        const bool visible = bar.dataSetIndex >= 0 && bar.dataSetIndex < int(f.attribs.size()) &&
                             f.attribs[bar.dataSetIndex].visible;
        if (visible && bar.region.Contains(x, y)) {
            bar.dragging = true;
            m_active = i;
            return bar.dataSetIndex;
        }
    }
    return -1;
}

bool CSlideBars::DragTo(int x)
{
    ViewFields& f = m_view.Fields();
    CGraphRenderer* renderer = m_view.Renderer();
    for (int i = 0; i < Count(); ++i) {
        SlideBarState& bar = f.slideBars[i];
        if (!bar.dragging)
            continue;
        if (!renderer)
            return true;
        Invalidate(bar.region);
        bar.frequency = std::clamp(renderer->FrequencyFromX(x), f.frequencyMin, f.frequencyMax);
        bar.value = ValueAt(bar.dataSetIndex, bar.frequency);
        BuildRegion(i);
        Invalidate(bar.region);
        // The Nyquist curves mark the points next to the bar, anywhere on the display.
        if (m_view.GetDisplayKind() == DisplayKind::Nyq)
            m_view.Redraw();
        m_view.GetDocument()->SetModifiedFlag();
        UpdateFromView(i);
        return true;
    }
    return false;
}

void CSlideBars::BuildRegion(int index)
{
    CGraphRenderer* renderer = m_view.Renderer();
    if (!renderer || index < 0 || index >= Count())
        return;
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    ViewPainter dc(painter, m_view.ClientMapping());
    SlideBarState& bar = m_view.Fields().slideBars[index];
    bar.region = renderer->SlideBarRegion(dc, bar.frequency, bar.dataSetIndex);
}

void CSlideBars::Invalidate(const HitGeometry& region)
{
    const LogicalMapping m = m_view.ClientMapping();
    for (const LogicalRect& r : region.Rects())
        m_view.update(QRect(QPoint(m.DeviceX(r.left) - 2, m.DeviceY(r.top) - 2),
                            QPoint(m.DeviceX(r.right) + 2, m.DeviceY(r.bottom) + 2)));
}

void CSlideBars::RemoveDataSet(int index)
{
    auto& bars = m_view.Fields().slideBars;
    for (int i = Count() - 1; i >= 0; --i) {
        if (bars[i].dataSetIndex == index) {
            DestroyDialog(i);
            bars.erase(bars.begin() + i);
            m_dialogs.erase(m_dialogs.begin() + i);
            if (m_active == i)
                m_active = -1;
            else if (m_active > i)
                --m_active;
        } else if (bars[i].dataSetIndex > index) {
            --bars[i].dataSetIndex;
        }
    }
}

void CSlideBars::Load(const std::vector<StoredSlideBar>& stored)
{
    for (int i = Count() - 1; i >= 0; --i)
        DestroyDialog(i);
    m_view.Fields().slideBars.clear();
    m_dialogs.clear();
    m_active = -1;
    const int sets = m_view.GetDocument()->GetDataSetCount();
    for (const StoredSlideBar& bar : stored) {
        // A bar on a data set the file does not hold has nothing to read.
        if (bar.dataSetIndex < 0 || bar.dataSetIndex >= sets || !std::isfinite(bar.frequency))
            continue;
        AppendBar(bar.dataSetIndex, bar.frequency, bar.value, FromStored(bar.rect));
        UpdateFromView(Count() - 1);
    }
}

void CSlideBars::Store(std::vector<StoredSlideBar>& stored) const
{
    stored.clear();
    const auto& bars = m_view.Fields().slideBars;
    for (int i = 0; i < Count(); ++i) {
        const CSlideBarDlg* dialog = Dialog(i);
        const StoredRect rect = dialog ? ToStored(dialog->geometry()) : bars[i].rect;
        stored.push_back({bars[i].dataSetIndex, bars[i].frequency, bars[i].value, rect});
    }
}

void CSlideBars::CopyFrom(const CSlideBars& first)
{
    std::vector<StoredSlideBar> bars;
    first.Store(bars);
    Load(bars);
}

bool CSlideBars::DialogShouldShow(int index) const
{
    const ViewFields& f = m_view.Fields();
    const int set = f.slideBars[index].dataSetIndex;
    return set >= 0 && set < int(f.attribs.size()) && f.attribs[set].visible;
}

void CSlideBars::SyncDialogVisibility()
{
    m_syncQueued = false;
    for (int i = 0; i < Count(); ++i) {
        CSlideBarDlg* dialog = Dialog(i);
        if (dialog && dialog->isHidden() == DialogShouldShow(i))
            dialog->setVisible(DialogShouldShow(i));
    }
}

void CSlideBars::SyncDialogVisibilityLater()
{
    if (m_syncQueued)
        return;
    for (int i = 0; i < Count(); ++i) {
        const CSlideBarDlg* dialog = Dialog(i);
        if (dialog && dialog->isHidden() == DialogShouldShow(i)) {
            m_syncQueued = true;
            QTimer::singleShot(0, this, &CSlideBars::SyncDialogVisibility);
            return;
        }
    }
}

#include "data/TalDocument.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "data/ApplicationData.h"
#include "data/RandomGenerator.h"

namespace {

constexpr double DEGREES_TO_RADIANS = 0.017453292519943295;

// 20 log10 of a linear gain; the no-value sentinel stays itself.
double ToDB(double gain)
{
    return gain == NO_DATA_VALUE ? NO_DATA_VALUE : 20.0 * std::log10(gain);
}

}  // namespace

CTalDocument::CTalDocument() = default;

CTalDocument::~CTalDocument() = default;

void CTalDocument::AddView(CDocumentView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CTalDocument::RemoveView(CDocumentView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

CDocumentView* CTalDocument::GetFirstDisplayView() const
{
    for (CDocumentView* view : m_views)
        if (view->IsDisplayView())
            return view;
    return nullptr;
}

void CTalDocument::UpdateAllViews(int hint)
{
    // A copy, so that a view may close itself while it is being updated.
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views)
        view->OnUpdate(hint);
}

void CTalDocument::OnNewDocument()
{
    while (!m_dataSets.empty())
        DeleteDataSet(GetDataSetCount() - 1);
    m_pathName.clear();
    SetModifiedFlag(false);
    m_nextNumber = 1;
    m_acquisitionSet = nullptr;
    m_lastAddedIndex = -1;
    RandomGenerator& random = processRandom();
    random.Seed(static_cast<uint32_t>(std::time(nullptr)));
    for (int i = 0; i < 6; ++i)
        random.Next();
}

CDataSet* CTalDocument::GetDataSet(int index) const
{
    if (index < 0 || index >= GetDataSetCount())
        return nullptr;
    return m_dataSets[index].get();
}

int CTalDocument::AddDataSet(std::unique_ptr<CDataSet> set)
{
    if (!set)
        return -1;
    // Numbered before the displays hear of it, so that their labels show the number.
    set->m_number = m_nextNumber++;
    m_dataSets.push_back(std::move(set));
    const int index = GetDataSetCount() - 1;
    m_lastAddedIndex = index;
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views)
        if (view->IsDisplayView())
            view->AddDataSetAttributes(index);
    return index;
}

int CTalDocument::DeleteDataSet(int index)
{
    if (index < 0 || index >= GetDataSetCount())
        return 0;
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views)
        if (view->IsDisplayView())
            view->RemoveDataSetAttributes(index);
    // A running sweep must never append to a destroyed set.
    if (m_acquisitionSet == m_dataSets[index].get())
        m_acquisitionSet = nullptr;
    m_dataSets.erase(m_dataSets.begin() + index);
    // Keep the last added index on the same set (or on none once it is gone).
    if (m_lastAddedIndex == index)
        m_lastAddedIndex = -1;
    else if (m_lastAddedIndex > index)
        --m_lastAddedIndex;
    if (m_dataSets.empty())
        m_nextNumber = 1;
    return 1;
}

int CTalDocument::StartAcquisitionSet()
{
    auto set = std::make_unique<CDataSet>();
    m_acquisitionSet = set.get();
    return AddDataSet(std::move(set));
}

int CTalDocument::AppendAcquisitionPoint(double f, double v1, double p1, double v2, double p2,
                                         double v3, double p3, double v4, double p4)
{
    if (!m_acquisitionSet)
        return 0;
    m_acquisitionSet->AddPoint(f, v1, p1, v2, p2, v3, p3, v4, p4);
    SetModifiedFlag();
    return 1;
}

std::string CTalDocument::GetDataSetName(int index) const
{
    const CDataSet* set = GetDataSet(index);
    return set ? set->m_name : std::string();
}

void CTalDocument::SetDataSetName(int index, const std::string& name)
{
    CDataSet* set = GetDataSet(index);
    if (!set)
        return;
    set->m_name = name;
    UpdateAllViews(HINT_ALL);
}

std::string CTalDocument::GetDataSetDescription(int index) const
{
    const CDataSet* set = GetDataSet(index);
    return set ? set->m_description : std::string();
}

void CTalDocument::SetDataSetDescription(int index, const std::string& text)
{
    CDataSet* set = GetDataSet(index);
    if (!set)
        return;
    set->m_description = text;
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views)
        view->RefreshDescriptionDialog(index);
}

int CTalDocument::GetCalibrationRole(int index) const
{
    const CDataSet* set = GetDataSet(index);
    return set ? set->m_calibrationRole : 0;
}

void CTalDocument::SetCalibrationRole(int index, int role)
{
    CDataSet* set = GetDataSet(index);
    if (!set)
        return;
    set->m_calibrationRole = role;
    UpdateAllViews(HINT_ALL);
}

int CTalDocument::GetDataSetNumber(int index) const
{
    const CDataSet* set = GetDataSet(index);
    return set ? set->m_number : 0;
}

// The forwarding accessors below tolerate any index: an unknown set reads as no value.

int CTalDocument::GetPointCount(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetPointCount() : 0;
}

double CTalDocument::GetFrequency(int set, int point) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetFrequency(point) : NO_DATA_VALUE;
}

double CTalDocument::GetNodeVoltage(int set, int point, int node) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetNodeVoltage(point, node) : NO_DATA_VALUE;
}

double CTalDocument::GetNodePhase(int set, int point, int node) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetNodePhase(point, node) : NO_DATA_VALUE;
}

int CTalDocument::GetNodeId(int set, int point, int entry) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetNodeId(point, entry) : 0;
}

int CTalDocument::GetLastNodeIndex(int set, int point) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetLastNodeIndex(point) : -1;
}

double CTalDocument::GetGain(int set, int point) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetGain(point) : NO_DATA_VALUE;
}

double CTalDocument::GetGainDB(int set, int point) const
{
    return ToDB(GetGain(set, point));
}

double CTalDocument::GetPhase(int set, int point) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetPhase(point) : NO_DATA_VALUE;
}

double CTalDocument::GetReal(int set, int point) const
{
    const double gain = GetGain(set, point);
    if (gain == NO_DATA_VALUE)
        return NO_DATA_VALUE;
    return gain * std::cos(GetPhase(set, point) * DEGREES_TO_RADIANS);
}

double CTalDocument::GetImaginary(int set, int point) const
{
    const double gain = GetGain(set, point);
    if (gain == NO_DATA_VALUE)
        return NO_DATA_VALUE;
    return gain * std::sin(GetPhase(set, point) * DEGREES_TO_RADIANS);
}

double CTalDocument::GetGainAt(int set, double f) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetGainAt(f) : NO_DATA_VALUE;
}

double CTalDocument::GetGainAtDB(int set, double f) const
{
    return ToDB(GetGainAt(set, f));
}

double CTalDocument::GetPhaseAt(int set, double f) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetPhaseAt(f) : NO_DATA_VALUE;
}

double CTalDocument::GetSlopeAt(int set, double f) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetSlopeAt(f) : NO_DATA_VALUE;
}

double CTalDocument::GetMinFrequency(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMinFrequency() : NO_DATA_VALUE;
}

double CTalDocument::GetMaxFrequency(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMaxFrequency() : NO_DATA_VALUE;
}

double CTalDocument::GetMinGain(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMinGain() : NO_DATA_VALUE;
}

double CTalDocument::GetMaxGain(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMaxGain() : NO_DATA_VALUE;
}

double CTalDocument::GetMinGainDB(int set) const
{
    return ToDB(GetMinGain(set));
}

double CTalDocument::GetMaxGainDB(int set) const
{
    return ToDB(GetMaxGain(set));
}

double CTalDocument::GetMinPhase(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMinPhase() : NO_DATA_VALUE;
}

double CTalDocument::GetMaxPhase(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetMaxPhase() : NO_DATA_VALUE;
}

uint32_t CTalDocument::GetGainColor(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetGainColor() : 0x0000FF;
}

uint32_t CTalDocument::GetPhaseColor(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetPhaseColor() : 0xFF0000;
}

uint32_t CTalDocument::GetNodeColor(int set, int which) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetNodeColor(which) : 0xFF00FF;
}

void CTalDocument::SetGainColor(int set, uint32_t color)
{
    CDataSet* s = GetDataSet(set);
    if (!s)
        return;
    s->SetGainColor(color);
    if (CDocumentView* view = GetFirstDisplayView())
        view->OnDataSetColorChanged(set);
}

void CTalDocument::SetPhaseColor(int set, uint32_t color)
{
    CDataSet* s = GetDataSet(set);
    if (!s)
        return;
    s->SetPhaseColor(color);
    if (CDocumentView* view = GetFirstDisplayView())
        view->OnDataSetColorChanged(set);
}

int CTalDocument::GetInputNode(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetInputNode() : 0;
}

int CTalDocument::GetOutputNode(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetOutputNode() : 0;
}

int CTalDocument::SetInputNode(int set, int node)
{
    CDataSet* s = GetDataSet(set);
    return s ? s->SetInputNode(node) : 0;
}

int CTalDocument::SetOutputNode(int set, int node)
{
    CDataSet* s = GetDataSet(set);
    return s ? s->SetOutputNode(node) : 0;
}

double CTalDocument::GetScaleFactor(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetScaleFactor() : NO_DATA_VALUE;
}

int CTalDocument::SetScaleFactor(int set, double value)
{
    CDataSet* s = GetDataSet(set);
    return s ? s->SetScaleFactor(value) : 0;
}

int CTalDocument::GetInputRange(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetInputRange() : appData().inputRange;
}

int CTalDocument::GetChannelPair(int set) const
{
    const CDataSet* s = GetDataSet(set);
    return s ? s->GetChannelPair() : appData().channelPair;
}

void CTalDocument::RecalcAllLimits()
{
    for (const auto& set : m_dataSets)
        set->RecalcLimits();
}

void CTalDocument::SaveModified()
{
    CDocumentView* view = GetFirstDisplayView();
    if (view && view->CommitAnnotationEdit())
        SetModifiedFlag();
}

#include "data/DataSet.h"

#include <algorithm>
#include <cmath>

#include "data/ApplicationData.h"

namespace {

constexpr double RESET_MIN = 1e99;  // starting minimum of voltage and gain limits
constexpr double PHASE_RESET = 10000.0;

void Widen(double value, double& lo, double& hi)
{
    if (value < lo)
        lo = value;
    if (value > hi)
        hi = value;
}

}  // namespace

CDataSet::CDataSet()
{
    const ApplicationData& app = appData();
    std::copy(std::begin(app.defaultNodeColor), std::end(app.defaultNodeColor), m_nodeColor);
    m_inputRange = app.inputRange;
    m_channelPair = app.channelPair;
    m_gainColor = app.defaultGainColor;
    m_phaseColor = app.defaultPhaseColor;
    m_inputNode = app.defaultInputNode;
    m_outputNode = app.defaultOutputNode;
    m_scaleFactor = app.defaultScaleFactor;
    ResetLimits();
}

CDataSet::CDataSet(const CDataSet& other)
    : m_inputRange(other.m_inputRange),
      m_channelPair(other.m_channelPair),
      m_name(other.m_name),
      m_calibrationRole(other.m_calibrationRole),
      m_gainColor(other.m_gainColor),
      m_phaseColor(other.m_phaseColor),
      m_inputNode(other.m_inputNode),
      m_outputNode(other.m_outputNode),
      m_reserved(other.m_reserved),
      m_scaleFactor(other.m_scaleFactor)
{
    std::copy(std::begin(other.m_nodeColor), std::end(other.m_nodeColor), m_nodeColor);
    ResetLimits();
    m_points.reserve(other.m_points.size());
    for (const auto& point : other.m_points)
        AppendPoint(std::make_unique<CDataPoint>(*point));
}

CDataSet::~CDataSet()
{
    while (!m_points.empty())
        m_points.pop_back();
}

double CDataSet::GetFrequency(int index) const
{
    if (index < 0 || index >= GetPointCount())
        return NO_DATA_VALUE;
    return m_points[index]->m_frequency;
}

double CDataSet::GetGain(int index) const
{
    if (index < 0 || index >= GetPointCount())
        return NO_DATA_VALUE;
    const CDataPoint& p = *m_points[index];
    return std::fabs(p.GetVoltage(m_outputNode) * m_scaleFactor / p.GetVoltage(m_inputNode));
}

double CDataSet::GetPhase(int index) const
{
    if (index < 0 || index >= GetPointCount())
        return NO_DATA_VALUE;
    const CDataPoint& p = *m_points[index];
    return WrapPhase(p.GetPhase(m_outputNode) + (m_scaleFactor < 0 ? 180.0 : 0.0) -
                     p.GetPhase(m_inputNode));
}

double CDataSet::GetNodeVoltage(int index, int node) const
{
    if (index < 0 || index >= GetPointCount())
        return NO_DATA_VALUE;
    return m_points[index]->GetVoltage(node);
}

double CDataSet::GetNodePhase(int index, int node) const
{
    if (index < 0 || index >= GetPointCount())
        return NO_DATA_VALUE;
    return m_points[index]->GetPhase(node);
}

int CDataSet::GetLastNodeIndex(int index) const
{
    if (index < 0 || index >= GetPointCount())
        return -1;
    return static_cast<int>(m_points[index]->m_nodes.size()) - 1;
}

int CDataSet::GetNodeId(int index, int entry) const
{
    if (index < 0 || index >= GetPointCount())
        return 0;
    const auto& nodes = m_points[index]->m_nodes;
    if (entry < 0 || entry >= static_cast<int>(nodes.size()))
        return 0;
    return nodes[entry].node;
}

int CDataSet::FindPoint(double frequency) const
{
    for (int i = 0; i < GetPointCount(); ++i)
        if (m_points[i]->m_frequency == frequency)
            return i;
    return -1;
}

int CDataSet::FindIndex(double frequency) const
{
    if (m_points.empty() || frequency < m_minFrequency || frequency > m_maxFrequency)
        return -1;
    const int count = GetPointCount();
    if (frequency > m_points[0]->m_frequency) {
        for (int i = 0; i < count; ++i)
            if (frequency <= m_points[i]->m_frequency)
                return i;
    } else {
        for (int i = 0; i < count; ++i)
            if (frequency >= m_points[i]->m_frequency)
                return i;
    }
    return -1;
}

double CDataSet::GetGainAt(double frequency) const
{
    const int a = FindIndex(frequency);
    if (a < 0)
        return NO_DATA_VALUE;
    if (a == 0)
        return GetGain(0);
    const int b = a - 1;
    const double lgGb = std::log10(GetGain(b));
    const double lgFb = std::log10(GetFrequency(b));
    const double slope = (std::log10(GetGain(a)) - lgGb) / (std::log10(GetFrequency(a)) - lgFb);
    return std::pow(10.0, lgGb + (std::log10(frequency) - lgFb) * slope);
}

double CDataSet::GetPhaseAt(double frequency) const
{
    const int a = FindIndex(frequency);
    if (a < 0)
        return NO_DATA_VALUE;
    if (a == 0)
        return GetPhase(0);
    const double e = GetPhase(a - 1);
    const double d = GetPhase(a);
    const double lgF0 = std::log10(GetFrequency(a - 1));
    const double t = (std::log10(frequency) - lgF0) / (std::log10(GetFrequency(a)) - lgF0);
    if (std::fabs(d - e) <= 180.0)
        return e + t * (d - e);
    // Take the short way round through +-180.
    const double e2 = e < 0 ? e + 360.0 : e;
    const double d2 = e < 0 ? d : d + 360.0;
    const double r = e2 + t * (d2 - e2);
    return r <= 180.0 ? r : r - 360.0;
}

double CDataSet::GetSlopeAt(double frequency) const
{
    int a = FindIndex(frequency);
    // A slope needs two points; a single point has none.
    if (a < 0 || GetPointCount() < 2)
        return NO_DATA_VALUE;
    if (a == 0)
        a = 1;
    return (std::log10(GetGain(a)) - std::log10(GetGain(a - 1))) /
           (std::log10(GetFrequency(a)) - std::log10(GetFrequency(a - 1)));
}

bool CDataSet::AddPoint(double f, double v1, double p1, double v2, double p2)
{
    AppendPoint(std::make_unique<CDataPoint>(f, v1, p1, v2, p2));
    return true;
}

bool CDataSet::AddPoint(double f, double v1, double p1, double v2, double p2, double v3, double p3)
{
    AppendPoint(std::make_unique<CDataPoint>(f, v1, p1, v2, p2, v3, p3));
    return true;
}

bool CDataSet::AddPoint(double f, double v1, double p1, double v2, double p2, double v3, double p3,
                        double v4, double p4)
{
    AppendPoint(std::make_unique<CDataPoint>(f, v1, p1, v2, p2, v3, p3, v4, p4));
    return true;
}

int CDataSet::AddNodeReading(double frequency, int node, double voltage, double phase)
{
    const int index = FindPoint(frequency);
    if (index < 0) {
        auto point = std::make_unique<CDataPoint>(frequency);
        const int added = point->AddNode(node, voltage, phase);
        AppendPoint(std::move(point));
        return added;
    }
    const int added = m_points[index]->AddNode(node, voltage, phase);
    if (added)
        WidenLimits(index);
    return added;
}

void CDataSet::AppendPoint(std::unique_ptr<CDataPoint> point)
{
    if (!point)
        return;
    m_points.push_back(std::move(point));
    UpdateLimitsWithLast();
}

namespace {

bool FirstPointHasNode(const std::vector<std::unique_ptr<CDataPoint>>& points, int node)
{
    if (points.empty())
        return false;
    const auto& nodes = points.front()->m_nodes;
    return std::any_of(nodes.begin(), nodes.end(),
                       [node](const CDataPoint::NodeVoltagePhase& e) { return e.node == node; });
}

}  // namespace

int CDataSet::SetInputNode(int node)
{
    if (!FirstPointHasNode(m_points, node))
        return 0;
    m_inputNode = node;
    RecalcLimits();
    return 1;
}

int CDataSet::SetOutputNode(int node)
{
    if (!FirstPointHasNode(m_points, node))
        return 0;
    m_outputNode = node;
    RecalcLimits();
    return 1;
}

int CDataSet::SetScaleFactor(double value)
{
    // Zero would erase every gain; a non-finite factor would poison every derived value.
    if (value == 0 || !std::isfinite(value))
        return 0;
    m_scaleFactor = value;
    RecalcLimits();
    return 1;
}

uint32_t CDataSet::GetNodeColor(int which) const
{
    return m_nodeColor[which >= 1 && which <= 3 ? which - 1 : 3];
}

void CDataSet::SetNodeColor(int which, uint32_t c)
{
    m_nodeColor[which >= 1 && which <= 3 ? which - 1 : 3] = c;
}

void CDataSet::RemoveAll()
{
    while (!m_points.empty())
        m_points.pop_back();
    RecalcLimits();
}

void CDataSet::ResetLimits()
{
    m_minFrequency = MAX_FREQUENCY;
    m_maxFrequency = MIN_FREQUENCY;
    for (int k = 0; k < 4; ++k) {
        m_minVoltage[k] = RESET_MIN;
        m_maxVoltage[k] = ABSENT_VOLTAGE;
    }
    m_minGain = RESET_MIN;
    m_maxGain = ABSENT_VOLTAGE;
    m_minPhase = PHASE_RESET;
    m_maxPhase = -PHASE_RESET;
}

void CDataSet::WidenLimits(int index)
{
    const CDataPoint& p = *m_points[index];
    Widen(p.m_frequency, m_minFrequency, m_maxFrequency);
    for (int k = 0; k < 4; ++k)
        Widen(p.GetVoltage(k + 1), m_minVoltage[k], m_maxVoltage[k]);
    Widen(GetGain(index), m_minGain, m_maxGain);
    Widen(GetPhase(index), m_minPhase, m_maxPhase);
}

void CDataSet::RecalcLimits()
{
    ResetLimits();
    for (int i = 0; i < GetPointCount(); ++i)
        WidenLimits(i);
}

void CDataSet::UpdateLimitsWithLast()
{
    if (!m_points.empty())
        WidenLimits(GetPointCount() - 1);
}

CDataSet& CDataSet::CopyFrom(const CDataSet& other)
{
    if (&other == this)
        return *this;
    RemoveAll();
    m_points.reserve(other.m_points.size());
    for (const auto& point : other.m_points)
        AppendPoint(std::make_unique<CDataPoint>(*point));
    m_minGain = other.m_minGain;
    m_maxGain = other.m_maxGain;
    m_minPhase = other.m_minPhase;
    m_maxPhase = other.m_maxPhase;
    m_gainColor = other.m_gainColor;
    m_phaseColor = other.m_phaseColor;
    m_inputNode = other.m_inputNode;
    m_outputNode = other.m_outputNode;
    m_reserved = other.m_reserved;
    m_scaleFactor = other.m_scaleFactor;
    m_inputRange = other.m_inputRange;
    m_channelPair = other.m_channelPair;
    return *this;
}

void CDataSet::SortByFrequency()
{
    // NaN frequencies (possible in a loaded file) sort last, keeping the order strict.
    std::sort(m_points.begin(), m_points.end(),
              [](const std::unique_ptr<CDataPoint>& a, const std::unique_ptr<CDataPoint>& b) {
                  const double fa = a->m_frequency, fb = b->m_frequency;
                  if (std::isnan(fb))
                      return !std::isnan(fa);
                  return fa < fb;
              });
}

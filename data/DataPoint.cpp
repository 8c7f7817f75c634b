#include "data/DataPoint.h"

#include <cmath>

double WrapPhase(double degrees)
{
    double whole = 0;
    const double fraction = std::modf((degrees + 180.0) / 360.0, &whole);
    const double r = 360.0 * fraction;
    return r > 0 ? r - 180.0 : r + 180.0;
}

CDataPoint::CDataPoint(double frequency)
    : m_frequency(frequency >= MIN_FREQUENCY && frequency <= MAX_FREQUENCY ? frequency
                                                                           : MIN_FREQUENCY)
{
}

CDataPoint::CDataPoint(double frequency, double v1, double p1, double v2, double p2)
    : CDataPoint(frequency)
{
    AddNode(1, v1, p1);
    AddNode(2, v2, p2);
}

CDataPoint::CDataPoint(double frequency, double v1, double p1, double v2, double p2, double v3,
                       double p3)
    : CDataPoint(frequency, v1, p1, v2, p2)
{
    AddNode(3, v3, p3);
}

CDataPoint::CDataPoint(double frequency, double v1, double p1, double v2, double p2, double v3,
                       double p3, double v4, double p4)
    : CDataPoint(frequency, v1, p1, v2, p2, v3, p3)
{
    AddNode(4, v4, p4);
}

CDataPoint::CDataPoint(const CDataPoint& other) : m_frequency(other.m_frequency)
{
    m_nodes.reserve(other.m_nodes.size());
    for (const NodeVoltagePhase& entry : other.m_nodes)
        AddNode(entry.node, entry.voltage, entry.phase);
}

int CDataPoint::AddNode(int node, double voltage, double phase)
{
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it)
        if (it->node == node)
            return 0;
    const double storedPhase = voltage < 0 ? WrapPhase(phase + 180.0) : WrapPhase(phase);
    const double storedVoltage = voltage == 0 ? ABSENT_VOLTAGE : std::fabs(voltage);
    m_nodes.push_back({node, storedVoltage, storedPhase});
    return 1;
}

double CDataPoint::GetVoltage(int node) const
{
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it)
        if (it->node == node)
            return it->voltage;
    return ABSENT_VOLTAGE;
}

double CDataPoint::GetPhase(int node) const
{
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it)
        if (it->node == node)
            return it->phase;
    return ABSENT_PHASE;
}

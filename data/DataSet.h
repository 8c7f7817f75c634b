#pragma once
// A measured, imported or computed curve: raw node readings plus the node pair and scale
// factor from which gain (or impedance) and phase are derived on demand.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/DataPoint.h"

class CArchive;

class CDataSet {
public:
    CDataSet();                          // fields from appData() defaults
    CDataSet(const CDataSet& other);     // deep copy of points; description starts empty
    CDataSet& operator=(const CDataSet&) = delete;
    virtual ~CDataSet();

    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    double GetFrequency(int index) const;
    double GetGain(int index) const;
    double GetPhase(int index) const;
    double GetNodeVoltage(int index, int node) const;
    double GetNodePhase(int index, int node) const;
    int GetLastNodeIndex(int index) const;        // -1 for an invalid index
    int GetNodeId(int index, int entry) const;    // 0 for an invalid index or entry

    int FindPoint(double frequency) const;
    int FindIndex(double frequency) const;
    double GetGainAt(double frequency) const;
    double GetPhaseAt(double frequency) const;
    double GetSlopeAt(double frequency) const;

    bool AddPoint(double f, double v1, double p1, double v2, double p2);
    bool AddPoint(double f, double v1, double p1, double v2, double p2, double v3, double p3);
    bool AddPoint(double f, double v1, double p1, double v2, double p2, double v3, double p3,
                  double v4, double p4);
    // Adds one node reading to the point at exactly `frequency` (appended if none); limits are
    // widened with that point, so call RecalcLimits after a batch for exact gain/phase limits.
    int AddNodeReading(double frequency, int node, double voltage, double phase);
    // Appends an already built point (takes ownership), then UpdateLimitsWithLast.
    void AppendPoint(std::unique_ptr<CDataPoint> point);

    int GetInputNode() const { return m_inputNode; }
    int GetOutputNode() const { return m_outputNode; }
    int SetInputNode(int node);
    int SetOutputNode(int node);
    double GetScaleFactor() const { return m_scaleFactor; }
    int SetScaleFactor(double value);  // refuses 0 and non-finite values

    uint32_t GetGainColor() const { return m_gainColor; }
    void SetGainColor(uint32_t c) { m_gainColor = c; }
    uint32_t GetPhaseColor() const { return m_phaseColor; }
    void SetPhaseColor(uint32_t c) { m_phaseColor = c; }
    uint32_t GetNodeColor(int which) const;   // 1, 2, 3; anything else means node 4
    void SetNodeColor(int which, uint32_t c);

    double GetMinFrequency() const { return m_minFrequency; }
    double GetMaxFrequency() const { return m_maxFrequency; }
    double GetMinGain() const { return m_minGain; }
    double GetMaxGain() const { return m_maxGain; }
    double GetMinPhase() const { return m_minPhase; }
    double GetMaxPhase() const { return m_maxPhase; }
    int GetInputRange() const { return m_inputRange; }
    int GetChannelPair() const { return m_channelPair; }

    void RemoveAll();
    virtual void RecalcLimits();
    virtual void UpdateLimitsWithLast();
    CDataSet& CopyFrom(const CDataSet& other);
    void SortByFrequency();

    virtual void Serialize(CArchive& ar);

    std::vector<std::unique_ptr<CDataPoint>> m_points;
    uint32_t m_nodeColor[4];
    double m_maxFrequency;
    double m_minFrequency;
    double m_minVoltage[4];
    double m_maxVoltage[4];
    int m_inputRange;
    int m_channelPair;
    int m_version = 5;
    std::string m_description;  // UTF-8 in memory
    int m_number = 0;
    std::string m_name;
    int m_calibrationRole = 0;
    uint32_t m_gainColor;
    uint32_t m_phaseColor;
    double m_maxGain;
    double m_minGain;
    double m_maxPhase;
    double m_minPhase;
    int m_inputNode;
    int m_outputNode;
    int m_reserved = 3;
    double m_scaleFactor;

protected:
    void ResetLimits();
    void WidenLimits(int index);
};

// Created only by the file loader; differ from CDataSet in how they read record version 0.
class CDataSetGain : public CDataSet {
public:
    void Serialize(CArchive& ar) override;
};

class CDataSetImp : public CDataSet {
public:
    void Serialize(CArchive& ar) override;
};

#pragma once
// One frequency of a data set: the amplitude and phase read at up to four nodes.
#include <vector>

class CArchive;

// Sentinels shared by every getter and by the displays.
constexpr double NO_DATA_VALUE = 9e99;     // index or frequency out of range
constexpr double ABSENT_VOLTAGE = 1e-99;   // node missing from a point; also a stored 0 V
constexpr double ABSENT_PHASE = -10000.0;  // phase of a missing node
constexpr double MIN_FREQUENCY = 1e-6;
constexpr double MAX_FREQUENCY = 1e15;

// Wraps a phase in degrees into (-180, 180]; odd multiples of 180 give +180.
double WrapPhase(double degrees);

class CDataPoint {
public:
    struct NodeVoltagePhase {
        int node;
        double voltage;  // > 0
        double phase;    // (-180, 180]
    };

    explicit CDataPoint(double frequency = MIN_FREQUENCY);
    CDataPoint(double frequency, double v1, double p1, double v2, double p2);
    CDataPoint(double frequency, double v1, double p1, double v2, double p2, double v3, double p3);
    CDataPoint(double frequency, double v1, double p1, double v2, double p2, double v3, double p3,
               double v4, double p4);
    CDataPoint(const CDataPoint& other);  // frequency copied without range check
    CDataPoint& operator=(const CDataPoint&) = delete;
    virtual ~CDataPoint() = default;

    // Adds a reading; 0 if the node is already present. Negative voltage flips the phase by 180.
    int AddNode(int node, double voltage, double phase);
    double GetVoltage(int node) const;  // ABSENT_VOLTAGE if absent
    double GetPhase(int node) const;    // ABSENT_PHASE if absent

    virtual void Serialize(CArchive& ar);

    double m_frequency;
    std::vector<NodeVoltagePhase> m_nodes;
};

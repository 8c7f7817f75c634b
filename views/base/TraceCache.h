#pragma once
// Values of every point that the curves need, derived once per data set instead of at every
// repaint: log10 of the frequency, log10 of the gain (or impedance) and the phase. A full
// redraw request empties the cache; points appended during a sweep extend it.
#include <unordered_map>
#include <vector>

class CDataSet;

struct TraceValues {
    std::vector<double> logFrequency;
    std::vector<double> logGain;
    std::vector<double> phase;
    bool ascending = true, descending = true;  // by frequency
    int Count() const { return static_cast<int>(logFrequency.size()); }
};

class TraceCache {
public:
    const TraceValues& Get(const CDataSet& set);
    void Invalidate() { m_entries.clear(); }

private:
    struct Entry {
        const void* firstPoint = nullptr;
        const void* lastPoint = nullptr;
        int inputNode = 0, outputNode = 0;
        double scaleFactor = 0;
        TraceValues values;
    };
    std::unordered_map<const CDataSet*, Entry> m_entries;
};

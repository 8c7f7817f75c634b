#include "views/base/TraceCache.h"

#include <cmath>

#include "data/DataSet.h"

const TraceValues& TraceCache::Get(const CDataSet& set)
{
    Entry& entry = m_entries[&set];
    const int count = set.GetPointCount();
    const int cached = entry.values.Count();
    // Still the same points (appended to at most) and the same derivation?
    const bool same = cached <= count && entry.inputNode == set.GetInputNode() &&
                      entry.outputNode == set.GetOutputNode() && entry.scaleFactor == set.GetScaleFactor() &&
                      (cached == 0 || (entry.firstPoint == set.m_points.front().get() &&
                                       entry.lastPoint == set.m_points[cached - 1].get()));
    int from = cached;
    if (!same) {
        entry.values = TraceValues{};
        entry.inputNode = set.GetInputNode();
        entry.outputNode = set.GetOutputNode();
        entry.scaleFactor = set.GetScaleFactor();
        from = 0;
    }
    TraceValues& v = entry.values;
    if (from == 0) {
        // Appended points (a sweep) grow the vectors geometrically instead.
        v.logFrequency.reserve(count);
        v.logGain.reserve(count);
        v.phase.reserve(count);
    }
    for (int i = from; i < count; ++i) {
        const double lf = std::log10(set.GetFrequency(i));
        if (!v.logFrequency.empty()) {
            v.ascending = v.ascending && lf >= v.logFrequency.back();
            v.descending = v.descending && lf <= v.logFrequency.back();
        }
        v.logFrequency.push_back(lf);
        v.logGain.push_back(std::log10(set.GetGain(i)));
        v.phase.push_back(set.GetPhase(i));
    }
    if (count > 0) {
        entry.firstPoint = set.m_points.front().get();
        entry.lastPoint = set.m_points[count - 1].get();
    }
    return v;
}

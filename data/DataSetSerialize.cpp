// Records of data points and data sets, for every record version a document file may hold.
#include "data/DataSetSerialize.h"

#include <cmath>
#include <cstring>
#include <unordered_set>

#include "data/archive/Archive.h"

namespace {

constexpr ArchiveClass kSetClasses[] = {{"CDataSet", 1}, {"CDataSetGain", 1}, {"CDataSetImp", 1}};
enum SetClass { kPlainSet = 0, kGainSet = 1, kImpSet = 2 };
constexpr ArchiveClass kPointClasses[] = {{"CDataPoint", 1}};

constexpr int kLatestSetVersion = 5;
constexpr int kPointVersion = 1;
// Smallest encodings, used to bound counts before allocating: a point reference is a tag and
// at least a marker double and a version int; a node entry is an int and two doubles.
constexpr size_t kMinPointObjectBytes = 2 + 8 + 4;
constexpr size_t kNodeEntryBytes = 4 + 8 + 8;
// Points with more entries than this detect repeated nodes with a set, not a scan per entry.
constexpr uint32_t kLinearNodeScanLimit = 8;

// Version 0 of a gain or impedance set continues after the points with its gain limits,
// which a gain set stored in dB.
enum class OldGainLimits { None, Decibel, Linear };

[[noreturn]] void Reject(const char* what)
{
    throw ArchiveError(what);
}

template <class T, class Make>
std::unique_ptr<T> ReadOwnedObject(CArchive& ar, std::span<const ArchiveClass> classes, Make make)
{
    const CArchive::ObjectTag tag = ar.ReadObjectTag(classes);
    if (tag.kind != CArchive::ObjectTag::Kind::New)
        Reject("object missing or shared");
    // Not registered for back-references: every object has exactly one owner.
    std::unique_ptr<T> object = make(tag.classId);
    object->Serialize(ar);
    return object;
}

template <class T>
T Decode(const uint8_t* bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

template <class T>
uint8_t* Encode(uint8_t* out, T value)
{
    std::memcpy(out, &value, sizeof(T));
    return out + sizeof(T);
}

// `count` entries of kNodeEntryBytes each, in file order.
void AddNodeEntries(CDataPoint& point, const uint8_t* entries, uint32_t count)
{
    point.m_nodes.reserve(count);
    if (count <= kLinearNodeScanLimit) {
        for (uint32_t i = 0; i < count; ++i, entries += kNodeEntryBytes)
            point.AddNode(Decode<int32_t>(entries), Decode<double>(entries + 4),
                          Decode<double>(entries + 12));
        return;
    }
    // Same result as AddNode for each entry (the first of a repeated node wins), in linear time.
    std::unordered_set<int> seen;
    CDataPoint single;
    for (uint32_t i = 0; i < count; ++i, entries += kNodeEntryBytes) {
        const int node = Decode<int32_t>(entries);
        if (!seen.insert(node).second)
            continue;
        single.m_nodes.clear();
        single.AddNode(node, Decode<double>(entries + 4), Decode<double>(entries + 12));
        point.m_nodes.push_back(single.m_nodes.front());
    }
}

void LoadPoint(CArchive& ar, CDataPoint& point)
{
    const double first = ar.ReadDouble();
    if (first != 0) {
        // Oldest form: the frequency, then voltage and phase of nodes 1, 2 and 3.
        point.m_frequency = first;
        const uint8_t* pairs = ar.TakeBytes(3 * 16);
        for (int node = 1; node <= 3; ++node, pairs += 16)
            point.AddNode(node, Decode<double>(pairs), Decode<double>(pairs + 8));
        return;
    }
    if (ar.ReadInt() != kPointVersion)
        return;  // a later record version: nothing more of the point is known
    const uint8_t* head = ar.TakeBytes(8 + 4);
    point.m_frequency = Decode<double>(head);
    const int32_t lastEntry = Decode<int32_t>(head + 8);
    const uint32_t count = lastEntry < 0 ? 0 : static_cast<uint32_t>(lastEntry) + 1;
    ar.RequireItems(count, kNodeEntryBytes);
    AddNodeEntries(point, ar.TakeBytes(size_t{count} * kNodeEntryBytes), count);
}

// Marker, version, frequency and entry index, then the entries from the last to the first.
void StorePoint(CArchive& ar, const CDataPoint& point)
{
    const size_t entries = point.m_nodes.size();
    uint8_t* out = ar.Extend(8 + 4 + 8 + 4 + entries * kNodeEntryBytes);
    out = Encode(out, 0.0);
    out = Encode<int32_t>(out, kPointVersion);
    out = Encode(out, point.m_frequency);
    out = Encode(out, static_cast<int32_t>(entries) - 1);
    for (auto it = point.m_nodes.rbegin(); it != point.m_nodes.rend(); ++it) {
        out = Encode<int32_t>(out, it->node);
        out = Encode(out, it->voltage);
        out = Encode(out, it->phase);
    }
}

void ReadPoints(CArchive& ar, CDataSet& set)
{
    const uint32_t count = ar.ReadCount(kMinPointObjectBytes);
    set.m_points.clear();
    set.m_points.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (ar.ReadObjectTag(kPointClasses).kind != CArchive::ObjectTag::Kind::New)
            Reject("object missing or shared");
        // Points are plain CDataPoint objects, decoded here without the virtual call.
        auto point = std::make_unique<CDataPoint>();
        LoadPoint(ar, *point);
        set.m_points.push_back(std::move(point));
    }
}

void WritePoints(CArchive& ar, const CDataSet& set)
{
    ar.WriteCount(static_cast<uint32_t>(set.m_points.size()));
    for (const auto& point : set.m_points) {
        ar.WriteNewObject(kPointClasses[0]);
        StorePoint(ar, *point);
    }
}

uint32_t ReadColor(CArchive& ar)
{
    return static_cast<uint32_t>(ar.ReadInt());
}

// A stored scale factor of 0 (or not a number) would make every gain 0 or undefined; the set
// keeps its default then, as SetScaleFactor would.
void ReadScaleFactor(CArchive& ar, CDataSet& set)
{
    const double value = ar.ReadDouble();
    if (value != 0 && std::isfinite(value))
        set.m_scaleFactor = value;
}

void ReadVoltageLimits(CArchive& ar, CDataSet& set, int firstNode, int lastNode)
{
    for (int k = firstNode; k <= lastNode; ++k) {
        set.m_minVoltage[k] = ar.ReadDouble();
        set.m_maxVoltage[k] = ar.ReadDouble();
    }
}

void ReadVersion0(CArchive& ar, CDataSet& set, double minFrequency, OldGainLimits gainLimits)
{
    set.m_version = 0;
    set.m_minFrequency = minFrequency;
    set.m_maxFrequency = ar.ReadDouble();
    ReadVoltageLimits(ar, set, 0, 2);
    for (int k = 0; k < 3; ++k)
        set.m_nodeColor[k] = ReadColor(ar);
    set.m_description = ar.ReadString();
    set.m_number = ar.ReadInt();
    ReadPoints(ar, set);
    if (gainLimits == OldGainLimits::None)
        return;
    const double minGain = ar.ReadDouble();
    const double maxGain = ar.ReadDouble();
    set.m_minGain = gainLimits == OldGainLimits::Decibel ? std::pow(10.0, minGain * 0.05) : minGain;
    set.m_maxGain = gainLimits == OldGainLimits::Decibel ? std::pow(10.0, maxGain * 0.05) : maxGain;
    set.m_minPhase = ar.ReadDouble();
    set.m_maxPhase = ar.ReadDouble();
    set.m_gainColor = ReadColor(ar);
    set.m_phaseColor = ReadColor(ar);
    set.m_outputNode = ar.ReadInt();
    set.m_inputNode = ar.ReadInt();
    ReadScaleFactor(ar, set);
}

void LoadDataSet(CArchive& ar, CDataSet& set, OldGainLimits oldGainLimits)
{
    set.m_description.clear();
    set.m_calibrationRole = 0;
    const double first = ar.ReadDouble();
    if (first != 0) {
        ReadVersion0(ar, set, first, oldGainLimits);
        return;
    }
    const int version = ar.ReadInt();
    if (version < 0 || version > kLatestSetVersion)
        Reject("unknown data-set record version");
    set.m_version = version;
    if (version >= 1) {
        set.m_gainColor = ReadColor(ar);
        set.m_phaseColor = ReadColor(ar);
        for (int k = 0; k < 3; ++k)
            set.m_nodeColor[k] = ReadColor(ar);
        set.m_minFrequency = ar.ReadDouble();
        set.m_maxFrequency = ar.ReadDouble();
        set.m_minGain = ar.ReadDouble();
        set.m_maxGain = ar.ReadDouble();
        set.m_minPhase = ar.ReadDouble();
        set.m_maxPhase = ar.ReadDouble();
        ReadVoltageLimits(ar, set, 0, 2);
        set.m_number = ar.ReadInt();
        set.m_reserved = ar.ReadInt();
        set.m_outputNode = ar.ReadInt();
        set.m_inputNode = ar.ReadInt();
        ReadScaleFactor(ar, set);
        set.m_description = ar.ReadString();
    }
    if (version >= 2)
        set.m_name = ar.ReadString();
    if (version >= 3)
        set.m_calibrationRole = ar.ReadInt();
    if (version >= 4) {
        set.m_nodeColor[3] = ReadColor(ar);
        ReadVoltageLimits(ar, set, 3, 3);
    }
    if (version >= 5) {
        set.m_inputRange = ar.ReadInt();
        set.m_channelPair = ar.ReadInt();
    }
    ReadPoints(ar, set);
}

void StoreDataSet(CArchive& ar, const CDataSet& set)
{
    ar.WriteDouble(0.0);
    ar.WriteInt(kLatestSetVersion);
    ar.WriteInt(static_cast<int32_t>(set.m_gainColor));
    ar.WriteInt(static_cast<int32_t>(set.m_phaseColor));
    for (int k = 0; k < 3; ++k)
        ar.WriteInt(static_cast<int32_t>(set.m_nodeColor[k]));
    ar.WriteDouble(set.m_minFrequency);
    ar.WriteDouble(set.m_maxFrequency);
    ar.WriteDouble(set.m_minGain);
    ar.WriteDouble(set.m_maxGain);
    ar.WriteDouble(set.m_minPhase);
    ar.WriteDouble(set.m_maxPhase);
    for (int k = 0; k < 3; ++k) {
        ar.WriteDouble(set.m_minVoltage[k]);
        ar.WriteDouble(set.m_maxVoltage[k]);
    }
    ar.WriteInt(set.m_number);
    ar.WriteInt(set.m_reserved);
    ar.WriteInt(set.m_outputNode);
    ar.WriteInt(set.m_inputNode);
    ar.WriteDouble(set.m_scaleFactor);
    ar.WriteString(set.m_description);
    ar.WriteString(set.m_name);
    ar.WriteInt(set.m_calibrationRole);
    ar.WriteInt(static_cast<int32_t>(set.m_nodeColor[3]));
    ar.WriteDouble(set.m_minVoltage[3]);
    ar.WriteDouble(set.m_maxVoltage[3]);
    ar.WriteInt(set.m_inputRange);
    ar.WriteInt(set.m_channelPair);
    WritePoints(ar, set);
}

}  // namespace

void CDataPoint::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StorePoint(ar, *this);
    else
        LoadPoint(ar, *this);
}

void CDataSet::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StoreDataSet(ar, *this);
    else
        LoadDataSet(ar, *this, OldGainLimits::None);
}

void CDataSetGain::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StoreDataSet(ar, *this);
    else
        LoadDataSet(ar, *this, OldGainLimits::Decibel);
}

void CDataSetImp::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StoreDataSet(ar, *this);
    else
        LoadDataSet(ar, *this, OldGainLimits::Linear);
}

std::unique_ptr<CDataSet> ReadDataSetObject(CArchive& ar)
{
    return ReadOwnedObject<CDataSet>(ar, kSetClasses, [](int classId) -> std::unique_ptr<CDataSet> {
        switch (classId) {
        case kGainSet: return std::make_unique<CDataSetGain>();
        case kImpSet: return std::make_unique<CDataSetImp>();
        default: return std::make_unique<CDataSet>();
        }
    });
}

void WriteDataSetObject(CArchive& ar, CDataSet& set)
{
    const SetClass cls = dynamic_cast<const CDataSetGain*>(&set)  ? kGainSet
                         : dynamic_cast<const CDataSetImp*>(&set) ? kImpSet
                                                                  : kPlainSet;
    ar.WriteNewObject(kSetClasses[cls]);
    set.Serialize(ar);
}

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/ApplicationData.h"
#include "data/TalDocument.h"
#include "data/archive/Archive.h"
#include "tests/data/ByteBuilder.h"

namespace fs = std::filesystem;

namespace {

constexpr char kUnexpected[] = "Unexpected file format.";

// A display that records what the document tells it.
class RecordingView : public CDocumentView {
public:
    explicit RecordingView(DisplayKind kind) : m_kind(kind) {}
    DisplayKind GetDisplayKind() const override { return m_kind; }
    void AddDataSetAttributes(int index) override { added.push_back(index); }
    void RemoveDataSetAttributes(int index) override { removed.push_back(index); }
    void RefreshDescriptionDialog(int) override {}
    void OnUpdate(int hint) override { hints.push_back(hint); }
    void StoreDisplayState(DisplayState& state) const override { state = toStore; }
    void LoadDisplayState(const DisplayState& state) override
    {
        loaded = state;
        ++loadCount;
    }

    DisplayKind m_kind;
    std::vector<int> added, removed, hints;
    DisplayState toStore, loaded;
    int loadCount = 0;
};

struct Entry {
    int node;
    double voltage, phase;
};

// Point record, version 1: marker, version, frequency, last entry index, entries as stored.
Bytes PointRecord(double frequency, std::vector<Entry> entries)
{
    Bytes b;
    b.f64(0.0).i32(1).f64(frequency).i32(static_cast<int32_t>(entries.size()) - 1);
    for (const Entry& e : entries)
        b.i32(e.node).f64(e.voltage).f64(e.phase);
    return b;
}

// Oldest point record: frequency first, then voltage/phase of nodes 1, 2, 3.
Bytes OldPointRecord(double f, double v1, double p1, double v2, double p2, double v3, double p3)
{
    return Bytes().f64(f).f64(v1).f64(p1).f64(v2).f64(p2).f64(v3).f64(p3);
}

// Fields of a data-set record, each with a value no new data set has.
struct SetFields {
    int32_t gainColor = 0x000011, phaseColor = 0x002200;
    int32_t nodeColor[4] = {0x330000, 0x440000, 0x550000, 0x660000};
    double limits[6] = {7, 8, 9, 10, 11, 12};  // frequency, gain, phase: min then max
    double voltage[8] = {1, 2, 3, 4, 5, 6, 13, 14};
    int32_t number = 3, reserved = 77, outputNode = 2, inputNode = 1;
    double scale = 2.5;
    std::string description = "5 \xB5" "F";  // Windows-1252 on disk
    std::string name = "A\xB0";
    int32_t role = 2, inputRange = 1, channelPair = 2;
};

// Data-set record of `version` (1..5, or 0 in its marker form), followed by `points`.
Bytes SetRecord(int version, const SetFields& f, const Bytes& points)
{
    Bytes b;
    b.f64(0.0).i32(version);
    if (version >= 1) {
        b.i32(f.gainColor).i32(f.phaseColor).i32(f.nodeColor[0]).i32(f.nodeColor[1]);
        b.i32(f.nodeColor[2]);
        for (double v : f.limits)
            b.f64(v);
        for (int i = 0; i < 6; ++i)
            b.f64(f.voltage[i]);
        b.i32(f.number).i32(f.reserved).i32(f.outputNode).i32(f.inputNode).f64(f.scale);
        b.str(f.description);
    }
    if (version >= 2)
        b.str(f.name);
    if (version >= 3)
        b.i32(f.role);
    if (version >= 4)
        b.i32(f.nodeColor[3]).f64(f.voltage[6]).f64(f.voltage[7]);
    if (version >= 5)
        b.i32(f.inputRange).i32(f.channelPair);
    return b.add(points);
}

// Oldest data-set record: minimum frequency first (not 0), no record version.
Bytes OldSetRecord(const SetFields& f, const Bytes& points)
{
    Bytes b;
    b.f64(f.limits[0]).f64(f.limits[1]);
    for (int i = 0; i < 6; ++i)
        b.f64(f.voltage[i]);
    b.i32(f.nodeColor[0]).i32(f.nodeColor[1]).i32(f.nodeColor[2]).str(f.description);
    return b.i32(f.number).add(points);
}

// Gain/impedance continuation of the oldest record.
Bytes OldGainContinuation(double minGain, double maxGain)
{
    return Bytes().f64(minGain).f64(maxGain).f64(-45).f64(45).i32(0x0A0B0C).i32(0x0D0E0F)
        .i32(3).i32(4).f64(-7.5);
}

// Two sets of two points. Map: class CDataSet 1, set 2, class CDataPoint 3, points 4 and 5,
// set 6, points 7 and 8.
Bytes TwoSets(bool withArrayCount)
{
    Bytes b;
    if (withArrayCount)
        b.u16(2);
    SetFields a;
    Bytes pointsA;
    pointsA.u16(2).newClass("CDataPoint").add(PointRecord(100, {{2, 2.0, 30}, {1, 1.0, 0}}));
    pointsA.u16(0x8003).add(PointRecord(1000, {{1, 1.0, 0}, {2, 4.0, -200}, {2, 9.0, 9}}));
    b.newClass("CDataSet").add(SetRecord(5, a, pointsA));

    SetFields s;
    s.number = 4;
    s.description = "second\r\nline";
    s.name = "B";
    s.role = 5;
    s.outputNode = 3;
    s.scale = -1;
    Bytes pointsB;
    pointsB.u16(2).u16(0x8003).add(PointRecord(10, {{1, 1, 0}, {3, 0.5, 90}}));
    pointsB.u16(0x8003).add(PointRecord(20, {{1, 1, 0}, {3, 0.25, 100}}));
    return b.u16(0x8001).add(SetRecord(5, s, pointsB));
}

void CheckTwoSets(const CTalDocument& doc)
{
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    const CDataSet& a = *doc.GetDataSet(0);
    EXPECT_EQ(a.m_gainColor, 0x000011u);
    EXPECT_EQ(a.m_phaseColor, 0x002200u);
    EXPECT_EQ(a.m_nodeColor[0], 0x330000u);
    EXPECT_EQ(a.m_nodeColor[3], 0x660000u);
    EXPECT_EQ(a.m_number, 3);
    EXPECT_EQ(a.m_reserved, 77);
    EXPECT_EQ(a.GetOutputNode(), 2);
    EXPECT_EQ(a.GetInputNode(), 1);
    EXPECT_EQ(a.GetScaleFactor(), 2.5);
    EXPECT_EQ(a.m_description, "5 \xC2\xB5" "F");
    EXPECT_EQ(a.m_name, "A\xC2\xB0");
    EXPECT_EQ(a.m_calibrationRole, 2);
    EXPECT_EQ(a.GetInputRange(), 1);
    EXPECT_EQ(a.GetChannelPair(), 2);
    EXPECT_EQ(a.m_version, 5);
    ASSERT_EQ(a.GetPointCount(), 2);
    // Entries are added in file order; a repeated node is dropped and phases re-wrapped.
    EXPECT_EQ(a.GetNodeId(0, 0), 2);
    EXPECT_EQ(a.GetLastNodeIndex(1), 1);
    EXPECT_EQ(a.GetNodeVoltage(1, 2), 4.0);
    EXPECT_DOUBLE_EQ(a.GetNodePhase(1, 2), 160.0);
    // Limits are recomputed from the points.
    EXPECT_EQ(a.GetMinFrequency(), 100);
    EXPECT_EQ(a.GetMaxFrequency(), 1000);
    EXPECT_DOUBLE_EQ(a.GetMinGain(), 5.0);
    EXPECT_DOUBLE_EQ(a.GetMaxGain(), 10.0);

    const CDataSet& b = *doc.GetDataSet(1);
    EXPECT_EQ(b.m_number, 4);
    EXPECT_EQ(b.m_description, "second\r\nline");
    EXPECT_EQ(b.m_name, "B");
    EXPECT_EQ(b.m_calibrationRole, 5);
    EXPECT_EQ(b.GetOutputNode(), 3);
    EXPECT_EQ(b.GetScaleFactor(), -1);
    EXPECT_DOUBLE_EQ(b.GetGain(1), 0.25);
    EXPECT_DOUBLE_EQ(b.GetPhase(1), -80.0);  // 100 + 180 for the negative scale, wrapped
}

Bytes ViewObj(StoredRect r, std::array<int32_t, 6> flags)
{
    Bytes b;
    b.i32(r.left).i32(r.top).i32(r.right).i32(r.bottom);
    for (int32_t f : flags)
        b.i32(f);
    return b;
}

// The display state written for the two-set documents: `marker` (if any) decides the
// slide-bar layout; `annotations` adds title, text boxes, legend and Nyquist settings.
Bytes DisplayStateBytes(bool marker, bool annotations)
{
    Bytes b;
    if (marker)
        b.i32(0x100002);
    b.i32(1).i32(1).f64(500);
    if (marker)
        b.f64(-3.5);
    b.i32(10).i32(20).i32(110).i32(220);
    b.i32(2).i32(0).i32(1);
    b.i32(2).i32(1).i32(0).i32(1).i32(2).i32(3).i32(4).i32(0);
    for (int i = 1; i <= 10; ++i)
        b.f64(i);
    b.i32(0x808080).i32(0).i32(1).str("Gain").i32(2).i32(1).f64(1.0);
    if (!annotations)
        return b;
    b.i32(1).add(ViewObj({0, 0, 500, 40}, {0, 0, 1, 1, 0, 5})).str("Title \xB0").i32(7).u16(2);
    b.i32(1).add(ViewObj({100, 100, 400, 250}, {1, 1, 1, 1, 1, 8})).str("note").i32(0xFF).u16(1);
    b.add(ViewObj({50, 60, 350, 210}, {1, 1, 1, 0, 1, 6}));
    b.u16(2).u32(0x0000FF).u32(0xFF0000).u16(2).str("Gain").str("Phase").i32(0);
    return b.i32(0).i32(3).i32(1);
}

DisplayState ExpectedDisplayState(bool marker, bool annotations)
{
    DisplayState s;
    s.formatMarker = marker ? 0x100002 : 0;
    s.slideBars = {{1, 500, marker ? -3.5 : 0.0, {10, 20, 110, 220}}};
    s.selected = {0, 1};
    s.descriptionWindows = {{1, 0, {1, 2, 3, 4}}, {0, 0, {}}};
    for (int i = 0; i < 10; ++i)
        s.ranges[i] = i + 1;
    s.gridColor = 0x808080;
    s.dataNumbersShown = 0;
    s.automaticScaling = 1;
    s.displayMode = "Gain";
    s.defaultOutputNode = 2;
    s.defaultInputNode = 1;
    s.defaultScaleFactor = 1.0;
    if (!annotations)
        return s;
    s.titlePresent = true;
    s.title = {{{0, 0, 500, 40}, 0, 0, 1, 1, 0, 5}, "Title \xC2\xB0", 7, 2};
    s.descriptions = {{{{100, 100, 400, 250}, 1, 1, 1, 1, 1, 8}, "note", 0xFF, 1}};
    s.legend = {{{50, 60, 350, 210}, 1, 1, 1, 0, 1, 6}, {0x0000FF, 0xFF0000}, {"Gain", "Phase"}, 0};
    s.nyquistReserved = 0;
    s.nyquistOptions = 3;
    s.nyquistPhaseFlip = 1;
    return s;
}

// A whole document of a version from 1001 on: flags are gain, impedance, voltage, text and
// (from 1002) Nyquist.
Bytes ModernDocument(uint16_t version, std::vector<int32_t> flags, int32_t next = 9)
{
    Bytes b;
    b.u16(version).add(TwoSets(true));
    for (int32_t f : flags)
        b.i32(f);
    b.i32(next).str("parameters\r\n").i32(1);
    return b.add(DisplayStateBytes(version >= 1003, version >= 1002));
}

// The oldest form: the word counts the data sets; four flags; next number; the two
// preference blocks and the voltage format; no display state.
Bytes OldestDocument()
{
    Bytes b;
    b.u16(2).add(TwoSets(false));
    b.i32(0).i32(0).i32(0).i32(1).i32(12).str("block 880").str("block synth").i32(1).i32(0);
    return b;
}

int CountUnexpectedResultsWithSmallAddressSpace(const std::vector<std::vector<uint8_t>>& cases)
{
#if !defined(__SANITIZE_ADDRESS__)
    const rlimit limit{512u << 20, 512u << 20};
    setrlimit(RLIMIT_AS, &limit);
#endif
    int failures = 0;
    for (const auto& bytes : cases) {
        CTalDocument doc;
        std::string error;
        if (doc.LoadFromBytes(bytes, error) || error != kUnexpected)
            ++failures;
    }
    return failures;
}

class DocumentFile : public ::testing::Test {
protected:
    void SetUp() override { appData() = ApplicationData{}; }
    void TearDown() override { appData() = ApplicationData{}; }

    static void Load(CTalDocument& doc, const Bytes& b)
    {
        std::string error;
        ASSERT_TRUE(doc.LoadFromBytes(b.data, error)) << error;
    }
    static std::string LoadError(const std::vector<uint8_t>& bytes)
    {
        CTalDocument doc;
        std::string error;
        EXPECT_FALSE(doc.LoadFromBytes(bytes, error));
        return error;
    }
};

}  // namespace

TEST_F(DocumentFile, ReadsVersions1003And1004WithFormatMarker)
{
    for (uint16_t version : {1003, 1004}) {
        appData() = ApplicationData{};
        CTalDocument doc;
        RecordingView view(DisplayKind::Gain);
        doc.AddView(&view);
        doc.SetModifiedFlag(true);
        Load(doc, ModernDocument(version, {1, 0, 0, 0, 0}));
        CheckTwoSets(doc);
        EXPECT_EQ(doc.m_nextNumber, 9);
        EXPECT_EQ(appData().lastLoadedFileVersion, version);
        EXPECT_EQ(appData().requestedDisplayType, "OK");  // the gain view already shows it
        EXPECT_EQ(view.loadCount, 1);
        EXPECT_EQ(view.loaded, ExpectedDisplayState(true, true));
        EXPECT_TRUE(doc.m_displayStatePresent);
        EXPECT_EQ(doc.m_displayState, ExpectedDisplayState(true, true));
        EXPECT_EQ(view.hints, std::vector<int>{HINT_ALL});
        EXPECT_FALSE(doc.IsModified());
    }
}

TEST_F(DocumentFile, Version1002HasOldSlideBarsAndAnnotations)
{
    CTalDocument doc;
    Load(doc, ModernDocument(1002, {0, 0, 0, 0, 1}));
    CheckTwoSets(doc);
    EXPECT_EQ(appData().requestedDisplayType, "Nyq");
    EXPECT_EQ(appData().lastLoadedFileVersion, 1002);
    EXPECT_EQ(doc.m_displayState, ExpectedDisplayState(false, true));
    EXPECT_EQ(doc.m_fileDisplayKind, DisplayKind::Nyq);
}

TEST_F(DocumentFile, Version1001HasFourFlagsAndAShortDisplayState)
{
    CTalDocument doc;
    Load(doc, ModernDocument(1001, {0, 0, 0, 1}));
    CheckTwoSets(doc);
    EXPECT_EQ(appData().requestedDisplayType, "Text");
    EXPECT_EQ(doc.m_displayState, ExpectedDisplayState(false, false));
    EXPECT_FALSE(doc.m_displayState.titlePresent);
}

TEST_F(DocumentFile, OldestFormatReplacesThePreferenceBlocks)
{
    CTalDocument doc;
    RecordingView view(DisplayKind::Gain);
    doc.AddView(&view);
    Load(doc, OldestDocument());
    CheckTwoSets(doc);
    EXPECT_EQ(doc.m_nextNumber, 12);
    EXPECT_EQ(appData().lastLoadedFileVersion, 2);
    EXPECT_EQ(appData().requestedDisplayType, "Volt");  // the fourth flag also means voltage
    EXPECT_EQ(appData().preferenceBlock880, "block 880");
    EXPECT_EQ(appData().preferenceBlockSynthesis, "block synth");
    EXPECT_TRUE(appData().voltageFormat);
    // No display state: every set gets default attributes through the first display.
    EXPECT_FALSE(doc.m_displayStatePresent);
    EXPECT_EQ(view.loadCount, 0);
    EXPECT_EQ(view.added, (std::vector<int>{0, 1}));
}

TEST_F(DocumentFile, DisplayTypeFollowsFlagsAndTheFirstView)
{
    struct Case {
        std::vector<int32_t> flags;
        bool hasView;
        DisplayKind view;
        const char* expected;
    } cases[] = {
        {{1, 0, 0, 0, 0}, false, DisplayKind::Gain, "Gain"},
        {{1, 0, 0, 0, 0}, true, DisplayKind::Imp, "Gain"},
        {{1, 1, 0, 0, 0}, true, DisplayKind::Gain, "Imp"},
        {{0, 1, 0, 0, 0}, true, DisplayKind::Imp, "OK"},
        {{0, 0, 1, 0, 0}, true, DisplayKind::Gain, "Volt"},
        {{0, 0, 0, 0, 1}, true, DisplayKind::Text, "Nyq"},
        {{0, 0, 0, 0, 0}, false, DisplayKind::Gain, "OK"},
    };
    for (const Case& c : cases) {
        CTalDocument doc;
        RecordingView view(c.view);
        if (c.hasView)
            doc.AddView(&view);
        Load(doc, ModernDocument(1004, c.flags));
        EXPECT_EQ(appData().requestedDisplayType, c.expected);
    }
}

TEST_F(DocumentFile, DataSetRecordVersionsReadTheirFields)
{
    const SetFields f;
    for (int version = 0; version <= 5; ++version) {
        Bytes points;
        points.u16(1).newClass("CDataPoint").add(PointRecord(50, {{1, 1, 0}, {2, 3, 0}}));
        Bytes record = SetRecord(version, f, points);
        CArchive ar(record.data);
        CDataSet set;
        const CDataSet fresh;
        set.Serialize(ar);
        EXPECT_EQ(ar.Remaining(), 0u) << version;
        EXPECT_EQ(set.m_version, version);
        ASSERT_EQ(set.GetPointCount(), 1) << version;
        EXPECT_EQ(set.m_gainColor, version >= 1 ? 0x000011u : fresh.m_gainColor) << version;
        EXPECT_EQ(set.m_number, version >= 1 ? 3 : 0) << version;
        EXPECT_EQ(set.m_scaleFactor, version >= 1 ? 2.5 : fresh.m_scaleFactor) << version;
        EXPECT_EQ(set.m_description, version >= 1 ? "5 \xC2\xB5" "F" : "") << version;
        EXPECT_EQ(set.m_name, version >= 2 ? "A\xC2\xB0" : "") << version;
        EXPECT_EQ(set.m_calibrationRole, version >= 3 ? 2 : 0) << version;
        EXPECT_EQ(set.m_nodeColor[3], version >= 4 ? 0x660000u : fresh.m_nodeColor[3]) << version;
        EXPECT_EQ(set.m_maxVoltage[3], version >= 4 ? 14.0 : fresh.m_maxVoltage[3]) << version;
        EXPECT_EQ(set.m_inputRange, version >= 5 ? 1 : fresh.m_inputRange) << version;
        EXPECT_EQ(set.m_channelPair, version >= 5 ? 2 : fresh.m_channelPair) << version;
        // Stored limits are kept until the document recomputes them.
        EXPECT_EQ(set.m_maxPhase, version >= 1 ? 12.0 : fresh.m_maxPhase) << version;
    }
}

TEST_F(DocumentFile, OldestDataSetRecordsAndTheirContinuations)
{
    const SetFields f;
    Bytes points;
    points.u16(1).newClass("CDataPoint").add(OldPointRecord(2e15, 1, 0, 2, 190, 3, -30));

    CDataSet plain;
    Bytes plainBytes = OldSetRecord(f, points);
    CArchive plainAr(plainBytes.data);
    plain.Serialize(plainAr);
    EXPECT_EQ(plainAr.Remaining(), 0u);
    EXPECT_EQ(plain.m_version, 0);
    EXPECT_EQ(plain.m_minFrequency, 7);
    EXPECT_EQ(plain.m_maxFrequency, 8);
    EXPECT_EQ(plain.m_minVoltage[2], 5);
    EXPECT_EQ(plain.m_nodeColor[2], 0x550000u);
    EXPECT_EQ(plain.m_description, "5 \xC2\xB5" "F");
    EXPECT_EQ(plain.m_number, 3);
    // The oldest point keeps its frequency unchecked and holds nodes 1 to 3.
    ASSERT_EQ(plain.GetPointCount(), 1);
    EXPECT_EQ(plain.GetFrequency(0), 2e15);
    EXPECT_EQ(plain.GetNodeVoltage(0, 3), 3);
    EXPECT_DOUBLE_EQ(plain.GetNodePhase(0, 2), -170);

    CDataSetGain gain;
    Bytes gainBytes = OldSetRecord(f, points).add(OldGainContinuation(20, 40));
    CArchive gainAr(gainBytes.data);
    gain.Serialize(gainAr);
    EXPECT_EQ(gainAr.Remaining(), 0u);
    EXPECT_DOUBLE_EQ(gain.m_minGain, 10.0);  // stored in dB
    EXPECT_DOUBLE_EQ(gain.m_maxGain, 100.0);
    EXPECT_EQ(gain.m_minPhase, -45);
    EXPECT_EQ(gain.m_maxPhase, 45);
    EXPECT_EQ(gain.m_gainColor, 0x0A0B0Cu);
    EXPECT_EQ(gain.m_phaseColor, 0x0D0E0Fu);
    EXPECT_EQ(gain.m_outputNode, 3);
    EXPECT_EQ(gain.m_inputNode, 4);
    EXPECT_EQ(gain.m_scaleFactor, -7.5);

    CDataSetImp imp;
    CArchive impAr(gainBytes.data);
    imp.Serialize(impAr);
    EXPECT_EQ(imp.m_minGain, 20.0);  // linear
    EXPECT_EQ(imp.m_maxGain, 40.0);
}

TEST_F(DocumentFile, GainAndImpedanceSetsInADocument)
{
    // Old gain record then an impedance record of version 2. Map: class 1, set 2, class
    // CDataPoint 3, point 4, class CDataSetImp 5, set 6, point 7.
    const SetFields f;
    Bytes b;
    b.u16(1004).u16(2).newClass("CDataSetGain");
    b.add(OldSetRecord(f, Bytes().u16(1).newClass("CDataPoint").add(PointRecord(5, {{1, 1, 0}}))));
    b.add(OldGainContinuation(0, 6));
    b.newClass("CDataSetImp").add(SetRecord(2, f, Bytes().u16(1).u16(0x8003).add(
                                                      PointRecord(6, {{1, 1, 0}, {2, 1, 0}}))));
    b.i32(0).i32(1).i32(0).i32(0).i32(0).i32(1).str("").i32(0);
    CTalDocument doc;
    Load(doc, b);
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    EXPECT_NE(dynamic_cast<CDataSetGain*>(doc.GetDataSet(0)), nullptr);
    EXPECT_NE(dynamic_cast<CDataSetImp*>(doc.GetDataSet(1)), nullptr);
    EXPECT_EQ(doc.GetDataSet(0)->m_scaleFactor, -7.5);
    EXPECT_EQ(doc.GetDataSet(1)->m_name, "A\xC2\xB0");

    // Saved again, the sets keep their classes.
    std::vector<uint8_t> saved;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(saved, error));
    CTalDocument again;
    ASSERT_TRUE(again.LoadFromBytes(saved, error)) << error;
    EXPECT_NE(dynamic_cast<CDataSetGain*>(again.GetDataSet(0)), nullptr);
    EXPECT_NE(dynamic_cast<CDataSetImp*>(again.GetDataSet(1)), nullptr);
}

TEST_F(DocumentFile, PointOfUnknownVersionReadsOnlyMarkerAndVersion)
{
    Bytes points;
    points.u16(2).newClass("CDataPoint").f64(0.0).i32(2);
    points.u16(0x8001).add(PointRecord(77, {{1, 1, 0}}));  // class 1, objects 2 and 3
    Bytes record = SetRecord(0, {}, points);
    CArchive ar(record.data);
    CDataSet set;
    set.Serialize(ar);
    ASSERT_EQ(set.GetPointCount(), 2);
    EXPECT_EQ(set.GetFrequency(0), 1e-6);
    EXPECT_EQ(set.GetLastNodeIndex(0), -1);
    EXPECT_EQ(set.GetFrequency(1), 77);
}

TEST_F(DocumentFile, PointWithManyEntriesKeepsTheFirstOfEachNode)
{
    std::vector<Entry> entries;
    for (int i = 0; i < 40; ++i)
        entries.push_back({i % 20, 1.0 + i, 370.0});
    Bytes points;
    points.u16(1).newClass("CDataPoint").add(PointRecord(5, entries));
    Bytes record = SetRecord(0, {}, points);
    CArchive ar(record.data);
    CDataSet set;
    set.Serialize(ar);
    const CDataPoint& p = *set.m_points[0];
    ASSERT_EQ(p.m_nodes.size(), 20u);
    EXPECT_EQ(p.GetVoltage(7), 8.0);
    EXPECT_NEAR(p.GetPhase(7), 10.0, 1e-9);
}

TEST_F(DocumentFile, RejectsUnknownVersionsClassesAndSharedObjects)
{
    const SetFields f;
    Bytes empty;
    empty.u16(0);
    auto documentWith = [](const Bytes& sets) {
        return Bytes().u16(1004).add(sets).i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).str("")
            .i32(0).data;
    };
    const std::vector<uint8_t> cases[] = {
        Bytes().u16(1005).u16(0).data,
        Bytes().u16(0xFFFF).u32(1004).data,  // fine as a count, but then truncated
        documentWith(Bytes().u16(1).newClass("CDataSet").add(SetRecord(6, f, empty))),
        documentWith(Bytes().u16(1).newClass("CDataSet").f64(0).i32(-1).add(empty)),
        documentWith(Bytes().u16(1).newClass("CDataSetX").add(SetRecord(5, f, empty))),
        documentWith(Bytes().u16(1).newClass("CDataSet", 2).add(SetRecord(5, f, empty))),
        documentWith(Bytes().u16(1).u16(0)),  // a missing data set
        // the same set twice
        documentWith(Bytes().u16(2).newClass("CDataSet").add(SetRecord(5, f, empty)).u16(2)),
        // a point where a data set belongs
        documentWith(Bytes().u16(1).newClass("CDataPoint").add(PointRecord(1, {}))),
    };
    for (const auto& bytes : cases)
        EXPECT_EQ(LoadError(bytes), kUnexpected);
    CTalDocument valid;  // the frame around the cases is itself valid
    Load(valid, Bytes().put(documentWith(empty).data(), documentWith(empty).size()));
}

TEST_F(DocumentFile, EmptyDocumentLayout)
{
    CTalDocument doc;
    doc.m_nextNumber = 6;
    appData().parameterText = "p";
    RecordingView view(DisplayKind::Imp);
    doc.AddView(&view);
    std::vector<uint8_t> saved;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(saved, error));
    Bytes expected;
    expected.u16(1004).u16(0).i32(0).i32(1).i32(0).i32(0).i32(0).i32(6).str("p").i32(1);
    expected.i32(0x100002);
    ASSERT_GE(saved.size(), expected.size());
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + expected.size()), expected.data);

    CTalDocument again;
    ASSERT_TRUE(again.LoadFromBytes(saved, error)) << error;
    EXPECT_EQ(again.GetDataSetCount(), 0);
    EXPECT_EQ(again.m_nextNumber, 6);
}

TEST_F(DocumentFile, RoundTripKeepsSetsAndDisplayState)
{
    CTalDocument doc;
    RecordingView view(DisplayKind::Imp);
    doc.AddView(&view);
    for (int k = 0; k < 3; ++k) {
        auto set = std::make_unique<CDataSet>();
        for (int i = 1; i <= 5; ++i)
            set->AddPoint(10.0 * i, 1.0, 0, 0.1 * i + k, 10.0 * i, 0.5, -170);
        set->m_name = "R\xC2\xB5" + std::to_string(k);
        set->m_description = "20 \xC2\xB0" "C, \xE2\x82\xAC" "1";
        set->m_calibrationRole = k + 1;
        set->SetGainColor(0x123400 + k);
        set->SetPhaseColor(0x00ABCD);
        set->SetNodeColor(4, 0x0F0F0F);
        set->SetOutputNode(3);
        set->SetScaleFactor(-50.0 + k);
        set->m_inputRange = 2;
        set->m_channelPair = 1;
        doc.AddDataSet(std::move(set));
    }
    doc.DeleteDataSet(1);  // numbers stay 1 and 3, next is 4
    view.toStore = ExpectedDisplayState(true, true);
    view.toStore.selected = {1, 0};
    view.toStore.descriptions[0].text = "\xC2\xB5V";

    std::vector<uint8_t> saved;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(saved, error));

    CTalDocument again;
    RecordingView other(DisplayKind::Imp);
    again.AddView(&other);
    ASSERT_TRUE(again.LoadFromBytes(saved, error)) << error;
    EXPECT_EQ(other.loaded, view.toStore);
    EXPECT_EQ(again.m_nextNumber, 4);
    EXPECT_EQ(appData().requestedDisplayType, "OK");
    ASSERT_EQ(again.GetDataSetCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const CDataSet& a = *doc.GetDataSet(i);
        const CDataSet& b = *again.GetDataSet(i);
        EXPECT_EQ(b.m_number, a.m_number);
        EXPECT_EQ(b.m_name, a.m_name);
        EXPECT_EQ(b.m_description, a.m_description);
        EXPECT_EQ(b.m_calibrationRole, a.m_calibrationRole);
        EXPECT_EQ(b.m_gainColor, a.m_gainColor);
        EXPECT_EQ(b.m_phaseColor, a.m_phaseColor);
        EXPECT_EQ(b.m_nodeColor[3], a.m_nodeColor[3]);
        EXPECT_EQ(b.GetOutputNode(), 3);
        EXPECT_EQ(b.GetInputNode(), a.GetInputNode());
        EXPECT_EQ(b.GetScaleFactor(), a.GetScaleFactor());
        EXPECT_EQ(b.m_inputRange, 2);
        EXPECT_EQ(b.m_channelPair, 1);
        ASSERT_EQ(b.GetPointCount(), a.GetPointCount());
        for (int p = 0; p < a.GetPointCount(); ++p) {
            EXPECT_EQ(b.GetFrequency(p), a.GetFrequency(p));
            EXPECT_EQ(b.GetGain(p), a.GetGain(p));
            EXPECT_NEAR(b.GetPhase(p), a.GetPhase(p), 1e-9);
            // Entries come back in reverse order.
            EXPECT_EQ(b.GetNodeId(p, 0), a.GetNodeId(p, a.GetLastNodeIndex(p)));
        }
        EXPECT_EQ(b.GetMinGain(), a.GetMinGain());
        EXPECT_NEAR(b.GetMaxPhase(), a.GetMaxPhase(), 1e-9);
    }
    // Text is Windows-1252 on disk.
    const std::string disk(saved.begin(), saved.end());
    EXPECT_NE(disk.find("20 \xB0" "C, \x80" "1"), std::string::npos);
    EXPECT_NE(disk.find("R\xB5" "0"), std::string::npos);
}

TEST_F(DocumentFile, WithoutAViewTheLoadedStateAndKindAreSavedAgain)
{
    CTalDocument doc;
    Load(doc, ModernDocument(1004, {0, 1, 0, 0, 0}));
    doc.DeleteDataSet(0);
    std::vector<uint8_t> saved;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(saved, error));
    CTalDocument again;
    RecordingView view(DisplayKind::Gain);
    again.AddView(&view);
    ASSERT_TRUE(again.LoadFromBytes(saved, error)) << error;
    EXPECT_EQ(appData().requestedDisplayType, "Imp");
    DisplayState expected = ExpectedDisplayState(true, true);
    expected.selected = {0};  // one flag per remaining set
    EXPECT_EQ(view.loaded, expected);
}

TEST_F(DocumentFile, TruncatedFilesFailAndLeaveTheDocumentAlone)
{
    const Bytes whole[] = {ModernDocument(1004, {1, 0, 0, 0, 0}), ModernDocument(1001, {1, 0, 0, 0}),
                           OldestDocument()};
    for (const Bytes& file : whole) {
        CTalDocument doc;
        doc.AddDataSet(std::make_unique<CDataSet>());
        doc.m_nextNumber = 42;
        appData().preferenceBlock880 = "kept";
        for (size_t n = 0; n < file.size(); ++n) {
            std::string error;
            ASSERT_FALSE(doc.LoadFromBytes({file.data.data(), n}, error)) << n;
            ASSERT_EQ(error, kUnexpected) << n;
        }
        EXPECT_EQ(doc.GetDataSetCount(), 1);
        EXPECT_EQ(doc.m_nextNumber, 42);
        EXPECT_EQ(appData().preferenceBlock880, "kept");
        Load(doc, file);
    }
}

TEST_F(DocumentFile, HostileCountsFailWithoutHugeAllocations)
{
    const SetFields f;
    Bytes onePoint;
    onePoint.u16(1).newClass("CDataPoint").f64(0).i32(1).f64(5).i32(0x7FFFFFFE);
    auto documentWith = [](const Bytes& sets, const Bytes& state) {
        Bytes b;
        b.u16(1004).add(sets).i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).str("").i32(1).add(state);
        return b.data;
    };
    Bytes noSets;
    noSets.u16(0);
    auto stateWith = [](int32_t slideBars, int32_t selected, int32_t windows) {
        Bytes b;
        b.i32(0x100002).i32(slideBars).i32(selected).i32(windows);
        return b;
    };
    const std::vector<std::vector<uint8_t>> cases = {
        Bytes().u16(1004).u16(0xFFFF).u32(0xFFFFFFFFu).u16(0).data,  // set count
        Bytes().u16(1000).u16(0).data,                               // oldest-form set count
        documentWith(Bytes().u16(1).newClass("CDataSet").add(
                         SetRecord(5, f, Bytes().u16(0xFFFF).u32(0x40000000u))),
                     {}),                                            // point count
        documentWith(Bytes().u16(1).newClass("CDataSet").add(SetRecord(5, f, onePoint)), {}),
        documentWith(Bytes().u16(1).newClass("CDataSet").f64(0).i32(1).i32(0).i32(0).i32(0)
                         .i32(0).i32(0).f64(0).f64(0).f64(0).f64(0).f64(0).f64(0).f64(0)
                         .f64(0).f64(0).f64(0).f64(0).f64(0).i32(0).i32(0).i32(0).i32(0)
                         .f64(1).u8(0xFF).u16(0xFFFF).u32(0xFFFFFFF0u),
                     {}),                                            // description length
        documentWith(noSets, stateWith(0x7FFFFFFF, 0, 0)),
        documentWith(noSets, stateWith(0, 0x7FFFFFFF, 0)),
        documentWith(noSets, stateWith(0, 0, 0x7FFFFFFF)),
        documentWith(noSets, stateWith(-1, 0, 0)),
    };
    // In a child process with a small address space, a huge allocation would turn the
    // expected "Unexpected file format." into another result.
    EXPECT_EXIT(std::exit(CountUnexpectedResultsWithSmallAddressSpace(cases)),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(DocumentFile, BigTagsInLargeDocuments)
{
    // More than 0x7FFF objects: later references use the 32-bit tag form.
    CTalDocument doc;
    for (int k = 0; k < 2; ++k) {
        auto set = std::make_unique<CDataSet>();
        for (int i = 0; i < 20000; ++i)
            set->AddPoint(1.0 + i, 1, 0, 2, 0);
        doc.AddDataSet(std::move(set));
    }
    auto gain = std::make_unique<CDataSetGain>();
    gain->AddPoint(3, 1, 0, 5, 0);
    doc.AddDataSet(std::move(gain));  // its class is new after index 0x7FFF
    auto second = std::make_unique<CDataSetGain>();
    doc.AddDataSet(std::move(second));
    std::vector<uint8_t> saved;
    std::string error;
    ASSERT_TRUE(doc.SaveToBytes(saved, error));
    CTalDocument again;
    ASSERT_TRUE(again.LoadFromBytes(saved, error)) << error;
    ASSERT_EQ(again.GetDataSetCount(), 4);
    EXPECT_EQ(again.GetPointCount(1), 20000);
    EXPECT_EQ(again.GetFrequency(1, 19999), 20000.0);
    EXPECT_NE(dynamic_cast<CDataSetGain*>(again.GetDataSet(3)), nullptr);
}

class DocumentFileOnDisk : public DocumentFile {
protected:
    void SetUp() override
    {
        DocumentFile::SetUp();
        m_dir = fs::temp_directory_path() /
                ("talvern-docfile-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(m_dir);
        DocumentFile::TearDown();
    }
    static std::string ReadFile(const fs::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static CTalDocument& WithOneSet(CTalDocument& doc)
    {
        doc.AddDataSet(std::make_unique<CDataSet>());
        doc.GetDataSet(0)->AddPoint(10, 1, 0, 2, 0);
        return doc;
    }
    fs::path m_dir;
};

TEST_F(DocumentFileOnDisk, SaveReplacesTheFileAndKeepsItsMode)
{
    const fs::path file = m_dir / "doc.tal";
    { std::ofstream(file) << "old"; }
    ::chmod(file.c_str(), 0640);
    CTalDocument doc;
    WithOneSet(doc).SetModifiedFlag(true);
    std::string error;
    ASSERT_TRUE(doc.SaveToFile(file.string(), error)) << error;
    EXPECT_FALSE(doc.IsModified());
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    CTalDocument again;
    ASSERT_TRUE(again.LoadFromFile(file.string(), error)) << error;
    EXPECT_EQ(again.GetPointCount(0), 1);
}

TEST_F(DocumentFileOnDisk, FailedSaveLeavesTheOldFile)
{
    CTalDocument doc;
    WithOneSet(doc).SetModifiedFlag(true);
    std::string error;

    // The target is a directory: the rename fails, the directory and its content stay.
    const fs::path dirTarget = m_dir / "busy.tal";
    fs::create_directories(dirTarget);
    { std::ofstream(dirTarget / "inside") << "x"; }
    EXPECT_FALSE(doc.SaveToFile(dirTarget.string(), error));
    EXPECT_EQ(error, "Failed to save document.");
    EXPECT_EQ(ReadFile(dirTarget / "inside"), "x");

    // The folder does not exist.
    error.clear();
    EXPECT_FALSE(doc.SaveToFile((m_dir / "missing" / "doc.tal").string(), error));
    EXPECT_EQ(error, "Failed to save document.");

    // The folder is not writable (not enforced for a privileged user).
    const fs::path file = m_dir / "doc.tal";
    { std::ofstream(file) << "old"; }
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (::access(m_dir.c_str(), W_OK) != 0) {
        error.clear();
        EXPECT_FALSE(doc.SaveToFile(file.string(), error));
        EXPECT_EQ(error, "Failed to save document.");
        EXPECT_EQ(ReadFile(file), "old");
    }
    fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_TRUE(doc.IsModified());
    // No temporary file is left behind.
    int entries = 0;
    for (const auto& e : fs::directory_iterator(m_dir))
        entries += e.path().filename().string().find(".~") == std::string::npos ? 1 : 100;
    EXPECT_EQ(entries, 2);
}

TEST_F(DocumentFileOnDisk, LargeFileLoadsAsFromMemoryAndFailsWhenCut)
{
    // Larger than the reading window, with a description longer than it.
    CTalDocument doc;
    for (int k = 0; k < 3; ++k) {
        auto set = std::make_unique<CDataSet>();
        for (int i = 0; i < 6000; ++i)
            set->AddPoint(1.0 + i, 1 + k, 0.25 * i, 2, -0.5 * i);
        set->m_description = std::string(300000 + k, static_cast<char>('a' + k));
        doc.AddDataSet(std::move(set));
    }
    const fs::path file = m_dir / "large.tal";
    std::string error;
    ASSERT_TRUE(doc.SaveToFile(file.string(), error)) << error;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(doc.SaveToBytes(bytes, error));
    ASSERT_EQ(ReadFile(file), std::string(bytes.begin(), bytes.end()));

    CTalDocument fromFile, fromBytes;
    ASSERT_TRUE(fromFile.LoadFromFile(file.string(), error)) << error;
    ASSERT_TRUE(fromBytes.LoadFromBytes(bytes, error)) << error;
    std::vector<uint8_t> again;
    ASSERT_TRUE(fromFile.SaveToBytes(again, error));
    std::vector<uint8_t> expected;
    ASSERT_TRUE(fromBytes.SaveToBytes(expected, error));
    EXPECT_EQ(again, expected);
    EXPECT_EQ(fromFile.GetDataSet(2)->m_description, doc.GetDataSet(2)->m_description);
    EXPECT_EQ(fromFile.GetNodePhase(1, 5999, 2), doc.GetNodePhase(1, 5999, 2));

    for (size_t cut : {bytes.size() - 1, bytes.size() / 2, size_t{300}}) {
        fs::resize_file(file, cut);
        CTalDocument partial;
        EXPECT_FALSE(partial.LoadFromFile(file.string(), error)) << cut;
        EXPECT_EQ(error, kUnexpected);
        EXPECT_EQ(partial.GetDataSetCount(), 0);
    }
}

TEST_F(DocumentFileOnDisk, LoadErrors)
{
    CTalDocument doc;
    std::string error;
    EXPECT_FALSE(doc.LoadFromFile((m_dir / "none.tal").string(), error));
    EXPECT_EQ(error, "Failed to open document.");
    EXPECT_FALSE(doc.LoadFromFile(m_dir.string(), error));
    EXPECT_EQ(error, "Failed to open document.");
    const fs::path junk = m_dir / "junk.tal";
    { std::ofstream(junk) << "not a document"; }
    EXPECT_FALSE(doc.LoadFromFile(junk.string(), error));
    EXPECT_EQ(error, kUnexpected);
}

namespace {

std::vector<uint8_t> Fixture(const char* name)
{
    std::ifstream in(std::string(TALVERN_FIXTURES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST_F(DocumentFile, FixtureFilesMatchTheLayoutBuiltHere)
{
    EXPECT_EQ(Fixture("v1004_two_sets.tal"), ModernDocument(1004, {1, 0, 0, 0, 0}).data);
    EXPECT_EQ(Fixture("v1002_old_slidebars.tal"), ModernDocument(1002, {0, 0, 0, 0, 1}).data);
    EXPECT_EQ(Fixture("v1001_text.tal"), ModernDocument(1001, {0, 0, 0, 1}).data);
}

TEST_F(DocumentFile, FixtureFilesLoad)
{
    struct Case {
        const char* file;
        const char* requested;
    } cases[] = {{"v1004_two_sets.tal", "Gain"},
                 {"v1002_old_slidebars.tal", "Nyq"},
                 {"v1001_text.tal", "Text"}};
    for (const Case& c : cases) {
        CTalDocument doc;
        std::string error;
        ASSERT_TRUE(doc.LoadFromFile(std::string(TALVERN_FIXTURES_DIR) + "/" + c.file, error))
            << c.file << ": " << error;
        CheckTwoSets(doc);
        EXPECT_EQ(appData().requestedDisplayType, c.requested);
    }

    CTalDocument old;
    Load(old, Bytes().put(Fixture("v0_form.tal").data(), Fixture("v0_form.tal").size()));
    ASSERT_EQ(old.GetDataSetCount(), 1);
    EXPECT_NE(dynamic_cast<CDataSetGain*>(old.GetDataSet(0)), nullptr);
    EXPECT_EQ(old.GetDataSet(0)->m_version, 0);
    EXPECT_EQ(old.GetDataSetDescription(0), "old \xC2\xB5 data");
    EXPECT_EQ(old.GetPointCount(0), 2);
    EXPECT_DOUBLE_EQ(old.GetGain(0, 1), 0.5);
    EXPECT_DOUBLE_EQ(old.GetPhase(0, 1), -90);
    EXPECT_DOUBLE_EQ(old.GetNodePhase(0, 0, 3), -170);
    EXPECT_EQ(old.m_nextNumber, 2);
    EXPECT_EQ(appData().preferenceBlock880, "880 block");
    EXPECT_EQ(appData().preferenceBlockSynthesis, "synthesis block");
    EXPECT_FALSE(old.m_displayStatePresent);

    CTalDocument empty;
    Load(empty, Bytes().put(Fixture("v1004_empty.tal").data(), Fixture("v1004_empty.tal").size()));
    EXPECT_EQ(empty.GetDataSetCount(), 0);
    EXPECT_TRUE(empty.m_displayStatePresent);
    EXPECT_EQ(empty.m_displayState.legend.obj.rect, (StoredRect{0, 0, 300, 150}));
    EXPECT_EQ(appData().requestedDisplayType, "Imp");
}

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

#include "data/ApplicationData.h"
#include "data/RandomGenerator.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "data/TextTables.h"

namespace {

// Records what the document tells it, one short line per call.
class RecordingView : public CDocumentView {
public:
    explicit RecordingView(DisplayKind kind = DisplayKind::Gain, bool display = true)
        : m_kind(kind), m_display(display)
    {
    }
    bool IsDisplayView() const override { return m_display; }
    DisplayKind GetDisplayKind() const override { return m_kind; }
    void AddDataSetAttributes(int index) override { Log("add", index); }
    void RemoveDataSetAttributes(int index) override { Log("remove", index); }
    void RefreshDescriptionDialog(int index) override { Log("description", index); }
    void OnUpdate(int hint) override { Log("update", hint); }
    void StoreDisplayState(DisplayState&) const override {}
    void LoadDisplayState(const DisplayState&) override {}
    void OnDataSetProperties() override { calls.push_back("properties"); }
    bool CommitAnnotationEdit() override { return editing; }
    void OnDataSetColorChanged(int index) override { Log("color", index); }

    std::vector<std::string> calls;
    bool editing = false;

private:
    void Log(const char* what, int value) { calls.push_back(std::string(what) + " " + std::to_string(value)); }
    DisplayKind m_kind;
    bool m_display;
};

std::unique_ptr<CDataSet> GainSet(double f, double gain)
{
    auto set = std::make_unique<CDataSet>();
    set->AddPoint(f, 1.0, 0.0, gain, -30.0);
    return set;
}

using Calls = std::vector<std::string>;

}  // namespace

TEST(Document, NumbersStayFixedAcrossDeletesUntilTheLastIsGone)
{
    CTalDocument doc;
    RecordingView view;
    RecordingView other(DisplayKind::Gain, /*display=*/false);
    doc.AddView(&view);
    doc.AddView(&other);

    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(doc.AddDataSet(GainSet(100, 1)), i);
    EXPECT_EQ(doc.GetDataSetNumber(2), 3);
    EXPECT_EQ(doc.GetLastAddedIndex(), 2);

    EXPECT_EQ(doc.DeleteDataSet(1), 1);
    EXPECT_EQ(doc.DeleteDataSet(2), 0);
    EXPECT_EQ(doc.DeleteDataSet(-1), 0);
    EXPECT_EQ(doc.GetLastAddedIndex(), 1);  // still the set numbered 3
    EXPECT_EQ(doc.GetDataSetNumber(1), 3);
    EXPECT_EQ(doc.AddDataSet(GainSet(100, 1)), 2);
    EXPECT_EQ(doc.GetDataSetNumber(2), 4);

    while (doc.GetDataSetCount() > 0)
        doc.DeleteDataSet(0);
    EXPECT_EQ(doc.GetNextNumber(), 1);
    doc.AddDataSet(GainSet(100, 1));
    EXPECT_EQ(doc.GetDataSetNumber(0), 1);

    EXPECT_EQ(view.calls, (Calls{"add 0", "add 1", "add 2", "remove 1", "add 2", "remove 0",
                                 "remove 0", "remove 0", "add 0"}));
    EXPECT_TRUE(other.calls.empty());
    EXPECT_FALSE(doc.IsModified());  // callers set the flag
    EXPECT_EQ(doc.GetDataSetNumber(-1), 0);
    EXPECT_EQ(doc.GetDataSet(5), nullptr);
}

TEST(Document, AcquisitionSetReceivesPointsUntilEndedOrDeleted)
{
    CTalDocument doc;
    EXPECT_EQ(doc.AppendAcquisitionPoint(10, 1, 0, 1, 0, 1, 0, 1, 0), 0);
    const int index = doc.StartAcquisitionSet();
    EXPECT_TRUE(doc.IsAcquiring());
    EXPECT_EQ(doc.AppendAcquisitionPoint(10, 1, 0, 2, 45, ABSENT_VOLTAGE, ABSENT_PHASE, 3, 0), 1);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetPointCount(index), 1);
    EXPECT_EQ(doc.GetNodeVoltage(index, 0, 4), 3.0);
    doc.EndAcquisition();
    EXPECT_FALSE(doc.IsAcquiring());
    EXPECT_EQ(doc.GetDataSetCount(), 1);

    doc.StartAcquisitionSet();
    doc.DeleteDataSet(1);
    EXPECT_FALSE(doc.IsAcquiring());
    EXPECT_EQ(doc.AppendAcquisitionPoint(20, 1, 0, 1, 0, 1, 0, 1, 0), 0);
}

TEST(Document, PropertyChangesNotifyTheViews)
{
    CTalDocument doc;
    doc.AddDataSet(GainSet(100, 1));
    RecordingView view;
    doc.AddView(&view);

    doc.SetDataSetName(0, "first");
    doc.SetDataSetDescription(0, "line");
    doc.SetCalibrationRole(0, 2);
    doc.SetGainColor(0, 0x00FF00);
    doc.SetPhaseColor(0, 0x0000FF);
    doc.SetDataSetName(3, "ignored");
    EXPECT_EQ(view.calls, (Calls{"update 0", "description 0", "update 0", "color 0", "color 0"}));
    EXPECT_EQ(doc.GetDataSetName(0), "first");
    EXPECT_EQ(doc.GetDataSetDescription(0), "line");
    EXPECT_EQ(doc.GetCalibrationRole(0), 2);
    EXPECT_EQ(doc.GetGainColor(0), 0x00FF00u);
    EXPECT_EQ(doc.GetPhaseColor(0), 0x0000FFu);
    EXPECT_EQ(doc.GetDataSetName(1), "");
    EXPECT_EQ(doc.GetDataSetDescription(-1), "");
    EXPECT_EQ(doc.GetCalibrationRole(1), 0);

    EXPECT_FALSE(doc.IsModified());
    doc.SaveModified();
    EXPECT_FALSE(doc.IsModified());
    view.editing = true;
    doc.SaveModified();
    EXPECT_TRUE(doc.IsModified());
}

TEST(Document, ForwardingAccessorsAndTheirDefaults)
{
    CTalDocument empty;
    EXPECT_EQ(empty.GetGainColor(0), 0x0000FFu);
    EXPECT_EQ(empty.GetPhaseColor(0), 0xFF0000u);
    EXPECT_EQ(empty.GetNodeColor(0, 1), 0xFF00FFu);
    appData().inputRange = 2;
    appData().channelPair = 1;
    EXPECT_EQ(empty.GetInputRange(0), 2);
    EXPECT_EQ(empty.GetChannelPair(-1), 1);
    appData().inputRange = 0;
    appData().channelPair = 0;

    CTalDocument doc;
    auto set = std::make_unique<CDataSet>();
    set->AddPoint(10, 1, 0, 10, 60);
    set->AddPoint(1000, 1, 0, 0.1, -30);
    doc.AddDataSet(std::move(set));
    EXPECT_NEAR(doc.GetGainDB(0, 0), 20.0, 1e-12);
    EXPECT_NEAR(doc.GetReal(0, 0), 5.0, 1e-12);
    EXPECT_NEAR(doc.GetImaginary(0, 0), 10 * std::sqrt(3.0) / 2, 1e-12);
    EXPECT_NEAR(doc.GetGainAtDB(0, 100), 0.0, 1e-9);
    EXPECT_EQ(doc.GetGainAtDB(0, 5000), NO_DATA_VALUE);
    EXPECT_EQ(doc.GetGainDB(0, 9), NO_DATA_VALUE);
    EXPECT_EQ(doc.GetReal(0, 9), NO_DATA_VALUE);
    EXPECT_NEAR(doc.GetPhaseAt(0, 100), 15.0, 1e-9);
    EXPECT_NEAR(doc.GetSlopeAt(0, 100), -1.0, 1e-12);
    EXPECT_NEAR(doc.GetMaxGainDB(0), 20.0, 1e-12);
    EXPECT_NEAR(doc.GetMinGainDB(0), -20.0, 1e-12);
    EXPECT_EQ(doc.GetMinFrequency(0), 10);
    EXPECT_NEAR(doc.GetMaxPhase(0), 60, 1e-9);
    EXPECT_EQ(doc.GetLastNodeIndex(0, 1), 1);
    EXPECT_EQ(doc.GetNodeId(0, 1, 0), 1);

    EXPECT_EQ(doc.SetScaleFactor(0, 0), 0);
    EXPECT_EQ(doc.SetInputNode(0, 3), 0);
    EXPECT_EQ(doc.SetOutputNode(0, 1), 1);
    EXPECT_EQ(doc.SetInputNode(0, 2), 1);
    EXPECT_NEAR(doc.GetGainDB(0, 0), -20.0, 1e-12);

    doc.m_dataSets[0]->m_points[0]->m_nodes[1].voltage = 100;  // stale limits until recalculated
    doc.RecalcAllLimits();
    EXPECT_NEAR(doc.GetMinGainDB(0), -40.0, 1e-12);
}

TEST(Document, NewDocumentStartsEmptyAndNumbersFromOne)
{
    CTalDocument doc;
    RecordingView view;
    doc.AddView(&view);
    doc.AddDataSet(GainSet(100, 1));
    doc.AddDataSet(GainSet(100, 1));
    doc.StartAcquisitionSet();
    doc.SetModifiedFlag();
    doc.OnNewDocument();
    EXPECT_EQ(doc.GetDataSetCount(), 0);
    EXPECT_FALSE(doc.IsAcquiring());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetNextNumber(), 1);
    EXPECT_EQ(view.calls.back(), "remove 0");
    EXPECT_EQ(doc.GetFirstDisplayView(), &view);
    doc.RemoveView(&view);
    EXPECT_EQ(doc.GetFirstDisplayView(), nullptr);
}

TEST(RandomGenerator, ClassicSequence)
{
    RandomGenerator random;
    const int first[] = {41, 18467, 6334, 26500, 19169};
    for (int expected : first)
        EXPECT_EQ(random.Next(), expected);
    random.Seed(12345);
    const int a = random.Next();
    random.Seed(12345);
    EXPECT_EQ(random.Next(), a);
}

TEST(Document, RandomDataFollowsTheSeededGenerator)
{
    const struct {
        int channels;
        size_t nodes;
    } cases[] = {{2, 2}, {3, 3}, {4, 4}, {1, 4}};
    for (const auto& c : cases) {
        appData().channelCount = c.channels;
        CTalDocument doc;
        RecordingView view;
        doc.AddView(&view);
        processRandom().Seed(777);
        RandomGenerator copy;
        copy.Seed(777);
        const double u0 = copy.Next() / 32767.0;

        doc.AddRandomData();
        const CDataSet& set = *doc.GetDataSet(0);
        ASSERT_EQ(set.GetPointCount(), 50);
        EXPECT_NEAR(set.GetFrequency(0), 10 * std::pow(10.0, (u0 - 0.5) / 10), 1e-9);
        EXPECT_NEAR(set.GetFrequency(49) / set.GetFrequency(0), std::pow(10.0, 4.9), 1e-6);
        EXPECT_EQ(set.m_points[0]->m_nodes.size(), c.nodes);
        EXPECT_EQ(set.m_name, "random");
        EXPECT_EQ(set.m_description.rfind("Random Voltage Data\r\n", 0), 0u);
        EXPECT_GT(set.m_description.size(), 30u);
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(view.calls, (Calls{"add 0", "update 0"}));
    }
    appData().channelCount = 4;
}

TEST(Document, RandomDataNodeOneIsTheFirstTransferFunction)
{
    CTalDocument doc;
    processRandom().Seed(1);
    RandomGenerator copy;
    const double u0 = copy.Next() / 32767.0;
    const double a1 = 1 + copy.Next() / 32767.0;
    const double a2 = 1 + copy.Next() / 32767.0;
    const double a3 = 1 + copy.Next() / 32767.0;
    const double k = std::pow(10.0, (u0 - 0.5) / 10);
    doc.AddRandomData();

    const double f = 10 * k;
    const std::complex<double> s(0, f);
    const std::complex<double> h1 = (1e4 * a2 * s) * (s + 1000 * a1) /
                                    ((s + 100 * a2) * (s + 1e6 / a3) * (s + 7e5 * a3));
    EXPECT_NEAR(doc.GetNodeVoltage(0, 0, 1), std::abs(h1), 1e-12 * std::abs(h1));
    EXPECT_NEAR(doc.GetNodePhase(0, 0, 1), std::arg(h1) * 180 / std::numbers::pi, 1e-9);
}

TEST(Document, ImportTextRecognisesTheTableKind)
{
    const struct {
        const char* name;
        std::string text;
        int points;
        double gain1;       // gain of point 1 as the set derives it
        std::string description;
    } cases[] = {
        {"three columns, no header", "100\t-6.0206\t-45\r\n1000\t-20\t-84.3\r\n", 2, 0.1, ""},
        {"one line without a line break", "100\t-20\t-45", 1, NO_DATA_VALUE, ""},
        {"impedance after description lines",
         "*Run 1\r\n*Filter A\r\n*Frequency (Hz)\tImpedance (Ohms)\tPhase (Deg)\r\n100\t50\t-10\r\n"
         "1000\t25\t-20",
         2, 25, "Run 1\r\nFilter A"},
        {"gain header", "*Frequency (Hz)\tGain (dB)\tPhase (Deg)\r\n10\t0\t0\r\n20\t20\t0", 2, 10,
         ""},
        {"short lines and non-positive frequencies skipped",
         "10\t0\t0\r\n1\t1\r\n-5\t0\t0\r\n0\t0\t0\r\n20\t40\t0\r\n", 2, 100, ""},
    };
    for (const auto& c : cases) {
        CTalDocument doc;
        const int index = doc.ImportText(c.text, 2, 1, 1.0);
        ASSERT_EQ(index, 0) << c.name;
        EXPECT_EQ(doc.GetPointCount(0), c.points) << c.name;
        EXPECT_NEAR(doc.GetGain(0, 1), c.gain1, 1e-9 * c.gain1) << c.name;
        EXPECT_EQ(doc.GetDataSetDescription(0), c.description) << c.name;
        EXPECT_TRUE(doc.IsModified());
    }
    CTalDocument doc;
    doc.ImportText("100\t-20\t-45", 2, 1, 1.0);
    EXPECT_NEAR(doc.GetGainDB(0, 0), -20, 1e-9);
    EXPECT_NEAR(doc.GetPhase(0, 0), -45, 1e-9);
}

TEST(Document, ImportTextVoltageRowsAndParameterLine)
{
    const std::string rows =
        "*Frequency (Hz)\tChannel or Node\tVoltage (Volts)\tVoltage (dB)\tPhase (Deg)\r\n"
        "100\t1\t2\t6.02\t10\r\n100\t2\t4\t12.04\t-20\r\n100\t3\t8\t18.06\t30\r\n"
        "200\t1\t1\t0\t0\r\n200\t2\t3\t9.54\t0\r\n200\t3\t6\t15.56\t0";

    // With a parameter line: its nodes and scale factor, no properties dialog.
    {
        CTalDocument doc;
        RecordingView view;
        doc.AddView(&view);
        const int index = doc.ImportText(
            "*Talk\r\n*Gain/Phase: Output Node=3, Input Node=2, Scale Factor=-2\r\n" + rows, 2, 1,
            1.0);
        ASSERT_EQ(index, 0);
        EXPECT_EQ(doc.GetPointCount(0), 2);
        EXPECT_EQ(doc.GetOutputNode(0), 3);
        EXPECT_EQ(doc.GetInputNode(0), 2);
        EXPECT_EQ(doc.GetScaleFactor(0), -2);
        EXPECT_DOUBLE_EQ(doc.GetGain(0, 0), 4.0);
        EXPECT_NEAR(doc.GetPhase(0, 0), -130.0, 1e-9);  // 30 + 180 - (-20)
        EXPECT_DOUBLE_EQ(doc.GetMinGain(0), 4.0);        // exact once every node is in
        EXPECT_DOUBLE_EQ(doc.GetMaxGain(0), 4.0);
        EXPECT_EQ(doc.GetDataSetDescription(0), "Talk");
        EXPECT_EQ(view.calls, (Calls{"add 0", "update 0"}));
    }
    // Without one: the caller's defaults, then the properties dialog of the first display.
    {
        CTalDocument doc;
        RecordingView view;
        doc.AddView(&view);
        ASSERT_EQ(doc.ImportText(rows, 3, 1, 1.0), 0);
        EXPECT_EQ(doc.GetOutputNode(0), 3);
        EXPECT_DOUBLE_EQ(doc.GetGain(0, 1), 6.0);
        EXPECT_EQ(view.calls, (Calls{"add 0", "update 0", "properties", "update 0"}));
    }
    // Five-column rows without any header are voltage rows.
    {
        CTalDocument doc;
        ASSERT_EQ(doc.ImportText("100\t1\t2\t6.02\t10\r\n100\t2\t4\t12.04\t-20\r\n", 2, 1, 1.0), 0);
        EXPECT_EQ(doc.GetPointCount(0), 1);
        EXPECT_DOUBLE_EQ(doc.GetGain(0, 0), 2.0);
    }
    // The parameter line as the very first line: later description lines carry "\r\n".
    {
        CTalDocument doc;
        doc.ImportText("Gain/Phase: Output Node=2, Input Node=1\r\n*Second\r\n" + rows, 2, 1, 5.0);
        EXPECT_EQ(doc.GetDataSetDescription(0), "\r\nSecond");
        EXPECT_EQ(doc.GetScaleFactor(0), 5.0);
    }
}

TEST(Document, ImportTextRejectsWhatItCannotRead)
{
    const char* texts[] = {"", "hello", "header only\n", "*a\r\n*b\r\n", "0\t0\t0\r\n",
                           "*Frequency (Hz)\tGain (dB)\tPhase (Deg)\r\nab"};
    for (const char* text : texts) {
        CTalDocument doc;
        ScriptedPrompter script;
        SetPrompter(&script);
        EXPECT_EQ(doc.ImportText(text, 2, 1, 1.0), -1) << text;
        EXPECT_EQ(doc.GetDataSetCount(), 0);
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(script.shown.empty());
        SetPrompter(nullptr);
    }
}

TEST(Document, ImportReadsBackTheCopiedTables)
{
    const DisplayKind kinds[] = {DisplayKind::Gain, DisplayKind::Imp, DisplayKind::Text};
    for (bool voltageFormat : {false, true}) {
        for (DisplayKind kind : kinds) {
            CDataSet source;
            source.AddPoint(100, 1, 0, 0.707, -45, 0.5, 10);
            source.AddPoint(1000, 1, 0, 0.1, -84.3, 0.25, 20);
            source.SetOutputNode(3);
            source.m_description = "Run 1\nFilter A";
            const std::string text = FormatDataAsText(source, kind, voltageFormat);

            CTalDocument doc;
            ASSERT_EQ(doc.ImportText(text, 3, 1, 1.0), 0) << text;
            EXPECT_EQ(doc.GetDataSetDescription(0), "Run 1\r\nFilter A") << text;
            ASSERT_EQ(doc.GetPointCount(0), 2) << text;
            for (int i = 0; i < 2; ++i) {
                EXPECT_NEAR(doc.GetGain(0, i) / source.GetGain(i), 1.0, 1e-4) << text;
                EXPECT_NEAR(doc.GetPhase(0, i), source.GetPhase(i), 1e-3) << text;
            }
        }
    }
}

TEST(Document, TextDescriptionUsesTheFirstDisplaysKind)
{
    CTalDocument doc;
    doc.m_title = "Bench.tal";
    doc.AddDataSet(GainSet(100, 2));
    doc.AddDataSet(GainSet(200, 4));
    doc.DeleteDataSet(0);
    doc.AddDataSet(GainSet(300, 8));
    const std::string head = "Talvern Industries Frequency Response Analysis System\r\n\r\n\r\n";

    const auto expected = [&](DisplayKind kind) {
        return head + "Bench.tal: Data 2: \r\n\r\n" +
               FormatDataAsText(*doc.GetDataSet(0), kind, false) + "\r\n\r\n\r\n" +
               "Bench.tal: Data 3: \r\n\r\n" + FormatDataAsText(*doc.GetDataSet(1), kind, false) +
               "\r\n\r\n\r\n";
    };
    EXPECT_EQ(doc.GetTextDescription(), expected(DisplayKind::Text));
    RecordingView view(DisplayKind::Imp);
    doc.AddView(&view);
    EXPECT_EQ(doc.GetTextDescription(), expected(DisplayKind::Imp));
    EXPECT_EQ(CTalDocument().GetTextDescription(), head);
}

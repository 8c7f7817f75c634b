#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <complex>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "XmlWellFormed.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/model/ModelPage.h"
#include "rlc/report/ReportFile.h"
#include "rlc/report/ReportWriter.h"
#include "rlc/report/XmlText.h"

using namespace rlctest;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = appData();
        dir = fs::temp_directory_path() / ("rlc-report-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        appData() = saved;
        fs::remove_all(dir);
    }

    // A set on input node 1 and output node 2 with `points` points and the given role.
    int AddSet(CTalDocument& doc, const std::string& name, int role, int points = 2)
    {
        auto set = std::make_unique<CDataSet>();
        for (int i = 0; i < points; ++i)
            set->AddPoint(10.0 * (i + 1), 1, 0, 0.5, 10);
        set->m_inputNode = 1;
        set->m_outputNode = 2;
        set->m_name = name;
        set->m_calibrationRole = role;
        return doc.AddDataSet(std::move(set));
    }

    // The document and options the golden file was written for by hand.
    void BuildGoldenDocument()
    {
        AddSet(golden, "Open circuit", 1);
        AddSet(golden, "", 4);
        auto set = std::make_unique<CDataSet>();
        set->AddPoint(100, 0.5, -10, 0.25, 20);
        set->AddPoint(1000, 1, 0, 0.03125, -45);
        set->m_inputNode = 1;
        set->m_outputNode = 2;
        set->SetScaleFactor(-100);
        set->m_name = "C1 & <x>(w/o parasitics)";
        set->m_calibrationRole = 5;
        golden.AddDataSet(std::move(set));
        goldenOptions = {true, true, false, true};
        goldenCircuit.kindText = CircuitKindText(KIND_R_PLUS_C);
        goldenCircuit.r = {"R:", "Ohm", "10", 10};
        goldenCircuit.c = {"C:", "F", "1 u", 1e-6};
    }

    ApplicationData saved;
    fs::path dir;
    CTalDocument golden;
    ReportOptions goldenOptions;
    ReportCircuit goldenCircuit;
    const std::string stamp = "2024-03-05 at 02:07 PM";
};

TEST_F(ReportTest, MatchesTheHandWrittenGoldenFile)
{
    BuildGoldenDocument();
    const std::string expected = ReadFile(fs::path(TALVERN_FIXTURES_DIR) / "rlc_report_golden.xml");
    ASSERT_FALSE(expected.empty());
    const std::string report = FormatReport(golden, goldenOptions, goldenCircuit, stamp);
    EXPECT_EQ(report, expected);
    EXPECT_EQ(XmlWellFormedError(report), "");

    // The same bytes reach the file the chooser names.
    ScriptedPrompter prompter;
    const fs::path out = dir / "report.xml";
    prompter.fileAnswers.push_back(out.string());
    // The time stamp is taken once the file is chosen.
    const auto afterChoosing = [&] {
        EXPECT_EQ(prompter.shown.size(), 1u);
        return stamp;
    };
    ReportRequest request{true, &golden, goldenOptions, goldenCircuit, afterChoosing, {}};
    EXPECT_TRUE(CreateExcelXmlReport(request, prompter));
    EXPECT_EQ(ReadFile(out), expected);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].kind, "save");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(ReportTest, RowAndColumnCountsFollowTheOptions)
{
    CTalDocument doc;
    for (int role : {1, 2, 3, 4, 5})
        AddSet(doc, "set", role, 100);

    // Circuit values only: 3 columns, 9 rows, the title and circuit blocks alone.
    const ReportOptions circuitOnly{false, true, true, true};
    const std::string small = FormatReport(doc, circuitOnly, {}, stamp);
    EXPECT_NE(small.find("ss:ExpandedColumnCount=\"3\" ss:ExpandedRowCount=\"9\""), std::string::npos);
    EXPECT_EQ(Count(small, "<Row"), 9 - 1);  // row 2 is skipped by ss:Index="3"
    EXPECT_EQ(Count(small, "Dataset "), 0);

    // Tables without calibration data: roles 3 and 5 only, 4 + 5 + 2 x 110 rows.
    const ReportOptions tables{true, false, false, true};
    EXPECT_EQ(ReportedDataSets(doc, tables), (std::vector<int>{2, 4}));
    EXPECT_EQ(ReportRowCount(doc, tables), 229);
    const std::string report = FormatReport(doc, tables, {}, stamp);
    EXPECT_NE(report.find("ss:ExpandedColumnCount=\"3\" ss:ExpandedRowCount=\"229\""), std::string::npos);
    EXPECT_EQ(Count(report, "<Row"), 229 - 1);
    EXPECT_NE(report.find("Dataset 3<"), std::string::npos);
    EXPECT_NE(report.find("Dataset 5<"), std::string::npos);
    EXPECT_EQ(Count(report, "Dataset "), 2);

    // Calibration sets are reported with the option; the intermediate set never is.
    const ReportOptions everything{true, true, true, false};
    EXPECT_EQ(ReportedDataSets(doc, everything), (std::vector<int>{0, 1, 2, 4}));
    EXPECT_EQ(ReportColumnCount(everything), 7);
    EXPECT_EQ(ReportRowCount(doc, everything), 4 + 4 * 110);
    EXPECT_EQ(XmlWellFormedError(FormatReport(doc, everything, {}, stamp)), "");
}

TEST(ReportText, ScaleFactorDecimalsAndTypeTexts)
{
    const std::pair<double, const char*> cases[] = {
        {1, "1.000"},      {0.05, "0.0500"}, {100, "100.0"},     {-100, "-100.0"},
        {12345, "12345"},  {0.5, "0.500"},   {0.001, "0.0010"},  {9.99, "9.990"},
        {1000, "1000"},    {0, "0.0000"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(ScaleFactorText(value), text) << value;

    EXPECT_EQ(DataSetTypeText(1), "Open circuit sweep");
    EXPECT_EQ(DataSetTypeText(2), "Closed circuit sweep");
    EXPECT_EQ(DataSetTypeText(3), "Component sweep (w/ parasitics)");
    EXPECT_EQ(DataSetTypeText(5), "Component without parasitics");
    EXPECT_EQ(DataSetTypeText(0), "Data");
    EXPECT_EQ(DataSetTypeText(4), "Data");
}

TEST(ReportText, TimeStampUsesTwelveHourClock)
{
    const std::pair<int, const char*> cases[] = {
        {0, "2024-12-31 at 12:05 AM"}, {11, "2024-12-31 at 11:05 AM"},
        {12, "2024-12-31 at 12:05 PM"}, {23, "2024-12-31 at 11:05 PM"},
    };
    for (const auto& [hour, text] : cases) {
        std::tm t{};
        t.tm_year = 124;
        t.tm_mon = 11;
        t.tm_mday = 31;
        t.tm_hour = hour;
        t.tm_min = 5;
        EXPECT_EQ(ReportTimeStamp(t), text);
    }
}

TEST(ReportText, EscapingKeepsAnyNameWellFormed)
{
    EXPECT_EQ(EscapeXmlText("R&D <1> \"q\" 'a'"), "R&amp;D &lt;1&gt; \"q\" 'a'");
    EXPECT_EQ(EscapeXmlText("]]>"), "]]&gt;");
    EXPECT_EQ(EscapeXmlText("\xC2\xB5H \xE2\x82\xAC"), "\xC2\xB5H \xE2\x82\xAC");  // kept UTF-8
    EXPECT_EQ(EscapeXmlText(std::string("a\x01\x1F\tb\r\n", 7)), "a??\tb\r\n");
    EXPECT_EQ(EscapeXmlText("\xFF\xC3(\xED\xA0\x80\xEF\xBF\xBE"), "??" "(??????");

    const std::string names[] = {"A & B", "<Cell>", "x]]>y", std::string("nul\0in", 6), "\x80\xFE"};
    CTalDocument doc;
    for (const std::string& name : names) {
        auto set = std::make_unique<CDataSet>();
        set->AddPoint(1, 1, 0, 1, 0);
        set->m_name = name;
        doc.AddDataSet(std::move(set));
    }
    ReportCircuit circuit;
    circuit.kindText = "R & <L>";
    circuit.r = {"R:", "Ohm", "N/A", -1};
    EXPECT_EQ(XmlWellFormedError(FormatReport(doc, {true, true, true, true}, circuit, "<now> & then")), "");
}

TEST_F(ReportTest, CircuitBlockFromTheModelPage)
{
    ModelPage page;
    CTalDocument doc;
    AddSet(doc, "", 5);
    page.ChooseKind(KIND_R_PLUS_R_PAR_C, doc);  // two flat points: nothing can be fitted
    const ReportCircuit circuit = ReportCircuitOf(page);
    EXPECT_EQ(circuit.kindText, "R + (R || C)");
    EXPECT_EQ(circuit.second.label, "Rp:");
    EXPECT_EQ(circuit.second.unit, "Ohm");
    const std::string report = FormatReport(doc, {false, false, true, true}, circuit, stamp);
    // Fields showing "N/A" write their committed value, the unknown -1.
    EXPECT_NE(report.find("<Data ss:Type=\"String\">Rp:</Data></Cell>\r\n"
                          "    <Cell ss:StyleID=\"s24\"><Data ss:Type=\"Number\">-1.000000e+00</Data>"),
              std::string::npos);
    EXPECT_NE(report.find("Selected Model: R + (R || C)<"), std::string::npos);
}

TEST_F(ReportTest, PropertiesAreReadThroughTheDisplayInReportOrder)
{
    CTalDocument doc;
    AddSet(doc, "a", 0);
    AddSet(doc, "", 4);
    AddSet(doc, "b", 3);
    std::vector<int> asked;
    const PropertiesReader display = [&](int index) {
        asked.push_back(index);  // the display selects each in turn; the last one stays selected
        return ReportedProperties{3, 4, 0.05};
    };
    const std::string report = FormatReport(doc, {true, true, true, false}, {}, stamp, display);
    EXPECT_EQ(asked, (std::vector<int>{0, 2}));
    EXPECT_EQ(Count(report, "Voltage node: 4<"), 2);
    EXPECT_EQ(Count(report, "Current node (3)<"), 2);
    EXPECT_EQ(Count(report, "Scale factor: 0.0500<"), 2);
}

TEST_F(ReportTest, FailuresAreShownAndLeaveExistingFiles)
{
    BuildGoldenDocument();
    const auto run = [&](ReportRequest request, std::optional<std::string> path) {
        ScriptedPrompter prompter;
        prompter.fileAnswers.push_back(path);
        const bool written = CreateExcelXmlReport(request, prompter);
        std::vector<std::string> messages;
        for (const auto& s : prompter.shown)
            if (s.kind == "message")
                messages.push_back(s.caption + ": " + s.text);
        return std::make_pair(written, messages);
    };
    using Messages = std::vector<std::string>;
    const ReportRequest ok{true, &golden, goldenOptions, goldenCircuit, [&] { return stamp; }, {}};

    ReportRequest noDisplay = ok;
    noDisplay.hasActiveDisplay = false;
    EXPECT_EQ(run(noDisplay, "x.xml").second, Messages{"Error: There is nothing to report!"});
    ReportRequest noDocument = ok;
    noDocument.document = nullptr;
    EXPECT_EQ(run(noDocument, "x.xml").second, Messages{"Error: Document not found"});
    EXPECT_EQ(run(ok, std::nullopt), std::make_pair(false, Messages{}));  // chooser cancelled

    EXPECT_EQ(run(ok, (dir / "missing" / "r.xml").string()),
              std::make_pair(false, Messages{"Error: Error creating the report file"}));

    // A directory in the way: the rename fails, the directory and its contents stay.
    fs::create_directories(dir / "taken.xml");
    std::ofstream(dir / "taken.xml" / "inside") << "keep";
    EXPECT_EQ(run(ok, (dir / "taken.xml").string()),
              std::make_pair(false, Messages{"Error: Error writing to file"}));
    EXPECT_EQ(ReadFile(dir / "taken.xml" / "inside"), "keep");

    // The file system refuses the data half-way: the old report is left as it was, and no
    // partial file remains beside it.
    const fs::path old = dir / "old.xml";
    std::ofstream(old) << "old report";
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto result = run(ok, old.string());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(result, std::make_pair(false, Messages{"Error: Error writing to file"}));
    EXPECT_EQ(ReadFile(old), "old report");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(dir))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}

// After "Refine" the circuit block marks the refined values with their uncertainties and adds
// the residual; the table declares the extra row and columns and stays well-formed.
TEST_F(ReportTest, RefinedCircuitBlockAddsTheResidualAndMarks)
{
    CTalDocument doc;
    auto set = std::make_unique<CDataSet>();
    set->m_inputNode = 1;
    set->m_outputNode = 2;
    for (double f : {10.0, 100.0, 1e3, 1e4, 1e5}) {
        const std::complex<double> z(10, 2 * 3.141592653589793 * f * 1e-3);
        set->AddPoint(f, 1, 0, std::abs(z), std::arg(z) * 180 / 3.141592653589793);
    }
    set->SetScaleFactor(1);
    set->m_calibrationRole = 5;
    doc.AddDataSet(std::move(set));
    ModelPage page;
    page.ChooseKind(KIND_R_PLUS_L, doc);
    const ReportOptions options{false, false, true, true};
    const std::string plain = FormatReport(doc, options, ReportCircuitOf(page), stamp);

    page.Refine(doc);
    const ReportCircuit circuit = ReportCircuitOf(page);
    ASSERT_TRUE(circuit.Refined());
    EXPECT_TRUE(circuit.r.refined && circuit.second.refined && !circuit.c.refined);
    const std::string report = FormatReport(doc, options, circuit, stamp);
    EXPECT_NE(report.find("ss:ExpandedColumnCount=\"6\" ss:ExpandedRowCount=\"10\""), std::string::npos);
    EXPECT_NE(report.find("<Data ss:Type=\"String\">Ohm</Data></Cell>\r\n"
                          "    <Cell><Data ss:Type=\"String\">refined</Data></Cell>\r\n"
                          "    <Cell ss:StyleID=\"s22\"><Data ss:Type=\"String\">u:</Data></Cell>\r\n"),
              std::string::npos);
    EXPECT_NE(report.find("<Data ss:Type=\"String\">Residual:</Data></Cell>\r\n"
                          "    <Cell ss:StyleID=\"s24\"><Data ss:Type=\"Number\">"),
              std::string::npos);
    EXPECT_EQ(XmlWellFormedError(report), "");

    // A value typed in ends the refinement: the block is the plain one again.
    page.Commit(page.m_r, "10");
    EXPECT_EQ(FormatReport(doc, options, ReportCircuitOf(page), stamp), plain);
}

}  // namespace

namespace {

TEST(XmlChecker, RejectsWhatAnUnescapedNameWouldBreak)
{
    EXPECT_EQ(XmlWellFormedError("<?xml version=\"1.0\"?>\r\n<a x=\"1\"><b/>t &amp; &#38;</a>\r\n"), "");
    const char* broken[] = {
        "<a>R&D</a>", "<a>x < y</a>", "<a><b></a></b>", "<a x=1/>", "<a x=\"1\" x=\"2\"/>",
        "<a/><b/>", "<a>", "text<a/>", "<a>\x01</a>", "<a>\xC3</a>", "<a>]]></a>",
    };
    for (const char* text : broken)
        EXPECT_NE(XmlWellFormedError(text), "") << text;
}

}  // namespace

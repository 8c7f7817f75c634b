// The whole RLC workflow through the panel on the simulated analyzer: open-circuit and
// closed-circuit calibration with the fixture switched between the sweeps, a component with
// the fixture's parasitics removed, the model fit, the model plot and the report.
#include <QLineEdit>
#include <QTabWidget>

#include <complex>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "RlcUiFixture.h"
#include "rlc/ui/PanelSettings.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"
#include "rlc/ui/RLCDialogTabModel.h"
#include "rlc/ui/RLCDialogTabReport.h"
#include "tests/rlc/XmlWellFormed.h"
#include "views/base/ViewHooks.h"

namespace rlcuitest {
namespace {

constexpr double kPi = 3.141592653589793;

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RlcWorkflowTest : public RlcPanelFixture {
protected:
    // A sweep from 10 Hz to 100 kHz (the page's stored values) with the simulator's fixture
    // leads and terminal capacitance.
    void Prepare(const std::string& dut)
    {
        ResetSimulator("dut=" + dut + ";series_r=0.05;series_l=20n;parallel_c=5p");
        MeasurementPageSettings s;
        s.startFrequency = 10;
        s.stopFrequency = 100e3;
        WriteMeasurementPageSettings(rlcSettings, s);
        OpenAnalyzer();
        OpenPanel();
    }
};

TEST_F(RlcWorkflowTest, CalibratesMeasuresFitsAndReportsAComponent)
{
    ResetSimulator("dut=R+L:R=10,L=1m;series_r=0.05;series_l=20n;parallel_c=5p");
    MeasurementPageSettings s;
    s.startFrequency = 10;
    s.stopFrequency = 100e3;
    WriteMeasurementPageSettings(rlcSettings, s);
    OpenAnalyzer();
    ActiveDocument()->m_title = "before the panel";
    OpenPanel();
    EXPECT_EQ(values.referenceResistor, 100.0);
    EXPECT_EQ(values.frequencyMinimum, 0.01);
    EXPECT_EQ(values.frequencyMaximum, 4e7);
    EXPECT_EQ(RlcPanelReferenceResistor(), std::optional<double>(100.0));
    EXPECT_EQ(engine->Fields().startFrequency, 10.0);
    EXPECT_EQ(engine->Fields().stopFrequency, 100e3);
    // The page starts from a new empty impedance document.
    ASSERT_EQ(m_windows.size(), 1u);
    EXPECT_EQ(ActiveDocument()->m_title, "Untitled");

    ASSERT_TRUE(Calibrate()) << prompter.Texts() << commLog;
    CTalDocument& doc = *ActiveDocument();
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    EXPECT_EQ(doc.GetPointCount(0), 41);  // 10 Hz to 100 kHz, 10 steps per decade
    EXPECT_EQ(doc.GetDataSetName(0), "Open circuit");
    EXPECT_EQ(doc.GetCalibrationRole(0), 1);
    EXPECT_EQ(doc.GetDataSetName(1), "Closed circuit");
    EXPECT_EQ(doc.GetCalibrationRole(1), 2);
    EXPECT_EQ(doc.GetScaleFactor(0), -100.0);
    EXPECT_TRUE(panel->findChild<QWidget*>("testComponent")->isEnabled());
    EXPECT_TRUE(panel->findChild<QWidget*>("saveCalibration")->isEnabled());
    EXPECT_FALSE(panel->findChild<QWidget*>("peakVoltageSelect")->isEnabled());
    // The open circuit is the 5 pF across the terminals: 1 / (w C) at 1 kHz is 31.8 MOhm.
    const double w1k = 2 * kPi * 1000;
    EXPECT_NEAR(doc.GetGainAt(0, 1000) * w1k * 5e-12, 1.0, 0.01);
    EXPECT_NEAR(doc.GetGainAt(1, 10), 0.05, 0.001);

    ASSERT_TRUE(TestComponent("L1")) << prompter.Texts() << commLog;
    ASSERT_EQ(doc.GetDataSetCount(), 5);
    EXPECT_EQ(doc.GetDataSetName(2), "L1(with parasitics)");
    EXPECT_EQ(doc.GetCalibrationRole(2), 3);
    EXPECT_EQ(doc.GetDataSetName(3), "");
    EXPECT_EQ(doc.GetCalibrationRole(3), 4);
    EXPECT_EQ(doc.GetDataSetName(4), "L1(w/o parasitics)");
    EXPECT_EQ(doc.GetCalibrationRole(4), 5);
    const auto& attribs = ActiveView()->Fields().attribs;
    ASSERT_EQ(attribs.size(), 5u);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(attribs[size_t(i)].visible) << i;
    EXPECT_TRUE(attribs[4].visible);
    SaveScreenshot(*ActiveView(), "rlc-impedance-display");

    // Without noise the corrected curve is the component's impedance; what remains is the
    // reading's five digits and the parallel removal's second-order term.
    ASSERT_EQ(doc.GetPointCount(4), doc.GetPointCount(2));
    for (int p = 0; p < doc.GetPointCount(4); ++p) {
        const double f = doc.GetFrequency(4, p);
        const std::complex<double> z(10.0, 2 * kPi * f * 1e-3);
        EXPECT_NEAR(doc.GetGain(4, p) / std::abs(z), 1.0, 2e-4) << f;
        EXPECT_NEAR(doc.GetPhase(4, p), std::arg(z) * 180 / kPi, 0.02) << f;
    }

    RLCDialogTabModel& model = panel->Model();
    model.ChooseKind(3);  // R + L: the parasitics-free set is chosen for it
    EXPECT_EQ(model.Page().SelectedPosition(), 4);
    EXPECT_NEAR(model.Page().m_r.value, 10.0, 0.05);
    EXPECT_NEAR(model.Page().m_second.value, 1e-3, 5e-6);
    EXPECT_EQ(panel->findChild<QLineEdit*>("r")->text().toStdString(), model.Page().m_r.text);
    const int plot = model.CreatePlot();
    ASSERT_EQ(plot, 5);
    EXPECT_EQ(doc.GetDataSetName(plot), "Model (R + L)");
    EXPECT_EQ(doc.GetPointCount(plot), doc.GetPointCount(4));

    for (int page = 0; page < 3; ++page) {
        panel->Pages().setCurrentIndex(page);
        panel->resize(panel->sizeHint());
        SaveScreenshot(*panel, "rlc-panel-" + panel->Pages().tabText(page).toLower().toStdString());
    }

    const std::string path = (std::filesystem::path(testing::TempDir()) / "rlc_panel_report.xml").string();
    std::filesystem::remove(path);
    prompter.fileAnswers.push_back(path);
    ASSERT_TRUE(panel->Report().OnCreateReport()) << prompter.Texts();
    const std::string report = ReadFile(path);
    EXPECT_EQ(rlctest::XmlChecker(report).Check(), "");
    EXPECT_NE(report.find("Selected Model: R + L"), std::string::npos);
    EXPECT_NE(report.find("Name: L1(w/o parasitics)"), std::string::npos);
    EXPECT_NE(report.find("Scale factor: -100.0"), std::string::npos);
    // Every set but the intermediate one is reported; the last one ends up selected.
    const int rows = 4 + 5 + 5 * (doc.GetPointCount(0) + 10);
    EXPECT_NE(report.find("ss:ExpandedRowCount=\"" + std::to_string(rows) + "\""), std::string::npos);
    EXPECT_TRUE(attribs[5].selected);
    EXPECT_FALSE(attribs[4].selected);
}

TEST_F(RlcWorkflowTest, SavedCalibrationLoadsIntoANewDocumentAndMeasures)
{
    Prepare("C:C=1u");
    ASSERT_TRUE(Calibrate()) << prompter.Texts();
    const std::string path = (std::filesystem::path(testing::TempDir()) / "rlc_panel.cal").string();
    std::filesystem::remove(path);
    prompter.fileAnswers.push_back(path);
    panel->Measurement().OnSaveCalibration();
    ASSERT_TRUE(std::filesystem::exists(path)) << prompter.Texts();

    CTalDocument* const calibrated = ActiveDocument();
    prompter.fileAnswers.push_back(path);
    panel->Measurement().OnLoadCalibration();
    CTalDocument& loaded = *ActiveDocument();
    ASSERT_NE(&loaded, calibrated);
    ASSERT_EQ(loaded.GetDataSetCount(), 2);
    EXPECT_EQ(loaded.GetCalibrationRole(0), 1);
    EXPECT_EQ(loaded.GetCalibrationRole(1), 2);
    EXPECT_TRUE(panel->Measurement().Workflow().IsCalibrated());
    EXPECT_TRUE(panel->findChild<QWidget*>("testComponent")->isEnabled());

    ASSERT_TRUE(TestComponent("C12")) << prompter.Texts();
    ASSERT_EQ(loaded.GetDataSetCount(), 5);
    EXPECT_EQ(loaded.GetDataSetName(4), "C12(w/o parasitics)");
    panel->Model().ChooseKind(2);
    EXPECT_NEAR(panel->Model().Page().m_c.value, 1e-6, 0.01e-6);
}

TEST_F(RlcWorkflowTest, RedoneAndFollowingSweepsStartCleanWithTheDialogsRealWaits)
{
    // With the dialog's fixed waits the analyzer answers the point it was measuring when a
    // sweep stopped; the next sweep, started from the end of the last, must not take that.
    instrument::RealSleeper realSleeper;
    instrument::ScopedSleeper useRealSleeper(realSleeper);
    ResetSimulator("dut=R:R=100");
    MeasurementPageSettings s;
    s.startFrequency = 100;
    s.stopFrequency = 1000;
    WriteMeasurementPageSettings(rlcSettings, s);
    OpenAnalyzer();
    OpenPanel();
    prompter.threeButtonAnswers = {2, 1, 2, 1};  // Redo, Continue, Redo, Keep it
    panel->Measurement().OnCalibrate();
    ASSERT_TRUE(PumpUntil([&] { return prompter.Saw("Calibration complete") || prompter.Saw("Analyzer error"); }))
        << prompter.Texts();
    EXPECT_FALSE(prompter.Saw("Analyzer error")) << prompter.Texts() << commLog;
    CTalDocument& doc = *ActiveDocument();
    ASSERT_EQ(doc.GetDataSetCount(), 2);
    EXPECT_EQ(doc.GetCalibrationRole(0), 1);
    EXPECT_EQ(doc.GetCalibrationRole(1), 2);
    EXPECT_EQ(doc.GetPointCount(1), 11);
}

TEST_F(RlcWorkflowTest, ErrorsOfTheWorkflowReachTheUser)
{
    Prepare("R:R=100");
    panel->Measurement().OnTestComponent();
    EXPECT_TRUE(prompter.Saw("Please calibrate first!"));

    // The analyzer vanishes during the open-circuit sweep: a bus error, the state left pending.
    ConfigureSimulator("fault=vanish_after:10");
    panel->Measurement().OnCalibrate();
    ASSERT_TRUE(PumpUntil([&] { return prompter.Saw("GPIB error"); })) << prompter.Texts();
    EXPECT_TRUE(panel->Measurement().Workflow().m_calibrating);
    EXPECT_FALSE(panel->findChild<QWidget*>("testComponent")->isEnabled());
}

}  // namespace
}  // namespace rlcuitest

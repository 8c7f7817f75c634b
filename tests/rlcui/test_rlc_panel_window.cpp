// The panel as a window: what opening and destroying it does to the application and the
// analyzer, its stored values, the forwarding of its fields to the engine, the frequency check,
// and the Model page's schematic.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <cmath>
#include <cstdlib>
#include <set>

#include "../rlc/ImpedanceCurves.h"
#include "RlcUiFixture.h"
#include "data/DataSet.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/report/ReportWriter.h"
#include "rlc/ui/CircuitSchematic.h"
#include "rlc/ui/PanelSettings.h"
#include "rlc/ui/RLCDialogTabModel.h"
#include "views/base/ViewHooks.h"
#include "views/dialogs/EditComponent.h"

namespace rlcuitest {
namespace {

class RlcPanelWindowTest : public RlcPanelFixture {
protected:
    // Types `text` into the named field of the panel and commits it as Enter does.
    void Enter(const char* field, const std::string& text)
    {
        auto* edit = panel->findChild<CEditComponent*>(field);
        ASSERT_NE(edit, nullptr) << field;
        edit->setFocus();
        edit->selectAll();
        QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromStdString(text));
        QApplication::sendEvent(edit, &typed);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(edit, &enter);
    }
    template <typename T>
    T* Control(const char* name)
    {
        T* control = panel->findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    std::string StoredText(const char* name)
    {
        return store.GetString("RLC Settings", name, "(none)");
    }
};

TEST_F(RlcPanelWindowTest, OpeningReinitialisesTheAnalyzerAndDestroyingReturnsItToASafeState)
{
    store.WriteString("RLC Settings", "RLC Ref Resistor Value", "1000.0");
    OpenAnalyzer();
    commLog.clear();
    RLCDialog& dialog = OpenPanel();
    // The second initialisation stage again: identification and capability query.
    EXPECT_NE(commLog.find("*IDN?"), std::string::npos) << commLog;
    EXPECT_NE(commLog.find("PROB?"), std::string::npos) << commLog;
    EXPECT_EQ(values.referenceResistor, 1000.0);
    EXPECT_EQ(RlcPanelReferenceResistor(), std::optional<double>(1000.0));
    EXPECT_EQ(dialog.windowTitle().toStdString(), "RLC Control Panel");
    ASSERT_EQ(dialog.Pages().count(), 3);
    EXPECT_EQ(dialog.Pages().tabText(0).toStdString(), "Measurement");
    EXPECT_EQ(dialog.Pages().tabText(1).toStdString(), "Model");
    EXPECT_EQ(dialog.Pages().tabText(2).toStdString(), "Report");
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    QCloseEvent close;
    QApplication::sendEvent(&dialog, &close);
    EXPECT_FALSE(close.isAccepted());

    ASSERT_TRUE(engine->Initialized());
    panel.reset();
    EXPECT_FALSE(engine->Initialized());
    EXPECT_EQ(RlcPanelReferenceResistor(), std::nullopt);
}

TEST_F(RlcPanelWindowTest, FieldsReachTheAnalyzerClampedAndAreStoredWhenThePanelGoes)
{
    OpenAnalyzer();
    OpenPanel();
    // Defaults: integration 0.33 s by time, 1 V, 0 V, phase limit off at 20 degrees.
    EXPECT_TRUE(engine->Fields().integrationByTime);
    EXPECT_EQ(engine->Fields().integrationTime, 0.33);
    EXPECT_EQ(engine->Fields().acVoltsOut, 1.0);
    EXPECT_FALSE(engine->Fields().maxChangePhaseOn);

    Enter("acVoltage", "20");
    EXPECT_EQ(engine->Fields().acVoltsOut, 10.0);
    EXPECT_EQ(Control<QLineEdit>("acVoltage")->text().toStdString(), "10");
    Enter("acVoltage", "1m");
    EXPECT_EQ(engine->Fields().acVoltsOut, 0.01);
    Enter("dcVoltage", "-15");
    EXPECT_EQ(engine->Fields().dcVoltsOut, -9.99);
    Control<QCheckBox>("limitPhaseChange")->click();
    EXPECT_TRUE(engine->Fields().maxChangePhaseOn);
    Enter("maxPhaseChange", "200");
    EXPECT_EQ(engine->Fields().maxChangePhase, 180.0);
    Enter("maxPhaseChange", "0");
    EXPECT_EQ(engine->Fields().maxChangePhase, 1.0);
    QComboBox* integration = Control<QComboBox>("integrationTime");
    integration->setCurrentIndex(2);
    emit integration->activated(2);
    EXPECT_EQ(engine->Fields().integrationTime, 2.5);
    // The 2600 series measures AC-coupled: the list is fixed.
    EXPECT_EQ(Control<QComboBox>("inputCoupling")->currentText().toStdString(), "AC");
    EXPECT_FALSE(Control<QComboBox>("inputCoupling")->isEnabled());
    // Two channels: the pair is 1/2 and cannot be changed.
    EXPECT_EQ(Control<QComboBox>("channelSelect")->currentText().toStdString(), "1/2");
    EXPECT_FALSE(Control<QComboBox>("channelSelect")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("testComponent")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("saveCalibration")->isEnabled());
    EXPECT_FALSE(Control<QPushButton>("calibrate")->autoDefault());

    panel->move(140, 160);
    panel.reset();
    EXPECT_EQ(store.GetInt("RLC Settings", "RLC Integration Time", -1), 2);
    EXPECT_EQ(StoredText("AC Voltage"), "0.010000");
    EXPECT_EQ(StoredText("DC Voltage"), "-9.990000");
    EXPECT_EQ(store.GetInt("RLC Settings", "Limit max phase change between data points", -1), 1);
    EXPECT_EQ(StoredText("Max phase change between data points"), "1.000000");
    EXPECT_EQ(StoredText("RLC Start Freq"), "1.000000");
    EXPECT_EQ(StoredText("RLC Stop Freq"), "1000.000000");
    EXPECT_EQ(store.GetInt("RLC Settings", "RLC Input Coupling", -1), 1);  // kept for other types
    EXPECT_EQ(store.GetInt("RLC Settings", "RLC Control Panel Left", -1), 140);
    EXPECT_EQ(store.GetInt("RLC Settings", "RLC Control Panel Top", -1), 160);

    // Opened again, the page shows and forwards what it stored.
    OpenPanel();
    EXPECT_EQ(engine->Fields().acVoltsOut, 0.01);
    EXPECT_EQ(engine->Fields().integrationTime, 2.5);
    EXPECT_TRUE(Control<QCheckBox>("limitPhaseChange")->isChecked());
    EXPECT_EQ(panel->pos(), QPoint(140, 160));
}

TEST_F(RlcPanelWindowTest, FrequencyFieldsAreCheckedAgainstTheAnalyzerLimits)
{
    OpenAnalyzer();
    OpenPanel();
    EXPECT_EQ(engine->Fields().startFrequency, 1.0);
    EXPECT_EQ(engine->Fields().stopFrequency, 1000.0);
    statusMessages.clear();

    Enter("startFrequency", "0");
    ASSERT_FALSE(statusMessages.empty());
    EXPECT_EQ(statusMessages.back(), "Invalid start frequency value");
    EXPECT_EQ(Control<CEditComponent>("startFrequency")->GetValue(), 1.0);
    Enter("startFrequency", "1G");
    EXPECT_EQ(statusMessages.back(), "Start frequency out of range");
    EXPECT_EQ(Control<CEditComponent>("startFrequency")->GetValue(), 4e7);
    EXPECT_EQ(engine->Fields().startFrequency, 1.0);  // unchanged until a check succeeds

    Enter("startFrequency", "10");
    Enter("stopFrequency", "50M");
    EXPECT_EQ(statusMessages.back(), "Stop frequency out of range");
    Enter("stopFrequency", "20k");
    EXPECT_EQ(statusMessages.back(), "");
    EXPECT_EQ(engine->Fields().startFrequency, 10.0);
    EXPECT_EQ(engine->Fields().stopFrequency, 20e3);

    Enter("startFrequency", "1k");
    Control<QRadioButton>("singlePoint")->click();
    EXPECT_EQ(engine->Fields().startFrequency, 1000.0);
    EXPECT_EQ(engine->Fields().stopFrequency, 1000.0);
    EXPECT_FALSE(Control<QLineEdit>("stopFrequency")->isEnabled());
    Control<QRadioButton>("sweep")->click();
    EXPECT_TRUE(Control<QLineEdit>("stopFrequency")->isEnabled());
}

TEST_F(RlcPanelWindowTest, ThreeChannelAnalyzerRefusesThePairItLacks)
{
    ResetSimulator("channels=3");
    OpenAnalyzer();
    OpenPanel();
    QComboBox* pairs = Control<QComboBox>("channelSelect");
    ASSERT_TRUE(pairs->isEnabled());
    pairs->setCurrentIndex(1);
    emit pairs->activated(1);
    EXPECT_EQ(engine->ChannelRatioText(), "CH3/CH2");
    EXPECT_EQ(values.shared.defaultInputNode, 2);
    EXPECT_EQ(values.shared.defaultOutputNode, 3);
    pairs->setCurrentIndex(2);
    emit pairs->activated(2);
    EXPECT_TRUE(prompter.Saw("Not allowed on 3 channel analyzer"));
    EXPECT_EQ(pairs->currentText().toStdString(), "1/2");
    EXPECT_EQ(engine->ChannelRatioText(), "CH2/CH1");
}

TEST_F(RlcPanelWindowTest, PeakVoltageListFollowsTheHighVoltageOption)
{
    ResetSimulator("options=2");
    OpenAnalyzer();
    OpenPanel();
    QComboBox* peak = Control<QComboBox>("peakVoltageSelect");
    EXPECT_FALSE(peak->isHidden());
    peak->setCurrentIndex(2);
    emit peak->activated(2);
    EXPECT_EQ(engine->Fields().inputRange, analyzer::family2600::InputRange::Below500V);
    panel.reset();

    ResetSimulator("");
    engine->InitDialogStage2("");
    values.optionBits = host.optionBits;
    OpenPanel();
    EXPECT_TRUE(Control<QComboBox>("peakVoltageSelect")->isHidden());
}

TEST_F(RlcPanelWindowTest, ModelPageFieldsTakeTheUsersValuesForThePlotAndTheReport)
{
    OpenAnalyzer();
    OpenPanel();
    CTalDocument& doc = *ActiveDocument();
    // A 100 Ohm resistor as the impedance of node 2 over node 1.
    auto resistor = std::make_unique<CDataSet>();
    for (double f : {10.0, 100.0, 1000.0})
        resistor->AddPoint(f, 1.0, 0.0, 100.0, 0.0);
    doc.AddDataSet(std::move(resistor));
    RLCDialogTabModel& model = panel->Model();
    model.ChooseKind(KIND_R);
    EXPECT_EQ(Control<QLineEdit>("r")->text().toStdString(), "100");
    Enter("r", "47");
    EXPECT_EQ(model.Page().m_r.value, 47.0);
    EXPECT_EQ(ReportCircuitOf(model.Page()).r.text, "47");

    // An inductor's rule finds nothing in a resistor: "N/A", and no plot from it.
    model.ChooseKind(KIND_L);
    EXPECT_EQ(Control<QLineEdit>("second")->text().toStdString(), "N/A");
    EXPECT_EQ(Control<QLineEdit>("r")->text().toStdString(), "");
    EXPECT_EQ(model.CreatePlot(), -1);
    Enter("second", "-1m");
    EXPECT_EQ(model.CreatePlot(), -1);
    Enter("second", "1m");
    const int plot = model.CreatePlot();
    ASSERT_EQ(plot, 1);
    EXPECT_EQ(doc.GetDataSetName(plot), "Model (L)");

    // The list is read from the document when it is opened: the plot is listed now.
    model.OpenDataSetList();
    EXPECT_EQ(panel->findChild<QComboBox*>("dataSet")->count(), 2);
    EXPECT_EQ(panel->findChild<QComboBox*>("dataSet")->itemText(1).toStdString(), "2_Model (L)");
    model.ChooseKind(KIND_R_PLUS_R_PAR_C);
    EXPECT_EQ(panel->findChild<QLabel*>("secondLabel")->text().toStdString(), "Rp:");
}

TEST(RlcPanelPlacement, StoredPositionIsKeptOnTheScreen)
{
    struct Case {
        PanelPosition stored;
        PanelPosition placed;
    };
    // Screen 1920 x 1080, panel 400 x 500: room 1520 x 580.
    for (const Case& c : {Case{{30, 40}, {50, 50}}, Case{{300, 200}, {300, 200}}, Case{{2000, 900}, {1520, 580}},
                          Case{{-5, 60}, {50, 60}}}) {
        const PanelPosition placed = PlacePanel(c.stored, 1920, 1080, 400, 500);
        EXPECT_EQ(placed.left, c.placed.left) << c.stored.left;
        EXPECT_EQ(placed.top, c.placed.top) << c.stored.top;
    }
    // A screen with less than 50 pixels of room places the panel at 50.
    const PanelPosition cramped = PlacePanel({300, 300}, 420, 530, 400, 500);
    EXPECT_EQ(cramped.left, 50);
    EXPECT_EQ(cramped.top, 50);
}

TEST(RlcPanelSchematic, EveryKindIsDrawnBetweenTwoTerminalsAndDiffersFromTheOthers)
{
    std::set<QByteArray> drawings;
    for (int kind = 0; kind < kCircuitKindCount; ++kind) {
        const QImage image = CircuitSchematicImage(kind);
        ASSERT_EQ(image.size(), kSchematicSize);
        int black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                black += qGray(image.pixel(x, y)) < 96;
        EXPECT_GT(black, 300) << CircuitKindText(kind);
        // Both ends of the wire reach the image's edges near the terminals.
        const int y = image.height() / 2 + 6;
        EXPECT_LT(qGray(image.pixel(12 + 3, y)), 96) << CircuitKindText(kind);
        EXPECT_LT(qGray(image.pixel(image.width() - 13 - 3, y)), 96) << CircuitKindText(kind);
        drawings.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes())));
    }
    EXPECT_EQ(drawings.size(), size_t(kCircuitKindCount));
    const QImage unknown = CircuitSchematicImage(-1);
    EXPECT_EQ(unknown.pixel(unknown.width() / 2, unknown.height() / 2), qRgb(255, 255, 255));
}

TEST_F(RlcPanelWindowTest, CtrlCOnTheModelPageCopiesTheSchematic)
{
    OpenAnalyzer();
    OpenPanel();
    RLCDialogTabModel& model = panel->Model();
    model.ChooseKind(KIND_R_PLUS_L_PAR_C);
    EXPECT_EQ(panel->findChild<QComboBox*>("component")->currentIndex(), KIND_R_PLUS_L_PAR_C);
    QApplication::clipboard()->clear();
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    QApplication::sendEvent(&model, &copy);
    const QImage copied = QApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(copied.convertToFormat(QImage::Format_RGB32), CircuitSchematicImage(KIND_R_PLUS_L_PAR_C));
}

// "Best Fit" picks the kind and refines it: the fields show the refined values, the labels
// beside them the uncertainties and below them the residual; a typed value ends all of that.
// With TALVERN_TEST_PICTURES set, the page is saved there as model-best-fit.png.
TEST_F(RlcPanelWindowTest, BestFitAndRefineShowTheRefinedValuesWithTheirUncertainties)
{
    OpenAnalyzer();
    OpenPanel();
    CTalDocument& doc = *ActiveDocument();
    // A tank read with 0.01% noise (a fixed sequence), so that the uncertainties are of a size.
    const ModelValues tank{10, 2.2e-3, 470e-9};
    int step = 0;
    auto set = rlctest::CurveSet(rlctest::LogFrequencies(10, 1e6, 10), [&](double w) {
        const double wobble = 1e-4 * std::sin(2.7 * ++step);
        return rlctest::IdealImpedance(KIND_R_PLUS_L_PAR_C, tank, w) * rlctest::Complex(1 + wobble, wobble);
    });
    set->m_name = "tank";
    set->m_calibrationRole = 5;
    doc.AddDataSet(std::move(set));
    RLCDialogTabModel& model = panel->Model();
    panel->findChild<QTabWidget*>()->setCurrentWidget(&model);

    Control<QPushButton>("bestFit")->click();
    EXPECT_EQ(Control<QComboBox>("component")->currentIndex(), KIND_R_PLUS_L_PAR_C);
    EXPECT_EQ(Control<QComboBox>("dataSet")->currentText().toStdString(), "1_tank");
    EXPECT_EQ(Control<QLineEdit>("r")->text().toStdString(), "10");
    EXPECT_EQ(Control<QLineEdit>("second")->text().toStdString(), "2.2 m");
    EXPECT_EQ(Control<QLineEdit>("c")->text().toStdString(), "470 n");
    for (const char* name : {"uncertainty0", "uncertainty1", "uncertainty2"})
        EXPECT_TRUE(Control<QLabel>(name)->text().startsWith(QStringLiteral("\u00B1 "))) << name;
    EXPECT_TRUE(Control<QLabel>("residual")->text().startsWith(QStringLiteral("Residual: ")));
    EXPECT_TRUE(ReportCircuitOf(model.Page()).Refined());
    if (const char* pictures = std::getenv("TALVERN_TEST_PICTURES"))
        panel->grab().save(QString::fromLocal8Bit(pictures) + QStringLiteral("/model-best-fit.png"));

    Enter("r", "12");
    EXPECT_EQ(Control<QLabel>("uncertainty0")->text().toStdString(), "");
    EXPECT_EQ(Control<QLabel>("residual")->text().toStdString(), "");
    EXPECT_FALSE(ReportCircuitOf(model.Page()).Refined());

    model.ChooseKind(KIND_R_PLUS_L_PLUS_C);  // the wrong kind refines to a poor residual
    EXPECT_EQ(Control<QLabel>("residual")->text().toStdString(), "");
    Control<QPushButton>("refine")->click();
    ASSERT_TRUE(model.Page().Refinement().has_value());
    EXPECT_GT(model.Page().Refinement()->residual, 0.1);
    EXPECT_EQ(Control<QComboBox>("component")->currentIndex(), KIND_R_PLUS_L_PLUS_C);
}

TEST_F(RlcPanelWindowTest, ClosingTheDataSetListFitsTheSetItShows)
{
    OpenAnalyzer();
    OpenPanel();
    CTalDocument& doc = *ActiveDocument();
    const auto addResistor = [&doc](double ohms, std::initializer_list<double> frequencies) {
        auto set = std::make_unique<CDataSet>();
        for (double f : frequencies)
            set->AddPoint(f, 1.0, 0.0, ohms, 0.0);
        doc.AddDataSet(std::move(set));
        doc.SetCalibrationRole(doc.GetDataSetCount() - 1, 5);
    };
    addResistor(100.0, {10.0, 100.0, 1000.0});
    RLCDialogTabModel& model = panel->Model();
    model.ChooseKind(KIND_R);
    EXPECT_EQ(Control<QLineEdit>("r")->text().toStdString(), "100");

    // A newer corrected set: opening the list selects it; closing the list without a choice
    // fits it, so the plot's values and frequencies come from the same set.
    addResistor(47.0, {20.0, 200.0, 2000.0, 20000.0});
    auto* list = Control<QComboBox>("dataSet");
    list->showPopup();
    EXPECT_EQ(list->currentIndex(), 1);
    list->hidePopup();
    EXPECT_EQ(Control<QLineEdit>("r")->text().toStdString(), "47");
    const int plot = model.CreatePlot();
    ASSERT_EQ(plot, 2);
    ASSERT_EQ(doc.GetPointCount(plot), 4);
    EXPECT_DOUBLE_EQ(doc.GetFrequency(plot, 0), 20.0);
    EXPECT_NEAR(doc.GetGain(plot, 0), 47.0, 1e-9);
}

}  // namespace
}  // namespace rlcuitest

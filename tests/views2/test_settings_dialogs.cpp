// The graph settings dialogs: range rules, enabling, Autoscale buttons and what OK applies.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "ViewTestSupport.h"
#include "data/ApplicationData.h"
#include "data/ScriptedPrompter.h"
#include "views/dialogs/ControlRectangle.h"
#include "views/dialogs/DataPropImpDlg.h"
#include "views/dialogs/DisplayDialogHooks.h"
#include "views/dialogs/EditComponent.h"
#include "views/dialogs/GraphRangeRules.h"
#include "views/dialogs/GraphSettingsDlg.h"
#include "views/dialogs/GraphSettingsNyqDlg.h"
#include "views/gain/TalViewGain.h"
#include "views/nyq/TalViewNyq.h"

using namespace viewtest;

namespace {

TEST(GraphRangeRules, FieldLeftTable)
{
    struct Case {
        const char* what;
        SettingsKind kind;
        RangeField field;
        GraphRanges before, after;
    } cases[] = {
        {"gain f max below min", SettingsKind::Gain, RangeField::FrequencyMax,
         {100, 10, -60, 60, -180, 180}, {10, 10, -60, 60, -180, 180}},
        {"imp f max below min stays", SettingsKind::Impedance, RangeField::FrequencyMax,
         {100, 10, 1, 1e4, -180, 180}, {100, 10, 1, 1e4, -180, 180}},
        {"f min above max", SettingsKind::Gain, RangeField::FrequencyMin,
         {1e5, 1e3, -60, 60, -180, 180}, {1e5, 1e5, -60, 60, -180, 180}},
        {"f min clamped", SettingsKind::Gain, RangeField::FrequencyMin,
         {0, 1e3, -60, 60, -180, 180}, {1e-6, 1e3, -60, 60, -180, 180}},
        {"f max clamped", SettingsKind::Gain, RangeField::FrequencyMax,
         {1, 1e20, -60, 60, -180, 180}, {1, 1e15, -60, 60, -180, 180}},
        {"imp max 0", SettingsKind::Impedance, RangeField::ValueMax,
         {1, 1e6, 1e-99, 0, -180, 180}, {1, 1e6, 1e-99, 1e-99, -180, 180}},
        {"gain min above max", SettingsKind::Gain, RangeField::ValueMin,
         {1, 1e6, 80, 60, -180, 180}, {1, 1e6, 80, 80, -180, 180}},
        {"gain max clamped, min follows", SettingsKind::Gain, RangeField::ValueMax,
         {1, 1e6, -60, -20000, -180, 180}, {1, 1e6, -10000, -10000, -180, 180}},
        {"phase min -400", SettingsKind::Gain, RangeField::PhaseMin,
         {1, 1e6, -60, 60, -400, 180}, {1, 1e6, -60, 60, -400, -40}},
        {"phase max wide", SettingsKind::Gain, RangeField::PhaseMax,
         {1, 1e6, -60, 60, -180, 400}, {1, 1e6, -60, 60, 40, 400}},
        {"phase max below min", SettingsKind::Gain, RangeField::PhaseMax,
         {1, 1e6, -60, 60, 10, -90}, {1, 1e6, -60, 60, -90, -90}},
    };
    for (const Case& c : cases) {
        GraphRanges r = c.before;
        ApplyRangeRule(r, c.field, c.kind);
        EXPECT_EQ(r.frequencyMin, c.after.frequencyMin) << c.what;
        EXPECT_EQ(r.frequencyMax, c.after.frequencyMax) << c.what;
        EXPECT_EQ(r.valueMin, c.after.valueMin) << c.what;
        EXPECT_EQ(r.valueMax, c.after.valueMax) << c.what;
        EXPECT_EQ(r.phaseMin, c.after.phaseMin) << c.what;
        EXPECT_EQ(r.phaseMax, c.after.phaseMax) << c.what;
    }
}

TEST(GraphRangeRules, OkOrderEndsWithTheTypedOrTheOldMinimum)
{
    GraphRanges gain{100, 10, -60, 60, -180, 180};
    ApplyRangeRulesOnOk(gain, SettingsKind::Gain);
    EXPECT_EQ(gain.frequencyMin, 10);
    EXPECT_EQ(gain.frequencyMax, 10);
    GraphRanges imp{100, 10, 1, 1e4, -180, 180};
    ApplyRangeRulesOnOk(imp, SettingsKind::Impedance);
    EXPECT_EQ(imp.frequencyMin, 100);
    EXPECT_EQ(imp.frequencyMax, 100);
}

CGraphSettingsDlg::Values GainValues()
{
    CGraphSettingsDlg::Values v;
    v.plotMode = "Gain & Phase";
    v.ranges = {10, 1e6, -60, 20, -180, 180};
    v.autoscaleRanges = {100, 1e4, -3, 7, -45, 5};
    return v;
}

TEST(GraphSettingsDlg, EnablingFollowsPlotTypeAndAutoscale)
{
    CGraphSettingsDlg dialog(SettingsKind::Gain, GainValues());
    EXPECT_EQ(dialog.windowTitle(), "Gain / Phase Graph Settings");
    struct Case {
        int mode;
        bool autoscale;
        bool frequency, value, phase;
    } cases[] = {
        {0, false, true, true, true},   {0, true, false, false, false}, {1, false, true, true, false},
        {1, true, false, false, false}, {2, false, true, false, true},  {2, true, false, false, false},
    };
    for (const Case& c : cases) {
        dialog.PlotTypeList()->setCurrentIndex(c.mode);
        dialog.AutoscaleBox()->setChecked(c.autoscale);
        EXPECT_EQ(dialog.Field(RangeField::FrequencyMin)->isEnabled(), c.frequency) << c.mode << c.autoscale;
        EXPECT_EQ(dialog.Field(RangeField::ValueMax)->isEnabled(), c.value) << c.mode << c.autoscale;
        EXPECT_EQ(dialog.Field(RangeField::PhaseMin)->isEnabled(), c.phase) << c.mode << c.autoscale;
        for (int g = 0; g < 3; ++g)
            EXPECT_TRUE(dialog.AutoscaleButton(g)->isEnabled());
    }
    CGraphSettingsDlg imp(SettingsKind::Impedance, GainValues());
    EXPECT_EQ(imp.windowTitle(), "Impedance / Phase Graph Settings");
    EXPECT_EQ(imp.PlotTypeList()->itemText(1), "Impedance Only");
}

TEST(GraphSettingsDlg, TypedFieldsAutoscaleButtonsAndOk)
{
    CGraphSettingsDlg dialog(SettingsKind::Gain, GainValues());
    CEditComponent* fMax = dialog.Field(RangeField::FrequencyMax);
    fMax->setText("10");
    fMax->textEdited("10");
    fMax->Commit();  // as when the field loses the focus
    EXPECT_EQ(dialog.Field(RangeField::FrequencyMin)->GetValue(), 10);
    dialog.AutoscaleButton(2)->click();
    EXPECT_EQ(dialog.Field(RangeField::PhaseMin)->GetValue(), -45);
    EXPECT_EQ(dialog.Field(RangeField::PhaseMax)->GetValue(), 5);
    dialog.PlotTypeList()->setCurrentIndex(1);
    const CGraphSettingsDlg::Values v = dialog.Result();
    EXPECT_EQ(v.plotMode, "Gain Only");
    EXPECT_EQ(v.ranges.frequencyMin, 10);
    EXPECT_EQ(v.ranges.frequencyMax, 10);
    EXPECT_EQ(v.ranges.phaseMax, 5);
}

TEST(GraphSettingsDlg, OkAppliesToTheDisplay)
{
    ScriptedPrompter prompts;
    SetPrompter(&prompts);
    CTalDocument doc;
    doc.AddDataSet(MakeGainSet({{10, -20, 0}, {1e5, 0, -90}}));
    {
        CTalViewGain view(&doc, nullptr);
        view.resize(600, 400);
        CGraphSettingsDlg::Values v = GraphSettingsValues(view);
        EXPECT_EQ(v.autoscaleRanges.frequencyMin, 10);
        EXPECT_NEAR(v.autoscaleRanges.valueMin, -20, 1e-9);
        EXPECT_EQ(v.autoscaleRanges.phaseMin, -90);
        v.plotMode = "Phase Only";
        v.ranges.phaseMin = -90;
        v.legend = !v.legend;
        v.gridColor = 0x123456;
        doc.SetModifiedFlag(false);
        ApplyGraphSettings(view, v);
        EXPECT_EQ(view.Fields().displayMode, "Phase Only");
        EXPECT_EQ(view.Fields().phaseMin, -90);
        EXPECT_EQ(view.Fields().gridColor, 0x123456u);
        EXPECT_EQ(view.Fields().legend.obj.shown != 0, v.legend);
        EXPECT_TRUE(doc.IsModified());
    }
    SetPrompter(nullptr);
}

TEST(GraphSettingsNyqDlg, ValuesAndRangeKeptWhenNotPositive)
{
    ScriptedPrompter prompts;
    SetPrompter(&prompts);
    CTalDocument doc;
    doc.AddDataSet(MakeImpedanceSet({{100, 120, 0}, {1000, 300, 90}}));
    {
        CTalViewNyq view(&doc, nullptr);
        view.resize(600, 600);
        view.RenderPicture();
        CGraphSettingsNyqDlg dialog(view.SettingsValues());
        EXPECT_EQ(dialog.windowTitle(), "Nyquist Graph Properties");
        EXPECT_EQ(dialog.RangeField()->GetValue(), 300);
        EXPECT_EQ(dialog.AxisList()->currentText(), "Y axis");
        EXPECT_EQ(dialog.AxisList()->itemText(0), "X axis");
        for (const char* typed : {"0", "-5"}) {
            dialog.RangeField()->setText(typed);
            dialog.RangeField()->textEdited(typed);
            CGraphSettingsNyqDlg::Values v = dialog.Result();
            v.invertY = true;
            view.ApplySettings(v);
            EXPECT_EQ(view.NyqRenderer().range, 300) << typed;
            EXPECT_TRUE(view.NyqRenderer().invertY);
        }
        dialog.RangeField()->setText("1.5k");
        dialog.RangeField()->textEdited("1.5k");
        dialog.AxisList()->setCurrentIndex(0);
        view.ApplySettings(dialog.Result());
        EXPECT_EQ(view.NyqRenderer().range, 1500);
        EXPECT_EQ(view.NyqRenderer().rangeAxis, NyqRangeAxis::X);
    }
    SetPrompter(nullptr);
}

TEST(ControlRectangle, ClickInsideAVisibleSwatchChoosesItsColour)
{
    CGraphSettingsNyqDlg::Values values;
    values.gridColor = 0x00FF00;
    CGraphSettingsNyqDlg dialog(values);
    dialog.resize(400, 300);
    dialog.show();
    uint32_t offered = 0;
    SetColorChooserHook([&offered](uint32_t current) {
        offered = current;
        return std::optional<uint32_t>(0x0000FF);
    });
    ControlRectangle& swatch = *dialog.GridSwatch();
    EXPECT_FALSE(ChooseSwatchColor(swatch, &dialog, swatch.geometry().bottomRight() + QPoint(5, 5)));
    EXPECT_TRUE(ChooseSwatchColor(swatch, &dialog, swatch.geometry().center()));
    EXPECT_EQ(offered, 0x00FF00u);
    EXPECT_EQ(dialog.Result().gridColor, 0x0000FFu);
    swatch.hide();
    EXPECT_FALSE(ChooseSwatchColor(swatch, &dialog, swatch.geometry().center()));
    SetColorChooserHook({});
}

}  // namespace

namespace {

struct PropertiesFixture : ::testing::Test {
    ScriptedPrompter prompts;
    CTalDocument doc;
    std::unique_ptr<CTalViewGain> view;

    void SetUp() override
    {
        SetPrompter(&prompts);
        for (int k = 0; k < 2; ++k) {
            auto set = std::make_unique<CDataSet>();
            // Nodes 1 and 2 read, node 3 absent (1e-99).
            set->AddPoint(10, 1.0, 0.0, 0.5, -10, 1e-99, 0);
            set->AddPoint(100, 1.0, 0.0, 0.4, -20, 1e-99, 0);
            doc.AddDataSet(std::move(set));
        }
        view = std::make_unique<CTalViewGain>(&doc, nullptr);
        view->resize(600, 400);
    }
    void TearDown() override
    {
        view.reset();
        SetPrompter(nullptr);
    }
};

TEST(DataPropImpDlg, ScaleFactorText)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {{1, "1.000"}, {50, "50.00"}, {1234.5, "1234"}, {123456, "123456"}, {0.05, "0.0500"},
                 {0.0001234, "0.0001"}, {-2.5, "-2.500"}};
    for (const Case& c : cases)
        EXPECT_EQ(CDataPropImpDlg::FormatScaleFactor(c.value), c.text) << c.value;
}

TEST_F(PropertiesFixture, LabelsOfTheThreeKinds)
{
    CDataPropImpDlg imp(*view, 1);
    EXPECT_EQ(imp.FirstColorLabel()->text(), "Impedance color:");
    EXPECT_EQ(imp.VoltageNodeLabel()->text(), "Voltage node:");
    CDataPropImpDlg gain(*view, 2);
    EXPECT_EQ(gain.FirstColorLabel()->text(), "Gain color:");
    EXPECT_EQ(gain.VoltageNodeLabel()->text(), "Output node:");
    EXPECT_EQ(gain.FormulaLabel()->text(), "Gain = 20 x log10 [(S.F.) x (Output) / (Input)]");
    CDataPropImpDlg nyq(*view, 3);
    nyq.show();
    EXPECT_FALSE(nyq.FirstSwatch()->isVisible());
    EXPECT_TRUE(nyq.SecondSwatch()->isVisible());
    EXPECT_EQ(nyq.SecondColorLabel()->text(), "Color:");
}

TEST_F(PropertiesFixture, LoadsNodesAndAsksBeforeSwitching)
{
    CDataPropImpDlg dialog(*view, 2);
    dialog.SetFirstDataSet(0);
    EXPECT_EQ(dialog.EditedIndex(), 0);
    EXPECT_FALSE(dialog.IsModified());
    ASSERT_EQ(dialog.VoltageNodeList()->count(), 2);  // node 3 has no reading
    EXPECT_EQ(dialog.VoltageNodeList()->currentText(), "2");
    EXPECT_EQ(dialog.CurrentNodeList()->currentText(), "1");
    EXPECT_EQ(dialog.ScaleField()->text(), "1.000");
    dialog.TypeList()->setCurrentIndex(2);
    EXPECT_TRUE(dialog.IsModified());
    prompts.messageAnswers = {PromptResult::Yes};
    dialog.DataSetList()->setCurrentIndex(1);
    dialog.DataSetList()->activated(1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Save properties for Data Set 1?");
    EXPECT_EQ(doc.GetCalibrationRole(0), 2);
    EXPECT_EQ(dialog.EditedIndex(), 1);
    EXPECT_FALSE(dialog.IsModified());
}

TEST_F(PropertiesFixture, ZeroScaleFactorIsRefused)
{
    CDataPropImpDlg dialog(*view, 1);
    dialog.SetFirstDataSet(0);
    dialog.ScaleField()->setText("0");
    dialog.ScaleFieldLeft();
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Scale Factor cannot be zero.  Choose a scale factor of 1 for a default.");
    EXPECT_EQ(dialog.ScaleField()->text(), "1.000");
    dialog.ScaleField()->setText("0");
    EXPECT_FALSE(dialog.SaveDataSet());
    EXPECT_EQ(prompts.shown.back().text,
              "Scale Factor cannot be zero.  Choose a scale factor of 1 for a default.  Changes will not be saved.");
    EXPECT_EQ(doc.GetDataSet(0)->GetScaleFactor(), 1.0);
    dialog.ScaleField()->setText("2.5");
    dialog.NameField()->setText("dut");
    EXPECT_TRUE(dialog.SaveDataSet());
    EXPECT_EQ(doc.GetDataSet(0)->GetScaleFactor(), 2.5);
    EXPECT_EQ(doc.GetDataSetName(0), "dut");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(PropertiesFixture, SetAsDefaultSeedsTheApplicationDefaults)
{
    const ApplicationData saved = appData();
    CDataPropImpDlg dialog(*view, 2);
    dialog.SetFirstDataSet(0);
    dialog.VoltageNodeList()->setCurrentIndex(dialog.VoltageNodeList()->findText("1"));
    dialog.CurrentNodeList()->setCurrentIndex(dialog.CurrentNodeList()->findText("2"));
    dialog.ScaleField()->setText("10");
    dialog.SecondSwatch()->SetColor(0x00AA00);
    dialog.SetAsDefault();
    EXPECT_EQ(appData().defaultOutputNode, 1);
    EXPECT_EQ(appData().defaultInputNode, 2);
    EXPECT_EQ(appData().defaultScaleFactor, 10);
    EXPECT_EQ(appData().defaultPhaseColor, 0x00AA00u);
    appData() = saved;
}

}  // namespace

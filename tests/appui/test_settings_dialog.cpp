// The Settings dialog: controls per analyzer type, field validation, the values written when it
// closes, and Find Address against the simulated analyzer.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AppUiSupport.h"
#include "app/dialogs/SettingsDlg.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"

namespace {

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { SetPrompter(&m_prompter); }
    void TearDown() override { SetPrompter(nullptr); }

    std::unique_ptr<CSettingsDlg> Open(int id, int interfaceIndex = 0, int modelCode = 0x3231)
    {
        m_values.SelectAnalyzerType(id);
        m_values.interfaceIndex = interfaceIndex;
        m_values.modelCode = modelCode;
        CSettingsDlg::Context context{m_values, m_store, {}, {}};
        context.statusMessage = [this](const std::string& text) { m_status.push_back(text); };
        auto dialog = std::make_unique<CSettingsDlg>(std::move(context));
        dialog->show();
        return dialog;
    }

    // Types the text into the field and presses Enter.
    void Enter(QLineEdit* edit, const char* text)
    {
        edit->setFocus();
        edit->setText(QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
    }

    ApplicationValues m_values;
    MemorySettingsStore m_store;
    ScriptedPrompter m_prompter;
    std::vector<std::string> m_status;
};

}  // namespace

TEST_F(SettingsDialogTest, TheControlsFollowTheTypeAndTheInterface)
{
    struct Case {
        int id;
        int storedInterface;
        int modelCode;
        const char* analyzer;
        const char* interfaceName;
        bool gpibEnabled;
        bool serialShown;
        bool serialEnabled;
        bool modelEnabled;
        const char* model;
    };
    const Case cases[] = {
        {10, 4, 0x3231, "2xxx-9xxx,880c", "USB", false, true, true, true, "3231"},
        {10, 0, 0x9999, "2xxx-9xxx,880c", "GPIB0", true, true, false, false, "3231"},
        {6, 4, 0x1960, "1960", "GPIB0", true, false, false, false, "3231"},
        {11, 4, 0x1370, "1370", "USB", false, true, true, false, "1370"},
        {0, 2, 0x880, "880", "GPIB2", true, false, false, false, "3231"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.analyzer);
        auto dialog = Open(c.id, c.storedInterface, c.modelCode);
        EXPECT_EQ(dialog->AnalyzerList()->currentText().toStdString(), c.analyzer);
        EXPECT_FALSE(dialog->AnalyzerList()->isEnabled());
        EXPECT_EQ(dialog->InterfaceList()->currentText().toStdString(), c.interfaceName);
        EXPECT_EQ(dialog->InterfaceList()->count(), c.serialShown ? 5 : 4);
        EXPECT_EQ(m_values.interfaceIndex, dialog->InterfaceList()->currentIndex());
        EXPECT_EQ(dialog->GpibAddressEdit()->isEnabled(), c.gpibEnabled);
        EXPECT_EQ(dialog->GpibNoteLabel()->isEnabled(), c.gpibEnabled);
        EXPECT_EQ(dialog->FindAddressButton()->isVisible(), c.id != 0);
        EXPECT_EQ(dialog->SerialEdit()->isVisible(), c.serialShown);
        EXPECT_EQ(dialog->SerialEdit()->isEnabled(), c.serialEnabled);
        EXPECT_EQ(dialog->ModelList()->isEnabled(), c.modelEnabled);
        EXPECT_EQ(dialog->ModelList()->currentText().toStdString(), c.model);
        EXPECT_EQ(dialog->ModelList()->count(), c.id == 11 ? 14 : 13);
    }
    EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(SettingsDialogTest, ChoosingTheInterfaceAndTheModelTakeEffectAtOnce)
{
    auto dialog = Open(10);
    dialog->InterfaceList()->setCurrentIndex(4);
    emit dialog->InterfaceList()->activated(4);
    EXPECT_EQ(m_values.interfaceIndex, 4);
    EXPECT_FALSE(dialog->GpibAddressEdit()->isEnabled());
    EXPECT_FALSE(dialog->GpibAddressLabel()->isEnabled());
    EXPECT_TRUE(dialog->SerialEdit()->isEnabled());
    EXPECT_TRUE(dialog->ModelList()->isEnabled());
    dialog->ModelList()->setCurrentIndex(7);
    emit dialog->ModelList()->activated(7);
    EXPECT_EQ(m_values.modelCode, 0x5512);
    dialog->InterfaceList()->setCurrentIndex(1);
    emit dialog->InterfaceList()->activated(1);
    EXPECT_TRUE(dialog->GpibAddressEdit()->isEnabled());
    EXPECT_FALSE(dialog->SerialEdit()->isEnabled());

    // For the 1370 the model stays fixed, USB or not.
    auto fixed = Open(11);
    fixed->InterfaceList()->setCurrentIndex(4);
    emit fixed->InterfaceList()->activated(4);
    EXPECT_FALSE(fixed->ModelList()->isEnabled());
    EXPECT_TRUE(fixed->SerialEdit()->isEnabled());
}

TEST_F(SettingsDialogTest, FieldsAreValidatedOnEnterAndRejectedTextsGiveWayToTheStoredValue)
{
    struct Case {
        int id;
        int field;  // 0 GPIB address, 1 serial number, 2 reference resistor
        const char* typed;
        const char* status;  // empty when accepted
        const char* shown;
    };
    const Case cases[] = {
        {6, 0, "0", "", "0"},
        {6, 0, "31", "", "31"},
        {6, 0, "32", "Invalid GPIB address value", "8"},
        {10, 0, "0", "Invalid GPIB address value", "8"},
        {10, 0, "31", "Invalid GPIB address value", "8"},
        {10, 0, "30", "", "30"},
        {6, 0, "30", "", "30"},
        {10, 1, "99999", "Invalid Serial Number", "0"},
        {10, 1, "1000000", "Invalid Serial Number", "0"},
        {10, 1, "100000", "", "100000"},
        {10, 2, "-5", "Invalid reference resistor value", "100.0"},
        {10, 2, "abc", "Invalid reference resistor value", "100.0"},
        {10, 2, "47.5", "", "47.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " for id " + std::to_string(c.id));
        m_values.gpibAddressApplication = 8;
        m_values.serialNumber = 0;
        m_status.clear();
        auto dialog = Open(c.id, c.field == 1 ? 4 : 0);  // the serial number is a USB field
        QLineEdit* edits[] = {dialog->GpibAddressEdit(), dialog->SerialEdit(), dialog->ResistorEdit()};
        Enter(edits[c.field], c.typed);
        EXPECT_TRUE(dialog->isVisible());  // Enter never closes it
        EXPECT_EQ(edits[c.field]->text().toStdString(), c.shown);
        EXPECT_EQ(m_status, *c.status ? std::vector<std::string>{c.status} : std::vector<std::string>{});
    }
    EXPECT_EQ(m_values.referenceResistor, 47.5);
}

TEST_F(SettingsDialogTest, ClosingWritesTheResistorAndTheDefaultPlotButNoUnselectedPlot)
{
    m_store.WriteInt("RLC Settings", "Default plot type", 0);  // neither list entry
    m_store.WriteString("RLC Settings", "RLC Ref Resistor Value", "bogus");
    auto dialog = Open(10);
    EXPECT_EQ(dialog->DefaultPlotList()->currentIndex(), -1);
    EXPECT_EQ(dialog->ResistorEdit()->text().toStdString(), "100.0");  // stored text was no value
    dialog->AutomaticCheck()->setChecked(false);
    dialog->ResistorEdit()->setText(QStringLiteral("50"));
    dialog->close();
    EXPECT_EQ(m_store.GetInt("RLC Settings", "Default plot type", -1), 0);
    EXPECT_EQ(m_store.GetString("RLC Settings", "RLC Ref Resistor Value", ""), "50");
    EXPECT_EQ(m_store.GetInt("RLC Settings", "Automatically use default type", -1), 0);
    EXPECT_FALSE(m_values.automaticDefaultType);

    auto second = Open(10);
    second->DefaultPlotList()->setCurrentIndex(1);
    emit second->DefaultPlotList()->activated(1);
    EXPECT_EQ(m_values.defaultPlotType, 3);
    second->close();
    EXPECT_EQ(m_store.GetInt("RLC Settings", "Default plot type", -1), 3);
}

TEST_F(SettingsDialogTest, FindAddressAsksTheSimulatedBusForTheAnalyzer)
{
    instrument::RecordingSleeper sleeper;
    instrument::ScopedSleeper scoped(sleeper);
    gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
    auto dialog = Open(10);
    dialog->OnFindAddress();
    EXPECT_EQ(dialog->GpibAddressEdit()->text().toStdString(), "5");
    EXPECT_EQ(m_values.gpibAddressAnalyzer, 5);
    EXPECT_EQ(m_values.gpibAddressApplication, 8);  // until the field is validated
    EXPECT_EQ(dialog->FindAddressButton()->text().toStdString(), "Find Address");
    gpib::ReleaseLibrary();
    gpib::SetLibraryPath("");
}

// The 1960, 1800-series and NF 5060 dialogs on the offscreen platform: their titles and lists, that
// they forward edits, lists and buttons to their engines and show what the engines decide.

#include "../FamilyEngineSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "analyzer/dialogs/Analyzer1852Dlg.h"
#include "analyzer/dialogs/Analyzer1960Dlg.h"
#include "analyzer/dialogs/Analyzer5060Dlg.h"
#include "views/dialogs/EditComponent.h"

namespace {

template <typename Dialog>
QPushButton* ButtonOf(Dialog& dialog, const QString& text)
{
    for (QPushButton* button : dialog.template findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

// The field a label names (its buddy).
template <typename T, typename Dialog>
T* FieldOf(Dialog& dialog, const QString& label)
{
    for (QLabel* named : dialog.template findChildren<QLabel*>())
        if (named->text() == label)
            return qobject_cast<T*>(named->buddy());
    return nullptr;
}

QStringList Entries(QComboBox* combo)
{
    QStringList entries;
    for (int i = 0; combo && i < combo->count(); ++i)
        entries << combo->itemText(i);
    return entries;
}

void Edit(CEditComponent* field, const char* text)
{
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, text);
    field->Commit();
}

// The engine of each dialog as the fixture's engine type, so the fixture's helpers serve all three.
class Dialog1960 : public enginetest::FamilyFixture<Analyzer1960Engine> {
protected:
    std::string Family() const override { return "1960"; }
};
class Dialog1852 : public enginetest::FamilyFixture<Analyzer1852Engine> {
protected:
    std::string Family() const override { return "1800"; }
};
class Dialog5060 : public enginetest::FamilyFixture<Analyzer5060Engine> {
protected:
    std::string Family() const override { return "5060"; }
};

TEST_F(Dialog1960, ListsForwardingAndASweepFromItsButton)
{
    CAnalyzer1960Dlg dialog(host);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "1960 Analyzer Control Menu");
    EXPECT_EQ(Entries(FieldOf<QComboBox>(dialog, "&Waveform:")), QStringList({"Sine", "Square", "Triangle"}));
    EXPECT_EQ(Entries(FieldOf<QComboBox>(dialog, "Input Co&upling:")), QStringList({"AC < 500V", "AC < 55V", "DC"}));
    EXPECT_EQ(FieldOf<QComboBox>(dialog, "Input Co&upling:")->currentText(), "AC < 55V");
    EXPECT_EQ(Entries(FieldOf<QComboBox>(dialog, "Chann&el Ratio:")), QStringList({"CH1/CH2", "CH2/CH1"}));
    EXPECT_EQ(FieldOf<QComboBox>(dialog, "Input Type Ch. 1:"), nullptr);

    Edit(FieldOf<CEditComponent>(dialog, "&DC Volts Out:"), "4");
    EXPECT_DOUBLE_EQ(dialog.Engine().Fields().maxAcVoltsOut, 6.0);
    EXPECT_DOUBLE_EQ(FieldOf<CEditComponent>(dialog, "Ma&x AC Volts Out:")->GetValue(), 6.0);
    FieldOf<QComboBox>(dialog, "&Waveform:")->setCurrentText("Square");
    EXPECT_EQ(dialog.Engine().Fields().waveform, analyzer::family1960::Waveform::Square);

    Edit(FieldOf<CEditComponent>(dialog, "Stop &Frequency:"), "100");
    QObject::connect(&dialog.Engine(), &AnalyzerDialog::SweepComplete, [this](int code) { completions.push_back(code); });
    ASSERT_NE(ButtonOf(dialog, "Run &Sweep"), nullptr);
    ButtonOf(dialog, "Run &Sweep")->click();
    EXPECT_NE(ButtonOf(dialog, "Stop &Sweep"), nullptr);
    EXPECT_NE(ButtonOf(dialog, "DC Voltage is On"), nullptr);
    ASSERT_TRUE(enginetest::PumpUntil([&] { return !completions.empty(); }));
    EXPECT_EQ(document.GetPointCount(0), 11);
    EXPECT_FALSE(dialog.findChild<QPlainTextEdit*>()->toPlainText().isEmpty());

    // Closing without a display stores the block and lets the dialog go.
    host.activeDisplay = nullptr;
    bool destroyed = false;
    QObject::connect(&dialog, &CAnalyzer1960Dlg::destroyRequested, [&] { destroyed = true; });
    ButtonOf(dialog, "&Close")->click();
    EXPECT_TRUE(destroyed);
    EXPECT_NE(host.preferenceBlock.find("Waveform=Square\n"), std::string::npos);
    enginetest::PumpPending();
}

TEST_F(Dialog1852, InputTypeListAndNoWaveform)
{
    CAnalyzer1852Dlg dialog(host);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "1800 Analyzer Control Menu");
    EXPECT_EQ(FieldOf<QComboBox>(dialog, "&Waveform:"), nullptr);
    EXPECT_EQ(Entries(FieldOf<QComboBox>(dialog, "Input Co&upling:")), QStringList({"AC", "DC"}));
    QComboBox* inputType = FieldOf<QComboBox>(dialog, "Input Type Ch. 1:");
    ASSERT_NE(inputType, nullptr);
    EXPECT_EQ(Entries(inputType), QStringList({"Main", "Diff"}));
    inputType->setCurrentText("Diff");
    EXPECT_TRUE(dialog.Engine().DifferentialInput());
    FieldOf<QComboBox>(dialog, "Input Co&upling:")->setCurrentText("DC");
    Edit(FieldOf<CEditComponent>(dialog, "Sta&rt Frequency:"), "50u");
    EXPECT_DOUBLE_EQ(dialog.Engine().Fields().startFrequency, 5e-5);
    EXPECT_TRUE(prompter.shown.empty()) << Shown();

    host.activeDisplay = nullptr;
    ButtonOf(dialog, "&Close")->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_NE(host.preferenceBlock.find("Input1=Diff\n"), std::string::npos);
}

TEST_F(Dialog5060, IntegrationRadiosEnableTheirFieldsAndThreeChannelsAreShown)
{
    CAnalyzer5060Dlg dialog(host);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "880a/880b Analyzer Control Menu");
    EXPECT_EQ(Entries(FieldOf<QComboBox>(dialog, "Chann&el Ratio:")),
              QStringList({"CH1/CH2", "CH1/CH3", "CH2/CH1", "CH2/CH3", "CH3/CH1", "CH3/CH2"}));
    auto* seconds = FieldOf<CEditComponent>(dialog, "&Integration Time (secs):");
    auto* cycles = FieldOf<CEditComponent>(dialog, "&Integration Time (Cycls):");
    auto* automaticMode = FieldOf<QComboBox>(dialog, "Automatic Mode:");
    ASSERT_TRUE(seconds && cycles && automaticMode);
    EXPECT_TRUE(seconds->isEnabled());
    EXPECT_FALSE(cycles->isEnabled());
    EXPECT_FALSE(automaticMode->isEnabled());
    Edit(seconds, "0.01");
    EXPECT_DOUBLE_EQ(seconds->GetValue(), 0.0256);

    for (QRadioButton* radio : dialog.findChildren<QRadioButton*>())
        if (radio->text() == "Cycles")
            radio->click();
    EXPECT_EQ(dialog.Engine().Fields().integrationMode, analyzer::family5060::IntegrationMode::Cycles);
    EXPECT_TRUE(cycles->isEnabled());
    EXPECT_FALSE(seconds->isEnabled());

    Edit(FieldOf<CEditComponent>(dialog, "Stop &Frequency:"), "100");
    QObject::connect(&dialog.Engine(), &AnalyzerDialog::SweepComplete, [this](int code) { completions.push_back(code); });
    ButtonOf(dialog, "Run &Sweep")->click();
    ASSERT_TRUE(enginetest::PumpUntil([&] { return !completions.empty(); }));
    EXPECT_EQ(completions, std::vector<int>{0});
    int filled = 0;
    for (QLineEdit* readout : dialog.findChildren<QLineEdit*>())
        if (readout->isReadOnly() && !readout->text().isEmpty())
            ++filled;
    EXPECT_GE(filled, 6);  // frequency, three channels, gain and phase
}

} // namespace

// The 2600-series dialog on the offscreen platform: its texts, that it forwards edits, lists,
// buttons and keys to its engine, and shows what the engine decides.

#include "../EngineTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "analyzer/dialogs/Analyzer2600Dlg.h"
#include "data/EngineeringNotation.h"
#include "views/dialogs/EditComponent.h"

namespace {

using enginetest::EngineFixture;
using enginetest::PumpUntil;

class Dialog : public EngineFixture {
protected:
    CAnalyzer2600Dlg& Open()
    {
        dialog = std::make_unique<CAnalyzer2600Dlg>(host);
        QObject::connect(&dialog->Engine(), &Analyzer2600Engine::CommLogAppended,
                         [this](const std::string& text, bool) { fullLog += text; });
        EXPECT_TRUE(dialog->Engine().InitDialogStage2("")) << fullLog;
        dialog->show();
        return *dialog;
    }
    void TearDown() override
    {
        dialog.reset();
        EngineFixture::TearDown();
    }
    QPushButton* Button(const QString& text)
    {
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == text)
                return button;
        return nullptr;
    }
    QLabel* LabelNamed(const QString& text)
    {
        for (QLabel* label : dialog->findChildren<QLabel*>())
            if (label->text() == text)
                return label;
        return nullptr;
    }
    // The field a label names (its buddy).
    template <typename T>
    T* Field(const QString& label)
    {
        QLabel* named = LabelNamed(label);
        return named ? qobject_cast<T*>(named->buddy()) : nullptr;
    }
    std::unique_ptr<CAnalyzer2600Dlg> dialog;
};

TEST_F(Dialog, CarriesTheTitleLabelsAndButtonTexts)
{
    CAnalyzer2600Dlg& d = Open();
    EXPECT_EQ(d.windowTitle(), "Series 2xxx-9xxx/880c Analyzer Control Menu");
    for (const char* text : {"Sta&rt Frequency:", "Stop &Frequency:", "Ste&ps/Decade", "Freq&uency Step (Hz)",
                             "&AC Volts Out:", "&DC Volts Out:", "Comm&unication with Analyzer:", "Cha&nnel:",
                             "AC &Volts In:", "AC Out Step Si&ze:", "Ma&x AC Volts Out:", "Chann&el Ratio:",
                             "Frequency: ", "CH1:", "CH2:", "CH3:", "CH4:", "Gain or Magnitude:", "Phase:",
                             "&Waveform:", "Output Impedance:", "Input Impedance:", "Option:", "Time:", "Delay Time:",
                             "Cycles:", "Dela&y Cycles:"})
        EXPECT_NE(LabelNamed(text), nullptr) << text;
    for (const char* text : {"Run &Sweep", "&Take Data at Start Freq", "Turn On DC Voltage", "ver?", "&Close"})
        EXPECT_NE(Button(text), nullptr) << text;
    EXPECT_EQ(Field<CEditComponent>("Sta&rt Frequency:")->text().toStdString(), FormatEngineering(10.0));
    EXPECT_FALSE(LabelNamed("Output 5 Vpk max!")->isVisible());
    EXPECT_FALSE(Field<CEditComponent>("Freq&uency Step (Hz)")->isEnabled());
}

TEST_F(Dialog, RunsASweepFromItsButtons)
{
    CAnalyzer2600Dlg& d = Open();
    auto* start = Field<CEditComponent>("Sta&rt Frequency:");
    auto* stop = Field<CEditComponent>("Stop &Frequency:");
    // Typed text commits when the field is left or Enter is pressed in it.
    start->selectAll();
    QTest::keyClicks(start, "100");
    start->Commit();
    stop->selectAll();
    QTest::keyClicks(stop, "1k");
    QTest::keyClick(stop, Qt::Key_Return);
    EXPECT_EQ(d.Engine().Fields().startFrequency, 100.0);
    EXPECT_EQ(d.Engine().Fields().stopFrequency, 1000.0);

    QTest::mouseClick(Button("Run &Sweep"), Qt::LeftButton);
    EXPECT_NE(Button("Stop &Sweep"), nullptr);
    EXPECT_FALSE(Button("&Take Data at Start Freq")->isEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !d.Engine().IsSweeping(); }));
    EXPECT_EQ(document.GetPointCount(0), 11);
    EXPECT_NE(Button("Run &Sweep"), nullptr);
    PumpUntil([&] { return d.findChild<QPlainTextEdit*>()->toPlainText().contains("ABORT;"); });
    EXPECT_TRUE(d.findChild<QPlainTextEdit*>()->toPlainText().contains("Sent:'ABORT;'"));
}

TEST_F(Dialog, TwoOhmOutputShowsTheRedWarning)
{
    Open();
    Field<QComboBox>("Output Impedance:")->setCurrentText("2");
    QLabel* warning = LabelNamed("Output 5 Vpk max!");
    EXPECT_TRUE(warning->isVisible());
    EXPECT_EQ(warning->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_EQ(LabelNamed("Output Impedance:")->palette().color(QPalette::WindowText), QColor(0xFF, 0, 0));
    EXPECT_FALSE(Button("Turn On DC Voltage")->isEnabled());
    EXPECT_TRUE(host.output5Vmax);
}

TEST_F(Dialog, KeysChangeTheOutputAndEnterDoesNotClose)
{
    CAnalyzer2600Dlg& d = Open();
    QTest::keyClick(&d, Qt::Key_PageUp);
    EXPECT_DOUBLE_EQ(d.Engine().Fields().dcVoltsOut, 0.01);
    QTest::keyClick(&d, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(d.Engine().Fields().acVoltsOut, 3.16);  // 1 V up by the 10 dB step, as sent
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.findChild<QPlainTextEdit*>()->hasFocus() || !QApplication::focusWidget());
}

TEST_F(Dialog, ServoBoxEnablesItsFields)
{
    CAnalyzer2600Dlg& d = Open();
    auto* volts = Field<CEditComponent>("AC &Volts In:");
    EXPECT_FALSE(volts->isEnabled());
    for (QCheckBox* box : d.findChildren<QCheckBox*>())
        if (box->text() == "Servo &On:")
            box->setChecked(true);
    EXPECT_TRUE(d.Engine().Fields().servoOn);
    EXPECT_TRUE(volts->isEnabled());
}

TEST_F(Dialog, TitleBarCloseWithoutADisplayLetsTheDialogGo)
{
    host.activeDisplay = nullptr;
    CAnalyzer2600Dlg& d = Open();
    bool destroyed = false;
    QObject::connect(&d, &CAnalyzer2600Dlg::destroyRequested, [&] { destroyed = true; });
    QPointer<CAnalyzer2600Dlg> watch(&d);
    d.close();
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(host.preferenceBlock.empty());
    dialog.release();  // it deletes itself
    PumpUntil([&] { return watch.isNull(); }, std::chrono::seconds(5));
    EXPECT_TRUE(watch.isNull());
}

} // namespace

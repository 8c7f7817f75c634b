// The keys and spin arrows of the 1960, 1800-series and NF 5060 dialogs on the offscreen platform:
// each row opens a fresh dialog, presses one key or arrow and checks the field it moves.

#include "../FamilyEngineSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <functional>
#include <vector>

#include "analyzer/dialogs/Analyzer1852Dlg.h"
#include "analyzer/dialogs/Analyzer1960Dlg.h"
#include "analyzer/dialogs/Analyzer5060Dlg.h"
#include "analyzer/dialogs/SpinArrows.h"
#include "views/dialogs/EditComponent.h"

namespace {

// The up (first) or down arrow beside the field a label names.
template <typename Dialog>
QToolButton* ArrowOf(Dialog& dialog, const QString& label, bool up)
{
    for (QLabel* named : dialog.template findChildren<QLabel*>()) {
        if (named->text() != label || !named->buddy())
            continue;
        auto* arrows = named->buddy()->parentWidget()->template findChild<SpinArrows*>();
        if (!arrows)
            return nullptr;
        const auto buttons = arrows->template findChildren<QToolButton*>();
        return buttons.size() == 2 ? buttons[up ? 0 : 1] : nullptr;
    }
    return nullptr;
}

template <typename Engine>
struct KeyCase {
    const char* what;
    int key;             // pressed on the dialog, or 0 to click the arrow
    const char* field;   // the arrow's field label
    bool up;
    bool servoOn;
    std::function<double(const Engine&)> value;
    double expected;
};

template <typename Dialog, typename Engine>
void RunKeyTable(AnalyzerHost& host, const std::vector<KeyCase<Engine>>& cases)
{
    for (const KeyCase<Engine>& c : cases) {
        SCOPED_TRACE(c.what);
        Dialog dialog(host);
        dialog.show();
        if (c.servoOn)
            dialog.Engine().SetServoOn(true);
        if (c.key) {
            QTest::keyClick(&dialog, static_cast<Qt::Key>(c.key));
        } else {
            QToolButton* arrow = ArrowOf(dialog, c.field, c.up);
            ASSERT_NE(arrow, nullptr);
            arrow->click();
        }
        EXPECT_NEAR(c.value(dialog.Engine()), c.expected, std::abs(c.expected) * 1e-3);
        EXPECT_TRUE(dialog.isVisible());
    }
}

// Rows every family shares from its defaults: start 10 Hz, stop 100 kHz, 10 steps per decade,
// 1000 Hz step, AC 1 V, DC 0 V, servo target 0.01 V, 10 dB step.
template <typename Engine>
std::vector<KeyCase<Engine>> CommonCases()
{
    const auto dc = [](const Engine& e) { return e.Fields().dcVoltsOut; };
    const auto ac = [](const Engine& e) { return e.Fields().acVoltsOut; };
    const auto acIn = [](const Engine& e) { return e.Fields().servoAcVoltsIn; };
    const auto start = [](const Engine& e) { return e.Fields().startFrequency; };
    const auto stop = [](const Engine& e) { return e.Fields().stopFrequency; };
    const auto steps = [](const Engine& e) { return e.Fields().stepsPerDecade; };
    const auto step = [](const Engine& e) { return e.Fields().frequencyStep; };
    return {
        {"Page Up raises DC", Qt::Key_PageUp, "", true, false, dc, 0.01},
        {"Page Down lowers DC", Qt::Key_PageDown, "", false, false, dc, -0.01},
        {"Up scales AC Volts Out by the step", Qt::Key_Up, "", true, false, ac, 3.1623},
        {"Down divides AC Volts Out", Qt::Key_Down, "", false, false, ac, 0.31623},
        {"Up with the servo scales AC Volts In", Qt::Key_Up, "", true, true, acIn, 0.031623},
        {"Up with the servo leaves AC Volts Out", Qt::Key_Up, "", true, true, ac, 1.0},
        {"start arrow up: next power of ten", 0, "Sta&rt Frequency:", true, false, start, 100.0},
        {"start arrow down", 0, "Sta&rt Frequency:", false, false, start, 1.0},
        {"stop arrow down", 0, "Stop &Frequency:", false, false, stop, 10000.0},
        {"steps arrow doubles", 0, "Ste&ps/Decade", true, false, steps, 20.0},
        {"steps arrow halves", 0, "Ste&ps/Decade", false, false, steps, 5.0},
        {"frequency step arrow doubles", 0, "Freq&uency Step (Hz)", true, false, step, 2000.0},
        {"frequency step arrow halves", 0, "Freq&uency Step (Hz)", false, false, step, 500.0},
        {"AC arrow as the Up key", 0, "&AC Volts Out:", true, false, ac, 3.1623},
        {"DC arrow down as Page Down", 0, "&DC Volts Out:", false, false, dc, -0.01},
    };
}

class Keys1960 : public enginetest::FamilyFixture<Analyzer1960Engine> {
protected:
    std::string Family() const override { return "1960"; }
};
class Keys1852 : public enginetest::FamilyFixture<Analyzer1852Engine> {
protected:
    std::string Family() const override { return "1800"; }
};
class Keys5060 : public enginetest::FamilyFixture<Analyzer5060Engine> {
protected:
    std::string Family() const override { return "5060"; }
};

TEST_F(Keys1960, KeysAndArrowsMoveTheirFields)
{
    auto cases = CommonCases<Analyzer1960Engine>();
    cases.push_back({"stop arrow up", 0, "Stop &Frequency:", true, false,
                     [](const Analyzer1960Engine& e) { return e.Fields().stopFrequency; }, 1e6});
    RunKeyTable<CAnalyzer1960Dlg>(host, cases);
}

TEST_F(Keys1852, KeysAndArrowsMoveTheirFields)
{
    RunKeyTable<CAnalyzer1852Dlg>(host, CommonCases<Analyzer1852Engine>());
}

TEST_F(Keys5060, KeysAndArrowsMoveTheirFields)
{
    RunKeyTable<CAnalyzer5060Dlg>(host, CommonCases<Analyzer5060Engine>());
}

TEST_F(Keys1960, StopArrowAboveTheMaximumIsLimitedAndLogged)
{
    CAnalyzer1960Dlg dialog(host);
    dialog.show();
    QToolButton* up = ArrowOf(dialog, "Stop &Frequency:", true);
    ASSERT_NE(up, nullptr);
    up->click();
    up->click();
    EXPECT_DOUBLE_EQ(dialog.Engine().Fields().stopFrequency, 2.2e6);
    EXPECT_NE(dialog.Engine().Log().Text().find("Freq limited to 2.2e+06 for current waveform\r\n"), std::string::npos);
}

TEST_F(Keys5060, EnterMovesTheFocusToTheLogAndDoesNotClose)
{
    CAnalyzer5060Dlg dialog(host);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.findChild<QPlainTextEdit*>()->hasFocus() || !QApplication::focusWidget());
}

} // namespace

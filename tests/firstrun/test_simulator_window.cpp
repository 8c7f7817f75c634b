// The "Simulated Instrument" window on the offscreen platform: its configuration text, a
// component chosen in it and measured through the RLC workflow on the simulator, refused
// values, and the window left unblocked while a modal prompt waits.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/BasicAnalyzerHost.h"
#include "app/simulator/SimulatedFixture.h"
#include "app/simulator/SimulatorConnection.h"
#include "app/simulator/SimulatorWindow.h"
#include "data/ApplicationData.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/adapters/HeadlessMeasurement.h"

namespace {

class Environment final : public testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_firstrun_ui";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};
[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new Environment);

// The simulated user switches the fixture (open, short, the component) through this.
int ConfigureSimulator(const char* text)
{
    static const SimulatorConnection simulator(TALVERN_SIM_LIBRARY);
    return simulator.Configure(text);
}

struct SimulatorWindowTest : ::testing::Test {
    SimulatorConnection simulator{TALVERN_SIM_LIBRARY};
    void SetUp() override
    {
        ASSERT_TRUE(simulator.IsOpen());
        ASSERT_EQ(simulator.Configure("reset;noise=0;time_factor=0"), 0);
    }
};

TEST(SimulatedFixture, ConfigurationTextNamesOnlyTheValuesTheKindUses)
{
    SimulatedFixture fixture;
    fixture.kind = 8;  // R + (R || C)
    fixture.r = "5";
    fixture.second = "1k";
    fixture.c = "10n";
    fixture.noise = 0;
    EXPECT_EQ(SimulatorConfigText(fixture), "fixture=dut;dut=R+(R||C):R=5,Rp=1k,C=10n;noise=0;fault=none");
    fixture.kind = 1;  // L
    fixture.faults = {"timeout", "garbled"};
    EXPECT_EQ(SimulatorConfigText(fixture), "fixture=dut;dut=L:L=1k;noise=0;fault=timeout,garbled");
    fixture.content = SimulatedFixture::Content::Short;
    fixture.second = "not a number";  // not used in a short fixture
    EXPECT_EQ(SimulatorConfigText(fixture), "fixture=short;noise=0;fault=timeout,garbled");
    // Typed text never becomes items of its own.
    fixture.content = SimulatedFixture::Content::Component;
    for (const char* bad : {"1;fault=no_listener", "1,C=2", "", "1 k", "1234567890123456789012345"}) {
        fixture.second = bad;
        EXPECT_FALSE(SimulatorConfigText(fixture)) << bad;
    }
}

// The component chosen in the window is what the RLC workflow measures and fits.
TEST_F(SimulatorWindowTest, ChosenComponentIsMeasuredAtTheNextSweep)
{
    struct Case {
        int kind;
        const char *r, *second, *c;
        double expectR, expectSecond, expectC;  // 0: not checked
    };
    const Case cases[] = {
        {2, "", "", "10n", 0, 0, 10e-9},
        {3, "22", "4.7m", "", 22, 4.7e-3, 0},
        {8, "5", "1k", "100n", 0, 1e3, 100e-9},
    };
    for (const Case& c : cases) {
        SimulatorWindow window(simulator);
        window.show();
        SimulatedFixture fixture;
        fixture.kind = c.kind;
        fixture.r = c.r;
        fixture.second = c.second;
        fixture.c = c.c;
        fixture.noise = 0;
        window.SetFixture(fixture);
        ASSERT_TRUE(window.Apply()) << c.kind;

        BasicAnalyzerHost host;
        host.analyzerType = RLC2600;
        appData().channelCount = 0;
        Analyzer2600Engine engine(host);
        ASSERT_TRUE(engine.InitDialogStage2(""));
        SimulatedOperator user(ConfigureSimulator, "X");
        HeadlessMeasurementSetup setup;
        setup.start = 100;
        setup.stop = 1e5;
        setup.kind = c.kind;
        HeadlessMeasurement measurement(engine, host, user, setup);
        ASSERT_EQ(measurement.Run(), HeadlessMeasurement::Outcome::Done) << c.kind;
        engine.ShutDownAnalyzer();
        QCoreApplication::processEvents();
        const ModelPage& model = measurement.Model();
        if (c.expectR) {
            EXPECT_NEAR(model.m_r.value, c.expectR, c.expectR * 0.03) << c.kind;
        }
        if (c.expectSecond) {
            EXPECT_NEAR(model.m_second.value, c.expectSecond, c.expectSecond * 0.03) << c.kind;
        }
        if (c.expectC) {
            EXPECT_NEAR(model.m_c.value, c.expectC, c.expectC * 0.03) << c.kind;
        }
    }
}

TEST_F(SimulatorWindowTest, RefusedValuesKeepThePreviousChoice)
{
    SimulatorWindow window(simulator);
    SimulatedFixture fixture;
    fixture.kind = 0;
    fixture.r = "1;fault=no_listener";
    window.SetFixture(fixture);
    EXPECT_FALSE(window.Apply());
    fixture.r = "-5";  // a number the simulator refuses
    window.SetFixture(fixture);
    EXPECT_FALSE(window.Apply());
    // The analyzer still answers: no fault was set.
    BasicAnalyzerHost host;
    Analyzer2600Engine engine(host);
    EXPECT_TRUE(engine.InitDialogStage2(""));
    engine.ShutDownAnalyzer();
}

// While a modal prompt waits, the window is not blocked by it, so the user can switch the fixture.
class BlockedWatch final : public QObject {
public:
    bool blocked = false;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::WindowBlocked)
            blocked = true;
        else if (event->type() == QEvent::WindowUnblocked)
            blocked = false;
        return QObject::eventFilter(object, event);
    }
};

TEST_F(SimulatorWindowTest, NotBlockedWhileAModalPromptWaits)
{
    QWidget mainWindow;
    mainWindow.show();
    SimulatorWindow window(simulator);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    BlockedWatch watch;
    window.installEventFilter(&watch);
    bool mainBlocked = false, simulatorBlocked = true;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QCoreApplication::processEvents();
        mainBlocked = QApplication::activeModalWidget() && !mainWindow.isActiveWindow();
        simulatorBlocked = watch.blocked;
        box->close();
    });
    QMessageBox box(QMessageBox::Information, "", "Please close the circuit, then press 'OK'", QMessageBox::Ok,
                    &mainWindow);
    box.exec();
    EXPECT_TRUE(mainBlocked);
    EXPECT_FALSE(simulatorBlocked);
    EXPECT_FALSE(watch.blocked);
}

}  // namespace

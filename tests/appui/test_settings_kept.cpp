// Every analyzer type keeps its dialog's settings across a restart: each family's dialog reads
// and replaces its own preference block, which the preferences file carries to the next run.
#include <QFile>

#include <sstream>

#include "AppUiSupport.h"
#include "analyzer/engine/Analyzer1960Engine.h"
#include "analyzer/engine/Analyzer2600Engine.h"
#include "analyzer/engine/Analyzer5060Engine.h"
#include "app/core/SettingsNames.h"
#include "app/frame/MainFrame.h"
#include "app/simulator/SimulatorConnection.h"
#include "instrument/Sleeper.h"
#include "instrument/gpib/Gpib.h"
#include "views/command/CommandIds.h"

namespace names = settings_names;

namespace {

// Every setting of each family away from its default, as the user would change them.
constexpr const char* kBlock2600 =
    "Start Frequency=20\nStop Frequency=50000\nSteps Per Decade=25\nFrequency Step (Hz)=5\n"
    "Sweep Type=Linear\nAC Volts out=0.5\nDC Volts out=1.5\nWaveform=Square\nOutput Impedance=2\n"
    "Input Impedance=50\nIntegration Time=2.5\nDelay Time=0.5\nCycles=7\nDelay Cycles=3\n"
    "Integration Type=Cycles\nServo is enabled=True\nServo Channel=CH 2\nServo AC Volts In=0.2\n"
    "Servo AC Step Change (dB)=3\nMaximum AC Volts Out=1.5\nGain Channel Ratio=CH1/CH2\n"
    "Max Change Gain is Enabled=True\nMaximum Change in Gain=2\nMax Change Phase is Enabled=True\n"
    "Maximum Change in Phase=15\n";
constexpr const char* kBlock1960 =
    "Start Frequency=20\nStop Frequency=50000\nSteps Per Decade=25\nFrequency Step (Hz)=5\n"
    "Sweep Type=Linear\nAC Volts out=0.5\nDC Volts out=1.5\nWaveform=Square\nCoupling=DC\n"
    "Integration Time=Slow\nCycles=7\nIntegration Type=Cycles\nDelay Time=3\nServo is enabled=True\n"
    "Servo Channel=CH 2\nServo AC Volts In=0.2\nServo AC Step Change (dB)=3\nMaximum AC Volts Out=5\n"
    "Gain Channel Ratio=CH1/CH2\nMax Change Gain is Enabled=True\nMaximum Change in Gain=2\n"
    "Max Change Phase is Enabled=True\nMaximum Change in Phase=15\n";
constexpr const char* kBlock1800 =
    "Start Frequency=20\nStop Frequency=50000\nSteps Per Decade=25\nFrequency Step (Hz)=5\n"
    "Sweep Type=Linear\nAC Volts out=0.5\nDC Volts out=1.5\nCoupling=DC\nInput1=Diff\n"
    "Integration Time=Slow\nCycles=7\nIntegration Type=Cycles\nDelay Time=3\nServo is enabled=True\n"
    "Servo Channel=CH 2\nServo AC Volts In=0.2\nServo AC Step Change (dB)=3\nMaximum AC Volts Out=5\n"
    "Gain Channel Ratio=CH1/CH2\nMax Change Gain is Enabled=True\nMaximum Change in Gain=2\n"
    "Max Change Phase is Enabled=True\nMaximum Change in Phase=15\n";
constexpr const char* kBlock5060 =
    "Start Frequency=20\nStop Frequency=50000\nSteps Per Decade=25\nFrequency Step (Hz)=5\n"
    "Sweep Type=Linear\nAC Volts out=0.5\nDC Volts out=1.5\nWaveform=Triangle\nIntegration Time=2.5\n"
    "Delay Time=0.5\nServo is enabled=True\nServo Channel=CH 3\nServo AC Volts In=0.2\n"
    "Servo AC Step Change (dB)=3\nMaximum AC Volts Out=5\nGain Channel Ratio=CH1/CH3\n"
    "Max Change Gain is Enabled=True\nMaximum Change in Gain=2\nMax Change Phase is Enabled=True\n"
    "Maximum Change in Phase=15\nIntegration Mode=2\nAutomatic Mode Set=1\nIntegrationTimeCycls=5\n"
    "DelayTimeCycls=2\nAutomaticChannel=2\nAutomaticMode=1\n";

struct TypeCase {
    const char* code;
    const char* simulatorFamily;
    const char* simulatorModel;
    const char* block;
    const char* header;  // the block's header line in the preferences file
};

std::ostream& operator<<(std::ostream& out, const TypeCase& c) { return out << c.code; }

std::string Dump(AnalyzerDialog* engine)
{
    std::string text;
    if (auto* e2600 = qobject_cast<Analyzer2600Engine*>(engine))
        e2600->DumpParameters(text);
    else if (auto* e1960 = qobject_cast<Analyzer1960Engine*>(engine))
        e1960->DumpParameters(text);  // the 1800 series too
    else if (auto* e5060 = qobject_cast<Analyzer5060Engine*>(engine))
        e5060->DumpParameters(text);
    return text;
}

void ApplyBlock(AnalyzerDialog* engine, const std::string& block)
{
    if (auto* e2600 = qobject_cast<Analyzer2600Engine*>(engine))
        e2600->ApplyPreferences(block);
    else if (auto* e1960 = qobject_cast<Analyzer1960Engine*>(engine))
        e1960->ApplyPreferences(block);
    else if (auto* e5060 = qobject_cast<Analyzer5060Engine*>(engine))
        e5060->ApplyPreferences(block);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.find('=') != std::string::npos)
            lines.push_back(line);
    return lines;
}

class SettingsKeptTest : public AppTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        SimulatorConnection simulator(TALVERN_SIM_LIBRARY);
        ASSERT_EQ(simulator.Configure(std::string("reset;family=") + GetParam().simulatorFamily +
                                      ";model=" + GetParam().simulatorModel + ";address=5"),
                  0);
        // The analyzer at 5; no voltage-limit warning windows.
        m_store.WriteInt(names::kSettings, names::kGpibAddressApplication, 5);
        m_store.WriteInt(names::kSettings, names::kGpibAddressAnalyzer, 5);
        m_store.WriteInt(names::kShowVmax, names::kInput15Vmax, 0);
        m_store.WriteInt(names::kShowVmax, names::kOutput5Vmax, 0);
    }
    void TearDown() override
    {
        AppTest::TearDown();
        gpib::ReleaseLibrary();
        gpib::SetLibraryPath("");
    }

    AnalyzerDialog* OpenDialog()
    {
        m_app->MainFrame()->ExecuteCommand(cmd::AnalyzerMenu);
        AnalyzerControl* dialog = m_app->Analyzers().CurrentFamily();
        return dialog ? dialog->Engine() : nullptr;
    }
    void Restart()
    {
        m_app->ExitInstance();
        m_app.reset();
        Pump();
        ASSERT_TRUE(Start({std::string("/t:") + GetParam().code}));
    }

    instrument::RecordingSleeper m_sleeper;
    instrument::ScopedSleeper m_scopedSleeper{m_sleeper};
};

}  // namespace

TEST_P(SettingsKeptTest, EverySettingChangedInTheDialogIsThereAfterARestart)
{
    const TypeCase& type = GetParam();
    ASSERT_TRUE(Start({std::string("/t:") + type.code}));
    AnalyzerDialog* engine = OpenDialog();
    ASSERT_NE(engine, nullptr) << ::testing::PrintToString(PromptTexts());
    const std::vector<std::string> defaults = Lines(Dump(engine));
    ApplyBlock(engine, type.block);
    const std::string changed = Dump(engine);
    const std::vector<std::string> changedLines = Lines(changed);
    ASSERT_EQ(changedLines.size(), defaults.size());
    for (size_t i = 0; i < defaults.size(); ++i)
        EXPECT_NE(changedLines[i], defaults[i]) << "not changed by the test";

    // Closed by the user, then the program ends and starts again.
    m_app->Analyzers().CurrentFamily()->Window()->close();
    Pump();
    Restart();
    QFile file(QString::fromStdString(TempPath("userdata/Talvern/Talpref") + type.code + ".txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string written = file.readAll().toStdString();
    const size_t header = written.find(type.header);
    ASSERT_NE(header, std::string::npos);
    const size_t end = written.find("***END***", header);
    EXPECT_NE(written.substr(header, end - header).find("Start Frequency=20"), std::string::npos)
        << "the block sits under its own header";

    engine = OpenDialog();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(Lines(Dump(engine)), changedLines);

    // Left open at program end, the dialog's settings are kept as well.
    ApplyBlock(engine, std::string(type.block).replace(0, 18, "Start Frequency=30"));
    Restart();
    engine = OpenDialog();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(Lines(Dump(engine)).front(), "Start Frequency=30");
}

INSTANTIATE_TEST_SUITE_P(
    EachType, SettingsKeptTest,
    ::testing::Values(TypeCase{"RLC2600", "2600", "3231", kBlock2600, "2600 System Dialog Preferences="},
                      TypeCase{"RLC1370", "2600", "1370", kBlock2600, "2600 System Dialog Preferences="},
                      TypeCase{"RLC1960", "1960", "1960", kBlock1960, "1960 System Dialog Preferences="},
                      TypeCase{"RLC1842", "1800", "1842", kBlock1800, "1800 System Dialog Preferences="},
                      TypeCase{"RLC1852", "1800", "1852", kBlock1800, "1800 System Dialog Preferences="},
                      TypeCase{"RLC1862", "1800", "1862", kBlock1800, "1800 System Dialog Preferences="},
                      TypeCase{"RLC880", "5060", "5060", kBlock5060, "880 System Dialog Preferences="}),
    [](const ::testing::TestParamInfo<TypeCase>& info) { return std::string(info.param.code); });

#include "RlcUiFixture.h"

#include <QApplication>

#include <dlfcn.h>

#include <cstdlib>

#include "data/ApplicationData.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "rlc/ui/RLCDialogTabMeasurement.h"

namespace rlcuitest {

namespace {

// One application for the whole suite, on the offscreen platform, and the simulator held
// open for it (the bindings load the same instance).
class Environment final : public testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_rlc_ui";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        m_sim = dlopen(TALVERN_SIM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_sim, nullptr) << dlerror();
        configure = reinterpret_cast<int (*)(const char*)>(dlsym(m_sim, "talsim_configure"));
        ASSERT_NE(configure, nullptr);
        gpib::SetLibraryPath(TALVERN_SIM_LIBRARY);
        visa::SetLibraryPath(TALVERN_SIM_LIBRARY);
    }
    void TearDown() override
    {
        gpib::SetLibraryPath("");
        visa::SetLibraryPath("");
        m_app.reset();
    }

    static inline int (*configure)(const char*) = nullptr;

private:
    std::unique_ptr<QApplication> m_app;
    void* m_sim = nullptr;
};

[[maybe_unused]] testing::Environment* const kEnvironment = testing::AddGlobalTestEnvironment(new Environment);

}  // namespace

bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

void SaveScreenshot(QWidget& widget, const std::string& name)
{
    const char* folder = std::getenv("TALVERN_RLCUI_SCREENSHOTS");
    if (!folder || !*folder)
        return;
    widget.ensurePolished();
    widget.grab().save(QString::fromStdString(std::string(folder) + "/" + name + ".png"));
}

int ConfigureSimulator(const char* text)
{
    return Environment::configure ? Environment::configure(text) : -1;
}

PromptResult FixturePrompter::Message(const std::string& text, const std::string& caption, PromptButtons buttons,
                                      PromptIcon icon)
{
    if (text == "Please open the circuit, then press 'OK'")
        ConfigureSimulator("fixture=open");
    else if (text == "Please close the circuit, then press 'OK'")
        ConfigureSimulator("fixture=short");
    else if (text == "Please insert the component to measure, then press 'OK'")
        ConfigureSimulator("fixture=dut");
    return ScriptedPrompter::Message(text, caption, buttons, icon);
}

bool FixturePrompter::Saw(const std::string& text) const
{
    for (const Shown& s : shown)
        if (s.text == text)
            return true;
    return false;
}

std::string FixturePrompter::Texts() const
{
    std::string texts;
    for (const Shown& s : shown)
        texts += "[" + s.kind + ": " + s.text + "]\n";
    return texts;
}

void RlcPanelFixture::SetUp()
{
    SetPrompter(&prompter);
    values.SelectAnalyzerType(10);
    ResetSimulator("");
}

void RlcPanelFixture::TearDown()
{
    panel.reset();
    engine.reset();
    m_windows.clear();
    PumpUntil([] { return true; });
    QCoreApplication::processEvents();
    SetPrompter(nullptr);
}

void RlcPanelFixture::ResetSimulator(const std::string& config)
{
    ASSERT_EQ(ConfigureSimulator("reset;family=2600;time_factor=0;tmo_factor=0;noise=0;" + config), 0) << config;
}

void RlcPanelFixture::OpenAnalyzer()
{
    OpenDisplay();
    engine = std::make_unique<Analyzer2600Engine>(host);
    QObject::connect(engine.get(), &Analyzer2600Engine::CommLogAppended,
                     [this](const std::string& text, bool) { commLog += text; });
    ASSERT_TRUE(engine->InitDialogStage2("")) << commLog << prompter.Texts();
    values.optionBits = host.optionBits;
}

RlcPanelContext RlcPanelFixture::Context()
{
    RlcPanelContext context{RlcValuesOf(values), rlcSettings, nullptr, nullptr, {}, {}, {}, {}, {}};
    context.analyzer = engine.get();
    context.activeDisplay = [this]() -> CTalView* { return ActiveView(); };
    context.closeDocument = [this](CTalDocument* document) { CloseDocument(document); };
    context.openImpedanceDocument = [this]() -> CTalView* { return OpenDisplay(); };
    context.statusMessage = [this](const std::string& text) { statusMessages.push_back(text); };
    return context;
}

RLCDialog& RlcPanelFixture::OpenPanel()
{
    panel = std::make_unique<RLCDialog>(Context());
    return *panel;
}

CTalViewImp* RlcPanelFixture::OpenDisplay()
{
    DisplayWindow window;
    window.document = std::make_unique<CTalDocument>();
    window.document->OnNewDocument();
    window.view = std::make_unique<CTalViewImp>(window.document.get(), nullptr);
    window.view->resize(800, 600);
    window.view->OnInitialUpdate();
    m_windows.push_back(std::move(window));
    host.activeDisplay = &ActiveView()->GetSweepTarget();
    return ActiveView();
}

void RlcPanelFixture::CloseDocument(CTalDocument* document)
{
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it)
        if (it->document.get() == document) {
            m_windows.erase(it);
            break;
        }
    host.activeDisplay = ActiveView() ? &ActiveView()->GetSweepTarget() : nullptr;
}

bool RlcPanelFixture::Calibrate()
{
    prompter.threeButtonAnswers.push_back(1);  // Continue
    prompter.threeButtonAnswers.push_back(1);  // Keep it
    const size_t before = prompter.shown.size();
    panel->Measurement().OnCalibrate();
    return PumpUntil([&] {
        for (size_t i = before; i < prompter.shown.size(); ++i)
            if (prompter.shown[i].text == "Calibration complete" || prompter.shown[i].caption == "Error")
                return true;
        return false;
    }) && prompter.shown.back().text == "Calibration complete";
}

bool RlcPanelFixture::TestComponent(const std::string& name)
{
    prompter.textAnswers.push_back(name);
    const size_t before = prompter.shown.size();
    panel->Measurement().OnTestComponent();
    return PumpUntil([&] {
        for (size_t i = before; i < prompter.shown.size(); ++i)
            if (prompter.shown[i].kind == "text" || prompter.shown[i].caption == "Error")
                return true;
        return false;
    }) && prompter.shown.back().kind == "text";
}

}  // namespace rlcuitest

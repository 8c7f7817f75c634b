#include "AppUiSupport.h"

#include <QFile>
#include <QTimer>

#include "app/prefs/PreferencesFile.h"
#include "data/TalDocument.h"

namespace {

// The QApplication of the test program, on the offscreen platform unless told otherwise.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_app_ui";
        static char* argv[] = {name, nullptr};
        m_app = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    void TearDown() override { m_app.reset(); }

private:
    std::unique_ptr<QApplication> m_app;
};

[[maybe_unused]] ::testing::Environment* const g_qt = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A display of a chosen kind, so that a saved file records that kind.
class KindView : public CDocumentView {
public:
    explicit KindView(DisplayKind kind) : m_kind(kind) {}
    DisplayKind GetDisplayKind() const override { return m_kind; }
    void AddDataSetAttributes(int) override {}
    void RemoveDataSetAttributes(int) override {}
    void RefreshDescriptionDialog(int) override {}
    void OnUpdate(int) override {}
    void StoreDisplayState(DisplayState&) const override {}
    void LoadDisplayState(const DisplayState&) override {}

private:
    DisplayKind m_kind;
};

}  // namespace

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> action) : m_timer(new QTimer)
{
    m_timer->setInterval(5);
    QObject::connect(m_timer, &QTimer::timeout, [this, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            m_timer->stop();
            m_fired = true;
            action(modal);
        }
    });
    m_timer->start();
}

ModalWatcher::~ModalWatcher()
{
    delete m_timer;
}

void Pump()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void WriteDocument(const std::string& path, DisplayKind kind, int sets)
{
    CTalDocument doc;
    KindView view(kind);
    doc.AddView(&view);
    for (int i = 0; i < sets; ++i)
        doc.AddRandomData();
    std::string error;
    ASSERT_TRUE(doc.SaveToFile(path, error)) << error;
    doc.RemoveView(&view);
}

void AppTest::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    SetPrompter(&m_prompter);
}

void AppTest::TearDown()
{
    if (m_app)
        m_app->ExitInstance();
    m_app.reset();
    Pump();
    SetPrompter(nullptr);
}

bool AppTest::Start(const std::vector<std::string>& arguments)
{
    const std::string folder = m_dir.path().toStdString() + "/";
    if (m_withHelpFile) {
        QFile help(QString::fromStdString(folder + "TalvernRLC.chm"));
        EXPECT_TRUE(help.open(QIODevice::WriteOnly));
    }
    PreferencesLocation location{folder + "userdata", {folder + "alldata"}, {}};
    m_app = std::make_unique<CTalvernApp>(CTalvernApp::Environment{m_store, location, m_opener, folder, false});
    const bool started = m_app->InitInstance(ParseCommandLine(arguments));
    Pump();
    return started;
}

std::string AppTest::TempPath(const std::string& name) const
{
    return m_dir.path().toStdString() + "/" + name;
}

std::vector<std::string> AppTest::PromptTexts() const
{
    std::vector<std::string> texts;
    for (const ScriptedPrompter::Shown& shown : m_prompter.shown)
        texts.push_back(shown.text);
    return texts;
}

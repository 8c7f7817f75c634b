#include "TourWalk.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMdiArea>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

#include <set>

#include "TourPrompter.h"
#include "TourRecorder.h"
#include "app/application/AnalyzerDialogs.h"
#include "app/application/TalvernApp.h"
#include "app/frame/ChildFrame.h"
#include "app/frame/DocManager.h"
#include "app/frame/MainFrame.h"
#include "app/frame/MenuLayout.h"
#include "app/settings/SettingsStore.h"
#include "app/simulator/SimulatorConnection.h"
#include "app/simulator/SimulatorWindow.h"
#include "data/TalDocument.h"
#include "rlc/ui/RLCDialog.h"
#include "rlc/ui/RlcControlPanel.h"
#include "views/base/TalView.h"
#include "views/command/CommandIds.h"
#include "views/dialogs/MathImpDialog.h"

namespace {

const std::vector<std::string> kAllTypes = {"RLC2600", "RLC1370", "RLC1960", "RLC1842",
                                            "RLC1852", "RLC1862", "RLC880"};

// What the simulated analyzer is for each type, at the program's default address 8.
std::string SimulatedAnalyzer(const std::string& type)
{
    if (type == "RLC1960")
        return "family=1960";
    if (type == "RLC1842" || type == "RLC1852" || type == "RLC1862")
        return "family=1800;model=" + type.substr(3);
    if (type == "RLC880")
        return "family=5060";
    if (type == "RLC1370")
        return "model=1370";
    return "model=3231";
}

const char* KindName(DisplayKind kind)
{
    switch (kind) {
    case DisplayKind::Gain:
        return "gain";
    case DisplayKind::Imp:
        return "imp";
    case DisplayKind::Text:
        return "text";
    case DisplayKind::Nyq:
        return "nyquist";
    case DisplayKind::Volt:
        break;
    }
    return "volt";
}

QString Plain(const std::string& text)
{
    QString plain = QString::fromStdString(text);
    plain = plain.left(plain.indexOf(QLatin1Char('\t')) < 0 ? plain.size() : plain.indexOf(QLatin1Char('\t')));
    plain.remove(QLatin1Char('&'));
    return plain;
}

QPushButton* ButtonWithText(QWidget* window, const QString& text)
{
    if (!window)
        return nullptr;
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

bool IsJpeg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(3);
    return head.size() == 3 && static_cast<unsigned char>(head[0]) == 0xFF &&
           static_cast<unsigned char>(head[1]) == 0xD8;
}

bool IsPdf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-" && file.size() > 1000;
}

// Commands the menu walk leaves to steps of their own: they open or close documents and
// windows, end the program or remove the data the walk goes on with.
const std::set<int> kWalkedElsewhere = {
    cmd::FileNew, cmd::FileOpen, cmd::FileClose, cmd::AppExit, cmd::EditCut, cmd::EditDelete, cmd::Hide,
    cmd::AddGainDisplay, cmd::AddImpDisplay, cmd::AddNyquistDisplay, cmd::AddTextDisplay,
    cmd::RlcControlPanel, cmd::AnalyzerMenu, kShowSimulatorWindow,
};
// Switches the walk turns on and off again, so that the following pictures look as before.
const std::set<int> kToggles = {cmd::ViewToolbar, cmd::ViewStatusBar, cmd::VoltageFormat, cmd::WarnInput15V,
                                cmd::WarnOutput5V};

}  // namespace

int TourOpener::Open(const std::string& path)
{
    const bool exists = QFileInfo::exists(QString::fromStdString(path));
    m_recorder.Log("  desktop opens " + path);
    m_recorder.Check(exists, "the desktop was asked to open " + path + ", which is not there");
    return exists ? kShellOpenSucceeded : 2;
}

TourWalk::TourWalk(TourRecorder& recorder, TourPrompter& prompter, Setup setup)
    : m_recorder(recorder), m_prompter(prompter), m_setup(std::move(setup)), m_opener(recorder)
{
}

TourWalk::~TourWalk()
{
    End();
}

int TourWalk::Configure(const std::string& text) const
{
    const int result = m_setup.simulator.Configure(text);
    if (result != 0)
        m_recorder.Fail("the simulator refused item " + std::to_string(result) + " of \"" + text + "\"");
    return result;
}

bool TourWalk::Start(const std::string& type)
{
    End();
    m_recorder.Log("== talvern-rlc /t:" + type + " --simulate");
    // Answers a step left unused do not carry over to the next run of the program.
    m_prompter.messageAnswers.clear();
    m_prompter.threeButtonAnswers.clear();
    m_prompter.textAnswers.clear();
    m_prompter.openAnswers.clear();
    m_prompter.saveAnswers.clear();
    Configure("reset;address=8;time_factor=0;tmo_factor=0;" + SimulatedAnalyzer(type));
    m_mainClosed = false;
    m_app = std::make_unique<CTalvernApp>(
        CTalvernApp::Environment{m_setup.store, m_setup.preferences, m_opener, m_setup.programFolder, false});
    m_app->onMainWindowClosed = [this] { m_mainClosed = true; };
    const bool started = m_app->InitInstance(ParseCommandLine({"/t:" + type, "--simulate"}));
    TourRecorder::Pump(300);
    return m_recorder.Check(started && m_app->MainFrame(), "the program did not start for " + type);
}

void TourWalk::End()
{
    if (!m_app)
        return;
    m_app->ExitInstance();
    m_app.reset();
    TourRecorder::Pump(100);
}

CMainFrame& TourWalk::Frame() const
{
    return *m_app->MainFrame();
}

CChildFrame* TourWalk::Active() const
{
    return m_app->DocManager() ? m_app->DocManager()->ActiveFrame() : nullptr;
}

CTalDocument* TourWalk::ActiveDocument() const
{
    CChildFrame* frame = Active();
    return frame ? frame->Document() : nullptr;
}

CChildFrame* TourWalk::Activate(CTalDocument* doc, DisplayKind kind)
{
    for (CChildFrame* frame : m_app->DocManager()->Frames(doc))
        if (frame->Kind() == kind) {
            // As a click would: the display takes the focus too, so that the window area does not
            // bring back the window that held it when a dialog closes.
            Frame().MdiArea()->setActiveSubWindow(frame);
            if (frame->Display())
                frame->Display()->setFocus(Qt::MouseFocusReason);
            TourRecorder::Pump(80);
            return frame;
        }
    return nullptr;
}

bool TourWalk::Trigger(int id, const QString& shot, const std::function<void(QWidget*)>& answer)
{
    Frame().UpdateCommandStates();
    QAction* action = Frame().Action(id);
    if (!action) {
        m_recorder.Fail("no action for command " + std::to_string(id));
        return false;
    }
    const std::string text = Plain(action->text().toStdString()).toStdString();
    if (!action->isEnabled()) {
        m_recorder.Log("  \"" + text + "\" is disabled");
        return false;
    }
    m_recorder.Log("- " + text);
    m_recorder.WithModals(shot, [action] { action->trigger(); }, answer);
    return true;
}

void TourWalk::Run(const std::vector<std::string>& types)
{
    FirstStart();
    NewDocuments();
    MenusOfEveryDisplay();
    ToolbarButtons();
    CopyAndPaste();
    PicturesAndPrinting();
    TransferFunctionWindow();
    SimulatorWindowAgain();
    for (const std::string& type : types.empty() ? kAllTypes : types)
        SweepOn(type);
    RlcWorkflow();
    SaveCloseAndExit();
    End();
}

void TourWalk::FirstStart()
{
    if (!Start("RLC2600"))
        return;
    m_recorder.Shot("start-main-window", &Frame());
    m_recorder.Check(m_app->Simulator() && m_app->Simulator()->isVisible(), "no Simulated Instrument window");
    if (m_app->Simulator())
        m_recorder.Shot("start-simulated-instrument", m_app->Simulator());
    m_recorder.ScreenShot("start-screen");
    m_recorder.Check(Active() && Active()->Kind() == DisplayKind::Imp, "start-up opened no impedance display");
}

void TourWalk::NewDocuments()
{
    if (!m_app)
        return;
    // The plot-type question of File New when the default is not used automatically.
    m_setup.store.WriteInt("RLC Settings", "Automatically use default type", 0);
    Trigger(cmd::FileNew, "file-new-question", [](QWidget* dialog) {
        for (QRadioButton* radio : dialog->findChildren<QRadioButton*>())
            if (radio->text().remove(QLatin1Char('&')) == QLatin1String("Nyquist Plot"))
                radio->click();
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->accept();
    });
    m_recorder.Check(Active() && Active()->Kind() == DisplayKind::Nyq, "File New with Nyquist Plot chosen opened no Nyquist display");
    m_recorder.Shot("file-new-nyquist", &Frame());
    // Each default plot type, as the settings store holds it.
    m_setup.store.WriteInt("RLC Settings", "Automatically use default type", 1);
    for (const int plotType : {0, 2, 3, 1}) {
        m_setup.store.WriteInt("RLC Settings", "Default plot type", plotType);
        Trigger(cmd::FileNew, "file-new");
        const DisplayKind expected = plotType == 0 ? DisplayKind::Gain
                                     : plotType == 1 ? DisplayKind::Imp
                                     : plotType == 2 ? DisplayKind::Text
                                                     : DisplayKind::Nyq;
        m_recorder.Check(Active() && Active()->Kind() == expected,
                         std::string("File New opened no ") + KindName(expected) + " display");
        m_recorder.Shot(QStringLiteral("file-new-%1").arg(QLatin1String(KindName(expected))), &Frame());
    }
    // Only the last one stays: the others close unchanged, without a question.
    CTalDocument* keep = ActiveDocument();
    for (CTalDocument* doc : m_app->DocManager()->Documents())
        if (doc != keep) {
            const size_t asked = m_prompter.Count();
            m_app->DocManager()->CloseDocument(doc);
            m_recorder.Check(m_prompter.Count() == asked, "closing an unchanged document asked a question");
        }
    TourRecorder::Pump(100);
}

void TourWalk::WalkMenus(DisplayKind kind, const QString& label)
{
    m_recorder.Log("== menus of the " + label.toStdString() + " display");
    m_recorder.Shot(label + QStringLiteral("-display"), &Frame());
    const std::optional<DisplayKind> menuKind = kind == DisplayKind::Volt ? std::nullopt : std::optional(kind);
    for (const Menu& layout : MenuBarFor(menuKind, m_app->Simulator() != nullptr)) {
        QMenu* menu = Frame().MenuByTitle(layout.title);
        if (!m_recorder.Check(menu != nullptr, "no menu " + layout.title))
            continue;
        menu->popup(Frame().mapToGlobal(QPoint(10, 30)));
        TourRecorder::Pump(80);
        m_recorder.Shot(label + QStringLiteral("-menu-") + Plain(layout.title), menu);
        menu->hide();
        std::vector<MenuItem> items;
        for (const MenuItem& item : layout.items) {
            if (item.kind == MenuItemKind::Command)
                items.push_back(item);
            for (const MenuItem& child : item.children)
                items.push_back(child);
        }
        for (const MenuItem& item : items) {
            if (kWalkedElsewhere.count(item.id))
                continue;
            const QString name = label + QLatin1Char('-') + Plain(item.text);
            if (!Active() && menuKind) {
                m_recorder.Fail("the display went away before \"" + item.text + "\"");
                return;
            }
            if (!Trigger(item.id, name))
                continue;
            if (kToggles.count(item.id)) {
                m_recorder.Shot(name, &Frame());
                Trigger(item.id, name);
            }
            // Windows a command left open stay; the walk goes on in the main window.
            Frame().activateWindow();
            m_recorder.Shot(name, &Frame());
        }
    }
}

void TourWalk::MenusOfEveryDisplay()
{
    if (!m_app || !ActiveDocument())
        return;
    CTalDocument* doc = ActiveDocument();
    Trigger(cmd::AddRandomData, "imp-add-random-data");
    Trigger(cmd::AddRandomData, "imp-add-random-data");
    m_recorder.Check(doc->GetDataSetCount() == 2, "Add Random Data twice gave " + std::to_string(doc->GetDataSetCount()) + " data sets");
    Trigger(cmd::AddGainDisplay, "add-gain-display");
    Activate(doc, DisplayKind::Imp);
    Trigger(cmd::AddNyquistDisplay, "add-nyquist-display");
    Activate(doc, DisplayKind::Imp);
    Trigger(cmd::AddTextDisplay, "add-text-display");
    m_recorder.Check(m_app->DocManager()->Frames(doc).size() == 4, "the Add Display commands did not give four windows");
    Trigger(cmd::WindowTile, "tile");
    m_recorder.Shot("four-displays-tiled", &Frame());
    for (DisplayKind kind : {DisplayKind::Imp, DisplayKind::Gain, DisplayKind::Nyq, DisplayKind::Text}) {
        if (!m_recorder.Check(Activate(doc, kind) != nullptr, std::string("no ") + KindName(kind) + " window"))
            continue;
        if (CChildFrame* frame = Active())
            frame->showMaximized();
        WalkMenus(kind, QString::fromLatin1(KindName(kind)));
    }
    // The menus with no document open.
    CTalDocument* remaining = ActiveDocument();
    if (remaining) {
        remaining->SetModifiedFlag(false);
        m_app->DocManager()->CloseDocument(remaining);
        TourRecorder::Pump(100);
    }
    for (CTalDocument* other : m_app->DocManager()->Documents()) {
        other->SetModifiedFlag(false);
        m_app->DocManager()->CloseDocument(other);
    }
    TourRecorder::Pump(100);
    WalkMenus(DisplayKind::Volt, QStringLiteral("no-document"));
}

void TourWalk::ToolbarButtons()
{
    if (!m_app)
        return;
    m_recorder.Log("== toolbar");
    m_setup.store.WriteInt("RLC Settings", "Default plot type", 1);
    Trigger(cmd::FileNew, "toolbar-start");
    Trigger(cmd::AddRandomData, "toolbar-random-data");
    Trigger(cmd::AddRandomData, "toolbar-random-data");
    CTalDocument* doc = ActiveDocument();
    for (const int id : Frame().ToolbarIds()) {
        if (id == 0 || !doc)
            continue;
        QAction* action = Frame().Action(id);
        const QString name = QStringLiteral("toolbar-") + (action ? Plain(action->text().toStdString()) : QString());
        if (id == cmd::FileNew || id == cmd::FileOpen) {
            // A further document would take the toolbar's attention: it is made and closed again.
            Trigger(id, name);
            if (ActiveDocument() && ActiveDocument() != doc)
                m_app->DocManager()->CloseDocument(ActiveDocument());
            TourRecorder::Pump(80);
            continue;
        }
        if (id == cmd::EditCut || id == cmd::EditDelete)
            Trigger(cmd::EditSelectAll, name + QStringLiteral("-select"));
        Trigger(id, name);
        Frame().activateWindow();
        if (!m_app->DocManager()->Frames(doc).empty())
            Activate(doc, DisplayKind::Imp);
        m_recorder.Shot(name, &Frame());
        m_recorder.Log("  data sets now " + std::to_string(doc->GetDataSetCount()));
    }
    doc->SetModifiedFlag(false);
    m_app->DocManager()->CloseDocument(doc);
    TourRecorder::Pump(100);
}

void TourWalk::CopyAndPaste()
{
    if (!m_app)
        return;
    m_recorder.Log("== copy and paste between two documents");
    m_setup.store.WriteInt("RLC Settings", "Default plot type", 1);
    Trigger(cmd::FileNew, "copy-source");
    CTalDocument* source = ActiveDocument();
    for (int i = 0; i < 3; ++i)
        Trigger(cmd::AddRandomData, "copy-source-data");
    // Copy and Cut take exactly one selected data set: the second one, as a click on it selects.
    const auto selectOnly = [this](int index) {
        auto* view = Active() ? qobject_cast<CTalView*>(Active()->Display()) : nullptr;
        if (!view)
            return;
        for (size_t i = 0; i < view->Fields().attribs.size(); ++i)
            view->Fields().attribs[i].selected = static_cast<int>(i) == index;
        view->update();
    };
    selectOnly(1);
    Trigger(cmd::EditCopy, "copy");
    m_recorder.Shot("copy-source-selected", &Frame());
    Trigger(cmd::FileNew, "paste-target");
    CTalDocument* target = ActiveDocument();
    if (!m_recorder.Check(source && target && source != target, "File New made no second document"))
        return;
    Trigger(cmd::EditPaste, "paste");
    m_recorder.Check(target->GetDataSetCount() == 1,
                     "Paste gave " + std::to_string(target->GetDataSetCount()) + " data sets, not the one copied");
    m_recorder.Shot("paste-target", &Frame());
    // Cut from the target and paste back into the source; Hide, Show All and Delete on the rest.
    selectOnly(0);
    Trigger(cmd::EditCut, "cut");
    m_recorder.Check(target->GetDataSetCount() == 0, "Cut left " + std::to_string(target->GetDataSetCount()) + " data sets");
    Activate(source, DisplayKind::Imp);
    Trigger(cmd::EditPaste, "paste-back");
    m_recorder.Check(source->GetDataSetCount() == 4, "Paste back gave " + std::to_string(source->GetDataSetCount()));
    Trigger(cmd::EditSelectAll, "hide-select-all");
    Trigger(cmd::Hide, "hide");
    m_recorder.Shot("hidden", &Frame());
    Trigger(cmd::ShowAll, "show-all");
    m_recorder.Shot("shown-again", &Frame());
    Trigger(cmd::EditSelectAll, "delete-select-all");
    Trigger(cmd::EditDelete, "delete");
    m_recorder.Check(source->GetDataSetCount() == 0, "Delete left " + std::to_string(source->GetDataSetCount()));
    for (CTalDocument* doc : m_app->DocManager()->Documents()) {
        doc->SetModifiedFlag(false);
        m_app->DocManager()->CloseDocument(doc);
    }
    TourRecorder::Pump(100);
}

void TourWalk::PicturesAndPrinting()
{
    if (!m_app)
        return;
    m_recorder.Log("== Save To JPG and printing to PDF");
    m_setup.store.WriteInt("RLC Settings", "Default plot type", 1);
    Trigger(cmd::FileNew, "picture-document");
    CTalDocument* doc = ActiveDocument();
    Trigger(cmd::AddRandomData, "picture-data");
    Trigger(cmd::AddGainDisplay, "picture-gain");
    Activate(doc, DisplayKind::Imp);
    Trigger(cmd::AddNyquistDisplay, "picture-nyquist");
    Activate(doc, DisplayKind::Imp);
    Trigger(cmd::AddTextDisplay, "picture-text");
    const auto accept = [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->accept();
    };
    for (DisplayKind kind : {DisplayKind::Imp, DisplayKind::Gain, DisplayKind::Nyq, DisplayKind::Text}) {
        if (!Activate(doc, kind))
            continue;
        const QString name = QString::fromLatin1(KindName(kind));
        const QString jpeg = m_recorder.Path(QStringLiteral("files/%1.jpg").arg(name));
        QFile::remove(jpeg);
        m_prompter.saveAnswers.push_back(jpeg.toStdString());
        if (!Trigger(cmd::SaveToJpg, name + QStringLiteral("-save-to-jpg"), accept)) {
            m_prompter.saveAnswers.clear();
            m_recorder.Log("  NOTE: no Save To JPG on the " + name.toStdString() + " display");
        } else {
            m_recorder.Check(IsJpeg(jpeg), "Save To JPG wrote no JPEG picture of the " + name.toStdString() + " display");
        }

        const QString pdf = m_recorder.Path(QStringLiteral("files/%1.pdf").arg(name));
        QFile::remove(pdf);
        Trigger(cmd::FilePrint, name + QStringLiteral("-print"), [pdf](QWidget* dialog) {
            auto* print = qobject_cast<QPrintDialog*>(dialog);
            if (!print) {
                dialog->close();
                return;
            }
            // The platform dialog's own choices are taken first; the file is the tour's.
            QObject::connect(print, qOverload<QPrinter*>(&QPrintDialog::accepted), print, [pdf](QPrinter* printer) {
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(pdf);
            });
            print->accept();
        });
        m_recorder.Check(IsPdf(pdf), "printing the " + name.toStdString() + " display to PDF wrote no PDF");
    }
    doc->SetModifiedFlag(false);
    m_app->DocManager()->CloseDocument(doc);
    TourRecorder::Pump(100);
}

void TourWalk::TransferFunctionWindow()
{
    if (!m_app)
        return;
    m_recorder.Log("== Math Menu: a transfer function in a window of its own");
    m_setup.store.WriteInt("RLC Settings", "Default plot type", 1);
    Trigger(cmd::FileNew, "math-document");
    CTalDocument* doc = ActiveDocument();
    Trigger(cmd::AddRandomData, "math-data");
    Trigger(cmd::AddRandomData, "math-data");
    const size_t windows = m_app->DocManager()->Frames(doc).size();
    Trigger(cmd::DoMath, "math", [this](QWidget* dialog) {
        auto* math = qobject_cast<MathImpDialog*>(dialog);
        if (!math) {
            dialog->close();
            return;
        }
        math->operation()->setCurrentIndex(6);
        math->datasetList(1)->setCurrentRow(1);
        m_recorder.Shot("math-transfer-function", math);
        math->OnCreate();
        math->close();
    });
    m_recorder.Check(m_app->DocManager()->Frames(doc).size() == windows + 1,
                     "the transfer function opened no display window");
    m_recorder.Shot("math-transfer-function-window", &Frame());
    doc->SetModifiedFlag(false);
    m_app->DocManager()->CloseDocument(doc);
    TourRecorder::Pump(100);
}

void TourWalk::SimulatorWindowAgain()
{
    if (!m_app || !m_app->Simulator())
        return;
    m_recorder.Log("== View > Simulated Instrument after the window was closed");
    m_app->Simulator()->close();
    TourRecorder::Pump(50);
    Trigger(kShowSimulatorWindow, "view-simulated-instrument");
    m_recorder.Check(m_app->Simulator()->isVisible(), "View > Simulated Instrument did not show the window");
    m_recorder.Shot("simulated-instrument-again", m_app->Simulator());
}

void TourWalk::SweepOn(const std::string& type)
{
    if (!Start(type))
        return;
    const QString name = QString::fromStdString(type).toLower();
    m_recorder.Shot(name + QStringLiteral("-start"), &Frame());
    CTalDocument* doc = ActiveDocument();
    Trigger(cmd::AnalyzerMenu, name + QStringLiteral("-analyzer-control"));
    AnalyzerControl* analyzer = m_app->Analyzers().CurrentFamily();
    if (!m_recorder.Check(analyzer && analyzer->Window() && doc, "the analyzer control dialog of " + type + " did not open"))
        return;
    m_recorder.Shot(name + QStringLiteral("-analyzer-dialog"), analyzer->Window());
    QPushButton* run = ButtonWithText(analyzer->Window(), QStringLiteral("Run &Sweep"));
    if (!m_recorder.Check(run && run->isEnabled(), "no enabled \"Run Sweep\" in the " + type + " dialog"))
        return;
    // The sweep's new data set asks for its properties at the first reading: taken as offered.
    bool done = false;
    m_recorder.WithModals(name + QStringLiteral("-sweep"), [&] {
        run->click();
        done = m_recorder.WaitUntil(
            [&] { return !analyzer->IsSweeping() && doc->GetDataSetCount() > 0 && doc->GetPointCount(0) > 1; }, 180000);
    }, [](QWidget* dialog) {
        if (auto* d = qobject_cast<QDialog*>(dialog))
            d->accept();
    });
    m_recorder.Check(done, "the " + type + " sweep brought no data set (" + std::to_string(doc->GetDataSetCount()) + ")");
    if (doc->GetDataSetCount() > 0)
        m_recorder.Log("  " + std::to_string(doc->GetPointCount(0)) + " readings: " + doc->GetDataSetName(0));
    m_recorder.Shot(name + QStringLiteral("-after-sweep"), &Frame());
    if (analyzer->Window())
        m_recorder.Shot(name + QStringLiteral("-analyzer-dialog-after-sweep"), analyzer->Window());
    doc->SetModifiedFlag(false);
}

void TourWalk::RlcWorkflow()
{
    if (!Start("RLC2600"))
        return;
    m_recorder.Log("== RLC workflow: calibration, component, model, report");
    if (SimulatorWindow* simulator = m_app->Simulator()) {
        SimulatedFixture fixture;
        fixture.kind = 3;  // R + L
        fixture.r = "10";
        fixture.second = "1m";
        simulator->SetFixture(fixture);
        m_recorder.Check(simulator->Apply(), "the Simulated Instrument window refused R + L");
        m_recorder.Shot("rlc-simulated-instrument", simulator);
    }
    Trigger(cmd::RlcControlPanel, "rlc-control-panel");
    RLCDialog* panel = CurrentRlcControlPanel();
    if (!m_recorder.Check(panel != nullptr, "the RLC Control Panel did not open"))
        return;
    TourRecorder::Pump(100);
    m_recorder.Shot("rlc-panel-measurement", panel);
    const auto click = [&](const char* object) {
        auto* button = panel->findChild<QAbstractButton*>(QString::fromLatin1(object));
        if (!m_recorder.Check(button && button->isEnabled(), std::string("RLC panel button ") + object + " missing or disabled"))
            return false;
        m_recorder.Log("- RLC panel: " + Plain(button->text().toStdString()).toStdString());
        button->click();
        return true;
    };
    AnalyzerControl* analyzer = m_app->Analyzers().CurrentFamily();
    const auto idle = [analyzer] { return !analyzer || !analyzer->IsBusy(); };

    m_prompter.threeButtonAnswers = {1, 1};
    size_t from = m_prompter.Count();
    if (click("calibrate"))
        m_recorder.Check(m_recorder.WaitUntil([&] { return m_prompter.Saw("Calibration complete", from) || m_prompter.Saw("rror", from); }, 180000) &&
                             m_prompter.Saw("Calibration complete", from),
                         "calibration did not complete");
    m_recorder.WaitUntil(idle, 10000);
    m_recorder.Shot("rlc-calibrated", &Frame());

    const QString cal = m_recorder.Path(QStringLiteral("files/fixture.cal"));
    m_prompter.saveAnswers.push_back(cal.toStdString());
    if (click("saveCalibration"))
        m_recorder.Check(QFileInfo(cal).size() > 0, "Save Calibration wrote no .cal file");

    m_prompter.textAnswers = {"L1"};
    CTalDocument* doc = ActiveDocument();
    if (click("testComponent"))
        m_recorder.Check(m_recorder.WaitUntil([&] { return m_prompter.textAnswers.empty() && idle() && doc && doc->GetDataSetCount() >= 5; }, 180000),
                         "the component measurement did not end with its corrected data set");
    TourRecorder::Pump(200);
    m_recorder.Shot("rlc-component-measured", &Frame());
    m_recorder.Shot("rlc-panel-after-measurement", panel);

    panel->Pages().setCurrentIndex(1);
    // As a user picks them: the circuit kind, then the measured set from the refilled list.
    if (auto* kind = panel->findChild<QComboBox*>(QStringLiteral("component"))) {
        kind->setCurrentIndex(3);
        emit kind->activated(3);
    }
    if (auto* sets = panel->findChild<QComboBox*>(QStringLiteral("dataSet"))) {
        sets->showPopup();
        TourRecorder::Pump(100);
        m_recorder.Shot("rlc-panel-model-data-sets", panel);
        const int measured = sets->findText(QStringLiteral("L1(w/o parasitics)"), Qt::MatchContains);
        sets->hidePopup();
        if (m_recorder.Check(measured >= 0, "the Dataset list does not offer the corrected L1")) {
            sets->setCurrentIndex(measured);
            emit sets->activated(measured);
        }
    }
    TourRecorder::Pump(100);
    const int before = doc ? doc->GetDataSetCount() : 0;
    if (click("createPlot"))
        m_recorder.Check(doc && doc->GetDataSetCount() == before + 1, "Create Plot added no model data set");
    m_recorder.Shot("rlc-panel-model", panel);
    m_recorder.Shot("rlc-model-plotted", &Frame());

    panel->Pages().setCurrentIndex(2);
    const QString report = m_recorder.Path(QStringLiteral("files/report.xml"));
    m_prompter.saveAnswers.push_back(report.toStdString());
    m_recorder.Shot("rlc-panel-report", panel);
    if (click("createReport"))
        m_recorder.Check(QFileInfo(report).size() > 0, "Create Report wrote no report");

    // The measured component in every display.
    if (doc) {
        Activate(doc, DisplayKind::Imp);
        if (Active())
            Active()->showMaximized();
        m_recorder.Shot("rlc-imp-display", Active() ? Active()->Display() : nullptr);
        for (auto [command, kind] : {std::pair{cmd::AddGainDisplay, DisplayKind::Gain},
                                     std::pair{cmd::AddNyquistDisplay, DisplayKind::Nyq},
                                     std::pair{cmd::AddTextDisplay, DisplayKind::Text}}) {
            Activate(doc, DisplayKind::Imp);
            Trigger(command, "rlc-add-display");
            if (CChildFrame* frame = Activate(doc, kind)) {
                frame->showMaximized();
                TourRecorder::Pump(100);
                m_recorder.Shot(QStringLiteral("rlc-%1-display").arg(QLatin1String(KindName(kind))), frame->Display());
            }
        }
        doc->SetModifiedFlag(false);
    }
}

void TourWalk::SaveCloseAndExit()
{
    if (!Start("RLC2600"))
        return;
    m_recorder.Log("== Save, Save As, Close, Open and Exit with unsaved changes");
    CTalDocument* doc = ActiveDocument();
    if (!m_recorder.Check(doc != nullptr, "no document at start-up"))
        return;
    Trigger(cmd::AddRandomData, "save-data");
    const QString first = m_recorder.Path(QStringLiteral("files/first.tal"));
    const QString second = m_recorder.Path(QStringLiteral("files/second.tal"));
    QFile::remove(first);
    QFile::remove(second);
    m_prompter.saveAnswers.push_back(first.toStdString());
    Trigger(cmd::FileSave, "save");
    m_recorder.Check(QFileInfo::exists(first) && !doc->IsModified(), "Save of a new document wrote no file");
    m_recorder.Shot("saved", &Frame());

    Trigger(cmd::AddRandomData, "save-more-data");
    size_t asked = m_prompter.Count();
    Trigger(cmd::FileSave, "save-again");
    m_recorder.Check(m_prompter.Count() == asked && !doc->IsModified(), "Save of a saved document asked for a name or did not save");

    m_prompter.saveAnswers.push_back(second.toStdString());
    Trigger(cmd::FileSaveAs, "save-as");
    m_recorder.Check(QFileInfo::exists(second) && doc->m_pathName == second.toStdString(), "Save As did not move the document to its new file");
    m_recorder.Shot("saved-as", &Frame());

    // Close with unsaved changes: "No" keeps the file as it was.
    Trigger(cmd::AddRandomData, "close-data");
    const qint64 size = QFileInfo(second).size();
    asked = m_prompter.Count();
    m_prompter.messageAnswers.push_back(PromptResult::No);
    Trigger(cmd::FileClose, "close");
    TourRecorder::Pump(100);
    m_recorder.Check(m_prompter.Count() == asked + 1, "Close of a changed document asked no question");
    m_recorder.Check(m_app->DocManager()->Documents().empty(), "Close left the document open");
    m_recorder.Check(QFileInfo(second).size() == size, "Close answered No still changed the file");
    m_recorder.Shot("closed", &Frame());

    m_prompter.openAnswers.push_back(second.toStdString());
    Trigger(cmd::FileOpen, "open");
    doc = ActiveDocument();
    m_recorder.Check(doc && doc->GetDataSetCount() == 2, "Open did not bring back the two saved data sets");
    m_recorder.Shot("opened", &Frame());

    // Exit with two changed documents: Cancel keeps the program, then Yes and No end it.
    Trigger(cmd::AddRandomData, "exit-data");
    m_setup.store.WriteInt("RLC Settings", "Default plot type", 1);
    Trigger(cmd::FileNew, "exit-second-document");
    Trigger(cmd::AddRandomData, "exit-second-data");
    m_prompter.messageAnswers = {PromptResult::Cancel};
    Trigger(cmd::AppExit, "exit-cancelled");
    TourRecorder::Pump(100);
    m_recorder.Check(!m_mainClosed && Frame().isVisible() && m_app->DocManager()->Documents().size() == 2,
                     "Exit answered Cancel still closed something");
    m_prompter.messageAnswers = {PromptResult::Yes, PromptResult::No};
    m_prompter.saveAnswers.push_back(m_recorder.Path(QStringLiteral("files/third.tal")).toStdString());
    Trigger(cmd::AppExit, "exit");
    m_recorder.Check(m_recorder.WaitUntil([this] { return m_mainClosed; }, 5000), "Exit did not close the main window");
    CTalDocument reread;
    std::string error;
    const bool read = reread.LoadFromFile(second.toStdString(), error);
    const bool readThird = QFileInfo::exists(m_recorder.Path(QStringLiteral("files/third.tal")));
    m_recorder.Check(read && (reread.GetDataSetCount() == 3 || readThird),
                     "Exit answered Yes did not save the changed document (" + error + ")");
    End();
}

// talvern-tour OUTPUT_FOLDER [TYPE...]: the first-run tour. Starts the real application and main
// window on the simulated analyzer with fresh settings, walks it as a new user would (every
// menu item of every display kind, every toolbar button, a sweep on each analyzer type, the RLC
// workflow, pictures, printing, copy and paste, Save, Close and Exit) and saves a picture of
// each step with a log (tour.log) into the folder. Exit status 1 when a step failed.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>

#include <iostream>

#include "TourPrompter.h"
#include "TourRecorder.h"
#include "TourWalk.h"
#include "app/dialogs/ProgramPicture.h"
#include "app/platform/SimulatorLibrary.h"
#include "app/settings/IniSettingsStore.h"
#include "app/simulator/SimulatorConnection.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"
#include "views/mail/Mail.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: talvern-tour OUTPUT_FOLDER [TYPE...]\n";
        return 2;
    }
    // Fresh settings, preferences and a mail program that only records what it was given.
    QTemporaryDir home;
    if (!home.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Talvern"));
    QApplication::setApplicationName(QStringLiteral("TalvernRLC"));
    QApplication::setWindowIcon(ProgramIcon());
    QApplication::setQuitOnLastWindowClosed(false);

    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir(output).removeRecursively();
    TourRecorder recorder(output);
    QDir().mkpath(output + QStringLiteral("/files"));
    const QString mail = output + QStringLiteral("/files/mail-program.sh");
    QFile script(mail);
    if (script.open(QIODevice::WriteOnly)) {
        script.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1/files/mail.txt'\n").arg(output).toLocal8Bit());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    OMail::SetMailProgram(mail.toStdString());

    const std::string library = SimulatorLibraryPath();
    if (library.empty()) {
        std::cerr << "talvern-tour: libtalvern-sim.so not found\n";
        return 2;
    }
    gpib::SetLibraryPath(library);
    visa::SetLibraryPath(library);
    SimulatorConnection simulator(library);

    // The window as large as the screen allows, clear of the Simulated Instrument window's edge.
    IniSettingsStore store;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    store.WriteInt("Settings", "Maximized", 0);
    store.WriteInt("Settings", "Window Left", screen.left());
    store.WriteInt("Settings", "Window Top", screen.top());
    store.WriteInt("Settings", "Window Right", screen.left() + std::min(screen.width(), 1100));
    store.WriteInt("Settings", "Window Bottom", screen.top() + std::min(screen.height(), 800));

    TourPrompter prompter(recorder, [&simulator](const std::string& text) { return simulator.Configure(text); });
    SetPrompter(&prompter);
    std::vector<std::string> types;
    for (int i = 2; i < argc; ++i)
        types.emplace_back(argv[i]);
    {
        TourWalk walk(recorder, prompter,
                      {store, StandardPreferencesLocation(), TALVERN_TOUR_PROGRAM_FOLDER, simulator});
        walk.Run(types);
    }
    SetPrompter(nullptr);
    recorder.Log(recorder.Failures() == 0 ? "tour: every step passed"
                                          : "tour: " + std::to_string(recorder.Failures()) + " step(s) failed");
    std::cout << "pictures and tour.log in " << output.toStdString() << std::endl;
    return recorder.Failures() == 0 ? 0 : 1;
}

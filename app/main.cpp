// talvern-rlc: the program. Files named on the command line go to the program already running
// when there is one; otherwise this one starts, listens for later launches and runs until its
// main window closes.
#include <QApplication>

#include <iostream>

#include "app/application/CommandLine.h"
#include "app/application/ProductVersion.h"
#include "app/application/TalvernApp.h"
#include "app/core/ShellOpenCommand.h"
#include "app/dialogs/ProgramPicture.h"
#include "app/platform/DesktopOpener.h"
#include "app/platform/ProgramFolder.h"
#include "app/platform/QtPrompter.h"
#include "app/platform/SimulatorLibrary.h"
#include "app/platform/SingleInstance.h"
#include "app/settings/IniSettingsStore.h"
#include "instrument/gpib/Gpib.h"
#include "instrument/visa/Visa.h"

#include <QFileInfo>

namespace {

constexpr const char* kUsage =
    "usage: talvern-rlc [/t:<type>] [--simulate] [--gpib-library PATH] [--visa-library PATH] [FILE.tal...]\n";

// Points both bus bindings at the libraries the options name; false when --simulate finds none.
bool ChooseBusLibraries(const CommandLineInfo& commandLine)
{
    if (commandLine.simulate) {
        const std::string simulator = SimulatorLibraryPath();
        if (simulator.empty()) {
            std::cerr << "talvern-rlc: --simulate: libtalvern-sim.so not found\n";
            return false;
        }
        gpib::SetLibraryPath(simulator);
        visa::SetLibraryPath(simulator);
    }
    if (!commandLine.gpibLibrary.empty())
        gpib::SetLibraryPath(commandLine.gpibLibrary);
    if (!commandLine.visaLibrary.empty())
        visa::SetLibraryPath(commandLine.visaLibrary);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Talvern"));
    QApplication::setApplicationName(QStringLiteral("TalvernRLC"));
    QApplication::setApplicationVersion(QString::fromStdString(ProductVersionText()));
    QGuiApplication::setDesktopFileName(QStringLiteral("talvern-rlc"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());

    std::vector<std::string> arguments;
    const QStringList given = QApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i)
        arguments.push_back(given[i].toStdString());
    const CommandLineInfo commandLine = ParseCommandLine(arguments);
    if (!commandLine.errors.empty()) {
        std::cerr << "talvern-rlc: " << commandLine.errors.front() << " needs a value\n" << kUsage;
        return 2;
    }

    const QString serverName = SingleInstance::DefaultServerName();
    if (commandLine.shellCommand == CommandLineInfo::ShellCommand::FileOpen) {
        std::vector<std::string> commands;
        for (const std::string& file : commandLine.files)
            commands.push_back(ShellOpenCommand(QFileInfo(QString::fromStdString(file)).absoluteFilePath().toStdString()));
        if (SingleInstance::SendToRunningInstance(serverName, commands))
            return 0;
    }
    if (!ChooseBusLibraries(commandLine))
        return 2;

    QtPrompter prompter;
    SetPrompter(&prompter);
    IniSettingsStore store;
    QtDesktopOpener opener;
    CTalvernApp app({store, StandardPreferencesLocation(), opener, ProgramFolder(), true});
    app.onMainWindowClosed = [] { QCoreApplication::quit(); };

    SingleInstance instance(serverName);
    instance.Listen([&app](const std::string& command) { return app.OnDDECommand(command); });

    // On the simulated analyzer the application shows the "Simulated Instrument" window.
    int result = 0;
    if (app.InitInstance(commandLine))
        result = QApplication::exec();
    app.ExitInstance();
    SetPrompter(nullptr);
    return result;
}

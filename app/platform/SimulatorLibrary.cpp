#include "app/platform/SimulatorLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

std::string SimulatorLibraryPath()
{
    QStringList candidates;
#ifdef TALVERN_SIM_BUILD_PATH
    candidates << QStringLiteral(TALVERN_SIM_BUILD_PATH);
#endif
    candidates << QDir(QCoreApplication::applicationDirPath())
                      .absoluteFilePath(QStringLiteral("../lib/talvern-rlc/libtalvern-sim.so"));
    for (const QString& path : candidates)
        if (QFileInfo(path).isFile())
            return QDir::cleanPath(path).toStdString();
    return {};
}

#include "app/platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

std::string ProgramFolder()
{
    const QDir bin(QCoreApplication::applicationDirPath());
    const QString shared = bin.absoluteFilePath(QStringLiteral("../share/TalvernRLC"));
    const QString folder = QFileInfo(shared).isDir() ? QDir::cleanPath(shared) : bin.absolutePath();
    return folder.toStdString() + "/";
}

#include "app/platform/DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

int QtDesktopOpener::Open(const std::string& path)
{
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists())
        return name.endsWith(u'/') || info.suffix().isEmpty() ? 3 : 2;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kShellOpenSucceeded
                                                                                    : 31;
}

#include "app/dialogs/AboutDlg.h"

#include <QPainter>

#include "app/application/ProductVersion.h"
#include "app/dialogs/ProgramPicture.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Talvern RLC Version %1.%2.%3")
                       .arg(kProductVersionMajor)
                       .arg(kProductVersionMinor)
                       .arg(kProductVersionBuild));
    setFixedSize(kProgramPictureWidth, kProgramPictureHeight);
}

void CAboutDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, ProgramPicture());
}

void CAboutDlg::mousePressEvent(QMouseEvent*)
{
    accept();
}

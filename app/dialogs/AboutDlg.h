#pragma once
// The About box: "About Talvern RLC Version 4.6.0" over the program picture, its client area
// exactly the picture's size; a click anywhere closes it.
#include <QDialog>

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

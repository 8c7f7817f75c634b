#pragma once
// The warnings about the reduced voltage limits of the 2600 series: caption, text, a check box
// that switches the warning off for next time (the change is handed on at once) and OK.
#include <QDialog>

#include <functional>

class QCheckBox;

class CVoltageWarningDlg : public QDialog {
public:
    QCheckBox* CheckBox() const { return m_check; }

protected:
    CVoltageWarningDlg(const char* caption, const char* text, const char* checkText, bool show,
                       std::function<void(bool)> showChanged, QWidget* parent);

private:
    QCheckBox* m_check;
};

// Input impedance set to 50 ohms: inputs withstand 15 Vpk.
class CInput15VmaxDlg : public CVoltageWarningDlg {
public:
    CInput15VmaxDlg(bool show, std::function<void(bool)> showChanged, QWidget* parent = nullptr);
};

// Output impedance set to 2 ohms: the output withstands 5 Vpk.
class COutput5VmaxDlg : public CVoltageWarningDlg {
public:
    COutput5VmaxDlg(bool show, std::function<void(bool)> showChanged, QWidget* parent = nullptr);
};

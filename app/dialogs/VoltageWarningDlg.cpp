#include "app/dialogs/VoltageWarningDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

CVoltageWarningDlg::CVoltageWarningDlg(const char* caption, const char* text, const char* checkText,
                                       bool show, std::function<void(bool)> showChanged,
                                       QWidget* parent)
    : QDialog(parent), m_check(new QCheckBox(QString::fromUtf8(checkText), this))
{
    setWindowTitle(QString::fromUtf8(caption));
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setWordWrap(true);
    m_check->setChecked(show);
    connect(m_check, &QCheckBox::toggled, this, [showChanged](bool checked) { showChanged(checked); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_check);
    layout->addWidget(buttons);
}

CInput15VmaxDlg::CInput15VmaxDlg(bool show, std::function<void(bool)> showChanged, QWidget* parent)
    : CVoltageWarningDlg(
          "WARNING Severe Damage to Analyzer Hardware is possible if Input Voltage exceeds 15 Vpk!",
          "Input Impedance has been set to 50 ohms on all input channels.\n\nSevere damage to the "
          "analyzer hardware is possible if the Input Voltage exceeds +/- 15 Volts!",
          "Show this warning message every time Input Impedance is set to 50 ohms", show,
          std::move(showChanged), parent)
{
}

COutput5VmaxDlg::COutput5VmaxDlg(bool show, std::function<void(bool)> showChanged, QWidget* parent)
    : CVoltageWarningDlg(
          "WARNING Severe Damage to Analyzer Hardware is possible if Output Voltage exceeds 5 Vpk!",
          "Output Impedance has been set to 2 ohms.\n\nSevere damage to the analyzer hardware is "
          "possible if the Output Voltage exceeds +/- 5 Volts!",
          "Show this warning message every time Output Impedance is set to 2 ohms", show,
          std::move(showChanged), parent)
{
}

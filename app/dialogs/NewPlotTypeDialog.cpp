#include "app/dialogs/NewPlotTypeDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

NewPlotTypeDialog::NewPlotTypeDialog(int initialChoice, QWidget* parent)
    : QDialog(parent),
      m_choice(initialChoice),
      m_impedance(new QRadioButton(QStringLiteral("Impedance Plot"), this)),
      m_nyquist(new QRadioButton(QStringLiteral("Nyquist Plot"), this))
{
    setWindowTitle(QStringLiteral("New Plot"));
    m_impedance->setChecked(initialChoice == kImpedancePlot);
    m_nyquist->setChecked(initialChoice == kNyquistPlot);
    connect(m_impedance, &QRadioButton::clicked, this, [this] { m_choice = kImpedancePlot; });
    connect(m_nyquist, &QRadioButton::clicked, this, [this] { m_choice = kNyquistPlot; });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Select the plot type:"), this));
    layout->addWidget(m_impedance);
    layout->addWidget(m_nyquist);
    layout->addWidget(buttons);
}

int NewPlotTypeDialog::Run()
{
    return exec() == QDialog::Accepted ? m_choice : 0;
}

QRadioButton* NewPlotTypeDialog::Button(int choice) const
{
    return choice == kNyquistPlot ? m_nyquist : m_impedance;
}

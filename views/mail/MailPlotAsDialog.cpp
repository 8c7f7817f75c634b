#include "views/mail/MailPlotAsDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

OMailPlotAs::OMailPlotAs(QWidget* parent)
    : QDialog(parent), m_jpeg(new QRadioButton("Jpeg", this)), m_talFile(new QRadioButton("Tal File", this))
{
    setWindowTitle("Mail As");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("What format would you like to send the plot as?", this));
    layout->addWidget(m_jpeg);
    layout->addWidget(m_talFile);
    m_jpeg->setChecked(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int OMailPlotAs::Choice() const
{
    return m_talFile->isChecked() ? 1 : 0;
}

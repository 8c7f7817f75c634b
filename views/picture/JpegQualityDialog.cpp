#include "views/picture/JpegQualityDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

OJpgQualityDlg::OJpgQualityDlg(QWidget* parent) : QDialog(parent), m_slider(new QSlider(Qt::Horizontal, this))
{
    setWindowTitle("Jpeg Quality");
    m_slider->setRange(10, 100);
    m_slider->setValue(70);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Please use the slide bar to determine the quality of the jpg file. ", this));
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Lowest", this));
    row->addWidget(m_slider, 1);
    row->addWidget(new QLabel("Highest", this));
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

int OJpgQualityDlg::Quality() const
{
    return m_slider->value();
}

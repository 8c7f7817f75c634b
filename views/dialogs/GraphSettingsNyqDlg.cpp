#include "views/dialogs/GraphSettingsNyqDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "views/dialogs/ControlRectangle.h"
#include "views/dialogs/EditComponent.h"

CGraphSettingsNyqDlg::CGraphSettingsNyqDlg(const Values& values, QWidget* parent)
    : QDialog(parent),
      m_values(values),
      m_grid(new ControlRectangle(this)),
      m_invertY(new QCheckBox("Invert Y axis", this)),
      m_positiveX(new QCheckBox("Only positive X axis", this)),
      m_numbers(new QCheckBox("Show dataset numbers and labels", this)),
      m_title(new QCheckBox("Show graph title", this)),
      m_range(new CEditComponent(this)),
      m_axis(new QComboBox(this))
{
    setWindowTitle("Nyquist Graph Properties");
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Grid color:", m_grid);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(m_range);
    rangeRow->addWidget(new QLabel("Ohm", this));
    rangeRow->addWidget(m_axis);
    form->addRow("Range:", rangeRow);
    layout->addLayout(form);
    for (QCheckBox* box : {m_invertY, m_positiveX, m_numbers, m_title})
        layout->addWidget(box);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    m_axis->addItems({"X axis", "Y axis"});
    m_grid->SetColor(values.gridColor);
    m_range->SetValue(values.range, 4);
    m_axis->setCurrentIndex(values.rangeAxis == 1 ? 1 : 0);
    m_invertY->setChecked(values.invertY);
    m_positiveX->setChecked(values.onlyPositiveX);
    m_numbers->setChecked(values.dataNumbers);
    m_title->setChecked(values.title);
}

CGraphSettingsNyqDlg::Values CGraphSettingsNyqDlg::Result() const
{
    Values v = m_values;
    m_range->Commit();
    v.gridColor = m_grid->Color();
    v.range = m_range->GetValue();
    v.rangeAxis = m_axis->currentIndex() == 1 ? 1 : 0;
    v.invertY = m_invertY->isChecked();
    v.onlyPositiveX = m_positiveX->isChecked();
    v.dataNumbers = m_numbers->isChecked();
    v.title = m_title->isChecked();
    return v;
}

void CGraphSettingsNyqDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        ChooseSwatchColor(*m_grid, this, event->position().toPoint());
    QDialog::mousePressEvent(event);
}

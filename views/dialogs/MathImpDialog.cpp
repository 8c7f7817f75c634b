#include "views/dialogs/MathImpDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "data/ApplicationData.h"
#include "data/DataSetMath.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/base/TalView.h"
#include "views/base/ViewHooks.h"
#include "views/dialogs/EditComponent.h"

namespace {

const char* const kOperations[] = {"Add",
                                   "Subtract",
                                   "Multiply",
                                   "Divide",
                                   "Add in parallel",
                                   "Subtract in parallel",
                                   "Create transfer function"};
constexpr int kTransferEntry = 6;

}  // namespace

std::string MathImpDialog::Formula(int entry, const std::string& a, const std::string& b)
{
    switch (entry) {
    case 0:
        return "Z = " + a + " + " + b;
    case 1:
        return "Z = " + a + " - " + b;
    case 2:
        return "Z = " + a + " x " + b;
    case 3:
        return "Z = " + a + " / " + b;
    case 4:
        return "Z = 1 / (1/" + a + " + 1/" + b + ")";
    case 5:
        return "Z = 1 / (1/" + a + " - 1/" + b + ")";
    case kTransferEntry:
        return "T = " + b + " / (" + a + " + " + b + ")";
    default:
        return std::string();
    }
}

std::string MathImpDialog::ListEntry(int number, const std::string& name)
{
    return std::to_string(number) + (name.empty() ? std::string() : ": " + name);
}

MathImpDialog::MathImpDialog(CTalDocument* document, CTalView* view)
    : QDialog(view), m_doc(document), m_view(view)
{
    setWindowTitle(QStringLiteral("Math"));
    auto* layout = new QVBoxLayout(this);
    auto* operationRow = new QHBoxLayout;
    operationRow->addWidget(new QLabel(QStringLiteral("Operation"), this));
    m_operation = new QComboBox(this);
    operationRow->addWidget(m_operation, 1);
    layout->addLayout(operationRow);

    auto* operands = new QHBoxLayout;
    for (int k = 0; k < 2; ++k) {
        auto* group = new QGroupBox(k == 0 ? QStringLiteral("Operand 1") : QStringLiteral("Operand 2"), this);
        auto* grid = new QGridLayout(group);
        m_dataset[k] = new QRadioButton(QStringLiteral("Dataset:"), group);
        m_list[k] = new QListWidget(group);
        m_scalarRadio[k] = new QRadioButton(QStringLiteral("Scalar:"), group);
        m_scalar[k] = new CEditComponent(group);
        m_scalar[k]->SetValue(0, 4);
        m_scalar[k]->setEnabled(false);
        m_dataset[k]->setChecked(true);
        grid->addWidget(m_dataset[k], 0, 0);
        grid->addWidget(m_list[k], 1, 0, 1, 2);
        grid->addWidget(m_scalarRadio[k], 2, 0);
        grid->addWidget(m_scalar[k], 2, 1);
        operands->addWidget(group);
        connect(m_dataset[k], &QRadioButton::toggled, this, [this, k](bool on) {
            m_scalar[k]->setEnabled(!on);
            UpdateFormula();
        });
        connect(m_list[k], &QListWidget::currentRowChanged, this, [this] { UpdateFormula(); });
        connect(m_scalar[k], &QLineEdit::textChanged, this, [this] { UpdateFormula(); });
    }
    layout->addLayout(operands);

    m_formula = new QLabel(this);
    layout->addWidget(m_formula);

    auto* factorRow = new QHBoxLayout;
    factorRow->addWidget(new QLabel(QStringLiteral("Math Scale Factor"), this));
    m_scaleFactor = new CEditComponent(this);
    m_scaleFactor->SetValue(appData().mathScaleFactor, 4);
    factorRow->addWidget(m_scaleFactor);
    factorRow->addWidget(new QLabel(QStringLiteral("(Z = Z * SF)"), this));
    layout->addLayout(factorRow);

    auto* create = new QPushButton(QStringLiteral("Create"), this);
    create->setAutoDefault(false);
    layout->addWidget(create, 0, Qt::AlignRight);
    connect(create, &QPushButton::clicked, this, &MathImpDialog::OnCreate);
    connect(m_operation, &QComboBox::currentIndexChanged, this, [this] { UpdateFormula(); });

    if (!m_doc) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (m_doc->GetDataSetCount() > 0) {
        for (const char* entry : kOperations)
            m_operation->addItem(QString::fromLatin1(entry));
        m_operation->setCurrentIndex(0);
    }
    FillLists();
    UpdateFormula();
}

void MathImpDialog::FillLists()
{
    for (QListWidget* list : m_list) {
        const int row = list->currentRow();
        list->clear();
        for (int i = 0; i < m_doc->GetDataSetCount(); ++i)
            list->addItem(QString::fromStdString(ListEntry(m_doc->GetDataSetNumber(i), m_doc->GetDataSetName(i))));
        if (list->count() > 0)
            list->setCurrentRow(std::clamp(row, 0, list->count() - 1));
    }
}

std::string MathImpDialog::OperandText(int k) const
{
    if (m_dataset[k]->isChecked()) {
        const int row = m_list[k]->currentRow();
        return row >= 0 && row < m_doc->GetDataSetCount() ? "Z" + std::to_string(m_doc->GetDataSetNumber(row))
                                                            : std::string("Z");
    }
    return m_scalar[k]->text().toStdString();
}

void MathImpDialog::UpdateFormula()
{
    if (!m_doc)
        return;
    m_formula->setText(QString::fromStdString(Formula(m_operation->currentIndex(), OperandText(0), OperandText(1))));
}

QString MathImpDialog::FormulaText() const
{
    return m_formula->text();
}

void MathImpDialog::OnCreate()
{
    const int entry = m_operation->currentIndex();
    if (!m_doc || entry < 0)
        return;
    const std::string name = prompter().TextInput("Please type a name for this data set:").value_or("");
    m_scaleFactor->Commit();
    appData().mathScaleFactor = m_scaleFactor->GetValue();
    int index[2];
    double constant[2];
    for (int k = 0; k < 2; ++k) {
        m_scalar[k]->Commit();
        index[k] = m_dataset[k]->isChecked() ? m_list[k]->currentRow() : -1;
        constant[k] = m_scalar[k]->GetValue();
    }
    int result = -1;
    if (entry == kTransferEntry) {
        result = CreateTransferFunction(*m_doc, index[0], constant[0], index[1], constant[1]);
        if (result >= 0) {
            // The result alone in a new window; hidden where the dialog was opened from.
            if (CTalView* window = OpenNewDisplayWindow(m_doc, m_view))
                for (int i = 0; i < m_doc->GetDataSetCount(); ++i)
                    if (i != result)
                        window->ApplyDataSetProperties(i, false);
            if (m_view)
                m_view->ApplyDataSetProperties(result, false);
        }
    } else {
        result = m_doc->OnViewMath(index[0], constant[0], index[1], constant[1], entry);
    }
    if (result >= 0)
        m_doc->SetDataSetName(result, name);
    m_doc->SetModifiedFlag();
    m_doc->UpdateAllViews(HINT_ALL);
    FillLists();
    UpdateFormula();
}

#include "rlc/ui/RLCDialogTabModel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "data/CLocaleNumbers.h"
#include "data/EngineeringNotation.h"
#include "data/TalDocument.h"
#include "rlc/model/CircuitKind.h"
#include "rlc/ui/CircuitSchematic.h"
#include "views/base/TalView.h"
#include "views/dialogs/EditComponent.h"

namespace {

// The "Dataset:" list, refilled from the document each time it is opened. Closing it counts as
// a choice of the entry it shows, as choosing one does: the refill may have moved the selection
// (to the newest set without parasitics), and the fitted values must belong to that set.
class DataSetList final : public QComboBox {
public:
    DataSetList(std::function<void()> beforeOpening, std::function<void(int)> afterClosing, QWidget* parent)
        : QComboBox(parent), m_beforeOpening(std::move(beforeOpening)), m_afterClosing(std::move(afterClosing))
    {
    }
    void showPopup() override
    {
        m_beforeOpening();
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (currentIndex() >= 0)
            m_afterClosing(currentIndex());
    }

private:
    std::function<void()> m_beforeOpening;
    std::function<void(int)> m_afterClosing;
};

// A document with no data sets, for choices made while no document is active.
const CTalDocument& NoDocument()
{
    static const CTalDocument empty;
    return empty;
}

}  // namespace

RLCDialogTabModel::RLCDialogTabModel(std::function<CTalView*()> activeDisplay, QWidget* parent)
    : QWidget(parent), m_activeDisplay(std::move(activeDisplay))
{
    setObjectName(QStringLiteral("Model"));
    setFocusPolicy(Qt::StrongFocus);
    m_kind = new QComboBox(this);
    m_kind->setObjectName(QStringLiteral("component"));
    for (int kind = 0; kind < kCircuitKindCount; ++kind)
        m_kind->addItem(QString::fromStdString(CircuitKindText(kind)));
    m_kind->setCurrentIndex(-1);
    m_dataSet = new DataSetList([this] { OpenDataSetList(); }, [this](int position) { ChooseDataSet(position); },
                                this);
    m_dataSet->setObjectName(QStringLiteral("dataSet"));
    m_dataSet->setMinimumContentsLength(18);
    m_r = new CEditComponent(this);
    m_r->setObjectName(QStringLiteral("r"));
    m_second = new CEditComponent(this);
    m_second->setObjectName(QStringLiteral("second"));
    m_c = new CEditComponent(this);
    m_c->setObjectName(QStringLiteral("c"));
    m_secondLabel = new QLabel(QStringLiteral("L:"), this);
    m_secondLabel->setObjectName(QStringLiteral("secondLabel"));
    m_secondUnit = new QLabel(QStringLiteral("H"), this);
    m_schematic = new QLabel(this);
    m_schematic->setObjectName(QStringLiteral("schematic"));
    m_schematic->setFixedSize(kSchematicSize);
    m_schematic->setFrameShape(QFrame::Box);
    m_createPlot = new QPushButton(QStringLiteral("Create Plot"), this);
    m_createPlot->setObjectName(QStringLiteral("createPlot"));
    m_createPlot->setAutoDefault(false);
    m_refine = new QPushButton(QStringLiteral("Refine"), this);
    m_refine->setObjectName(QStringLiteral("refine"));
    m_refine->setAutoDefault(false);
    m_bestFit = new QPushButton(QStringLiteral("Best Fit"), this);
    m_bestFit->setObjectName(QStringLiteral("bestFit"));
    m_bestFit->setAutoDefault(false);
    for (int i = 0; i < 3; ++i) {
        m_uncertainty[i] = new QLabel(this);
        m_uncertainty[i]->setObjectName(QStringLiteral("uncertainty%1").arg(i));
    }
    m_residual = new QLabel(this);
    m_residual->setObjectName(QStringLiteral("residual"));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Component:"), this), 0, 0);
    grid->addWidget(m_kind, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Dataset:"), this), 1, 0);
    grid->addWidget(m_dataSet, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("R:"), this), 2, 0);
    grid->addWidget(m_r, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("Ohm"), this), 2, 2);
    grid->addWidget(m_secondLabel, 3, 0);
    grid->addWidget(m_second, 3, 1);
    grid->addWidget(m_secondUnit, 3, 2);
    grid->addWidget(new QLabel(QStringLiteral("C:"), this), 4, 0);
    grid->addWidget(m_c, 4, 1);
    grid->addWidget(new QLabel(QStringLiteral("F"), this), 4, 2);
    for (int i = 0; i < 3; ++i)
        grid->addWidget(m_uncertainty[i], 2 + i, 3);
    grid->addWidget(m_residual, 5, 1, 1, 3);
    grid->setColumnMinimumWidth(3, 80);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_createPlot);
    buttons->addWidget(m_refine);
    buttons->addWidget(m_bestFit);
    buttons->addStretch();
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addWidget(m_schematic, 0, Qt::AlignHCenter);
    page->addLayout(buttons);
    page->addStretch();

    connect(m_kind, &QComboBox::activated, this, &RLCDialogTabModel::ChooseKind);
    connect(m_dataSet, &QComboBox::activated, this, &RLCDialogTabModel::ChooseDataSet);
    connect(m_r, &CEditComponent::committed, this, [this] { CommitField(m_r, m_page.m_r); });
    connect(m_second, &CEditComponent::committed, this, [this] { CommitField(m_second, m_page.m_second); });
    connect(m_c, &CEditComponent::committed, this, [this] { CommitField(m_c, m_page.m_c); });
    connect(m_createPlot, &QPushButton::clicked, this, &RLCDialogTabModel::CreatePlot);
    connect(m_refine, &QPushButton::clicked, this, &RLCDialogTabModel::Refine);
    connect(m_bestFit, &QPushButton::clicked, this, &RLCDialogTabModel::BestFit);
    ShowState();
}

CTalDocument* RLCDialogTabModel::ActiveDocument() const
{
    CTalView* view = m_activeDisplay ? m_activeDisplay() : nullptr;
    return view ? view->GetDocument() : nullptr;
}

void RLCDialogTabModel::ChooseKind(int kind)
{
    const CTalDocument* document = ActiveDocument();
    m_page.ChooseKind(kind, document ? *document : NoDocument());
    FillDataSetList(document);
    ShowState();
}

void RLCDialogTabModel::OpenDataSetList()
{
    const CTalDocument* document = ActiveDocument();
    if (document)
        m_page.RefillDataSetList(*document);
    FillDataSetList(document);
}

void RLCDialogTabModel::ChooseDataSet(int position)
{
    if (const CTalDocument* document = ActiveDocument()) {
        m_page.ChooseDataSet(position, *document);
        ShowState();
    }
}

int RLCDialogTabModel::CreatePlot()
{
    CTalDocument* document = ActiveDocument();
    return document ? m_page.CreatePlot(*document) : -1;
}

void RLCDialogTabModel::Refine()
{
    if (const CTalDocument* document = ActiveDocument()) {
        m_page.Refine(*document);
        ShowState();
    }
}

void RLCDialogTabModel::BestFit()
{
    if (const CTalDocument* document = ActiveDocument()) {
        m_page.BestFit(*document);
        FillDataSetList(document);
        ShowState();
    }
}

void RLCDialogTabModel::CopySchematic()
{
    QApplication::clipboard()->setImage(CircuitSchematicImage(m_page.Kind()));
}

void RLCDialogTabModel::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopySchematic();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RLCDialogTabModel::FillDataSetList(const CTalDocument* document)
{
    const QSignalBlocker blocker(m_dataSet);
    m_dataSet->clear();
    if (!document)
        return;
    for (const std::string& entry : ModelPage::DataSetEntries(*document))
        m_dataSet->addItem(QString::fromStdString(entry));
    m_dataSet->setCurrentIndex(m_page.SelectedPosition());
}

void RLCDialogTabModel::ShowState()
{
    const auto show = [](CEditComponent* edit, const ModelValueField& field) {
        edit->SetValue(field.value, field.precision);
        edit->setText(QString::fromStdString(field.text));
    };
    show(m_r, m_page.m_r);
    show(m_second, m_page.m_second);
    show(m_c, m_page.m_c);
    ShowRefinement();
    const int kind = m_page.Kind();
    {
        const QSignalBlocker blocker(m_kind);
        m_kind->setCurrentIndex(kind);
    }
    m_secondLabel->setText(QString::fromStdString(SecondValueLabel(kind)));
    m_secondUnit->setText(QString::fromStdString(SecondValueUnit(kind)));
    m_schematic->setPixmap(QPixmap::fromImage(CircuitSchematicImage(kind)));
}

void RLCDialogTabModel::ShowRefinement()
{
    const auto& refinement = m_page.Refinement();
    const ModelValues none;
    const ModelValues& u = refinement ? refinement->uncertainty : none;
    const ModelValueField* fields[3] = {&m_page.m_r, &m_page.m_second, &m_page.m_c};
    const double uncertainties[3] = {u.r, u.second, u.c};
    for (int i = 0; i < 3; ++i)
        m_uncertainty[i]->setText(fields[i]->refined && uncertainties[i] >= 0
                                      ? QString::fromStdString("\u00B1 " + FormatEngineering(uncertainties[i], 3))
                                      : QString());
    m_residual->setText(refinement ? QString::fromStdString(FormatC("Residual: %.2e%s", refinement->residual,
                                                                    refinement->converged ? "" : " (not converged)"))
                                   : QString());
}

void RLCDialogTabModel::CommitField(CEditComponent* edit, ModelValueField& field)
{
    const std::string text = edit->text().toStdString();
    if (text == field.text)
        return;
    m_page.Commit(field, text);
    edit->SetValue(field.value, field.precision);
    edit->setText(QString::fromStdString(field.text));
    ShowRefinement();
}

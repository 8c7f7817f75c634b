#include "rlc/ui/RLCDialogTabReport.h"

#include <QCheckBox>
#include <QPushButton>
#include <QVBoxLayout>


#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "rlc/report/ReportFile.h"
#include "rlc/ui/PanelSettings.h"
#include "rlc/ui/RLCDialogTabModel.h"
#include "views/base/TalView.h"

namespace {

QCheckBox* Check(const char* text, const char* name, bool checked, QWidget* parent)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

// Whether data set `index` is already the display's single selected data set.
bool OnlySelected(const CTalView& view, int index)
{
    const auto& attribs = view.Fields().attribs;
    for (int i = 0; i < int(attribs.size()); ++i)
        if (attribs[size_t(i)].selected != (i == index))
            return false;
    return index >= 0 && index < int(attribs.size());
}

}  // namespace

RLCDialogTabReport::RLCDialogTabReport(RlcSettingsSection& store, std::function<CTalView*()> activeDisplay,
                                       const RLCDialogTabModel& model, QWidget* parent)
    : QWidget(parent), m_store(store), m_activeDisplay(std::move(activeDisplay)), m_model(model)
{
    setObjectName(QStringLiteral("Report"));
    const ReportOptions options = ReadReportPageSettings(store);
    m_textOutput = Check("Text output", "textOutput", options.textOutput, this);
    m_includeVoltage = Check("Include voltage", "includeVoltage", options.includeVoltage, this);
    m_includeCalibration =
        Check("Include calibration data in report", "includeCalibration", options.includeCalibration, this);
    m_displayCircuit = Check("Display circuit values", "displayCircuit", options.displayCircuit, this);
    auto* create = new QPushButton(QStringLiteral("Create Excel XML Report..."), this);
    create->setObjectName(QStringLiteral("createReport"));
    create->setAutoDefault(false);

    auto* page = new QVBoxLayout(this);
    for (QWidget* box : {m_textOutput, m_includeVoltage, m_includeCalibration, m_displayCircuit})
        page->addWidget(box);
    page->addSpacing(12);
    page->addWidget(create, 0, Qt::AlignLeft);
    page->addStretch();
    connect(create, &QPushButton::clicked, this, &RLCDialogTabReport::OnCreateReport);
}

RLCDialogTabReport::~RLCDialogTabReport()
{
    WriteReportPageSettings(m_store, Options());
}

ReportOptions RLCDialogTabReport::Options() const
{
    ReportOptions options;
    options.textOutput = m_textOutput->isChecked();
    options.includeVoltage = m_includeVoltage->isChecked();
    options.includeCalibration = m_includeCalibration->isChecked();
    options.displayCircuit = m_displayCircuit->isChecked();
    return options;
}

bool RLCDialogTabReport::OnCreateReport()
{
    CTalView* view = m_activeDisplay ? m_activeDisplay() : nullptr;
    ReportRequest request;
    request.hasActiveDisplay = view != nullptr;
    request.document = view ? view->GetDocument() : nullptr;
    request.options = Options();
    request.circuit = ReportCircuitOf(m_model.Page());
    if (view) {
        request.properties = [view](int index) {
            const bool changed = !OnlySelected(*view, index);
            const DataSetProperties p = view->GetDataSetProperties(index);
            if (changed)
                view->GetDocument()->SetModifiedFlag();
            return ReportedProperties{p.inputNode, p.outputNode, p.scaleFactor};
        };
    }
    return CreateExcelXmlReport(request, prompter());
}

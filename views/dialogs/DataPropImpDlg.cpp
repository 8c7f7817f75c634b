#include "views/dialogs/DataPropImpDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "data/ApplicationData.h"
#include "data/Prompter.h"
#include "data/TalDocument.h"
#include "views/command/CommandIds.h"
#include "views/dialogs/ControlRectangle.h"

namespace {

constexpr const char* kZeroScale = "Scale Factor cannot be zero.  Choose a scale factor of 1 for a default.";
constexpr const char* kZeroScaleNotSaved =
    "Scale Factor cannot be zero.  Choose a scale factor of 1 for a default.  Changes will not be saved.";

double ReadDecimal(const QString& text)
{
    const std::string s = text.trimmed().toStdString();
    return std::strtod(s.c_str(), nullptr);
}

int SelectedNumber(const QComboBox* list)
{
    return list->currentIndex() < 0 ? -1 : list->currentText().toInt();
}

}  // namespace

std::string CDataPropImpDlg::FormatScaleFactor(double value)
{
    int decimals = 3;
    if (value != 0 && std::isfinite(value))
        decimals = 3 - int(std::trunc(std::log10(std::fabs(value))));
    decimals = std::clamp(decimals, 0, 4);
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

CDataPropImpDlg::CDataPropImpDlg(CTalView& view, int kind, QWidget* parent)
    : QDialog(parent),
      m_view(view),
      m_kind(kind),
      m_dataSets(new QComboBox(this)),
      m_name(new QLineEdit(this)),
      m_type(new QComboBox(this)),
      m_description(new QPlainTextEdit(this)),
      m_show(new QCheckBox("Show this data set", this)),
      m_showDescription(new QCheckBox("Show description", this)),
      m_label1(new QLabel("Impedance color:", this)),
      m_label2(new QLabel("Phase color:", this)),
      m_swatch1(new ControlRectangle(this)),
      m_swatch2(new ControlRectangle(this)),
      m_voltageLabel(new QLabel("Voltage node:", this)),
      m_currentLabel(new QLabel("Current node:", this)),
      m_voltageNode(new QComboBox(this)),
      m_currentNode(new QComboBox(this)),
      m_scale(new QLineEdit(this)),
      m_formula(new QLabel("Impedance = (S.F.) x (Voltage) / (Current)", this))
{
    setWindowTitle("Data Set Properties");
    m_type->addItems({"Data", "Open circuit sweep", "Closed circuit sweep", "Component sweep (w/ parasitics)",
                      "Comp. minus series parasitics", "Component without parasitics"});
    if (kind == 2) {
        m_voltageLabel->setText("Output node:");
        m_currentLabel->setText("Input node:");
        m_label1->setText("Gain color:");
        m_formula->setText("Gain = 20 x log10 [(S.F.) x (Output) / (Input)]");
    } else if (kind == 3) {
        m_label1->hide();
        m_swatch1->hide();
        m_label2->setText("Color:");
    }
    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel("Data set:", this), row, 0);
    grid->addWidget(m_dataSets, row++, 1);
    grid->addWidget(new QLabel("Name:", this), row, 0);
    grid->addWidget(m_name, row++, 1);
    grid->addWidget(new QLabel("Type:", this), row, 0);
    grid->addWidget(m_type, row++, 1);
    grid->addWidget(new QLabel("Description:", this), row, 0);
    grid->addWidget(m_description, row++, 1);
    grid->addWidget(m_show, row, 0);
    grid->addWidget(m_showDescription, row++, 1);
    grid->addWidget(m_label1, row, 0);
    grid->addWidget(m_swatch1, row++, 1);
    grid->addWidget(m_label2, row, 0);
    grid->addWidget(m_swatch2, row++, 1);
    grid->addWidget(m_voltageLabel, row, 0);
    grid->addWidget(m_voltageNode, row++, 1);
    grid->addWidget(m_currentLabel, row, 0);
    grid->addWidget(m_currentNode, row++, 1);
    grid->addWidget(new QLabel("Scale factor:", this), row, 0);
    grid->addWidget(m_scale, row++, 1);
    grid->addWidget(m_formula, row++, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* setDefault = buttons->addButton("Set as Default", QDialogButtonBox::ActionRole);
    connect(setDefault, &QPushButton::clicked, this, &CDataPropImpDlg::SetAsDefault);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        ScaleFieldLeft();
        SaveDataSet();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // Working values: the application defaults until a data set is loaded.
    const ApplicationData& app = appData();
    m_props.outputNode = app.defaultOutputNode;
    m_props.inputNode = app.defaultInputNode;
    m_props.scaleFactor = app.defaultScaleFactor;
    m_props.gainColor = app.defaultGainColor;
    m_props.phaseColor = app.defaultPhaseColor;
    for (int k = 0; k < 4; ++k)
        m_props.nodeColor[k] = app.defaultNodeColor[k];
    m_show->setChecked(true);

    connect(m_dataSets, &QComboBox::activated, this, [this] { LoadDataSet(SelectedNumber(m_dataSets)); });
    connect(m_name, &QLineEdit::editingFinished, this, [this] {
        if (m_index >= 0 && m_name->text().toStdString() != m_view.GetDocument()->GetDataSetName(m_index))
            MarkModified();
    });
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading && m_description->toPlainText().toStdString() != m_loadedDescription)
            MarkModified();
    });
    for (QComboBox* list : {m_type, m_voltageNode, m_currentNode})
        connect(list, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_loading)
                MarkModified();
        });
    for (QCheckBox* box : {m_show, m_showDescription})
        connect(box, &QCheckBox::toggled, this, [this] {
            if (!m_loading)
                MarkModified();
        });
    connect(m_scale, &QLineEdit::editingFinished, this, &CDataPropImpDlg::ScaleFieldLeft);
}

void CDataPropImpDlg::SetFirstDataSet(int index)
{
    const CTalDocument& doc = *m_view.GetDocument();
    m_loading = true;
    m_dataSets->clear();
    for (int i = 0; i < doc.GetDataSetCount(); ++i)
        m_dataSets->addItem(QString::number(doc.GetDataSetNumber(i)));
    m_dataSets->setCurrentIndex(-1);
    m_loading = false;
    m_index = -1;
    m_modified = false;
    if (index < 0 || index >= doc.GetDataSetCount())
        return;
    m_dataSets->setCurrentIndex(index);
    LoadDataSet(doc.GetDataSetNumber(index));
}

void CDataPropImpDlg::LoadDataSet(int number)
{
    CTalDocument& doc = *m_view.GetDocument();
    if (m_index >= 0 && m_modified) {
        const std::string question = "Save properties for Data Set " + std::to_string(doc.GetDataSetNumber(m_index)) + "?";
        if (prompter().Message(question, "", PromptButtons::YesNo, PromptIcon::Question) == PromptResult::Yes)
            SaveDataSet();
    }
    m_modified = false;
    int found = -1;
    for (int i = 0; i < doc.GetDataSetCount(); ++i)
        if (doc.GetDataSetNumber(i) == number)
            found = i;
    if (found < 0)
        return;
    m_loading = true;
    m_index = found;
    m_props = m_view.GetDataSetProperties(found);
    m_name->setText(QString::fromStdString(doc.GetDataSetName(found)));
    m_type->setCurrentIndex(std::clamp(doc.GetCalibrationRole(found), 0, 5));
    m_loadedDescription = m_props.description;
    m_description->setPlainText(QString::fromStdString(m_props.description));
    m_show->setChecked(m_props.visible);
    FillNodes(*doc.GetDataSet(found));
    m_scale->setText(QString::fromStdString(FormatScaleFactor(m_props.scaleFactor)));
    m_swatch1->SetColor(m_props.gainColor);
    m_swatch2->SetColor(m_props.phaseColor);
    m_showDescription->setChecked(m_view.DescriptionWindow(found) != nullptr);
    m_loading = false;
}

void CDataPropImpDlg::FillNodes(const CDataSet& set)
{
    m_voltageNode->clear();
    m_currentNode->clear();
    if (set.GetPointCount() > 0) {
        const int last = set.GetLastNodeIndex(0);
        for (int entry = 0; entry <= last; ++entry) {
            const int node = set.GetNodeId(0, entry);
            if (node > 0 && set.GetNodeVoltage(0, node) > 1e-99) {
                m_voltageNode->addItem(QString::number(node));
                m_currentNode->addItem(QString::number(node));
            }
        }
    }
    m_voltageNode->setCurrentIndex(m_voltageNode->findText(QString::number(m_props.outputNode)));
    m_currentNode->setCurrentIndex(m_currentNode->findText(QString::number(m_props.inputNode)));
}

void CDataPropImpDlg::ScaleFieldLeft()
{
    const double value = ReadDecimal(m_scale->text());
    if (value == 0) {
        prompter().Message(kZeroScale, "", PromptButtons::Ok, PromptIcon::Warning);
        m_scale->setText(QString::fromStdString(FormatScaleFactor(m_props.scaleFactor)));
        return;
    }
    if (value != m_props.scaleFactor && std::isfinite(value)) {
        m_props.scaleFactor = value;
        MarkModified();
    }
}

bool CDataPropImpDlg::SaveDataSet()
{
    if (m_index < 0)
        return true;
    CTalDocument& doc = *m_view.GetDocument();
    const double scale = ReadDecimal(m_scale->text());
    if (scale == 0 || !std::isfinite(scale)) {
        prompter().Message(kZeroScaleNotSaved, "", PromptButtons::Ok, PromptIcon::Warning);
        return false;
    }
    DataSetProperties p = m_props;
    if (const int node = SelectedNumber(m_voltageNode); node > 0)
        p.outputNode = node;
    if (const int node = SelectedNumber(m_currentNode); node > 0)
        p.inputNode = node;
    p.scaleFactor = scale;
    p.gainColor = m_swatch1->Color();
    p.phaseColor = m_swatch2->Color();
    p.description = m_description->toPlainText().toStdString();
    p.visible = m_show->isChecked();
    m_view.SetDataSetProperties(m_index, p);
    m_props = p;
    doc.SetDataSetName(m_index, m_name->text().toStdString());
    doc.SetCalibrationRole(m_index, m_type->currentIndex());
    const bool shown = m_view.DescriptionWindow(m_index) != nullptr;
    if (m_showDescription->isChecked() != shown && m_showDescription->isChecked())
        m_view.OnCommand(cmd::ShowDataDescription);
    doc.SetModifiedFlag();
    doc.UpdateAllViews(0);
    m_modified = false;
    return true;
}

void CDataPropImpDlg::SetAsDefault()
{
    ApplicationData& app = appData();
    if (const int node = SelectedNumber(m_voltageNode); node > 0)
        app.defaultOutputNode = node;
    if (const int node = SelectedNumber(m_currentNode); node > 0)
        app.defaultInputNode = node;
    const double scale = ReadDecimal(m_scale->text());
    if (scale != 0 && std::isfinite(scale))
        app.defaultScaleFactor = scale;
    app.defaultGainColor = m_swatch1->Color();
    app.defaultPhaseColor = m_swatch2->Color();
    for (int k = 0; k < 4; ++k)
        app.defaultNodeColor[k] = m_props.nodeColor[k];
}

void CDataPropImpDlg::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        if (ChooseSwatchColor(*m_swatch1, this, at) || ChooseSwatchColor(*m_swatch2, this, at))
            MarkModified();
    }
    QDialog::mousePressEvent(event);
}

#include "rlc/ui/RLCDialogTabMeasurement.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "data/ApplicationData.h"
#include "rlc/ui/PanelSettings.h"
#include "rlc/workflow/PanelForwarding.h"
#include "views/base/TalView.h"
#include "views/dialogs/EditComponent.h"

namespace {

constexpr const char* kPeakVoltageTexts[] = {"< 10 V", "< 100 V", "< 500 V"};

MeasurementSetup SetupOf(const RlcProgramValues& values)
{
    MeasurementSetup setup;
    setup.analyzerType = values.analyzerType;
    setup.channelCount = values.shared.channelCount;
    const std::optional<FrequencyLimits> limits = AnalyzerFrequencyLimits(values.analyzerType);
    setup.limits = limits ? *limits : FrequencyLimits{values.frequencyMinimum, values.frequencyMaximum};
    return setup;
}

QPushButton* Button(const char* text, const char* name, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter commits a field; it never presses a button of this page.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

CEditComponent* Field(const char* name, QWidget* parent)
{
    auto* field = new CEditComponent(parent);
    field->setObjectName(QString::fromLatin1(name));
    return field;
}

QComboBox* List(const char* name, std::initializer_list<const char*> entries, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    for (const char* entry : entries)
        list->addItem(QString::fromLatin1(entry));
    return list;
}

}  // namespace

PromptResult RLCDialogTabMeasurement::CurrentPrompter::Message(const std::string& text, const std::string& caption,
                                                               PromptButtons buttons, PromptIcon icon)
{
    return prompter().Message(text, caption, buttons, icon);
}

int RLCDialogTabMeasurement::CurrentPrompter::ThreeButtons(const std::string& text, const std::string& caption,
                                                           const std::string& b1, const std::string& b2,
                                                           const std::string& b3)
{
    return prompter().ThreeButtons(text, caption, b1, b2, b3);
}

std::optional<std::string> RLCDialogTabMeasurement::CurrentPrompter::TextInput(const std::string& prompt,
                                                                               const std::string& initial)
{
    return prompter().TextInput(prompt, initial);
}

std::optional<std::string> RLCDialogTabMeasurement::CurrentPrompter::OpenFileName(const FileRequest& request)
{
    return prompter().OpenFileName(request);
}

std::optional<std::string> RLCDialogTabMeasurement::CurrentPrompter::SaveFileName(const FileRequest& request)
{
    return prompter().SaveFileName(request);
}

RLCDialogTabMeasurement::RLCDialogTabMeasurement(const RlcPanelContext& context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_analyzerType(context.values.analyzerType),
      m_analyzer(context.analyzer),
      m_workspace(WorkspaceHooks()),
      m_workflow(SetupOf(context.values), m_analyzer, m_workspace, m_prompter)
{
    setObjectName(QStringLiteral("Measurement"));
    BuildControls();
    m_analyzer.afterSweepComplete = [this] { UpdateControls(); };
    // The buttons follow the analyzer: a sweep starting or stopping changes its controls.
    if (context.analyzer) {
        connect(context.analyzer, &AnalyzerDialog::ControlsChanged, this, &RLCDialogTabMeasurement::UpdateControls);
        connect(context.analyzer, &AnalyzerDialog::SweepComplete, this, &RLCDialogTabMeasurement::UpdateControls);
    }
    StartPage();
}

RLCDialogTabMeasurement::~RLCDialogTabMeasurement()
{
    m_analyzer.afterSweepComplete = nullptr;
    MeasurementPageSettings s;
    s.singlePoint = m_singlePoint->isChecked();
    s.startFrequency = m_workflow.m_startFrequency;
    s.stopFrequency = m_workflow.m_stopFrequency;
    s.integrationTime = m_integration->currentIndex();
    s.acVoltage = m_ac->GetValue();
    s.dcVoltage = m_dc->GetValue();
    s.inputCoupling = InputCouplingSelectable(m_analyzerType) ? m_coupling->currentIndex() : m_storedCoupling;
    s.limitPhaseChange = m_limitPhase->isChecked();
    s.maxPhaseChange = m_maxPhase->GetValue();
    WriteMeasurementPageSettings(m_context.store, s);
}

HookedWorkspace::Hooks RLCDialogTabMeasurement::WorkspaceHooks()
{
    HookedWorkspace::Hooks hooks;
    const auto display = [this]() -> CTalView* {
        return m_context.activeDisplay ? m_context.activeDisplay() : nullptr;
    };
    hooks.hasActiveDisplay = [display] { return display() != nullptr; };
    hooks.activeDocument = [display]() -> CTalDocument* {
        CTalView* view = display();
        return view ? view->GetDocument() : nullptr;
    };
    hooks.hideDataSet = [display](int index) {
        if (CTalView* view = display())
            view->ApplyDataSetProperties(index, false);
    };
    hooks.closeActiveDocument = [this, display] {
        CTalView* view = display();
        if (view && m_context.closeDocument)
            m_context.closeDocument(view->GetDocument());
    };
    hooks.openImpedanceDocument = [this]() -> CTalDocument* {
        CTalView* view = m_context.openImpedanceDocument ? m_context.openImpedanceDocument() : nullptr;
        return view ? view->GetDocument() : nullptr;
    };
    return hooks;
}

void RLCDialogTabMeasurement::BuildControls()
{
    m_singlePoint = new QRadioButton(QStringLiteral("Single point"), this);
    m_singlePoint->setObjectName(QStringLiteral("singlePoint"));
    m_sweep = new QRadioButton(QStringLiteral("Sweep"), this);
    m_sweep->setObjectName(QStringLiteral("sweep"));
    m_start = Field("startFrequency", this);
    m_stop = Field("stopFrequency", this);
    m_integration = List("integrationTime", {"0.05", "0.33", "2.5", "10"}, this);
    m_ac = Field("acVoltage", this);
    m_dc = Field("dcVoltage", this);
    m_coupling = List("inputCoupling", {"AC", "DC"}, this);
    m_limitPhase = new QCheckBox(QStringLiteral("Limit max phase change between data points"), this);
    m_limitPhase->setObjectName(QStringLiteral("limitPhaseChange"));
    m_maxPhase = Field("maxPhaseChange", this);
    m_channel = List("channelSelect", {"1/2", "2/3", "3/4"}, this);
    m_peakLabel = new QLabel(QStringLiteral("Peak Voltage Select:"), this);
    m_peak = List("peakVoltageSelect", {kPeakVoltageTexts[0], kPeakVoltageTexts[1], kPeakVoltageTexts[2]}, this);
    m_calibrate = Button("Calibrate", "calibrate", this);
    m_loadCalibration = Button("Load Calibration...", "loadCalibration", this);
    m_saveCalibration = Button("Save Calibration...", "saveCalibration", this);
    m_testComponent = Button("Test Component", "testComponent", this);

    auto* frequency = new QGroupBox(QStringLiteral("Frequency"), this);
    auto* frequencyGrid = new QGridLayout(frequency);
    auto* radios = new QHBoxLayout;
    radios->addWidget(m_singlePoint);
    radios->addWidget(m_sweep);
    radios->addStretch();
    frequencyGrid->addLayout(radios, 0, 0, 1, 3);
    frequencyGrid->addWidget(new QLabel(QStringLiteral("Start frequency:"), frequency), 1, 0);
    frequencyGrid->addWidget(m_start, 1, 1);
    frequencyGrid->addWidget(new QLabel(QStringLiteral("Hz"), frequency), 1, 2);
    frequencyGrid->addWidget(new QLabel(QStringLiteral("Stop frequency:"), frequency), 2, 0);
    frequencyGrid->addWidget(m_stop, 2, 1);
    frequencyGrid->addWidget(new QLabel(QStringLiteral("Hz"), frequency), 2, 2);

    auto* analyzer = new QGroupBox(QStringLiteral("Analyzer"), this);
    auto* grid = new QGridLayout(analyzer);
    int row = 0;
    const auto addRow = [&](const char* label, QWidget* control, const char* unit) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), analyzer), row, 0);
        grid->addWidget(control, row, 1);
        if (unit)
            grid->addWidget(new QLabel(QString::fromLatin1(unit), analyzer), row, 2);
        ++row;
    };
    addRow("Integration time:", m_integration, "s");
    addRow("A/C voltage out:", m_ac, "V");
    addRow("D/C voltage out:", m_dc, "V");
    addRow("Input coupling:", m_coupling, nullptr);
    grid->addWidget(m_limitPhase, row++, 0, 1, 3);
    addRow("Max phase change:", m_maxPhase, "deg");
    addRow("Channel Select:", m_channel, nullptr);
    grid->addWidget(m_peakLabel, row, 0);
    grid->addWidget(m_peak, row++, 1);

    auto* buttons = new QGridLayout;
    buttons->addWidget(m_calibrate, 0, 0);
    buttons->addWidget(m_testComponent, 0, 1);
    buttons->addWidget(m_loadCalibration, 1, 0);
    buttons->addWidget(m_saveCalibration, 1, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(frequency);
    page->addWidget(analyzer);
    page->addLayout(buttons);
    page->addStretch();

    connect(m_singlePoint, &QRadioButton::clicked, this, [this] { ValidateFrequencies(); });
    connect(m_sweep, &QRadioButton::clicked, this, [this] { m_stop->setEnabled(true); });
    connect(m_start, &CEditComponent::committed, this, [this] { ValidateFrequencies(); });
    connect(m_stop, &CEditComponent::committed, this, [this] { ValidateFrequencies(); });
    connect(m_integration, &QComboBox::activated, this, &RLCDialogTabMeasurement::OnIntegrationTime);
    connect(m_ac, &CEditComponent::committed, this, &RLCDialogTabMeasurement::OnAcVoltage);
    connect(m_dc, &CEditComponent::committed, this, &RLCDialogTabMeasurement::OnDcVoltage);
    connect(m_coupling, &QComboBox::activated, this, &RLCDialogTabMeasurement::OnInputCoupling);
    connect(m_limitPhase, &QCheckBox::clicked, this, &RLCDialogTabMeasurement::OnLimitPhaseChange);
    connect(m_maxPhase, &CEditComponent::committed, this, &RLCDialogTabMeasurement::OnMaxPhaseChange);
    connect(m_channel, &QComboBox::activated, this, &RLCDialogTabMeasurement::OnChannelSelect);
    connect(m_peak, &QComboBox::activated, this, &RLCDialogTabMeasurement::OnPeakVoltageSelect);
    connect(m_calibrate, &QPushButton::clicked, this, &RLCDialogTabMeasurement::OnCalibrate);
    connect(m_testComponent, &QPushButton::clicked, this, &RLCDialogTabMeasurement::OnTestComponent);
    connect(m_loadCalibration, &QPushButton::clicked, this, &RLCDialogTabMeasurement::OnLoadCalibration);
    connect(m_saveCalibration, &QPushButton::clicked, this, &RLCDialogTabMeasurement::OnSaveCalibration);
}

void RLCDialogTabMeasurement::StartPage()
{
    const MeasurementPageSettings s = ReadMeasurementPageSettings(m_context.store);
    (s.singlePoint ? m_singlePoint : m_sweep)->setChecked(true);
    m_start->SetValue(s.startFrequency);
    m_stop->SetValue(s.stopFrequency);

    m_integration->setCurrentIndex(s.integrationTime);
    ForwardIntegrationTime(m_analyzerType, s.integrationTime, m_analyzer);
    m_workflow.m_acVoltage = ForwardAcVoltage(s.acVoltage, m_analyzer);
    m_ac->SetValue(m_workflow.m_acVoltage);
    m_dc->SetValue(ForwardDcVoltage(s.dcVoltage, m_analyzer));
    m_limitPhase->setChecked(s.limitPhaseChange);
    ForwardPhaseLimitCheck(s.limitPhaseChange, m_analyzer);
    m_maxPhase->setEnabled(s.limitPhaseChange);
    m_maxPhase->SetValue(ForwardPhaseLimit(s.maxPhaseChange, m_analyzer));
    m_storedCoupling = s.inputCoupling;
    const bool couplingSelectable = InputCouplingSelectable(m_analyzerType);
    m_coupling->setCurrentIndex(ForwardInputCoupling(m_analyzerType, s.inputCoupling, m_analyzer));
    m_coupling->setEnabled(couplingSelectable);

    // Calibration reset, the frequency check, the channel pair of the default nodes and "< 10 V".
    ShowFrequencyCheck(m_workflow.StartPage(m_start->GetValue(), m_stop->GetValue(), s.singlePoint));
    m_channel->setEnabled(m_context.values.shared.channelCount > 2);
    const bool highVoltageOption = (m_context.values.optionBits & 2) != 0;
    m_peakLabel->setVisible(highVoltageOption);
    m_peak->setVisible(highVoltageOption);
    UpdateControls();
}

void RLCDialogTabMeasurement::ValidateFrequencies()
{
    ShowFrequencyCheck(
        m_workflow.ValidateFrequencies(m_start->GetValue(), m_stop->GetValue(), m_singlePoint->isChecked()));
}

void RLCDialogTabMeasurement::ShowFrequencyCheck(const FrequencyCheck& check)
{
    if (m_context.statusMessage)
        m_context.statusMessage(check.status);
    if (check.beep)
        QApplication::beep();
    m_start->SetValue(check.startShown);
    m_stop->SetValue(check.stopShown);
    m_stop->setEnabled(!m_singlePoint->isChecked());
}

void RLCDialogTabMeasurement::OnIntegrationTime(int position)
{
    ForwardIntegrationTime(m_analyzerType, position, m_analyzer);
}

void RLCDialogTabMeasurement::OnAcVoltage()
{
    m_workflow.m_acVoltage = ForwardAcVoltage(m_ac->GetValue(), m_analyzer);
    m_ac->SetValue(m_workflow.m_acVoltage);
}

void RLCDialogTabMeasurement::OnDcVoltage()
{
    m_dc->SetValue(ForwardDcVoltage(m_dc->GetValue(), m_analyzer));
}

void RLCDialogTabMeasurement::OnInputCoupling(int position)
{
    m_coupling->setCurrentIndex(ForwardInputCoupling(m_analyzerType, position, m_analyzer));
}

void RLCDialogTabMeasurement::OnLimitPhaseChange(bool checked)
{
    m_maxPhase->setEnabled(checked);
    ForwardPhaseLimitCheck(checked, m_analyzer);
}

void RLCDialogTabMeasurement::OnMaxPhaseChange()
{
    m_maxPhase->SetValue(ForwardPhaseLimit(m_maxPhase->GetValue(), m_analyzer));
}

void RLCDialogTabMeasurement::OnChannelSelect(int pair)
{
    m_workflow.ApplyChannelPair(pair);
    UpdateControls();
}

void RLCDialogTabMeasurement::OnPeakVoltageSelect(int range)
{
    m_workflow.m_inputRange = range;
    m_context.values.shared.inputRange = range;
    m_workflow.ApplyInputRange();
}

void RLCDialogTabMeasurement::OnCalibrate()
{
    m_workflow.OnCalibrate();
    UpdateControls();
}

void RLCDialogTabMeasurement::OnTestComponent()
{
    m_workflow.OnTestComponent();
    UpdateControls();
}

void RLCDialogTabMeasurement::OnLoadCalibration()
{
    m_workflow.LoadCalibration();
    UpdateControls();
}

void RLCDialogTabMeasurement::OnSaveCalibration()
{
    m_workflow.SaveCalibration();
    UpdateControls();
}

void RLCDialogTabMeasurement::UpdateControls()
{
    const QSignalBlocker channelBlocker(m_channel);
    const QSignalBlocker peakBlocker(m_peak);
    m_channel->setCurrentIndex(m_workflow.m_channelPair);
    m_peak->setCurrentIndex(m_workflow.m_inputRange >= 0 && m_workflow.m_inputRange < 3 ? m_workflow.m_inputRange : 0);
    m_peak->setEnabled(m_workflow.m_peakVoltageEnabled);
    // No new workflow sweep while one of the panel's runs.
    const bool running = m_analyzer.SweepRunning();
    m_calibrate->setEnabled(!running);
    m_testComponent->setEnabled(m_workflow.m_testComponentEnabled && !running);
    m_saveCalibration->setEnabled(m_workflow.m_saveCalibrationEnabled);
}

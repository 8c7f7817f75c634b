#include "analyzer/dialogs/Analyzer2600Dlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "analyzer/dialogs/AnalyzerKeys.h"
#include "analyzer/dialogs/DialogWidgets.h"
#include "analyzer/dialogs/SpinArrows.h"
#include "analyzer/family2600/Texts.h"
#include "data/EngineeringNotation.h"
#include "views/dialogs/EditComponent.h"

using dialogwidgets::Label;
using dialogwidgets::Text;
using analyzer::family2600::InputRangeText;
using analyzer::family2600::InputImpedanceText;
using analyzer::family2600::IntegrationOptionText;
using analyzer::family2600::OutputImpedanceText;
using analyzer::family2600::WaveformText;

namespace {

void SetRed(QLabel* label, bool red)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, red ? QColor(0xFF, 0x00, 0x00) : QLabel().palette().color(QPalette::WindowText));
    label->setPalette(palette);
}

} // namespace

CAnalyzer2600Dlg::CAnalyzer2600Dlg(AnalyzerHost& host, QWidget* parent)
    : QDialog(parent), m_engine(std::make_unique<Analyzer2600Engine>(host))
{
    setWindowTitle(QString::fromUtf8(analyzer::family2600::kDialogTitle));
    setModal(false);
    BuildControls();
    m_logTimer = new QTimer(this);
    m_logTimer->setSingleShot(true);
    m_logTimer->setInterval(30);  // log updates of a fast sweep are merged
    connect(m_logTimer, &QTimer::timeout, this, &CAnalyzer2600Dlg::ShowLog);
    ConnectEngine();
    ShowFields();
    ShowControls();
    ShowReading();
    ShowLog();
}

CAnalyzer2600Dlg::~CAnalyzer2600Dlg() = default;

CEditComponent* CAnalyzer2600Dlg::AddEdit(int precision)
{
    auto* edit = new CEditComponent;
    edit->SetValue(0.0, precision);
    edit->setMinimumWidth(80);
    return edit;
}

void CAnalyzer2600Dlg::BuildControls()
{
    m_startFrequency = AddEdit();
    m_stopFrequency = AddEdit();
    m_logSweep = new QRadioButton("&Log Sweep");
    m_linearSweep = new QRadioButton("Linear Sweep");
    m_stepsPerDecade = AddEdit();
    m_frequencyStep = AddEdit();
    m_acVoltsOut = AddEdit();
    m_dcVoltsOut = AddEdit();
    m_waveform = new QComboBox;
    m_outputImpedance = new QComboBox;
    m_inputImpedance = new QComboBox;
    m_option = new QComboBox;
    m_inputRange = new QComboBox;
    m_byTime = new QRadioButton("Time");
    m_byCycles = new QRadioButton("&Cycles");
    m_time = AddEdit();
    m_delayTime = AddEdit();
    m_cycles = AddEdit();
    m_delayCycles = AddEdit();
    m_servoOn = new QCheckBox("Servo &On:");
    m_servoChannel = new QComboBox;
    m_acVoltsIn = AddEdit();
    m_stepSize = AddEdit();
    m_maxAcVoltsOut = AddEdit();
    m_channelRatio = new QComboBox;
    m_maxGainOn = new QCheckBox("&Gain or Magnitude:");
    m_maxGain = AddEdit();
    m_maxPhaseOn = new QCheckBox("P&hase:");
    m_maxPhase = AddEdit();
    m_frequencyReadout = new QLineEdit;
    for (QLineEdit*& readout : m_channelReadout)
        readout = new QLineEdit;
    m_gainReadout = new QLineEdit;
    m_phaseReadout = new QLineEdit;
    for (QLineEdit* readout : {m_frequencyReadout, m_channelReadout[0], m_channelReadout[1], m_channelReadout[2],
                               m_channelReadout[3], m_gainReadout, m_phaseReadout}) {
        readout->setReadOnly(true);
        readout->setFocusPolicy(Qt::NoFocus);
    }
    m_runSweep = new QPushButton;
    m_takeData = new QPushButton;
    m_dcButton = new QPushButton;
    m_versionButton = new QPushButton("ver?");
    m_closeButton = new QPushButton("&Close");
    for (QPushButton* button : {m_runSweep, m_takeData, m_dcButton, m_versionButton, m_closeButton})
        button->setAutoDefault(false);
    m_log = new QPlainTextEdit;
    m_log->setReadOnly(true);
    m_log->setMinimumHeight(120);
    m_outputImpedanceLabel = Label("Output Impedance:", m_outputImpedance);
    m_outputOhms = Label("Ohms");
    m_inputImpedanceLabel = Label("Input Impedance:", m_inputImpedance);
    m_inputOhms = Label("Ohms");
    m_outputWarning = Label("Output 5 Vpk max!");
    m_inputWarning = Label("Input 15 Vpk max!");

    for (const auto waveform : {analyzer::family2600::Waveform::Sine, analyzer::family2600::Waveform::Square})
        m_waveform->addItem(WaveformText(waveform));
    for (const auto impedance : {analyzer::family2600::OutputImpedance::Ohms2, analyzer::family2600::OutputImpedance::Ohms50})
        m_outputImpedance->addItem(OutputImpedanceText(impedance));
    for (const auto impedance : {analyzer::family2600::InputImpedance::Ohms50, analyzer::family2600::InputImpedance::OneMeg})
        m_inputImpedance->addItem(InputImpedanceText(impedance));
    for (const auto option : {analyzer::family2600::IntegrationOption::Off, analyzer::family2600::IntegrationOption::HighNoise})
        m_option->addItem(IntegrationOptionText(option));
    for (const auto range : {analyzer::family2600::InputRange::Below10V, analyzer::family2600::InputRange::Below100V,
                             analyzer::family2600::InputRange::Below500V})
        m_inputRange->addItem(InputRangeText(range));

    const FieldArrows arrows = MakeFieldArrows(this, m_engine.get());

    // Sweep.
    auto* sweep = new QGroupBox("Sweep");
    auto* sweepGrid = new QGridLayout(sweep);
    sweepGrid->addWidget(Label("Sta&rt Frequency:", m_startFrequency), 0, 0);
    sweepGrid->addWidget(WithArrows(m_startFrequency, arrows.startFrequency), 0, 1);
    sweepGrid->addWidget(Label("Stop &Frequency:", m_stopFrequency), 1, 0);
    sweepGrid->addWidget(WithArrows(m_stopFrequency, arrows.stopFrequency), 1, 1);
    sweepGrid->addWidget(m_logSweep, 2, 0);
    sweepGrid->addWidget(m_linearSweep, 2, 1);
    sweepGrid->addWidget(Label("Ste&ps/Decade", m_stepsPerDecade), 3, 0);
    sweepGrid->addWidget(WithArrows(m_stepsPerDecade, arrows.stepsPerDecade), 3, 1);
    sweepGrid->addWidget(Label("Freq&uency Step (Hz)", m_frequencyStep), 4, 0);
    sweepGrid->addWidget(WithArrows(m_frequencyStep, arrows.frequencyStep), 4, 1);

    // Output and inputs.
    auto* output = new QGroupBox("Output and inputs");
    auto* outputGrid = new QGridLayout(output);
    outputGrid->addWidget(Label("&AC Volts Out:", m_acVoltsOut), 0, 0);
    outputGrid->addWidget(WithArrows(m_acVoltsOut, arrows.acVoltsOut), 0, 1);
    outputGrid->addWidget(Label("&DC Volts Out:", m_dcVoltsOut), 1, 0);
    outputGrid->addWidget(WithArrows(m_dcVoltsOut, arrows.dcVoltsOut), 1, 1);
    outputGrid->addWidget(Label("&Waveform:", m_waveform), 2, 0);
    outputGrid->addWidget(m_waveform, 2, 1);
    outputGrid->addWidget(m_outputImpedanceLabel, 3, 0);
    outputGrid->addWidget(m_outputImpedance, 3, 1);
    outputGrid->addWidget(m_outputOhms, 3, 2);
    outputGrid->addWidget(m_outputWarning, 4, 1, 1, 2);
    outputGrid->addWidget(m_inputImpedanceLabel, 5, 0);
    outputGrid->addWidget(m_inputImpedance, 5, 1);
    outputGrid->addWidget(m_inputOhms, 5, 2);
    outputGrid->addWidget(m_inputWarning, 6, 1, 1, 2);
    outputGrid->addWidget(Label("Input range:", m_inputRange), 7, 0);
    outputGrid->addWidget(m_inputRange, 7, 1);
    outputGrid->addWidget(Label("Option:", m_option), 8, 0);
    outputGrid->addWidget(m_option, 8, 1, 1, 2);

    // Integration.
    auto* integration = new QGroupBox("Integration");
    auto* integrationGrid = new QGridLayout(integration);
    integrationGrid->addWidget(m_byTime, 0, 0);
    integrationGrid->addWidget(m_byCycles, 0, 1);
    integrationGrid->addWidget(Label("Time:", m_time), 1, 0);
    integrationGrid->addWidget(m_time, 1, 1);
    integrationGrid->addWidget(Label("Sec"), 1, 2);
    integrationGrid->addWidget(Label("Delay Time:", m_delayTime), 2, 0);
    integrationGrid->addWidget(m_delayTime, 2, 1);
    integrationGrid->addWidget(Label("Sec"), 2, 2);
    integrationGrid->addWidget(Label("Cycles:", m_cycles), 3, 0);
    integrationGrid->addWidget(m_cycles, 3, 1);
    integrationGrid->addWidget(Label("Cyc"), 3, 2);
    integrationGrid->addWidget(Label("Dela&y Cycles:", m_delayCycles), 4, 0);
    integrationGrid->addWidget(m_delayCycles, 4, 1);
    integrationGrid->addWidget(Label("Cyc"), 4, 2);

    // Servo and maximum change.
    auto* servo = new QGroupBox("Servo");
    auto* servoGrid = new QGridLayout(servo);
    servoGrid->addWidget(m_servoOn, 0, 0, 1, 2);
    servoGrid->addWidget(Label("Cha&nnel:", m_servoChannel), 1, 0);
    servoGrid->addWidget(m_servoChannel, 1, 1);
    servoGrid->addWidget(Label("AC &Volts In:", m_acVoltsIn), 2, 0);
    servoGrid->addWidget(m_acVoltsIn, 2, 1);
    servoGrid->addWidget(Label("AC Out Step Si&ze:", m_stepSize), 3, 0);
    servoGrid->addWidget(m_stepSize, 3, 1);
    servoGrid->addWidget(Label("Ma&x AC Volts Out:", m_maxAcVoltsOut), 4, 0);
    servoGrid->addWidget(m_maxAcVoltsOut, 4, 1);
    auto* maxChange = new QGroupBox("Maximum change");
    auto* maxChangeGrid = new QGridLayout(maxChange);
    maxChangeGrid->addWidget(m_maxGainOn, 0, 0);
    maxChangeGrid->addWidget(m_maxGain, 0, 1);
    maxChangeGrid->addWidget(m_maxPhaseOn, 1, 0);
    maxChangeGrid->addWidget(m_maxPhase, 1, 1);

    // Read-outs.
    auto* readings = new QGroupBox("Last reading");
    auto* readingGrid = new QGridLayout(readings);
    readingGrid->addWidget(Label("Chann&el Ratio:", m_channelRatio), 0, 0);
    readingGrid->addWidget(m_channelRatio, 0, 1);
    readingGrid->addWidget(Label("Frequency: "), 1, 0);
    readingGrid->addWidget(m_frequencyReadout, 1, 1);
    const char* const channelLabels[] = {"CH1:", "CH2:", "CH3:", "CH4:"};
    for (int i = 0; i < 4; ++i) {
        readingGrid->addWidget(Label(channelLabels[i]), 2 + i, 0);
        readingGrid->addWidget(m_channelReadout[i], 2 + i, 1);
    }
    readingGrid->addWidget(Label("Gain or Magnitude:"), 6, 0);
    readingGrid->addWidget(m_gainReadout, 6, 1);
    readingGrid->addWidget(Label("Phase:"), 7, 0);
    readingGrid->addWidget(m_phaseReadout, 7, 1);

    dialogwidgets::ArrangeAnalyzerWindow(this, {sweep, output, integration, servo, maxChange, readings,
                                                {m_runSweep, m_takeData, m_dcButton, m_versionButton}, m_closeButton, m_log});
}

void CAnalyzer2600Dlg::ConnectEngine()
{
    Analyzer2600Engine* e = m_engine.get();
    connect(e, &Analyzer2600Engine::FieldsChanged, this, &CAnalyzer2600Dlg::ShowFields);
    connect(e, &Analyzer2600Engine::ControlsChanged, this, &CAnalyzer2600Dlg::ShowControls);
    connect(e, &Analyzer2600Engine::ReadingShown, this, &CAnalyzer2600Dlg::ShowReading);
    connect(e, &Analyzer2600Engine::CommLogAppended, this, [this] {
        if (!m_logTimer->isActive())
            m_logTimer->start();
    });
    connect(e, &AnalyzerDialog::ProgressChanged, this, &CAnalyzer2600Dlg::progressChanged);
    connect(e, &Analyzer2600Engine::HideRequested, this, &QWidget::hide);
    connect(e, &Analyzer2600Engine::DestroyRequested, this, [this] {
        emit destroyRequested();
        hide();
        deleteLater();
    });

    // Edits: the value committed when the field is left or Enter is pressed.
    const auto commit = [this](CEditComponent* edit, auto handler) {
        connect(edit, &CEditComponent::committed, this, [this, edit, handler] {
            if (!m_showing)
                (m_engine.get()->*handler)(edit->GetValue());
        });
    };
    commit(m_startFrequency, &Analyzer2600Engine::SetStartFrequency);
    commit(m_stopFrequency, &Analyzer2600Engine::SetStopFrequency);
    commit(m_stepsPerDecade, &Analyzer2600Engine::SetStepsPerDecade);
    commit(m_frequencyStep, &Analyzer2600Engine::SetFrequencyStep);
    commit(m_acVoltsOut, &Analyzer2600Engine::SetAcVoltsOutField);
    commit(m_dcVoltsOut, &Analyzer2600Engine::SetDcVoltsOut);
    commit(m_time, &Analyzer2600Engine::SetIntegrationTime);
    commit(m_delayTime, &Analyzer2600Engine::SetDelayTime);
    commit(m_cycles, &Analyzer2600Engine::SetCycles);
    commit(m_delayCycles, &Analyzer2600Engine::SetDelayCycles);
    commit(m_acVoltsIn, &Analyzer2600Engine::SetServoAcVoltsIn);
    commit(m_stepSize, &Analyzer2600Engine::SetServoStepDb);
    commit(m_maxAcVoltsOut, &Analyzer2600Engine::SetMaxAcVoltsOutField);
    connect(m_maxGain, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangeGain(m_maxGainOn->isChecked(), m_maxGain->GetValue());
    });
    connect(m_maxPhase, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangePhase(m_maxPhaseOn->isChecked(), m_maxPhase->GetValue());
    });

    // Lists, radios and boxes.
    const auto choose = [this](QComboBox* combo, auto handler) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, handler](const QString& text) {
            if (!m_showing)
                (m_engine.get()->*handler)(text.toStdString());
        });
    };
    choose(m_waveform, &Analyzer2600Engine::SelectWaveform);
    choose(m_outputImpedance, &Analyzer2600Engine::SelectOutputImpedance);
    choose(m_inputImpedance, &Analyzer2600Engine::SelectInputImpedance);
    choose(m_option, &Analyzer2600Engine::SelectIntegrationOption);
    choose(m_inputRange, &Analyzer2600Engine::SelectInputRange);
    choose(m_servoChannel, &Analyzer2600Engine::SelectServoChannel);
    choose(m_channelRatio, &Analyzer2600Engine::SelectChannelRatio);
    connect(m_logSweep, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetLogSweep(on);
    });
    connect(m_byTime, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetIntegrationByTime(on);
    });
    connect(m_servoOn, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetServoOn(on);
    });
    connect(m_maxGainOn, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetMaxChangeGain(on, m_maxGain->GetValue());
    });
    connect(m_maxPhaseOn, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetMaxChangePhase(on, m_maxPhase->GetValue());
    });

    // Buttons.
    connect(m_runSweep, &QPushButton::clicked, e, &Analyzer2600Engine::OnButtonRunSweep);
    connect(m_takeData, &QPushButton::clicked, e, &Analyzer2600Engine::OnButtonTakeData);
    connect(m_dcButton, &QPushButton::clicked, e, &Analyzer2600Engine::OnCheckDc);
    connect(m_versionButton, &QPushButton::clicked, e, &Analyzer2600Engine::OnBnClickedVersionInfo);
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::hide);
}

void CAnalyzer2600Dlg::FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& selected)
{
    bool same = combo->count() == static_cast<int>(entries.size());
    for (int i = 0; same && i < combo->count(); ++i)
        same = combo->itemText(i).toStdString() == entries[i];
    if (!same) {
        combo->clear();
        for (const std::string& entry : entries)
            combo->addItem(Text(entry));
    }
    combo->setCurrentText(Text(selected));
}

void CAnalyzer2600Dlg::ShowFields()
{
    const analyzer::family2600::Settings& f = m_engine->Fields();
    m_showing = true;
    m_startFrequency->SetValue(f.startFrequency);
    m_stopFrequency->SetValue(f.stopFrequency);
    m_logSweep->setChecked(f.logSweep);
    m_linearSweep->setChecked(!f.logSweep);
    m_stepsPerDecade->SetValue(m_engine->ShownStepsPerDecade());
    m_frequencyStep->SetValue(m_engine->ShownFrequencyStep());
    m_stepsPerDecade->setEnabled(f.logSweep);
    m_frequencyStep->setEnabled(!f.logSweep);
    m_acVoltsOut->SetValue(f.acVoltsOut);
    m_dcVoltsOut->SetValue(f.dcVoltsOut);
    m_waveform->setCurrentText(WaveformText(f.waveform));
    m_outputImpedance->setCurrentText(OutputImpedanceText(f.outputImpedance));
    m_inputImpedance->setCurrentText(InputImpedanceText(f.inputImpedance));
    m_option->setCurrentText(IntegrationOptionText(f.option));
    m_inputRange->setCurrentText(InputRangeText(f.inputRange));
    m_byTime->setChecked(f.integrationByTime);
    m_byCycles->setChecked(!f.integrationByTime);
    m_time->SetValue(f.integrationTime);
    m_delayTime->SetValue(f.delayTime);
    m_cycles->SetValue(f.cycles);
    m_delayCycles->SetValue(f.delayCycles);
    m_time->setEnabled(f.integrationByTime);
    m_delayTime->setEnabled(f.integrationByTime);
    m_cycles->setEnabled(!f.integrationByTime);
    m_delayCycles->setEnabled(!f.integrationByTime);
    m_servoOn->setChecked(f.servoOn);
    FillCombo(m_servoChannel, m_engine->ServoChannelEntries(), m_engine->ServoChannelText());
    m_acVoltsIn->SetValue(f.servoAcVoltsIn);
    m_stepSize->SetValue(f.servoStepDb);
    m_maxAcVoltsOut->SetValue(f.maxAcVoltsOut);
    m_servoChannel->setEnabled(f.servoOn);
    m_acVoltsIn->setEnabled(f.servoOn);
    FillCombo(m_channelRatio, m_engine->ChannelRatioEntries(), m_engine->ChannelRatioText());
    m_maxGainOn->setChecked(f.maxChangeGainOn);
    m_maxGain->SetValue(f.maxChangeGain);
    m_maxGain->setEnabled(f.maxChangeGainOn);
    m_maxPhaseOn->setChecked(f.maxChangePhaseOn);
    m_maxPhase->SetValue(f.maxChangePhase);
    m_maxPhase->setEnabled(f.maxChangePhaseOn);
    m_showing = false;
}

void CAnalyzer2600Dlg::ShowControls()
{
    const Analyzer2600Engine::Controls& c = m_engine->ControlState();
    m_runSweep->setText(Text(c.runSweepText));
    m_takeData->setText(Text(c.takeDataText));
    m_takeData->setEnabled(c.takeDataEnabled);
    m_dcButton->setText(Text(c.dcText));
    m_dcButton->setEnabled(c.dcEnabled);
    m_channelReadout[2]->setEnabled(c.channel3Enabled);
    m_channelReadout[3]->setEnabled(c.channel4Enabled);
    m_option->setEnabled(c.optionListEnabled);
    m_outputImpedance->setEnabled(c.impedanceListsEnabled);
    m_inputImpedance->setEnabled(c.impedanceListsEnabled);
    m_outputImpedanceLabel->setEnabled(c.impedanceListsEnabled);
    m_inputImpedanceLabel->setEnabled(c.impedanceListsEnabled);
    m_waveform->setEnabled(c.waveformListEnabled);
    m_outputWarning->setVisible(c.outputWarningShown);
    m_inputWarning->setVisible(c.inputWarningShown);
    // The labels of a reduced voltage limit are drawn in red.
    for (QLabel* label : {m_outputImpedanceLabel, m_outputOhms, m_outputWarning})
        SetRed(label, c.outputWarningShown);
    for (QLabel* label : {m_inputImpedanceLabel, m_inputOhms, m_inputWarning})
        SetRed(label, c.inputWarningShown);
}

void CAnalyzer2600Dlg::ShowReading()
{
    const analyzer::Reading& r = m_engine->ShownReading();
    m_frequencyReadout->setText(Text(FormatEngineering(m_engine->ShownFrequency())));
    for (int i = 0; i < 4; ++i)
        m_channelReadout[i]->setText(i < m_engine->ChannelCount() ? Text(FormatEngineering(r.amplitude[i])) : QString());
    if (r.frequency > 0.0) {
        m_gainReadout->setText(Text(m_engine->GainText()));
        m_phaseReadout->setText(Text(m_engine->PhaseText()));
    }
}

void CAnalyzer2600Dlg::ShowLog()
{
    const analyzer::CommLog& log = m_engine->Log();
    m_log->setPlainText(QString::fromLatin1(log.Text().data(), static_cast<int>(log.Text().size())));
    QTextCursor cursor = m_log->textCursor();
    const int caret = QString::fromLatin1(log.Text().data(), static_cast<int>(log.CaretPosition())).size();
    cursor.setPosition(std::min(caret, m_log->document()->characterCount() - 1));
    m_log->setTextCursor(cursor);
    m_log->ensureCursorVisible();
}

void CAnalyzer2600Dlg::keyPressEvent(QKeyEvent* event)
{
    if (HandleAnalyzerDialogKey(event->key(), *m_engine, *m_log))
        return;
    if (event->key() == Qt::Key_Escape)
        hide();
    else
        QDialog::keyPressEvent(event);
}

void CAnalyzer2600Dlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_engine->OnClose();
}

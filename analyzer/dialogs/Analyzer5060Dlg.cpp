#include "analyzer/dialogs/Analyzer5060Dlg.h"

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
#include <QVBoxLayout>

#include "analyzer/dialogs/AnalyzerKeys.h"
#include "analyzer/dialogs/DialogWidgets.h"
#include "analyzer/dialogs/SpinArrows.h"
#include "data/EngineeringNotation.h"
#include "views/dialogs/EditComponent.h"

using namespace analyzer::family5060;
using dialogwidgets::Label;
using dialogwidgets::NumberEdit;
using dialogwidgets::Text;

CAnalyzer5060Dlg::CAnalyzer5060Dlg(AnalyzerHost& host, QWidget* parent)
    : QDialog(parent), m_engine(std::make_unique<Analyzer5060Engine>(host))
{
    setWindowTitle(QString::fromUtf8(m_engine->Title()));
    setModal(false);
    BuildControls();
    ConnectEngine();
}

CAnalyzer5060Dlg::~CAnalyzer5060Dlg()
{
    // Hiding the window on its way out takes the focus from a field, which would commit it to the
    // engine that is gone by then.
    for (CEditComponent* edit : findChildren<CEditComponent*>())
        disconnect(edit, nullptr, this, nullptr);
}

void CAnalyzer5060Dlg::BuildControls()
{
    m_startFrequency = NumberEdit();
    m_stopFrequency = NumberEdit();
    m_logSweep = new QRadioButton("&Log Sweep");
    m_linearSweep = new QRadioButton("Linear Sweep");
    m_stepsPerDecade = NumberEdit();
    m_frequencyStep = NumberEdit();
    m_acVoltsOut = NumberEdit();
    m_dcVoltsOut = NumberEdit();
    m_waveform = new QComboBox;
    for (const Waveform waveform : {Waveform::Sine, Waveform::Square, Waveform::Triangle})
        m_waveform->addItem(WaveformText(waveform));
    m_byTime = new QRadioButton("Time");
    m_byCycles = new QRadioButton("Cycles");
    m_automatic = new QRadioButton("Automatic");
    m_integrationTime = NumberEdit();
    m_delayTime = NumberEdit();
    m_integrationCycles = NumberEdit();
    m_delayCycles = NumberEdit();
    m_automaticChannel = new QComboBox;
    for (const char* channel : {"1", "2", "3"})
        m_automaticChannel->addItem(channel);
    m_automaticMode = new QComboBox;
    m_automaticMode->addItem(AutomaticModeText(0));
    m_automaticMode->addItem(AutomaticModeText(1));
    m_servoOn = new QCheckBox("Servo &On:");
    m_servoChannel = new QComboBox;
    m_acVoltsIn = NumberEdit();
    m_stepSize = NumberEdit();
    m_maxAcVoltsOut = NumberEdit();
    m_channelRatio = new QComboBox;
    m_maxGainOn = new QCheckBox("&Gain or Magnitude:");
    m_maxGain = NumberEdit();
    m_maxPhaseOn = new QCheckBox("P&hase:");
    m_maxPhase = NumberEdit();
    m_frequencyReadout = dialogwidgets::Readout();
    for (QLineEdit*& readout : m_channelReadout)
        readout = dialogwidgets::Readout();
    m_gainReadout = dialogwidgets::Readout();
    m_phaseReadout = dialogwidgets::Readout();
    m_runSweep = dialogwidgets::Button("");
    m_takeData = dialogwidgets::Button("");
    m_dcButton = dialogwidgets::Button("");
    m_closeButton = dialogwidgets::Button("&Close");
    m_log = dialogwidgets::LogView();

    const FieldArrows arrows = MakeFieldArrows(this, m_engine.get());
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

    auto* output = new QGroupBox("Output");
    auto* outputGrid = new QGridLayout(output);
    outputGrid->addWidget(Label("&AC Volts Out:", m_acVoltsOut), 0, 0);
    outputGrid->addWidget(WithArrows(m_acVoltsOut, arrows.acVoltsOut), 0, 1);
    outputGrid->addWidget(Label("&DC Volts Out:", m_dcVoltsOut), 1, 0);
    outputGrid->addWidget(WithArrows(m_dcVoltsOut, arrows.dcVoltsOut), 1, 1);
    outputGrid->addWidget(Label("&Waveform:", m_waveform), 2, 0);
    outputGrid->addWidget(m_waveform, 2, 1);

    auto* integration = new QGroupBox("Integration");
    auto* integrationGrid = new QGridLayout(integration);
    integrationGrid->addWidget(m_byTime, 0, 0);
    integrationGrid->addWidget(Label("&Integration Time (secs):", m_integrationTime), 0, 1);
    integrationGrid->addWidget(m_integrationTime, 0, 2);
    integrationGrid->addWidget(Label("Dela&y Time (secs):", m_delayTime), 1, 1);
    integrationGrid->addWidget(m_delayTime, 1, 2);
    integrationGrid->addWidget(m_byCycles, 2, 0);
    integrationGrid->addWidget(Label("&Integration Time (Cycls):", m_integrationCycles), 2, 1);
    integrationGrid->addWidget(m_integrationCycles, 2, 2);
    integrationGrid->addWidget(Label("Dela&y Time (cycls):", m_delayCycles), 3, 1);
    integrationGrid->addWidget(m_delayCycles, 3, 2);
    integrationGrid->addWidget(m_automatic, 4, 0);
    integrationGrid->addWidget(Label("Automatic Channel:", m_automaticChannel), 4, 1);
    integrationGrid->addWidget(m_automaticChannel, 4, 2);
    integrationGrid->addWidget(Label("Automatic Mode:", m_automaticMode), 5, 1);
    integrationGrid->addWidget(m_automaticMode, 5, 2);

    auto* servo = new QGroupBox("Servo");
    auto* servoGrid = new QGridLayout(servo);
    servoGrid->addWidget(m_servoOn, 0, 0);
    servoGrid->addWidget(Label("Cha&nnel:", m_servoChannel), 1, 0);
    servoGrid->addWidget(m_servoChannel, 1, 1);
    servoGrid->addWidget(Label("AC &Volts In:", m_acVoltsIn), 2, 0);
    servoGrid->addWidget(m_acVoltsIn, 2, 1);
    servoGrid->addWidget(Label("AC Out Step Si&ze:", m_stepSize), 3, 0);
    servoGrid->addWidget(m_stepSize, 3, 1);
    servoGrid->addWidget(Label("Ma&x AC Volts Out:", m_maxAcVoltsOut), 4, 0);
    servoGrid->addWidget(m_maxAcVoltsOut, 4, 1);

    auto* maxChange = new QGroupBox("Maximum change");
    auto* maxGrid = new QGridLayout(maxChange);
    maxGrid->addWidget(m_maxGainOn, 0, 0);
    maxGrid->addWidget(m_maxGain, 0, 1);
    maxGrid->addWidget(m_maxPhaseOn, 1, 0);
    maxGrid->addWidget(m_maxPhase, 1, 1);

    auto* readings = new QGroupBox("Reading");
    auto* readingGrid = new QGridLayout(readings);
    readingGrid->addWidget(Label("Chann&el Ratio:", m_channelRatio), 0, 0);
    readingGrid->addWidget(m_channelRatio, 0, 1);
    readingGrid->addWidget(Label("Frequency:"), 1, 0);
    readingGrid->addWidget(m_frequencyReadout, 1, 1);
    const char* const channelLabels[3] = {"CH1:", "CH2:", "CH3:"};
    for (int i = 0; i < 3; ++i) {
        readingGrid->addWidget(Label(channelLabels[i]), 2 + i, 0);
        readingGrid->addWidget(m_channelReadout[i], 2 + i, 1);
    }
    readingGrid->addWidget(Label("Gain or Magnitude:"), 5, 0);
    readingGrid->addWidget(m_gainReadout, 5, 1);
    readingGrid->addWidget(Label("Phase:"), 6, 0);
    readingGrid->addWidget(m_phaseReadout, 6, 1);

    dialogwidgets::ArrangeAnalyzerWindow(this, {sweep, output, integration, servo, maxChange, readings,
                                                {m_runSweep, m_takeData, m_dcButton}, m_closeButton, m_log});
}

void CAnalyzer5060Dlg::ConnectEngine()
{
    Analyzer5060Engine* e = m_engine.get();
    connect(e, &Analyzer5060Engine::FieldsChanged, this, &CAnalyzer5060Dlg::ShowFields);
    connect(e, &Analyzer5060Engine::ControlsChanged, this, &CAnalyzer5060Dlg::ShowControls);
    connect(e, &Analyzer5060Engine::ReadingShown, this, &CAnalyzer5060Dlg::ShowReading);
    connect(e, &Analyzer5060Engine::CommLogAppended, this,
            [this] { dialogwidgets::ShowLog(m_log, m_engine->Log()); });
    connect(e, &AnalyzerDialog::ProgressChanged, this, &CAnalyzer5060Dlg::progressChanged);
    connect(e, &Analyzer5060Engine::HideRequested, this, &QWidget::hide);

    const auto commit = [this](CEditComponent* edit, void (Analyzer5060Engine::*handler)(double)) {
        connect(edit, &CEditComponent::committed, this, [this, edit, handler] {
            if (!m_showing)
                (m_engine.get()->*handler)(edit->GetValue());
        });
    };
    commit(m_startFrequency, &Analyzer5060Engine::SetStartFrequency);
    commit(m_stopFrequency, &Analyzer5060Engine::SetStopFrequency);
    commit(m_stepsPerDecade, &Analyzer5060Engine::SetStepsPerDecade);
    commit(m_frequencyStep, &Analyzer5060Engine::SetFrequencyStep);
    commit(m_acVoltsOut, &Analyzer5060Engine::SetAcVoltsOutField);
    commit(m_dcVoltsOut, &Analyzer5060Engine::SetDcVoltsOut);
    commit(m_integrationTime, &Analyzer5060Engine::SetIntegrationTime);
    commit(m_delayTime, &Analyzer5060Engine::SetDelayTime);
    commit(m_integrationCycles, &Analyzer5060Engine::SetIntegrationCycles);
    commit(m_delayCycles, &Analyzer5060Engine::SetDelayCycles);
    commit(m_acVoltsIn, &Analyzer5060Engine::SetServoAcVoltsIn);
    commit(m_stepSize, &Analyzer5060Engine::SetServoStepDb);
    commit(m_maxAcVoltsOut, &Analyzer5060Engine::SetMaxAcVoltsOutField);
    connect(m_maxGain, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangeGain(m_maxGainOn->isChecked(), m_maxGain->GetValue());
    });
    connect(m_maxPhase, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangePhase(m_maxPhaseOn->isChecked(), m_maxPhase->GetValue());
    });

    const auto choose = [this](QComboBox* combo, void (Analyzer5060Engine::*handler)(std::string_view)) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, handler](const QString& text) {
            if (!m_showing)
                (m_engine.get()->*handler)(text.toStdString());
        });
    };
    choose(m_waveform, &Analyzer5060Engine::SelectWaveform);
    choose(m_automaticChannel, &Analyzer5060Engine::SelectAutomaticChannel);
    choose(m_automaticMode, &Analyzer5060Engine::SelectAutomaticMode);
    choose(m_servoChannel, &Analyzer5060Engine::SelectServoChannel);
    choose(m_channelRatio, &Analyzer5060Engine::SelectChannelRatio);
    const auto mode = [this](QRadioButton* radio, IntegrationMode value) {
        connect(radio, &QRadioButton::toggled, this, [this, value](bool on) {
            if (on && !m_showing)
                m_engine->SetIntegrationMode(value);
        });
    };
    mode(m_byTime, IntegrationMode::Time);
    mode(m_byCycles, IntegrationMode::Cycles);
    mode(m_automatic, IntegrationMode::Automatic);
    connect(m_logSweep, &QRadioButton::toggled, this, [this](bool on) {
        if (!m_showing)
            m_engine->SetLogSweep(on);
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
    connect(m_runSweep, &QPushButton::clicked, e, [e] { e->OnButtonRunSweep(); });
    connect(m_takeData, &QPushButton::clicked, e, [e] { e->OnButtonTakeData(); });
    connect(m_dcButton, &QPushButton::clicked, e, &Analyzer5060Engine::OnCheckDc);
    connect(m_closeButton, &QPushButton::clicked, e, &Analyzer5060Engine::OnClose);

    ShowFields();
    ShowControls();
    ShowReading();
    dialogwidgets::ShowLog(m_log, m_engine->Log());
}

void CAnalyzer5060Dlg::ShowFields()
{
    const Settings& f = m_engine->Fields();
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
    m_byTime->setChecked(f.integrationMode == IntegrationMode::Time);
    m_byCycles->setChecked(f.integrationMode == IntegrationMode::Cycles);
    m_automatic->setChecked(f.integrationMode == IntegrationMode::Automatic);
    m_integrationTime->SetValue(f.integrationTime);
    m_delayTime->SetValue(f.delayTime);
    m_integrationCycles->SetValue(f.integrationCycles);
    m_delayCycles->SetValue(f.delayCycles);
    m_automaticChannel->setCurrentIndex(f.automaticChannel);
    m_automaticMode->setCurrentIndex(f.automaticMode);
    m_servoOn->setChecked(f.servoOn);
    dialogwidgets::FillCombo(m_servoChannel, m_engine->ServoChannelEntries(), m_engine->ServoChannelText());
    m_acVoltsIn->SetValue(f.servoAcVoltsIn);
    m_stepSize->SetValue(f.servoStepDb);
    m_maxAcVoltsOut->SetValue(f.maxAcVoltsOut);
    m_servoChannel->setEnabled(f.servoOn);
    m_acVoltsIn->setEnabled(f.servoOn);
    dialogwidgets::FillCombo(m_channelRatio, m_engine->ChannelRatioEntries(), m_engine->ChannelRatioText());
    m_maxGainOn->setChecked(f.maxChangeGainOn);
    m_maxGain->SetValue(f.maxChangeGain);
    m_maxGain->setEnabled(f.maxChangeGainOn);
    m_maxPhaseOn->setChecked(f.maxChangePhaseOn);
    m_maxPhase->SetValue(f.maxChangePhase);
    m_maxPhase->setEnabled(f.maxChangePhaseOn);
    m_showing = false;
}

void CAnalyzer5060Dlg::ShowControls()
{
    const Analyzer5060Engine::Controls& c = m_engine->ControlState();
    m_runSweep->setText(Text(c.runSweepText));
    m_takeData->setText(Text(c.takeDataText));
    m_takeData->setEnabled(c.takeDataEnabled);
    m_dcButton->setText(Text(c.dcText));
    m_dcButton->setEnabled(c.dcEnabled);
    m_integrationTime->setEnabled(c.secondsFieldsEnabled);
    m_delayTime->setEnabled(c.secondsFieldsEnabled);
    m_integrationCycles->setEnabled(c.cyclesFieldsEnabled);
    m_delayCycles->setEnabled(c.cyclesFieldsEnabled);
    m_automaticChannel->setEnabled(c.automaticListsEnabled);
    m_automaticMode->setEnabled(c.automaticListsEnabled);
}

void CAnalyzer5060Dlg::ShowReading()
{
    const analyzer::Reading& r = m_engine->ShownReading();
    m_frequencyReadout->setText(Text(FormatEngineering(m_engine->ShownFrequency(), 4)));
    for (int i = 0; i < 3; ++i)
        m_channelReadout[i]->setText(Text(FormatEngineering(r.amplitude[i], 4)));
    if (r.frequency > 0.0) {
        m_gainReadout->setText(Text(m_engine->GainText()));
        m_phaseReadout->setText(Text(m_engine->PhaseText()));
    }
}

void CAnalyzer5060Dlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_engine->OnClose();
}

void CAnalyzer5060Dlg::keyPressEvent(QKeyEvent* event)
{
    if (!HandleAnalyzerDialogKey(event->key(), *m_engine, *m_log))
        QDialog::keyPressEvent(event);
}

#include "analyzer/dialogs/Analyzer1960Dlg.h"

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
#include "analyzer/engine/Analyzer1852Engine.h"
#include "data/EngineeringNotation.h"
#include "views/dialogs/EditComponent.h"

using namespace analyzer::family1960;
using dialogwidgets::Label;
using dialogwidgets::NumberEdit;
using dialogwidgets::Text;

CAnalyzer1960Dlg::CAnalyzer1960Dlg(AnalyzerHost& host, QWidget* parent)
    : CAnalyzer1960Dlg(std::make_unique<Analyzer1960Engine>(host), nullptr, parent)
{
}

CAnalyzer1960Dlg::CAnalyzer1960Dlg(std::unique_ptr<Analyzer1852Engine> engine, QWidget* parent)
    : CAnalyzer1960Dlg(std::unique_ptr<Analyzer1960Engine>(engine.get()), engine.get(), parent)
{
    engine.release();  // now owned as the base engine
}

CAnalyzer1960Dlg::CAnalyzer1960Dlg(std::unique_ptr<Analyzer1960Engine> engine, Analyzer1852Engine* series1800,
                                   QWidget* parent)
    : QDialog(parent), m_engine(std::move(engine)), m_series1800(series1800)
{
    setWindowTitle(QString::fromUtf8(m_engine->Title()));
    setModal(false);
    BuildControls();
    ConnectEngine();
}

CAnalyzer1960Dlg::~CAnalyzer1960Dlg()
{
    // Hiding the window on its way out takes the focus from a field, which would commit it to the
    // engine that is gone by then.
    for (CEditComponent* edit : findChildren<CEditComponent*>())
        disconnect(edit, nullptr, this, nullptr);
}

void CAnalyzer1960Dlg::BuildControls()
{
    m_startFrequency = NumberEdit();
    m_stopFrequency = NumberEdit();
    m_logSweep = new QRadioButton("&Log Sweep");
    m_linearSweep = new QRadioButton("Linear Sweep");
    m_stepsPerDecade = NumberEdit();
    m_frequencyStep = NumberEdit();
    m_acVoltsOut = NumberEdit();
    m_dcVoltsOut = NumberEdit();
    m_coupling = new QComboBox;
    m_byTime = new QRadioButton;
    m_byCycles = new QRadioButton;
    m_speed = new QComboBox;
    m_cycles = NumberEdit();
    m_delay = NumberEdit();
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
    m_ch1Readout = dialogwidgets::Readout();
    m_ch2Readout = dialogwidgets::Readout();
    m_gainReadout = dialogwidgets::Readout();
    m_phaseReadout = dialogwidgets::Readout();
    m_runSweep = dialogwidgets::Button("");
    m_takeData = dialogwidgets::Button("");
    m_dcButton = dialogwidgets::Button("");
    m_closeButton = dialogwidgets::Button("&Close");
    m_log = dialogwidgets::LogView();

    if (m_series1800) {
        m_coupling->addItem("AC");
        m_coupling->addItem("DC");
    } else {
        for (const Coupling coupling : {Coupling::AcHigh, Coupling::AcLow, Coupling::Dc})
            m_coupling->addItem(CouplingText(coupling));
    }
    for (const Speed speed : {Speed::Fast, Speed::Medium, Speed::Slow, Speed::VSlow})
        m_speed->addItem(SpeedText(speed));

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

    auto* output = new QGroupBox("Output and inputs");
    auto* outputGrid = new QGridLayout(output);
    outputGrid->addWidget(Label("&AC Volts Out:", m_acVoltsOut), 0, 0);
    outputGrid->addWidget(WithArrows(m_acVoltsOut, arrows.acVoltsOut), 0, 1);
    outputGrid->addWidget(Label("VAC peak"), 0, 2);
    outputGrid->addWidget(Label("&DC Volts Out:", m_dcVoltsOut), 1, 0);
    outputGrid->addWidget(WithArrows(m_dcVoltsOut, arrows.dcVoltsOut), 1, 1);
    outputGrid->addWidget(Label("VDC"), 1, 2);
    int row = 2;
    if (!m_series1800) {
        m_waveform = new QComboBox;
        for (const Waveform waveform : {Waveform::Sine, Waveform::Square, Waveform::Triangle})
            m_waveform->addItem(WaveformText(waveform));
        outputGrid->addWidget(Label("&Waveform:", m_waveform), row, 0);
        outputGrid->addWidget(m_waveform, row++, 1);
    }
    outputGrid->addWidget(Label("Input Co&upling:", m_coupling), row, 0);
    outputGrid->addWidget(m_coupling, row++, 1);
    if (m_series1800) {
        m_inputType = new QComboBox;
        m_inputType->addItem("Main");
        m_inputType->addItem("Diff");
        outputGrid->addWidget(Label("Input Type Ch. 1:", m_inputType), row, 0);
        outputGrid->addWidget(m_inputType, row, 1);
    }

    auto* integration = new QGroupBox("Integration");
    auto* integrationGrid = new QGridLayout(integration);
    integrationGrid->addWidget(m_byTime, 0, 0);
    integrationGrid->addWidget(Label("&Integration Time:", m_speed), 0, 1);
    integrationGrid->addWidget(m_speed, 0, 2);
    integrationGrid->addWidget(m_byCycles, 1, 0);
    integrationGrid->addWidget(Label("Integration &Cycles:", m_cycles), 1, 1);
    integrationGrid->addWidget(m_cycles, 1, 2);
    integrationGrid->addWidget(Label("Dela&y Time:", m_delay), 2, 1);
    integrationGrid->addWidget(m_delay, 2, 2);
    integrationGrid->addWidget(Label("Sec"), 2, 3);

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
    readingGrid->addWidget(Label("CH1:"), 2, 0);
    readingGrid->addWidget(m_ch1Readout, 2, 1);
    readingGrid->addWidget(Label("CH2:"), 3, 0);
    readingGrid->addWidget(m_ch2Readout, 3, 1);
    readingGrid->addWidget(Label("Gain or Magnitude:"), 4, 0);
    readingGrid->addWidget(m_gainReadout, 4, 1);
    readingGrid->addWidget(Label("Phase:"), 5, 0);
    readingGrid->addWidget(m_phaseReadout, 5, 1);

    dialogwidgets::ArrangeAnalyzerWindow(this, {sweep, output, integration, servo, maxChange, readings,
                                                {m_runSweep, m_takeData, m_dcButton}, m_closeButton, m_log});
}

void CAnalyzer1960Dlg::ConnectEngine()
{
    Analyzer1960Engine* e = m_engine.get();
    connect(e, &Analyzer1960Engine::FieldsChanged, this, &CAnalyzer1960Dlg::ShowFields);
    connect(e, &Analyzer1960Engine::ControlsChanged, this, &CAnalyzer1960Dlg::ShowControls);
    connect(e, &Analyzer1960Engine::ReadingShown, this, &CAnalyzer1960Dlg::ShowReading);
    connect(e, &Analyzer1960Engine::CommLogAppended, this, &CAnalyzer1960Dlg::ShowLog);
    connect(e, &AnalyzerDialog::ProgressChanged, this, &CAnalyzer1960Dlg::progressChanged);
    connect(e, &Analyzer1960Engine::HideRequested, this, &QWidget::hide);
    connect(e, &Analyzer1960Engine::DestroyRequested, this, [this] {
        emit destroyRequested();
        hide();
        deleteLater();
    });

    const auto commit = [this](CEditComponent* edit, void (Analyzer1960Engine::*handler)(double)) {
        connect(edit, &CEditComponent::committed, this, [this, edit, handler] {
            if (!m_showing)
                (m_engine.get()->*handler)(edit->GetValue());
        });
    };
    commit(m_startFrequency, &Analyzer1960Engine::SetStartFrequency);
    commit(m_stopFrequency, &Analyzer1960Engine::SetStopFrequency);
    commit(m_stepsPerDecade, &Analyzer1960Engine::SetStepsPerDecade);
    commit(m_frequencyStep, &Analyzer1960Engine::SetFrequencyStep);
    commit(m_acVoltsOut, &Analyzer1960Engine::SetAcVoltsOutField);
    commit(m_dcVoltsOut, &Analyzer1960Engine::SetDcVoltsOut);
    commit(m_cycles, &Analyzer1960Engine::SetCycles);
    commit(m_delay, &Analyzer1960Engine::SetDelay);
    commit(m_acVoltsIn, &Analyzer1960Engine::SetServoAcVoltsIn);
    commit(m_stepSize, &Analyzer1960Engine::SetServoStepDb);
    commit(m_maxAcVoltsOut, &Analyzer1960Engine::SetMaxAcVoltsOutField);
    connect(m_maxGain, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangeGain(m_maxGainOn->isChecked(), m_maxGain->GetValue());
    });
    connect(m_maxPhase, &CEditComponent::committed, this, [this] {
        if (!m_showing)
            m_engine->SetMaxChangePhase(m_maxPhaseOn->isChecked(), m_maxPhase->GetValue());
    });

    const auto choose = [this](QComboBox* combo, auto handler) {
        connect(combo, &QComboBox::currentTextChanged, this, [this, handler](const QString& text) {
            if (!m_showing)
                (m_engine.get()->*handler)(text.toStdString());
        });
    };
    if (m_waveform)
        choose(m_waveform, &Analyzer1960Engine::SelectWaveform);
    choose(m_coupling, &Analyzer1960Engine::SelectCoupling);
    if (m_inputType)
        connect(m_inputType, &QComboBox::currentTextChanged, this, [this](const QString& text) {
            if (!m_showing)
                m_series1800->SelectInputType(text.toStdString());
        });
    choose(m_speed, &Analyzer1960Engine::SelectSpeed);
    choose(m_servoChannel, &Analyzer1960Engine::SelectServoChannel);
    choose(m_channelRatio, &Analyzer1960Engine::SelectChannelRatio);
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
    connect(m_runSweep, &QPushButton::clicked, e, [e] { e->OnButtonRunSweep(); });
    connect(m_takeData, &QPushButton::clicked, e, [e] { e->OnButtonTakeData(); });
    connect(m_dcButton, &QPushButton::clicked, e, &Analyzer1960Engine::OnCheckDc);
    connect(m_closeButton, &QPushButton::clicked, e, &Analyzer1960Engine::OnClose);

    ShowFields();
    ShowControls();
    ShowReading();
    ShowLog();
}

void CAnalyzer1960Dlg::ShowFields()
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
    if (m_waveform)
        m_waveform->setCurrentText(WaveformText(f.waveform));
    m_coupling->setCurrentText(Text(m_engine->CouplingText()));
    m_byTime->setChecked(f.integrationByTime);
    m_byCycles->setChecked(!f.integrationByTime);
    m_speed->setCurrentText(SpeedText(f.speed));
    m_cycles->SetValue(f.cycles);
    m_delay->SetValue(f.delay);
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
    if (m_inputType)
        m_inputType->setCurrentText(Text(m_series1800->InputTypeText()));
    m_showing = false;
}

void CAnalyzer1960Dlg::ShowControls()
{
    const Analyzer1960Engine::Controls& c = m_engine->ControlState();
    m_runSweep->setText(Text(c.runSweepText));
    m_takeData->setText(Text(c.takeDataText));
    m_takeData->setEnabled(c.takeDataEnabled);
    m_dcButton->setText(Text(c.dcText));
    m_dcButton->setEnabled(c.dcEnabled);
    m_speed->setEnabled(c.speedListEnabled);
    m_cycles->setEnabled(c.cyclesFieldEnabled);
}

void CAnalyzer1960Dlg::ShowReading()
{
    const analyzer::Reading& r = m_engine->ShownReading();
    m_frequencyReadout->setText(Text(FormatEngineering(m_engine->ShownFrequency(), 4)));
    m_ch1Readout->setText(Text(FormatEngineering(r.amplitude[0], 4)));
    m_ch2Readout->setText(Text(FormatEngineering(r.amplitude[1], 4)));
    if (r.frequency > 0.0) {
        m_gainReadout->setText(Text(m_engine->GainText()));
        m_phaseReadout->setText(Text(m_engine->PhaseText()));
    }
}

void CAnalyzer1960Dlg::ShowLog()
{
    dialogwidgets::ShowLog(m_log, m_engine->Log());
}

void CAnalyzer1960Dlg::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_engine->OnClose();
}

void CAnalyzer1960Dlg::keyPressEvent(QKeyEvent* event)
{
    if (!HandleAnalyzerDialogKey(event->key(), *m_engine, *m_log))
        QDialog::keyPressEvent(event);
}

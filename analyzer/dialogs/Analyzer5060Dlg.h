#pragma once
// CAnalyzer5060Dlg: the modeless "880a/880b Analyzer Control Menu" of the NF 5060 and 5060A, a thin
// view over the engine it owns: three channel read-outs and the integration by time, by cycles or
// automatic. "&Close" and the title-bar close go to the engine, which stops what runs and ends the
// active display's acquisition or stores its settings; either way the dialog hides.

#include <QDialog>

#include <memory>

#include "analyzer/engine/Analyzer5060Engine.h"

class AnalyzerHost;
class CEditComponent;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class CAnalyzer5060Dlg final : public QDialog {
    Q_OBJECT
public:
    // host is not owned and must outlive the dialog.
    explicit CAnalyzer5060Dlg(AnalyzerHost& host, QWidget* parent = nullptr);
    ~CAnalyzer5060Dlg() override;

    Analyzer5060Engine& Engine() { return *m_engine; }

signals:
    void progressChanged(int percent);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ConnectEngine();
    void ShowFields();
    void ShowControls();
    void ShowReading();

    std::unique_ptr<Analyzer5060Engine> m_engine;
    bool m_showing = false;
    CEditComponent* m_startFrequency = nullptr;
    CEditComponent* m_stopFrequency = nullptr;
    QRadioButton* m_logSweep = nullptr;
    QRadioButton* m_linearSweep = nullptr;
    CEditComponent* m_stepsPerDecade = nullptr;
    CEditComponent* m_frequencyStep = nullptr;
    CEditComponent* m_acVoltsOut = nullptr;
    CEditComponent* m_dcVoltsOut = nullptr;
    QComboBox* m_waveform = nullptr;
    QRadioButton* m_byTime = nullptr;
    QRadioButton* m_byCycles = nullptr;
    QRadioButton* m_automatic = nullptr;
    CEditComponent* m_integrationTime = nullptr;
    CEditComponent* m_delayTime = nullptr;
    CEditComponent* m_integrationCycles = nullptr;
    CEditComponent* m_delayCycles = nullptr;
    QComboBox* m_automaticChannel = nullptr;
    QComboBox* m_automaticMode = nullptr;
    QCheckBox* m_servoOn = nullptr;
    QComboBox* m_servoChannel = nullptr;
    CEditComponent* m_acVoltsIn = nullptr;
    CEditComponent* m_stepSize = nullptr;
    CEditComponent* m_maxAcVoltsOut = nullptr;
    QComboBox* m_channelRatio = nullptr;
    QCheckBox* m_maxGainOn = nullptr;
    CEditComponent* m_maxGain = nullptr;
    QCheckBox* m_maxPhaseOn = nullptr;
    CEditComponent* m_maxPhase = nullptr;
    QLineEdit* m_frequencyReadout = nullptr;
    QLineEdit* m_channelReadout[3] = {};
    QLineEdit* m_gainReadout = nullptr;
    QLineEdit* m_phaseReadout = nullptr;
    QPushButton* m_runSweep = nullptr;
    QPushButton* m_takeData = nullptr;
    QPushButton* m_dcButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPlainTextEdit* m_log = nullptr;
};

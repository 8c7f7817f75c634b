#pragma once
// CAnalyzer2600Dlg: the modeless "Series 2xxx-9xxx/880c Analyzer Control Menu". A thin view over
// the 2600-series engine it owns: it shows the engine's fields, read-outs, button texts and
// communication log, and hands every edit, list choice, button and key to the engine. Progress of
// a sweep leaves through progressChanged for whoever owns the progress indicator.
//
// The application creates it, then calls Engine().InitDialogStage2 with the preference block. The
// "&Close" button hides the dialog; the title-bar close asks the engine, which ends the active
// display's acquisition (the dialog then hides) or stores its settings and lets the dialog go
// (destroyRequested, then the dialog deletes itself).

#include <QDialog>

#include <memory>

#include "analyzer/engine/Analyzer2600Engine.h"

class AnalyzerHost;
class CEditComponent;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

class CAnalyzer2600Dlg : public QDialog {
    Q_OBJECT
public:
    // host is not owned and must outlive the dialog.
    explicit CAnalyzer2600Dlg(AnalyzerHost& host, QWidget* parent = nullptr);
    ~CAnalyzer2600Dlg() override;

    Analyzer2600Engine& Engine() { return *m_engine; }

signals:
    // The percentage of the sweep done; 0 resets the indicator.
    void progressChanged(int percent);
    // The engine let the dialog go: it deletes itself next.
    void destroyRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void ConnectEngine();
    void ShowFields();
    void ShowControls();
    void ShowReading();
    void ShowLog();
    void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& selected);
    CEditComponent* AddEdit(int precision = 4);

    std::unique_ptr<Analyzer2600Engine> m_engine;
    QTimer* m_logTimer = nullptr;

    CEditComponent* m_startFrequency = nullptr;
    CEditComponent* m_stopFrequency = nullptr;
    QRadioButton* m_logSweep = nullptr;
    QRadioButton* m_linearSweep = nullptr;
    CEditComponent* m_stepsPerDecade = nullptr;
    CEditComponent* m_frequencyStep = nullptr;
    CEditComponent* m_acVoltsOut = nullptr;
    CEditComponent* m_dcVoltsOut = nullptr;
    QComboBox* m_waveform = nullptr;
    QLabel* m_outputImpedanceLabel = nullptr;
    QLabel* m_outputOhms = nullptr;
    QComboBox* m_outputImpedance = nullptr;
    QLabel* m_inputImpedanceLabel = nullptr;
    QLabel* m_inputOhms = nullptr;
    QComboBox* m_inputImpedance = nullptr;
    QLabel* m_outputWarning = nullptr;
    QLabel* m_inputWarning = nullptr;
    QComboBox* m_option = nullptr;
    QComboBox* m_inputRange = nullptr;
    QRadioButton* m_byTime = nullptr;
    QRadioButton* m_byCycles = nullptr;
    CEditComponent* m_time = nullptr;
    CEditComponent* m_delayTime = nullptr;
    CEditComponent* m_cycles = nullptr;
    CEditComponent* m_delayCycles = nullptr;
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
    QLineEdit* m_channelReadout[4] = {};
    QLineEdit* m_gainReadout = nullptr;
    QLineEdit* m_phaseReadout = nullptr;
    QPushButton* m_runSweep = nullptr;
    QPushButton* m_takeData = nullptr;
    QPushButton* m_dcButton = nullptr;
    QPushButton* m_versionButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPlainTextEdit* m_log = nullptr;
    bool m_showing = false;  // fields being filled from the engine: their signals are not edits
};

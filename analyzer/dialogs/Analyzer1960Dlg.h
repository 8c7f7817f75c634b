#pragma once
// CAnalyzer1960Dlg: the modeless "1960 Analyzer Control Menu", a thin view over the 1960 engine it
// owns: it shows the engine's fields, read-outs, button texts and log, and hands every edit, list
// choice and button to the engine. CAnalyzer1852Dlg derives from it for the 1800 series (no
// waveform list, the coupling "AC"/"DC" and the input-type list).
//
// "&Close" and the title-bar close go to the engine, which stops what runs and ends the active
// display's acquisition (the dialog then hides) or stores its settings and lets the dialog go (the
// 1960: destroyRequested, then the dialog deletes itself; the 1800 series hides).

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

#include "analyzer/engine/Analyzer1960Engine.h"

class Analyzer1852Engine;
class AnalyzerHost;
class CEditComponent;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

class CAnalyzer1960Dlg : public QDialog {
    Q_OBJECT
public:
    // host is not owned and must outlive the dialog.
    explicit CAnalyzer1960Dlg(AnalyzerHost& host, QWidget* parent = nullptr);
    ~CAnalyzer1960Dlg() override;

    Analyzer1960Engine& Engine() { return *m_engine; }

signals:
    void progressChanged(int percent);
    void destroyRequested();

protected:
    // The 1800 series: its engine, no waveform list, "AC"/"DC" coupling and the input-type list.
    CAnalyzer1960Dlg(std::unique_ptr<Analyzer1852Engine> engine, QWidget* parent);
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CAnalyzer1960Dlg(std::unique_ptr<Analyzer1960Engine> engine, Analyzer1852Engine* series1800, QWidget* parent);
    void BuildControls();
    void ConnectEngine();
    void ShowFields();
    void ShowControls();
    void ShowReading();
    void ShowLog();

    std::unique_ptr<Analyzer1960Engine> m_engine;
    Analyzer1852Engine* m_series1800 = nullptr;  // the same engine, for the 1800 series
    bool m_showing = false;  // fields being filled from the engine: their signals are not edits
    QComboBox* m_inputType = nullptr;
    CEditComponent* m_startFrequency = nullptr;
    CEditComponent* m_stopFrequency = nullptr;
    QRadioButton* m_logSweep = nullptr;
    QRadioButton* m_linearSweep = nullptr;
    CEditComponent* m_stepsPerDecade = nullptr;
    CEditComponent* m_frequencyStep = nullptr;
    CEditComponent* m_acVoltsOut = nullptr;
    CEditComponent* m_dcVoltsOut = nullptr;
    QComboBox* m_waveform = nullptr;
    QComboBox* m_coupling = nullptr;
    QRadioButton* m_byTime = nullptr;
    QRadioButton* m_byCycles = nullptr;
    QComboBox* m_speed = nullptr;
    CEditComponent* m_cycles = nullptr;
    CEditComponent* m_delay = nullptr;
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
    QLineEdit* m_ch1Readout = nullptr;
    QLineEdit* m_ch2Readout = nullptr;
    QLineEdit* m_gainReadout = nullptr;
    QLineEdit* m_phaseReadout = nullptr;
    QPushButton* m_runSweep = nullptr;
    QPushButton* m_takeData = nullptr;
    QPushButton* m_dcButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QPlainTextEdit* m_log = nullptr;
};

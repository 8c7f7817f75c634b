#pragma once
// "Settings": the analyzer type (shown only), the instrument interface, the GPIB address or, for
// USB, the analyzer's serial number and model, the RLC reference resistor and the plot kind File
// New creates. Every accepted change takes effect at once in the application values; the
// reference resistor and the default-plot values are written to "RLC Settings" when the dialog
// closes. There is no OK or Cancel: the window's close box ends it.
#include <QDialog>

#include <functional>
#include <string>

class AnalyzerControl;
class ApplicationValues;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class SettingsStore;

class CSettingsDlg : public QDialog {
public:
    struct Context {
        ApplicationValues& values;
        SettingsStore& store;
        // The analyzer control dialog of the current family, if it exists.
        std::function<AnalyzerControl*()> familyDialog;
        // The main window's message pane (validation messages).
        std::function<void(const std::string&)> statusMessage;
    };

    explicit CSettingsDlg(Context context, QWidget* parent = nullptr);

    // The model designations of the model list and their codes ("1370" only for id 11).
    static int ModelCodeOfIndex(int index);

    QComboBox* AnalyzerList() const { return m_analyzer; }
    QComboBox* InterfaceList() const { return m_interface; }
    QComboBox* ModelList() const { return m_model; }
    QComboBox* DefaultPlotList() const { return m_defaultPlot; }
    QLineEdit* GpibAddressEdit() const { return m_gpibAddress; }
    QLineEdit* SerialEdit() const { return m_serial; }
    QLineEdit* ResistorEdit() const { return m_resistor; }
    QCheckBox* AutomaticCheck() const { return m_automatic; }
    QPushButton* FindAddressButton() const { return m_findAddress; }
    QLabel* GpibAddressLabel() const { return m_gpibLabel; }
    QLabel* GpibNoteLabel() const { return m_gpibNote; }
    QLabel* SerialLabel() const { return m_serialLabel; }
    QLabel* ModelLabel() const { return m_modelLabel; }

    // Field validation as on leaving the field or pressing Enter in it.
    void ValidateField(QLineEdit* edit);
    void OnFindAddress();

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillModelList();
    void OnInterfaceChosen(int index);
    void OnModelChosen(int index);
    void OnDefaultPlotChosen(int index);
    void SetGpibControlsEnabled(bool enabled);
    void SetUsbControlsEnabled(bool enabled);
    void Reject(QLineEdit* edit, const char* message, const QString& shown);
    bool UsesUsbModels() const;

    Context m_context;
    int m_type;
    bool m_written = false;
    QComboBox* m_analyzer;
    QComboBox* m_interface;
    QLabel* m_gpibLabel;
    QLineEdit* m_gpibAddress;
    QLabel* m_gpibNote;
    QPushButton* m_findAddress;
    QLabel* m_serialLabel;
    QLineEdit* m_serial;
    QLabel* m_modelLabel;
    QComboBox* m_model;
    QLineEdit* m_resistor;
    QComboBox* m_defaultPlot;
    QCheckBox* m_automatic;
};

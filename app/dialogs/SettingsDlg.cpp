#include "app/dialogs/SettingsDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/application/AnalyzerControl.h"
#include "app/core/ApplicationValues.h"
#include "app/core/SettingsNames.h"
#include "app/settings/SettingsStore.h"
#include "data/CLocaleNumbers.h"
#include "data/Prompter.h"
#include "instrument/gpib/BusSearch.h"

namespace names = settings_names;

namespace {

struct ModelEntry {
    const char* designation;
    int code;
};

constexpr ModelEntry kModels[] = {
    {"880c", 0x880C}, {"2162", 0x2162}, {"2174", 0x2174}, {"2186", 0x2186}, {"3231", 0x3231},
    {"3243", 0x3243}, {"3255", 0x3255}, {"5512", 0x5512}, {"5526", 0x5526}, {"5538", 0x5538},
    {"9417", 0x9417}, {"9429", 0x9429}, {"9441", 0x9441}, {"1370", 0x1370},
};
constexpr int kCommonModelCount = 13;  // "1370" follows for id 11 only
constexpr int kDefaultModelIndex = 4;  // "3231"
constexpr int k1370ModelIndex = 13;

const char* AnalyzerName(int id)
{
    switch (id) {
    case 0:
        return "880";
    case 6:
        return "1960";
    case 7:
        return "1842";
    case 8:
        return "1852";
    case 9:
        return "1862";
    case kAnalyzer2600:
        return "2xxx-9xxx,880c";
    case kAnalyzer1370:
        return "1370";
    default:
        return "";
    }
}

// The leading integer of a field's text; text that is no number reads as 0, and a number out
// of the int range as INT_MIN so that every range test rejects it.
long long FieldInteger(const QString& text)
{
    const std::string s = text.toStdString();
    errno = 0;
    const long long value = std::strtoll(s.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX)
        return INT_MIN;
    return value;
}

double FieldNumber(const QString& text)
{
    const std::string s = text.toStdString();
    const double value = StrtodC(s.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

}  // namespace

CSettingsDlg::CSettingsDlg(Context context, QWidget* parent)
    : QDialog(parent),
      m_context(std::move(context)),
      m_type(m_context.values.analyzerType),
      m_analyzer(new QComboBox(this)),
      m_interface(new QComboBox(this)),
      m_gpibLabel(new QLabel(QStringLiteral("GPIB address:"), this)),
      m_gpibAddress(new QLineEdit(this)),
      m_gpibNote(new QLabel(QStringLiteral("(8)"), this)),
      m_findAddress(new QPushButton(QStringLiteral("Find Address"), this)),
      m_serialLabel(new QLabel(QStringLiteral("FRA Serial Number:"), this)),
      m_serial(new QLineEdit(this)),
      m_modelLabel(new QLabel(QStringLiteral("FRA Model Number:"), this)),
      m_model(new QComboBox(this)),
      m_resistor(new QLineEdit(this)),
      m_defaultPlot(new QComboBox(this)),
      m_automatic(new QCheckBox(QStringLiteral("Automatically use the default type"), this))
{
    setWindowTitle(QStringLiteral("Settings"));
    m_findAddress->setAutoDefault(false);

    auto* hardware = new QGroupBox(QStringLiteral("Hardware"), this);
    auto* hardwareForm = new QFormLayout;
    hardwareForm->addRow(new QLabel(QStringLiteral("Analyzer:"), this), m_analyzer);
    hardwareForm->addRow(new QLabel(QStringLiteral("Interface Name:"), this), m_interface);
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(m_gpibAddress);
    addressRow->addWidget(m_gpibNote);
    addressRow->addWidget(m_findAddress);
    hardwareForm->addRow(m_gpibLabel, addressRow);
    auto* usb = new QGroupBox(QStringLiteral("USB Interface Only"), hardware);
    auto* usbForm = new QFormLayout(usb);
    usbForm->addRow(m_serialLabel, m_serial);
    usbForm->addRow(m_modelLabel, m_model);
    auto* hardwareLayout = new QVBoxLayout(hardware);
    hardwareLayout->addLayout(hardwareForm);
    hardwareLayout->addWidget(usb);

    auto* resistorRow = new QHBoxLayout;
    resistorRow->addWidget(new QLabel(QStringLiteral("Reference resistor:"), this));
    resistorRow->addWidget(m_resistor);
    resistorRow->addWidget(new QLabel(QStringLiteral("Ohm"), this));

    auto* plot = new QGroupBox(QStringLiteral("Default Plot"), this);
    auto* plotForm = new QFormLayout(plot);
    plotForm->addRow(new QLabel(QStringLiteral("Default plot type:"), this), m_defaultPlot);
    plotForm->addRow(m_automatic);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hardware);
    layout->addLayout(resistorRow);
    layout->addWidget(plot);

    ApplicationValues& values = m_context.values;
    const bool usbType = UsesUsbModels();

    // 1. The model list.
    FillModelList();

    // 2. Which controls the type has.
    if (m_type == 0) {
        m_findAddress->setEnabled(false);
        m_findAddress->hide();
    }
    usb->setVisible(usbType);
    if (usbType && values.interfaceIndex == kUsbInterfaceIndex) {
        m_serialLabel->setEnabled(true);
        m_serial->setEnabled(true);
        m_modelLabel->setEnabled(m_type != kAnalyzer1370);
        m_model->setEnabled(m_type != kAnalyzer1370);
    }

    // 3. The analyzer list, always disabled.
    for (const char* name : {"880", "1960", "1842", "1852", "1862", "2xxx-9xxx,880c"})
        m_analyzer->addItem(QString::fromUtf8(name));
    if (m_type == kAnalyzer1370)
        m_analyzer->addItem(QStringLiteral("1370"));
    m_analyzer->setEnabled(false);
    const int typeIndex = m_analyzer->findText(QString::fromUtf8(AnalyzerName(m_type)));
    m_analyzer->setCurrentIndex(typeIndex);
    if (typeIndex < 0)
        prompter().Message("Error reading the analyzer type", "Error", PromptButtons::Ok,
                           PromptIcon::Error);

    // 4. The reference resistor; stored text that is no positive number gives way to the default.
    QString resistorText = QString::fromStdString(
        m_context.store.GetString(names::kRlcSettings, names::kReferenceResistor, "100.0"));
    double resistor = FieldNumber(resistorText);
    if (!(resistor > 0.0)) {
        resistorText = QStringLiteral("100.0");
        resistor = 100.0;
    }
    m_resistor->setText(resistorText);
    values.referenceResistor = resistor;

    // 5. The default plot.
    m_defaultPlot->addItem(QStringLiteral("Impedance plot"));
    m_defaultPlot->addItem(QStringLiteral("Nyquist plot"));
    const int storedPlot = m_context.store.GetInt(names::kRlcSettings, names::kDefaultPlotType, 1);
    m_defaultPlot->setCurrentIndex(storedPlot == 1 ? 0 : storedPlot == 3 ? 1 : -1);
    m_automatic->setChecked(
        m_context.store.GetInt(names::kRlcSettings, names::kAutomaticDefaultType, 1) != 0);

    // 6. The interface list.
    for (const char* name : {"GPIB0", "GPIB1", "GPIB2", "GPIB3"})
        m_interface->addItem(QString::fromUtf8(name));
    if (usbType)
        m_interface->addItem(QStringLiteral("USB"));
    else if (values.interfaceIndex > 3)
        values.interfaceIndex = 0;
    m_interface->setCurrentIndex(values.interfaceIndex);

    // 7. USB or GPIB controls.
    if (values.interfaceIndex == kUsbInterfaceIndex) {
        SetGpibControlsEnabled(false);
    } else {
        SetUsbControlsEnabled(false);
    }

    // 8. The numbers.
    m_gpibAddress->setText(QString::number(values.gpibAddressApplication));
    m_serial->setText(QString::number(values.serialNumber));

    // 9. The model.
    int modelIndex = kDefaultModelIndex;
    for (int i = 0; i < m_model->count(); ++i)
        if (kModels[i].code == values.modelCode)
            modelIndex = i;
    m_model->setCurrentIndex(modelIndex);
    if (modelIndex == k1370ModelIndex)
        m_model->setEnabled(false);

    connect(m_interface, &QComboBox::activated, this, &CSettingsDlg::OnInterfaceChosen);
    connect(m_model, &QComboBox::activated, this, &CSettingsDlg::OnModelChosen);
    connect(m_defaultPlot, &QComboBox::activated, this, &CSettingsDlg::OnDefaultPlotChosen);
    connect(m_automatic, &QCheckBox::toggled, this,
            [this](bool checked) { m_context.values.automaticDefaultType = checked; });
    connect(m_findAddress, &QPushButton::clicked, this, &CSettingsDlg::OnFindAddress);
    for (QLineEdit* edit : {m_gpibAddress, m_serial, m_resistor})
        edit->installEventFilter(this);
}

int CSettingsDlg::ModelCodeOfIndex(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kModels)) ? kModels[index].code : 0;
}

bool CSettingsDlg::UsesUsbModels() const
{
    return m_type == kAnalyzer2600 || m_type == kAnalyzer1370;
}

void CSettingsDlg::FillModelList()
{
    m_model->clear();
    const int count = m_type == kAnalyzer1370 ? kCommonModelCount + 1 : kCommonModelCount;
    for (int i = 0; i < count; ++i)
        m_model->addItem(QString::fromUtf8(kModels[i].designation));
}

void CSettingsDlg::SetGpibControlsEnabled(bool enabled)
{
    m_gpibAddress->setEnabled(enabled);
    m_findAddress->setEnabled(enabled && m_type != 0);
    m_gpibLabel->setEnabled(enabled);
    m_gpibNote->setEnabled(enabled);
}

void CSettingsDlg::SetUsbControlsEnabled(bool enabled)
{
    m_serialLabel->setEnabled(enabled);
    m_serial->setEnabled(enabled);
    const bool model = enabled && m_type != kAnalyzer1370;
    m_modelLabel->setEnabled(model);
    m_model->setEnabled(model);
}

void CSettingsDlg::OnInterfaceChosen(int index)
{
    m_context.values.interfaceIndex = index;
    m_gpibLabel->setEnabled(true);
    m_gpibNote->setEnabled(true);
    SetUsbControlsEnabled(false);
    const QString text = m_interface->itemText(index);
    if (text == QLatin1String("GPIB0") || text == QLatin1String("GPIB1") ||
        text == QLatin1String("GPIB2") || text == QLatin1String("GPIB3")) {
        SetGpibControlsEnabled(true);
    } else if (text == QLatin1String("USB")) {
        SetGpibControlsEnabled(false);
        SetUsbControlsEnabled(true);
    } else {
        prompter().Message("Error parsing Interface Name", "Analyzer Menu", PromptButtons::Ok,
                           PromptIcon::Warning);
    }
}

void CSettingsDlg::OnModelChosen(int index)
{
    if (m_type == kAnalyzer1370) {
        m_context.values.modelCode = 0x1370;
        m_model->setCurrentIndex(k1370ModelIndex);
        m_model->setEnabled(false);
        return;
    }
    m_context.values.modelCode = ModelCodeOfIndex(index);
}

void CSettingsDlg::OnDefaultPlotChosen(int index)
{
    if (index == 0)
        m_context.values.defaultPlotType = 1;
    else if (index == 1)
        m_context.values.defaultPlotType = 3;
}

void CSettingsDlg::Reject(QLineEdit* edit, const char* message, const QString& shown)
{
    if (m_context.statusMessage)
        m_context.statusMessage(message);
    QApplication::beep();
    edit->setText(shown);
}

void CSettingsDlg::ValidateField(QLineEdit* edit)
{
    ApplicationValues& values = m_context.values;
    if (edit == m_gpibAddress) {
        const long long address = FieldInteger(edit->text());
        const GpibAddressRange addresses = GpibAddressesOf(m_type);
        if (address >= addresses.minimum && address <= addresses.maximum)
            values.gpibAddressApplication = static_cast<int>(address);
        else
            Reject(edit, "Invalid GPIB address value", QString::number(values.gpibAddressApplication));
    } else if (edit == m_serial) {
        const long long serial = FieldInteger(edit->text());
        if (UsesUsbModels() && serial >= 100000 && serial <= 999999)
            values.serialNumber = static_cast<int>(serial);
        else
            Reject(edit, "Invalid Serial Number", QString::number(values.serialNumber));
    } else if (edit == m_resistor) {
        const double resistor = FieldNumber(edit->text());
        if (resistor > 0.0)
            values.referenceResistor = resistor;
        else
            Reject(edit, "Invalid reference resistor value",
                   QString::fromStdString(FormatC("%.1f", values.referenceResistor)));
    }
}

bool CSettingsDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit && event->type() == QEvent::FocusOut) {
        ValidateField(edit);
    } else if (edit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ValidateField(edit);
            return true;  // Enter never closes the dialog
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSettingsDlg::OnFindAddress()
{
    if (m_type < 6 || m_type > 11) {
        prompter().Message("Invalid Analyzer Type (internal id: " + std::to_string(m_type) +
                               ") for the Find Address button",
                           "TalvernRLC", PromptButtons::Ok, PromptIcon::None);
        return;
    }
    AnalyzerControl* dialog = m_context.familyDialog ? m_context.familyDialog() : nullptr;
    if (dialog && (dialog->IsSweeping() || dialog->IsBusy()))
        return;
    m_findAddress->setText(QStringLiteral("Looking..."));
    m_findAddress->repaint();
    const gpib::BusSearchOutcome outcome =
        gpib::FindAnalyzerAddress(m_type, m_context.values.interfaceIndex);
    if (outcome.result == gpib::BusSearchOutcome::Result::Found) {
        m_gpibAddress->setText(QString::number(outcome.address));
        m_context.values.gpibAddressAnalyzer = outcome.address;
        if (dialog)
            dialog->OnAnalyzerAddressChanged();
    } else if (!outcome.message.empty()) {
        prompter().Message(outcome.message, "TalvernRLC", PromptButtons::Ok, PromptIcon::None);
    }
    m_findAddress->setText(QStringLiteral("Find Address"));
}

void CSettingsDlg::done(int result)
{
    if (!m_written) {
        m_written = true;
        if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()))
            ValidateField(edit);
        SettingsStore& store = m_context.store;
        store.WriteString(names::kRlcSettings, names::kReferenceResistor, m_resistor->text().toStdString());
        if (m_defaultPlot->currentIndex() >= 0)
            store.WriteInt(names::kRlcSettings, names::kDefaultPlotType,
                           m_defaultPlot->currentIndex() == 0 ? 1 : 3);
        store.WriteInt(names::kRlcSettings, names::kAutomaticDefaultType, m_automatic->isChecked() ? 1 : 0);
    }
    QDialog::done(result);
}

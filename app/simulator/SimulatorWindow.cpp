#include "app/simulator/SimulatorWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWindow>

#include "app/simulator/SimulatorConnection.h"
#include "rlc/model/CircuitKind.h"

namespace {

constexpr int kValueLength = 24;

QLineEdit* ValueField(QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setMaxLength(kValueLength);
    field->setPlaceholderText(QStringLiteral("e.g. 4.7k, 1m, 100n"));
    return field;
}

}  // namespace

SimulatorWindow::SimulatorWindow(const SimulatorConnection& simulator, QWidget* parent)
    : QWidget(parent, Qt::Window), m_simulator(simulator)
{
    setWindowTitle(QStringLiteral("Simulated Instrument"));
    auto* layout = new QVBoxLayout(this);

    auto* fixtureBox = new QGroupBox(QStringLiteral("In the fixture"), this);
    auto* fixtureLayout = new QVBoxLayout(fixtureBox);
    m_content = new QButtonGroup(this);
    const char* contents[] = {"&Open circuit", "&Short circuit", "&Component"};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(contents[i]), fixtureBox);
        m_content->addButton(button, i);
        fixtureLayout->addWidget(button);
    }
    auto* values = new QFormLayout;
    m_kind = new QComboBox(fixtureBox);
    for (int kind = 0; kind < kCircuitKindCount; ++kind)
        m_kind->addItem(QString::fromStdString(CircuitKindText(kind)));
    m_r = ValueField(fixtureBox);
    m_second = ValueField(fixtureBox);
    m_c = ValueField(fixtureBox);
    m_secondLabel = new QLabel(fixtureBox);
    values->addRow(QStringLiteral("Circuit:"), m_kind);
    values->addRow(QStringLiteral("R (Ohm):"), m_r);
    values->addRow(m_secondLabel, m_second);
    values->addRow(QStringLiteral("C (F):"), m_c);
    fixtureLayout->addLayout(values);
    layout->addWidget(fixtureBox);

    auto* behaviour = new QGroupBox(QStringLiteral("Instrument"), this);
    auto* behaviourLayout = new QFormLayout(behaviour);
    m_noise = new QDoubleSpinBox(behaviour);
    m_noise->setRange(0.0, 0.5);
    m_noise->setDecimals(4);
    m_noise->setSingleStep(0.001);
    behaviourLayout->addRow(QStringLiteral("Noise (relative):"), m_noise);
    auto* faults = new QVBoxLayout;
    for (const std::string& name : SimulatorFaultNames()) {
        auto* check = new QCheckBox(QString::fromStdString(name), behaviour);
        m_faults.push_back(check);
        faults->addWidget(check);
    }
    behaviourLayout->addRow(QStringLiteral("Faults:"), faults);
    layout->addWidget(behaviour);

    auto* buttons = new QHBoxLayout;
    auto* apply = new QPushButton(QStringLiteral("&Apply"), this);
    apply->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(apply);
    layout->addLayout(buttons);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    connect(apply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(m_content, &QButtonGroup::idClicked, this, [this] { UpdateValueFields(); });
    connect(m_kind, &QComboBox::currentIndexChanged, this, [this] { UpdateValueFields(); });
    // A modal prompt would block this window; it follows the modal window instead (below).
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { FollowModalWindow(); });

    SetFixture(SimulatedFixture{});
    m_status->setText(QStringLiteral("Choose what the simulated analyzer measures, then Apply."));
}

SimulatedFixture SimulatorWindow::Fixture() const
{
    SimulatedFixture fixture;
    fixture.content = static_cast<SimulatedFixture::Content>(std::max(0, m_content->checkedId()));
    fixture.kind = m_kind->currentIndex();
    fixture.r = m_r->text().trimmed().toStdString();
    fixture.second = m_second->text().trimmed().toStdString();
    fixture.c = m_c->text().trimmed().toStdString();
    fixture.noise = m_noise->value();
    for (size_t i = 0; i < m_faults.size(); ++i)
        if (m_faults[i]->isChecked())
            fixture.faults.push_back(SimulatorFaultNames()[i]);
    return fixture;
}

void SimulatorWindow::SetFixture(const SimulatedFixture& fixture)
{
    m_content->button(static_cast<int>(fixture.content))->setChecked(true);
    m_kind->setCurrentIndex(IsCircuitKind(fixture.kind) ? fixture.kind : 0);
    m_r->setText(QString::fromStdString(fixture.r));
    m_second->setText(QString::fromStdString(fixture.second));
    m_c->setText(QString::fromStdString(fixture.c));
    m_noise->setValue(fixture.noise);
    for (size_t i = 0; i < m_faults.size(); ++i)
        m_faults[i]->setChecked(std::find(fixture.faults.begin(), fixture.faults.end(), SimulatorFaultNames()[i]) !=
                                fixture.faults.end());
    UpdateValueFields();
}

bool SimulatorWindow::Apply()
{
    const std::optional<std::string> text = SimulatorConfigText(Fixture());
    if (!text) {
        m_status->setText(QStringLiteral("A value is no number (digits with an SI prefix such as 4.7k)."));
        QApplication::beep();
        return false;
    }
    const int rejected = m_simulator.Configure(*text);
    if (rejected != 0) {
        m_status->setText(rejected < 0 ? QStringLiteral("The simulator library is not loaded.")
                                       : QStringLiteral("Not taken (item %1 of \"%2\"); the previous choice stays.")
                                             .arg(rejected)
                                             .arg(QString::fromStdString(*text)));
        QApplication::beep();
        return false;
    }
    // Blanks after the separators let the long text wrap.
    m_status->setText(QStringLiteral("Taken: the next sweep measures it.\n") +
                      QString::fromStdString(*text).replace(QLatin1Char(';'), QStringLiteral("; ")));
    return true;
}

bool SimulatorWindow::event(QEvent* event)
{
    // Follows a modal window that was shown while this one had no focus.
    if (event->type() == QEvent::WindowBlocked)
        FollowModalWindow();
    return QWidget::event(event);
}

void SimulatorWindow::UpdateValueFields()
{
    const bool component = m_content->checkedId() == static_cast<int>(SimulatedFixture::Content::Component);
    const int kind = m_kind->currentIndex();
    const UsedValues used = ValuesUsedBy(kind);
    m_kind->setEnabled(component);
    m_r->setEnabled(component && used.r);
    m_second->setEnabled(component && used.second);
    m_c->setEnabled(component && used.c);
    m_secondLabel->setText(QString::fromStdString(SecondValueLabel(kind)).chopped(1) + QStringLiteral(" (") +
                           QString::fromStdString(SecondValueUnit(kind)) + QStringLiteral("):"));
}

void SimulatorWindow::FollowModalWindow()
{
    // A window that is a transient child of the modal window is not blocked by it.
    QWindow* own = windowHandle();
    if (!own)
        return;
    QWindow* modal = QGuiApplication::modalWindow();
    if (modal == own)
        return;
    if (own->transientParent() == modal)
        return;
    own->setTransientParent(modal);
    // Qt decides whether a window is blocked when it is shown: show it again, where it was.
    if (isVisible()) {
        const QPoint place = pos();
        hide();
        show();
        move(place);
    }
}

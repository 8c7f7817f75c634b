#include "analyzer/dialogs/DialogWidgets.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <algorithm>

#include "views/dialogs/EditComponent.h"

namespace dialogwidgets {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QLabel* Label(const char* text, QWidget* buddy)
{
    auto* label = new QLabel(QString::fromUtf8(text));
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

CEditComponent* NumberEdit()
{
    auto* edit = new CEditComponent;
    edit->SetValue(0.0, 4);
    edit->setMinimumWidth(80);
    return edit;
}

QLineEdit* Readout()
{
    auto* readout = new QLineEdit;
    readout->setReadOnly(true);
    readout->setFocusPolicy(Qt::NoFocus);
    return readout;
}

QPushButton* Button(const char* text)
{
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit* LogView()
{
    auto* log = new QPlainTextEdit;
    log->setReadOnly(true);
    log->setMinimumHeight(120);
    return log;
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& entries, const std::string& selected)
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

void ShowLog(QPlainTextEdit* view, const analyzer::CommLog& log)
{
    view->setPlainText(QString::fromLatin1(log.Text().data(), static_cast<int>(log.Text().size())));
    QTextCursor cursor = view->textCursor();
    const int caret = QString::fromLatin1(log.Text().data(), static_cast<int>(log.CaretPosition())).size();
    cursor.setPosition(std::min(caret, view->document()->characterCount() - 1));
    view->setTextCursor(cursor);
    view->ensureCursorVisible();
}

void ArrangeAnalyzerWindow(QWidget* dialog, const AnalyzerWindowParts& parts)
{
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : parts.buttons)
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(parts.close);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(parts.sweep);
    left->addWidget(parts.output);
    auto* middle = new QVBoxLayout;
    middle->addWidget(parts.integration);
    middle->addWidget(parts.servo);
    middle->addWidget(parts.maxChange);
    auto* right = new QVBoxLayout;
    right->addWidget(parts.readings);
    right->addStretch();
    columns->addLayout(left);
    columns->addLayout(middle);
    columns->addLayout(right);

    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(columns);
    layout->addLayout(buttons);
    layout->addWidget(Label("Comm&unication with Analyzer:", parts.log));
    layout->addWidget(parts.log);
}

} // namespace dialogwidgets

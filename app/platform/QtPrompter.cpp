#include "app/platform/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/dialogs/MessageBox3Buttons.h"
#include "app/dialogs/TextInputDialog.h"

namespace {

QString Shown(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

QMessageBox::Icon BoxIcon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::Warning:
        return QMessageBox::Warning;
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

// What closing the box with Escape or its close box means for each button set.
PromptResult EscapeResult(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::Ok:
        return PromptResult::Ok;
    case PromptButtons::YesNo:
        return PromptResult::No;
    default:
        return PromptResult::Cancel;
    }
}

// Windows that close by themselves (the start-up splash after its time, popups and tool tips)
// would take an owned prompt with them.
bool ClosesByItself(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return type == Qt::SplashScreen || type == Qt::Popup || type == Qt::ToolTip;
}

}  // namespace

QWidget* PromptOwner()
{
    QWidget* owner = QApplication::activeModalWidget();
    if (!owner)
        owner = QApplication::activeWindow();
    while (owner && ClosesByItself(owner))
        owner = owner->parentWidget() ? owner->parentWidget()->window() : nullptr;
    return owner;
}

PromptResult QtPrompter::Message(const std::string& text, const std::string& caption,
                                 PromptButtons buttons, PromptIcon icon)
{
    QMessageBox box(BoxIcon(icon), QString::fromStdString(caption), Shown(text), BoxButtons(buttons),
                    PromptOwner());
    switch (box.exec()) {
    case QMessageBox::Ok:
        return PromptResult::Ok;
    case QMessageBox::Yes:
        return PromptResult::Yes;
    case QMessageBox::No:
        return PromptResult::No;
    case QMessageBox::Retry:
        return PromptResult::Retry;
    case QMessageBox::Cancel:
        return PromptResult::Cancel;
    default:
        return EscapeResult(buttons);
    }
}

int QtPrompter::ThreeButtons(const std::string& text, const std::string& caption,
                             const std::string& button1, const std::string& button2,
                             const std::string& button3)
{
    MessageBox3Buttons box(text, caption, MessageBox3Buttons::kIconQuestion, 1, button1, button2,
                           button3, PromptOwner());
    return box.Run();
}

std::optional<std::string> QtPrompter::TextInput(const std::string& prompt, const std::string& initial)
{
    TextInputDialog dialog(prompt, PromptOwner());
    dialog.SetText(initial);
    if (!dialog.Run())
        return std::nullopt;
    return dialog.Text();
}

std::optional<std::string> QtPrompter::OpenFileName(const FileRequest& request)
{
    const QString name = QFileDialog::getOpenFileName(
        PromptOwner(), QString::fromStdString(request.caption), QString::fromStdString(request.defaultName),
        QString::fromStdString(QtFileFilter(request.filter)));
    if (name.isEmpty())
        return std::nullopt;
    return name.toStdString();
}

std::optional<std::string> QtPrompter::SaveFileName(const FileRequest& request)
{
    QFileDialog dialog(PromptOwner(), QString::fromStdString(request.caption),
                       QString::fromStdString(request.defaultName),
                       QString::fromStdString(QtFileFilter(request.filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

std::string QtFileFilter(const std::string& filter)
{
    // Pairs of "name|pattern"; the list ends with an empty name.
    std::string result;
    size_t pos = 0;
    while (pos < filter.size()) {
        const size_t bar = filter.find('|', pos);
        if (bar == std::string::npos || bar == pos)
            break;
        const std::string name = filter.substr(pos, bar - pos);
        const size_t end = filter.find('|', bar + 1);
        pos = end == std::string::npos ? filter.size() : end + 1;
        if (!result.empty())
            result += ";;";
        result += name;
    }
    return result;
}

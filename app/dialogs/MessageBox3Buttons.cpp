#include "app/dialogs/MessageBox3Buttons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QString Shown(const std::string& text)
{
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

MessageBox3Buttons::MessageBox3Buttons(const std::string& message, const std::string& caption,
                                       int iconKind, int defaultButton, const std::string& text1,
                                       const std::string& text2, const std::string& text3,
                                       QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(QString::fromStdString(caption));
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    QStyle::StandardPixmap pixmap = QStyle::SP_CustomBase;
    switch (iconKind) {
    case kIconStop:
        pixmap = QStyle::SP_MessageBoxCritical;
        break;
    case kIconQuestion:
        pixmap = QStyle::SP_MessageBoxQuestion;
        break;
    case kIconExclamation:
        pixmap = QStyle::SP_MessageBoxWarning;
        break;
    case kIconInformation:
        pixmap = QStyle::SP_MessageBoxInformation;
        break;
    default:
        break;
    }
    if (pixmap != QStyle::SP_CustomBase)
        icon->setPixmap(style()->standardIcon(pixmap).pixmap(32, 32));
    else
        icon->hide();
    top->addWidget(icon, 0, Qt::AlignTop);
    auto* text = new QLabel(Shown(message), this);
    text->setObjectName(QStringLiteral("message"));
    text->setWordWrap(true);
    top->addWidget(text, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    const std::string* texts[3] = {&text1, &text2, &text3};
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QPushButton(QString::fromStdString(*texts[i]), this);
        m_buttons[i]->setAutoDefault(false);
        connect(m_buttons[i], &QPushButton::clicked, this, [this, i] { done(i + 1); });
        buttons->addWidget(m_buttons[i]);
    }
    m_buttons[defaultButton >= 1 && defaultButton <= 3 ? defaultButton - 1 : 0]->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

int MessageBox3Buttons::Run()
{
    return exec();
}

QPushButton* MessageBox3Buttons::Button(int number) const
{
    return number >= 1 && number <= 3 ? m_buttons[number - 1] : nullptr;
}

void MessageBox3Buttons::reject()
{
    done(2);
}

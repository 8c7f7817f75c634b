#include "app/dialogs/TextInputDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextInputDialog::TextInputDialog(const std::string& prompt, QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this))
{
    setWindowTitle(QString());
    auto* label = new QLabel(QString::fromStdString(prompt).replace(QStringLiteral("\r\n"),
                                                                     QStringLiteral("\n")),
                             this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TextInputDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    m_edit->setFocus();
}

bool TextInputDialog::Run()
{
    m_edit->setText(QString::fromStdString(m_text));
    m_edit->setFocus();
    return exec() == QDialog::Accepted;
}

void TextInputDialog::SetText(const std::string& text)
{
    m_text = text;
    m_edit->setText(QString::fromStdString(text));
}

void TextInputDialog::accept()
{
    m_text = m_edit->text().toStdString();
    QDialog::accept();
}

#include "views/dialogs/EditComponent.h"

#include <QKeyEvent>

#include "data/EngineeringNotation.h"

CEditComponent::CEditComponent(QWidget* parent) : QLineEdit(parent)
{
    connect(this, &QLineEdit::textEdited, this, [this] { m_modified = true; });
    UpdateText();
}

void CEditComponent::SetValue(double value, int precision)
{
    m_value = value;
    m_precision = precision;
    UpdateText();
    m_modified = false;
}

void CEditComponent::UpdateText()
{
    setText(QString::fromStdString(FormatEngineering(m_value, m_precision)));
}

void CEditComponent::Commit()
{
    if (m_modified) {
        m_value = ParseEngineering(text().toStdString());
        UpdateText();
        m_modified = false;
    }
    emit committed();
}

void CEditComponent::focusOutEvent(QFocusEvent* event)
{
    Commit();
    QLineEdit::focusOutEvent(event);
}

void CEditComponent::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Commit();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

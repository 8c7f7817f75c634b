#include "views/annotations/TalEdit.h"

#include <QContextMenuEvent>
#include <QMenu>

CTalEdit::CTalEdit(QWidget* parent) : QTextEdit(parent)
{
    setAcceptRichText(false);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    document()->setDocumentMargin(2);
    setEnabled(false);
    hide();
}

bool CTalEdit::HasSelection() const
{
    return textCursor().hasSelection();
}

void CTalEdit::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    raise();
}

QMenu* CTalEdit::BuildEditPopup()
{
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const bool selection = HasSelection();
    menu->addAction(QStringLiteral("&Undo"), this, &QTextEdit::undo)->setEnabled(document()->isUndoAvailable());
    menu->addSeparator();
    menu->addAction(QStringLiteral("Cu&t"), this, &QTextEdit::cut)->setEnabled(selection);
    menu->addAction(QStringLiteral("&Copy"), this, &QTextEdit::copy)->setEnabled(selection);
    menu->addAction(QStringLiteral("&Paste"), this, &QTextEdit::paste)->setEnabled(canPaste());
    menu->addAction(QStringLiteral("&Delete"), this, [this] { textCursor().removeSelectedText(); })
        ->setEnabled(selection);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Select &All"), this, &QTextEdit::selectAll);
    return menu;
}

void CTalEdit::contextMenuEvent(QContextMenuEvent* event)
{
    BuildEditPopup()->popup(event->globalPos());
    event->accept();
}

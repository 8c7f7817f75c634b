#include "views/text/TalViewText.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextCursor>

#include "data/TalDocument.h"
#include "views/base/ViewPrinting.h"
#include "views/command/CommandIds.h"
#include "views/exchange/DataExchange.h"

namespace {

// One tab stop every 70 dialog units (a dialog unit is a quarter of the average character width).
constexpr int kTabStopDialogUnits = 70;

}  // namespace

CTalViewText::CTalViewText(CTalDocument* document, QWidget* parent) : CTalView(document, parent)
{
    m_fields.displayMode = "Text";
    m_edit = new QPlainTextEdit(this);
    m_edit->setReadOnly(true);
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_edit->setFrameShape(QFrame::Box);
    m_edit->setTabStopDistance(kTabStopDialogUnits * QFontMetrics(m_edit->font()).averageCharWidth() / 4.0);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    // The display's focus is the edit's. Taking it on every refresh or paint would pull the
    // focus, and with it the active window, away from another display of the same document.
    setFocusProxy(m_edit);
    AttachToDocument();
    Refresh();
}

std::string CTalViewText::Text() const
{
    QString text = m_edit->toPlainText();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text.toStdString();
}

void CTalViewText::Refresh()
{
    m_edit->setGeometry(rect());
    QString text = QString::fromStdString(m_doc->GetTextDescription());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_edit->setPlainText(text);
}

void CTalViewText::OnUpdate(int)
{
    Refresh();
}

void CTalViewText::RefreshDescriptionDialog(int index)
{
    CTalView::RefreshDescriptionDialog(index);
    Refresh();
}

void CTalViewText::paintEvent(QPaintEvent*)
{
    m_edit->setGeometry(rect());
}

void CTalViewText::resizeEvent(QResizeEvent* event)
{
    CTalView::resizeEvent(event);
    m_edit->setGeometry(rect());
}

QImage CTalViewText::RenderPicture()
{
    return grab().toImage();
}

bool CTalViewText::OnCommand(int id)
{
    switch (id) {
    case cmd::EditCopy: {
        QString selected = m_edit->textCursor().selectedText();
        // The edit reports line breaks as paragraph separators.
        selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
        if (!selected.isEmpty())
            QGuiApplication::clipboard()->setText(selected);
        return true;
    }
    case cmd::EditSelectAll:
        m_edit->selectAll();
        return true;
    case cmd::VoltageFormat:
    case cmd::ShowAll:
    case cmd::AddRandomData:
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
        return CTalView::OnCommand(id);
    case cmd::EditPaste:
    case cmd::ExportMatlab:
    case cmd::ImportMatlab:
    case cmd::MailTo:
        return exchange::OnCommand(*this, id);
    default:
        return false;
    }
}

bool CTalViewText::OnUpdateCommand(int id, CommandUi& ui)
{
    switch (id) {
    case cmd::EditCopy:
        ui = CommandUi{};
        ui.enabled = m_edit->textCursor().hasSelection();
        return true;
    case cmd::EditSelectAll:
        ui = CommandUi{};
        return true;
    case cmd::VoltageFormat:
    case cmd::ShowAll:
    case cmd::AddRandomData:
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
        return CTalView::OnUpdateCommand(id, ui);
    case cmd::EditPaste:
    case cmd::ExportMatlab:
    case cmd::ImportMatlab:
    case cmd::MailTo:
        return exchange::OnUpdateCommand(*this, id, ui);
    default:
        return false;
    }
}

void CTalViewText::PrintOn(QPrinter& printer)
{
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    PrintArea area;
    area.right = printer.width();
    area.bottom = printer.height();
    area.widthMM = printer.widthMM();
    area.heightMM = printer.heightMM();
    const QRect viewport = PrintViewport(area, CurrentPageSetup());
    const LogicalMapping m(viewport.left(), viewport.top(), viewport.width(), viewport.height());
    const QRect target(QPoint(m.DeviceX(50), m.DeviceY(50)), QPoint(m.DeviceX(950), m.DeviceY(950)));
    painter.setClipRect(target);
    painter.drawText(target, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs, m_edit->toPlainText());
}

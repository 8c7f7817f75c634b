#include "views/base/GraphTextDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSizeGrip>
#include <QToolButton>
#include <QVBoxLayout>

#include "views/base/ViewPainter.h"

namespace {

QString FromStored(const std::string& text)
{
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

CGraphTextDlg::CGraphTextDlg(int dataSetNumber, const std::string& text, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(1);
    auto* header = new QHBoxLayout;
    m_title = new QLabel(this);
    m_title->installEventFilter(this);
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("x"));
    close->setAutoRaise(true);
    header->addWidget(m_title, 1);
    header->addWidget(close);
    layout->addLayout(header);
    m_edit = new QPlainTextEdit(this);
    m_edit->installEventFilter(this);
    layout->addWidget(m_edit, 1);
    layout->addWidget(new QSizeGrip(this), 0, Qt::AlignRight | Qt::AlignBottom);
    SetNumber(dataSetNumber);
    SetText(text);
    resize(220, 120);
    connect(close, &QToolButton::clicked, this, [this] { emit closeRequested(this); });
    connect(m_edit, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_settingText)
            emit textEdited(this);
    });
}

void CGraphTextDlg::SetNumber(int dataSetNumber)
{
    m_title->setText(QStringLiteral("%1  Description:").arg(dataSetNumber));
}

QString CGraphTextDlg::Title() const
{
    return m_title->text();
}

void CGraphTextDlg::SetText(const std::string& text)
{
    const QString shown = FromStored(text);
    if (m_edit->toPlainText() == shown)
        return;
    m_settingText = true;
    m_edit->setPlainText(shown);
    m_settingText = false;
}

std::string CGraphTextDlg::Text() const
{
    QString s = m_edit->toPlainText();
    s.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return s.toStdString();
}

bool CGraphTextDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusOut)
        emit textEdited(this);
    if (watched == m_title && m_captionDrag.Filter(*this, event))
        return true;
    return QFrame::eventFilter(watched, event);
}

void CGraphTextDlg::Paint(ViewPainter& dc, const LogicalRect& rect) const
{
    dc.FillRect(rect, 0xFFFFFF);
    dc.SelectPen(0x000000, 1);
    dc.Rectangle(rect);
    dc.SelectFont(-15);
    dc.SetTextColor(0x000000);
    dc.SetBkColor(0xFFFFFF);
    const int lineHeight = dc.GetTextExtent("X").cy;
    int y = rect.top + 2;
    dc.TextOut(rect.left + 4, y, Title().toStdString());
    const QStringList lines = m_edit->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        y += lineHeight;
        if (y + lineHeight > rect.bottom)
            break;
        dc.TextOut(rect.left + 4, y, line.toStdString());
    }
}

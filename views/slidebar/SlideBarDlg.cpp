#include "views/slidebar/SlideBarDlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "views/base/ViewPainter.h"
#include "views/dialogs/EditComponent.h"

namespace {

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF;
// The line under the title on paper, in dialog pixels from the top.
constexpr int kTitleLine = 20;

}  // namespace

CSlideBarDlg::CSlideBarDlg(int dataSetNumber, QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::ClickFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->setSpacing(2);
    auto* header = new QHBoxLayout;
    m_title = new QLabel(QStringLiteral("%1  Slide Bar:").arg(dataSetNumber), this);
    m_title->installEventFilter(this);
    setWindowTitle(m_title->text());
    auto* close = new QToolButton(this);
    close->setText(QStringLiteral("x"));
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    header->addWidget(m_title, 1);
    header->addWidget(close);
    layout->addLayout(header);
    m_table = new QGridLayout;
    m_table->setHorizontalSpacing(6);
    m_table->setVerticalSpacing(2);
    layout->addLayout(m_table);
    m_table->addWidget(new QLabel(QStringLiteral("Frequency:"), this), 0, 0);
    m_edit = new CEditComponent(this);
    m_edit->setMaximumWidth(90);
    m_edit->installEventFilter(this);
    m_table->addWidget(m_edit, 0, 1);
    m_table->addWidget(new QLabel(QStringLiteral("Hz"), this), 0, 2);
    m_fontHeight = fontMetrics().height();

    connect(close, &QToolButton::clicked, this, [this] { RequestClose(kCloseBox); });
    connect(m_edit, &QLineEdit::textEdited, this, [this] { m_textChanged = true; });
    connect(m_edit, &CEditComponent::committed, this, &CSlideBarDlg::OnCommitted);
    connect(qApp, &QApplication::focusChanged, this, &CSlideBarDlg::OnFocusChanged);
}

CSlideBarDlg::~CSlideBarDlg()
{
    // The focus moves while the widgets below are destroyed; this part is gone by then.
    disconnect(qApp, nullptr, this, nullptr);
}

QString CSlideBarDlg::Title() const
{
    return m_title->text();
}

void CSlideBarDlg::SetFrequency(double frequency)
{
    m_edit->SetValue(frequency, 4);
    m_textChanged = false;
}

int CSlideBarDlg::AddRow(const QString& name, const QString& unit, QGridLayout* grid)
{
    if (!grid)
        grid = m_table;
    const int line = grid->rowCount();
    Row row{new QLabel(name, this), new QLabel(QStringLiteral("- - -"), this), new QLabel(unit, this)};
    row.value->setMinimumWidth(70);
    row.value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    grid->addWidget(row.name, line, 0);
    grid->addWidget(row.value, line, 1);
    grid->addWidget(row.unit, line, 2);
    m_rows.push_back(row);
    return int(m_rows.size()) - 1;
}

void CSlideBarDlg::SetValueText(int row, const std::string& text)
{
    if (row >= 0 && row < int(m_rows.size()))
        m_rows[row].value->setText(QString::fromStdString(text));
}

QString CSlideBarDlg::ValueText(int row) const
{
    return row >= 0 && row < int(m_rows.size()) ? m_rows[row].value->text() : QString();
}

void CSlideBarDlg::FinishLayout()
{
    resize(sizeHint());
}

void CSlideBarDlg::OnCommitted()
{
    if (!m_textChanged && !m_sendEveryCommit)
        return;
    m_textChanged = false;
    emit frequencyTyped(this, m_edit->GetValue());
}

void CSlideBarDlg::RequestClose(int reason)
{
    if (m_closing)
        return;
    m_closing = true;
    emit closeRequested(this, reason);
}

bool CSlideBarDlg::FocusInside() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void CSlideBarDlg::OnFocusChanged(QWidget* old, QWidget* now)
{
    const bool wasInside = old && (old == this || isAncestorOf(old));
    const bool isInside = now && (now == this || isAncestorOf(now));
    if (isInside && !wasInside)
        emit activated(this);
}

void CSlideBarDlg::Activate()
{
    if (FocusInside())
        return;
    m_edit->setFocus(Qt::MouseFocusReason);
    // Without an active window the focus does not move; the dialog is active all the same.
    if (!FocusInside())
        emit activated(this);
}

bool CSlideBarDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (m_escapeCloses)
            RequestClose(kCloseEscape);
        return true;
    }
    if (watched == m_title && m_captionDrag.Filter(*this, event)) {
        if (event->type() == QEvent::MouseButtonPress)
            Activate();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void CSlideBarDlg::mousePressEvent(QMouseEvent* event)
{
    raise();
    Activate();
    event->accept();
}

void CSlideBarDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        if (m_escapeCloses)
            RequestClose(kCloseEscape);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_edit->Commit();
        break;
    default:
        QFrame::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CSlideBarDlg::Paint(ViewPainter& dc, const LogicalRect& rect) const
{
    if (rect.IsEmpty())
        return;
    dc.Save();
    dc.ClipTo(rect);
    dc.FillRect(rect, kWhite);
    const int windowHeight = std::max(1, height());
    dc.SelectFont(-std::max(1, m_fontHeight * rect.Height() / windowHeight));
    dc.SetTextColor(kBlack);
    dc.SetBkColor(kWhite);
    const int line = dc.GetTextExtent("X").cy;
    const int x = rect.left + 2;
    dc.TextOut(x, rect.top + 2, " " + Title().toStdString());

    std::vector<std::string> values{" " + m_edit->text().toStdString() + "  "};
    for (const Row& row : m_rows)
        values.push_back(" " + row.value->text().toStdString() + "  ");
    int widest = 0;
    for (const std::string& value : values)
        widest = std::max(widest, dc.GetTextExtent(value).cx);
    const std::vector<std::string> names = PaperNames();
    int y = rect.top + 2 + line + line / 3;
    for (size_t i = 0; i < values.size(); ++i, y += line) {
        dc.TextOut(x, y, values[i]);
        if (i < names.size())
            dc.TextOut(x + widest, y, names[i]);
    }
    dc.SelectPen(kBlack, 2);
    dc.Rectangle(rect);
    const int under = rect.top + kTitleLine * rect.Height() / windowHeight;
    dc.Line(rect.left, under, rect.right, under);
    dc.Restore();
}

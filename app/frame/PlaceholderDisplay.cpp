#include "app/frame/PlaceholderDisplay.h"

#include <QPainter>

#include "data/TalDocument.h"
#include "views/command/CommandIds.h"

namespace {

const char* KindName(DisplayKind kind)
{
    switch (kind) {
    case DisplayKind::Gain:
        return "Gain and Phase Plot";
    case DisplayKind::Imp:
        return "Impedance and Phase Plot";
    case DisplayKind::Text:
        return "Text Description";
    case DisplayKind::Nyq:
        return "Nyquist Plot";
    case DisplayKind::Volt:
        break;
    }
    return "Voltage Plot";
}

}  // namespace

PlaceholderDisplay::PlaceholderDisplay(DisplayKind kind, CTalDocument* doc, QWidget* parent)
    : QWidget(parent), m_kind(kind), m_doc(doc)
{
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::white);
    setPalette(colours);
    setFocusPolicy(Qt::StrongFocus);
}

PlaceholderDisplay::~PlaceholderDisplay()
{
    m_doc->RemoveView(this);
}

QString PlaceholderDisplay::Caption() const
{
    const int count = m_doc->GetDataSetCount();
    return QStringLiteral("%1: %2 data set%3")
        .arg(QString::fromUtf8(KindName(m_kind)))
        .arg(count)
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

bool PlaceholderDisplay::OnCommand(int id)
{
    if (id != cmd::AddRandomData)
        return false;
    m_doc->AddRandomData();
    m_doc->SetModifiedFlag();
    m_doc->UpdateAllViews(HINT_ALL);
    return true;
}

bool PlaceholderDisplay::OnUpdateCommand(int id, CommandUi& ui)
{
    if (id != cmd::AddRandomData)
        return false;
    ui.enabled = true;
    return true;
}

void PlaceholderDisplay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::darkGray);
    painter.drawText(rect(), Qt::AlignCenter, Caption());
}

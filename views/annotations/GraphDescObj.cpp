#include "views/annotations/GraphDescObj.h"

#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "data/TalDocument.h"
#include "views/annotations/FontChooser.h"
#include "views/annotations/GraphDescArray.h"
#include "views/base/TalView.h"

namespace {

// A chosen font's point size as a logical character height and back: 10 points give the
// label size of a square display (15 units).
constexpr double kUnitsPerPoint = 1.5;

}  // namespace

CGraphDescObj::CGraphDescObj(CTalView& owner, int index) : CViewObj(owner), m_index(index)
{
    m_edit = new CTalEdit(&owner);
    QObject::connect(m_edit, &QTextEdit::textChanged, m_edit, [this] {
        if (m_editing && !m_loading)
            CopyTextBack();
    });
}

CGraphDescObj::~CGraphDescObj()
{
    delete m_edit.data();
}

StoredTextBox& CGraphDescObj::Box()
{
    return m_owner.Fields().descriptions[size_t(m_index)];
}

void CGraphDescObj::Draw(ViewPainter& dc)
{
    if (Obj().shown)
        annotations::DrawTextBox(dc, m_owner.Fields(), Box(), m_font, IsSelected(), IsTitle());
}

bool CGraphDescObj::OnLButtonDblClk(int x, int y)
{
    if (!Hit(x, y))
        return false;
    SetSelected(true);
    BeginEditing();
    return true;
}

void CGraphDescObj::ApplyLookToEditor()
{
    const LogicalMapping m = m_owner.ClientMapping();
    const StoredRect& r = Obj().rect;
    m_edit->setGeometry(QRect(QPoint(m.DeviceX(r.left), m.DeviceY(r.top)), QPoint(m.DeviceX(r.right), m.DeviceY(r.bottom)))
                            .normalized());
    m_edit->setFont(annotations::DeviceFont(m_font, m, IsTitle()));
    QPalette palette = m_edit->palette();
    palette.setColor(QPalette::Text, ColorFromRef(uint32_t(Box().textInt) & 0xFFFFFF));
    palette.setColor(QPalette::Base, Qt::white);
    m_edit->setPalette(palette);
    QTextOption option = m_edit->document()->defaultTextOption();
    option.setAlignment(annotations::AlignmentFor(Box().textShort, IsTitle()));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_edit->document()->setDefaultTextOption(option);
}

void CGraphDescObj::BeginEditing()
{
    if (!m_edit)
        return;
    if (!m_editing) {
        m_loading = true;
        m_edit->setPlainText(annotations::TextFromStored(Box().text));
        m_loading = false;
    }
    ApplyLookToEditor();
    m_editing = true;
    m_edit->setEnabled(true);
    m_edit->show();
    m_edit->setFocus();
    // The placeholder of a new box is selected, so that typing replaces it.
    if (Box().text == CGraphDescArray::kNewText)
        m_edit->selectAll();
    else
        m_edit->moveCursor(QTextCursor::End);
}

void CGraphDescObj::CopyTextBack()
{
    const std::string text = annotations::TextToStored(m_edit->toPlainText());
    if (text == Box().text)
        return;
    Box().text = text;
    m_owner.GetDocument()->SetModifiedFlag();
}

void CGraphDescObj::EndEditing()
{
    if (!m_editing)
        return;
    if (m_edit) {
        CopyTextBack();
        m_edit->setEnabled(false);
        m_edit->hide();
    }
    m_editing = false;
    Redraw();
}

void CGraphDescObj::SetFont(const annotations::BoxFont& font)
{
    m_font = font;
    if (m_editing)
        ApplyLookToEditor();
    Redraw();
}

void CGraphDescObj::SelectFont()
{
    const LogicalMapping m = m_owner.ClientMapping();
    QFont initial = m_font.face;
    initial.setPointSizeF(annotations::BoxFontHeight(m_font, m, IsTitle()) / kUnitsPerPoint);
    const std::optional<QFont> chosen = ChooseFont(initial, &m_owner);
    if (!chosen)
        return;
    annotations::BoxFont font;
    font.face = *chosen;
    const double points = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : chosen->pixelSize() * 0.75;
    font.logicalHeight = std::clamp(int(std::lround(points * kUnitsPerPoint)), 4, 300);
    SetFont(font);
}

void CGraphDescObj::SetJustify(uint16_t justify)
{
    if (Box().textShort != justify) {
        Box().textShort = justify;
        m_owner.GetDocument()->SetModifiedFlag();
    }
    if (m_editing)
        ApplyLookToEditor();
    Redraw();
}

#include "views/dialogs/ControlRectangle.h"

#include <QColorDialog>
#include <QPainter>

#include "views/base/ViewPainter.h"

ControlRectangle::ControlRectangle(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setMinimumSize(40, 20);
}

void ControlRectangle::SetColor(uint32_t colorRef)
{
    m_color = colorRef & 0xFFFFFF;
    repaint();
}

void ControlRectangle::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        painter.fillRect(contentsRect(), ColorFromRef(m_color));
    }
    QFrame::paintEvent(event);
}

namespace {

ColorChooserHook& ChooserHook()
{
    static ColorChooserHook hook;
    return hook;
}

}  // namespace

void SetColorChooserHook(ColorChooserHook hook)
{
    ChooserHook() = std::move(hook);
}

std::optional<uint32_t> ChooseColor(uint32_t current, QWidget* parent)
{
    if (ChooserHook())
        return ChooserHook()(current);
    const QColor chosen = QColorDialog::getColor(ColorFromRef(current), parent, QString());
    if (!chosen.isValid())
        return std::nullopt;
    return uint32_t(chosen.red()) | uint32_t(chosen.green()) << 8 | uint32_t(chosen.blue()) << 16;
}

bool ChooseSwatchColor(ControlRectangle& swatch, QWidget* owner, const QPoint& position)
{
    if (!swatch.isVisible() || !swatch.geometry().contains(swatch.parentWidget()->mapFrom(owner, position)))
        return false;
    const std::optional<uint32_t> color = ChooseColor(swatch.Color(), owner);
    if (!color || *color == swatch.Color())
        return false;
    swatch.SetColor(*color);
    return true;
}

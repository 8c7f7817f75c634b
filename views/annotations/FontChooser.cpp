#include "views/annotations/FontChooser.h"

#include <QFontDialog>

namespace {

FontChooserHook& Hook()
{
    static FontChooserHook hook;
    return hook;
}

}  // namespace

void SetFontChooserHook(FontChooserHook hook)
{
    Hook() = std::move(hook);
}

std::optional<QFont> ChooseFont(const QFont& initial, QWidget* parent)
{
    if (Hook())
        return Hook()(initial, parent);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent, QStringLiteral("Select Font"));
    return ok ? std::optional<QFont>(font) : std::nullopt;
}

#include "views/annotations/BoxPopupMenu.h"

#include <QMenu>

#include "views/base/TalView.h"
#include "views/command/CommandIds.h"

QMenu* BuildBoxPopupMenu(CTalView& view, bool titleShown)
{
    auto* menu = new QMenu(&view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&view](QMenu* to, const char* text, int id) {
        to->addAction(QString::fromLatin1(text), &view, [&view, id] { view.OnCommand(id); });
    };
    add(menu, "Remove", cmd::PopupRemove);
    add(menu, "Select Font", cmd::SelectFont);
    QMenu* justify = menu->addMenu(QStringLiteral("Justify..."));
    add(justify, "Justify Left", cmd::JustifyLeft);
    add(justify, "Justify Center", cmd::JustifyCenter);
    add(justify, "Justify Right", cmd::JustifyRight);
    menu->addSeparator();
    add(menu, titleShown ? "Hide Title" : "Show Title", cmd::ToggleTitle);
    return menu;
}

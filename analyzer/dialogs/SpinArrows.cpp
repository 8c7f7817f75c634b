#include "analyzer/dialogs/SpinArrows.h"

#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

SpinArrows::SpinArrows(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool isUp : {true, false}) {
        auto* button = new QToolButton(this);
        button->setArrowType(isUp ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFixedSize(16, 11);
        connect(button, &QToolButton::clicked, this, isUp ? &SpinArrows::up : &SpinArrows::down);
        layout->addWidget(button);
    }
}

QWidget* WithArrows(QWidget* field, SpinArrows* arrows)
{
    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(field);
    layout->addWidget(arrows);
    return box;
}

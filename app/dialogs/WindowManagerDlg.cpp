#include "app/dialogs/WindowManagerDlg.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kWindowRole = Qt::UserRole;
}

CWindowManagerDlg::CWindowManagerDlg(QMdiArea& area, QWidget* parent)
    : QDialog(parent), m_area(area), m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Windows"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* activate = new QPushButton(QStringLiteral("&Activate"), this);
    auto* close = new QPushButton(QStringLiteral("&Close Window(s)"), this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(activate, &QPushButton::clicked, this, &CWindowManagerDlg::ActivateSelected);
    connect(close, &QPushButton::clicked, this, &CWindowManagerDlg::CloseSelected);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CWindowManagerDlg::ActivateSelected);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(activate);
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    Fill();
}

void CWindowManagerDlg::Fill()
{
    m_list->clear();
    for (QMdiSubWindow* window : m_area.subWindowList()) {
        if (window->isHidden())
            continue;
        auto* item = new QListWidgetItem(window->windowTitle(), m_list);
        item->setData(kWindowRole, QVariant::fromValue(static_cast<QObject*>(window)));
        if (window == m_area.currentSubWindow())
            item->setSelected(true);
    }
}

void CWindowManagerDlg::ActivateSelected()
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    if (auto* window = qobject_cast<QMdiSubWindow*>(selected.first()->data(kWindowRole).value<QObject*>()))
        m_area.setActiveSubWindow(window);
    accept();
}

void CWindowManagerDlg::CloseSelected()
{
    std::vector<QPointer<QMdiSubWindow>> windows;
    for (QListWidgetItem* item : m_list->selectedItems())
        windows.emplace_back(qobject_cast<QMdiSubWindow*>(item->data(kWindowRole).value<QObject*>()));
    for (const QPointer<QMdiSubWindow>& window : windows)
        if (window)
            window->close();
    Fill();
}

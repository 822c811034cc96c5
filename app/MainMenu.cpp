#include "app/MainMenu.h"

#include "app/ErrorHandler.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

namespace vedivez {

MainMenu::MainMenu(const std::vector<Item>& items, ErrorHandler& errors, QWidget* window)
    : bar_(new QMenuBar(window)) {
    bar_->setObjectName(QStringLiteral("MM_Menu"));
    QMenu* menu = nullptr;
    QMenu* submenu = nullptr;
    QString menuCaption;
    for (const Item& item : items) {
        if (item.menu != menuCaption || !menu) {
            menuCaption = item.menu;
            menu = bar_->addMenu(item.menu);
            submenu = nullptr;
        }
        if (!item.submenu.isEmpty()) {
            submenu = menu->addMenu(item.submenu);
            submenu->setObjectName(item.component);
            continue;
        }
        QMenu* target = item.inSubmenu && submenu ? submenu : menu;
        if (!item.inSubmenu)
            submenu = nullptr;
        if (item.component.isEmpty() && item.caption.isEmpty()) {
            target->addSeparator();
            continue;
        }
        QAction* action = target->addAction(item.caption);
        action->setObjectName(item.component);
        QList<QKeySequence> keys;
        if (!item.shortcut.isEmpty())
            keys << item.shortcut;
        keys << item.moreShortcuts;
        action->setShortcuts(keys);
        // Shortcuts work anywhere in the main window, whatever has the focus.
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(item.enabled);
        if (item.checkable) {
            // Check items start with their mark unless the row says otherwise; choosing one
            // turns the mark over before its handler runs, and the handler acts on the new
            // mark.
            action->setCheckable(true);
            action->setChecked(item.startsChecked);
        }
        if (!item.picture.isEmpty())
            action->setIcon(QIcon(item.picture));
        if (item.handler) {
            const std::function<void()> handler = item.handler;
            QObject::connect(action, &QAction::triggered, action,
                             [&errors, handler] { errors.Guard(handler); });
        }
    }
}

QAction* MainMenu::Action(const QString& component) const {
    return bar_->findChild<QAction*>(component);
}

QMenu* MainMenu::Submenu(const QString& component) const {
    return component.isEmpty() ? nullptr : bar_->findChild<QMenu*>(component);
}

} // namespace vedivez

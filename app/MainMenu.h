#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace vedivez {

class ErrorHandler;

// The main menu MM_Menu, kept as a table that reads like the menu itself, a row an item in
// menu order, and turned into menus and actions in one loop.
class MainMenu {
public:
    // One row of the table. A row with an empty component and caption is a separator; a row
    // whose `submenu` is set opens a submenu (named by `component`, if given) that the
    // following rows with `inSubmenu` fill.
    struct Item {
        QString menu;    // top-level menu caption
        QString submenu; // caption of the submenu this row opens, if any
        bool inSubmenu = false;
        QString component; // object name
        QString caption;
        QKeySequence shortcut;
        bool enabled = true;
        bool checkable = false;
        QString picture; // resource path, or empty
        std::function<void()> handler;
        // Further keys for the same item (Ctrl+= beside Ctrl++).
        QList<QKeySequence> moreShortcuts = {};
        // Whether a check item starts with its mark.
        bool startsChecked = true;
    };

    // Builds the menu bar from the rows; every handler runs under the error handler.
    MainMenu(const std::vector<Item>& items, ErrorHandler& errors, QWidget* window);

    QMenuBar* Bar() const { return bar_; }
    // The action of a component; nullptr for an unknown name.
    QAction* Action(const QString& component) const;
    // A named submenu; nullptr for an unknown name.
    QMenu* Submenu(const QString& component) const;

private:
    QMenuBar* bar_;
};

} // namespace vedivez

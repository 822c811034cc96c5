#include "app/WindowShortcuts.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>
#include <algorithm>

namespace vedivez {

WindowShortcuts::WindowShortcuts(QWidget* window, std::vector<QKeySequence> keys, Winner winner)
    : window_(window), keys_(std::move(keys)), winner_(winner) {
    // Qt asks the focus widget first whether it wants a key that is also a shortcut; that
    // question passes through the application, whichever widget of the window has the focus.
    qApp->installEventFilter(this);
}

bool WindowShortcuts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (std::find(keys_.begin(), keys_.end(), pressed) == keys_.end())
        return false;
    if (winner_ == Winner::Window) {
        // Left unaccepted, the key goes to the window's shortcut.
        event->ignore();
        return true;
    }
    const bool editBox = qobject_cast<QLineEdit*>(widget) ||
                         qobject_cast<QAbstractSpinBox*>(widget) ||
                         qobject_cast<QAbstractSpinBox*>(widget->parentWidget());
    if (!editBox)
        return false;
    // Accepted, the key goes to the edit box.
    event->accept();
    return true;
}

} // namespace vedivez

#include "app/WindowShortcuts.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace vedivez {

WindowShortcuts::WindowShortcuts(QWidget* window, std::vector<QKeySequence> keys)
    : QObject(window), window_(window), keys_(std::move(keys)) {
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
    for (const QKeySequence& k : keys_) {
        if (k == pressed) {
            // Left unaccepted, the key goes to the window's shortcut.
            event->ignore();
            return true;
        }
    }
    return false;
}

} // namespace vedivez

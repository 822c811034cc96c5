#include "dialogs/ToolDialog.h"

#include "surface/AppFonts.h"

#include <QPalette>

namespace vedivez {

TToolDialog::TToolDialog(const QString& objectName, const QString& caption, QSize clientSize,
                         Placement placement, QWidget* parent)
    : QDialog(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      placement_(placement) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setFont(UiFont(11));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);
    setFixedSize(clientSize);
}

void TToolDialog::setVisible(bool visible) {
    const bool centre = visible && !isVisible() && placement_ == Placement::CentreOnParent;
    if (centre)
        CentreOnParent();
    QDialog::setVisible(visible);
    if (visible)
        shownBefore_ = true;
    // Where the window manager gives the frame at once, centre again with the true frame.
    if (centre && frameGeometry().size() != size())
        CentreOnParent();
}

void TToolDialog::CentreOnParent() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    QSize outer = frameGeometry().size();
    if (!shownBefore_) {
        // The window manager tells the frame only after the first showing (under X11 some time
        // after it); until then the owner's frame is the best guess.
        outer += owner->frameGeometry().size() - owner->geometry().size();
    }
    const QPoint centre = owner->frameGeometry().center();
    move(centre.x() - outer.width() / 2, centre.y() - outer.height() / 2);
}

} // namespace vedivez

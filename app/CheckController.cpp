#include "app/CheckController.h"

#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "panel/PanelState.h"

#include <QAction>
#include <QToolTip>

namespace vedivez {

CheckController::CheckController(PanelState& panel, Viewport& view)
    : panel_(panel), view_(view), check_(panel) {}

void CheckController::Attach(QAction* toggle) {
    toggle_ = toggle;
    Refresh();
}

QString CheckController::Caption(bool on, size_t count) {
    const QString text = QString::fromUtf8("Kontrola spojení");
    return on ? text + QStringLiteral(" (%1)").arg(count) : text;
}

void CheckController::Refresh() {
    check_.Update();
    if (!toggle_)
        return;
    const std::pair<bool, size_t> caption{check_.Active(), check_.Active() ? check_.Problems() : 0};
    if (caption == caption_)
        return;
    caption_ = caption;
    toggle_->setText(Caption(caption.first, caption.second));
}

void CheckController::Toggle() {
    check_.SetActive(toggle_ && toggle_->isChecked());
    shown_.reset();
    Refresh();
}

void CheckController::Next() {
    Go(true);
}

void CheckController::Previous() {
    Go(false);
}

void CheckController::SayInView(const QString& text) {
    QWidget* viewport = view_.ViewportWidget();
    const QPoint middle = viewport->rect().center();
    QToolTip::showText(viewport->mapToGlobal(middle), text, viewport);
}

void CheckController::Go(bool forward) {
    if (!check_.Active()) {
        if (toggle_)
            toggle_->setChecked(true);
        check_.SetActive(true);
    }
    check_.Update();
    // From the finding shown last while the cursor still stands where that step left it,
    // else from the cursor's cell: forward from after all of its findings, back from before
    // them.
    const int32_t col = panel_.CursorCol(), row = panel_.CursorRow();
    ConnectionCheck::Place from{col, row, forward ? INT32_MAX : -1};
    if (shown_ && QPoint(panel_.CursorX, panel_.CursorY) == shownCursor_)
        from = *shown_;
    const auto found = check_.Step(from, forward);
    Refresh();
    if (!found) {
        shown_.reset();
        // A plain tooltip, not a box: the next keys go where they went before.
        SayInView(QString::fromUtf8("Stanice nemá žádné problémy."));
        return;
    }
    const auto& [finding, place] = *found;
    shown_ = place;
    const QString text = QString::fromUtf8("Sloupec %1, řádek %2: %3")
                             .arg(finding.col)
                             .arg(finding.row)
                             .arg(FindingMessageCs(finding));
    // A cell far outside the panel may lie beyond the 32-bit pixels of the surface and the
    // cursor: the view and the cursor stay where they are, the tooltip still names the
    // finding, and the next step goes on from it.
    const ZoomLevel level = view_.Zoom();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    const int64_t x = int64_t(finding.col) * cw, y = int64_t(finding.row) * ch;
    const auto fits = [](int64_t low, int64_t high) {
        return low >= INT32_MIN && high <= INT32_MAX;
    };
    if (!fits(x, x + cw) || !fits(y, y + ch) || !fits(level.ToScreen(x), level.ToScreen(x + cw)) ||
        !fits(level.ToScreen(y), level.ToScreen(y + ch))) {
        shownCursor_ = QPoint(panel_.CursorX, panel_.CursorY);
        SayInView(text);
        return;
    }
    const QPoint corner{int(x), int(y)};
    view_.CentreOn(corner + QPoint(panel_.CellWidth / 2, panel_.CellHeight / 2));
    panel_.CursorX = corner.x();
    panel_.CursorY = corner.y();
    shownCursor_ = corner;
    SurfaceWidget* surface = view_.SurfaceControl();
    surface->setFocus(Qt::OtherFocusReason);
    const QPoint onWidget = view_.ToWidget(corner);
    const int size = std::max(view_.Zoom().CellSize(), 1);
    QToolTip::showText(surface->mapToGlobal(onWidget + QPoint(size, size)), text, surface,
                       QRect(onWidget, QSize(size, size)));
}

} // namespace vedivez

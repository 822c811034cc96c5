#include "app/CheckController.h"

#include "app/PanelView.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
#include "panel/PanelState.h"

#include <QAction>
#include <QToolTip>

namespace vedivez {

CheckController::CheckController(PanelState& panel, PanelView& view, Prompts& prompts)
    : panel_(panel), view_(view), prompts_(prompts), check_(panel) {}

void CheckController::Attach(QAction* toggle) {
    toggle_ = toggle;
    Refresh();
}

QString CheckController::Caption(bool on, size_t count) {
    const QString text = QString::fromUtf8("Kontrola spojení");
    return on ? text + QStringLiteral(" (%1)").arg(count) : text;
}

void CheckController::Refresh() {
    if (!toggle_)
        return;
    const size_t count = check_.Active() ? check_.Count() : 0;
    const size_t shown = check_.Active() ? count : SIZE_MAX - 1;
    if (shown == captionCount_)
        return;
    captionCount_ = shown;
    toggle_->setText(Caption(check_.Active(), count));
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

void CheckController::Go(bool forward) {
    if (!check_.Active()) {
        if (toggle_)
            toggle_->setChecked(true);
        check_.SetActive(true);
    }
    check_.Update();
    // From the finding shown last while the cursor still stands on its cell, else from the
    // cursor's cell: forward from after all of its findings, back from before them.
    const int32_t col = panel_.CursorX / panel_.CellWidth, row = panel_.CursorY / panel_.CellHeight;
    ConnectionCheck::Place from{col, row, forward ? INT32_MAX : -1};
    if (shown_ && shown_->col == col && shown_->row == row)
        from = *shown_;
    const auto found = check_.Step(from, forward);
    Refresh();
    if (!found) {
        shown_.reset();
        prompts_.ShowMessage(QString::fromUtf8("Stanice nemá žádné problémy."));
        return;
    }
    const auto& [finding, place] = *found;
    shown_ = place;
    const QPoint corner(finding.col * panel_.CellWidth, finding.row * panel_.CellHeight);
    view_.CentreOn(corner + QPoint(panel_.CellWidth / 2, panel_.CellHeight / 2));
    panel_.CursorX = corner.x();
    panel_.CursorY = corner.y();
    SurfaceWidget* surface = view_.SurfaceControl();
    surface->setFocus(Qt::OtherFocusReason);
    const QPoint onWidget = view_.ToWidget(corner);
    const int size = std::max(view_.Zoom().CellSize(), 1);
    QToolTip::showText(surface->mapToGlobal(onWidget + QPoint(size, size)),
                       FindingMessageCs(finding), surface, QRect(onWidget, QSize(size, size)));
}

} // namespace vedivez

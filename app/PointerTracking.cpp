#include "app/PointerTracking.h"

#include "app/ErrorHandler.h"
#include "app/MouseEditing.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "panel/PanelState.h"

namespace vedivez {

PointerTracking::PointerTracking(PanelState& panel, Viewport& view, MouseEditing& mouse,
                                 ErrorHandler& errors)
    : panel_(panel), view_(view), mouse_(mouse), errors_(errors) {
    SurfaceWidget* surface = view_.SurfaceControl();
    connect(surface, &SurfaceWidget::pointerMoved, this, [this](int x, int y) {
        over_ = view_.VisibleRect().contains(x, y);
        if (over_ && hidden_) {
            hidden_ = false;
            mouse_.X_PlochaEnter();
        }
    });
    connect(surface, &SurfaceWidget::pointerLeft, this, [this] { over_ = false; });
    // The focus decides the outline from then on.
    connect(surface, &SurfaceWidget::focusEntered, this, [this] { hidden_ = false; });
    connect(surface, &SurfaceWidget::focusLeft, this, [this] { hidden_ = false; });
    connect(&view_, &Viewport::surfaceMoved, this, [this] { errors_.Guard([this] { Follow(); }); });
}

void PointerTracking::Follow() {
    // With a button held the pointer belongs to the surface wherever it is, and the drag's
    // end follows it.
    if (view_.SurfaceControl()->ButtonHeld()) {
        const QPoint p = view_.ToPanel(view_.PointerOnWidget());
        mouse_.TrackCursor(p.x(), p.y());
        return;
    }
    if (const std::optional<QPoint> at = view_.PointerOnSurface()) {
        const QPoint p = view_.ToPanel(*at);
        mouse_.TrackCursor(p.x(), p.y());
        over_ = true;
        if (hidden_) {
            hidden_ = false;
            mouse_.X_PlochaEnter();
        }
    } else if (over_) {
        over_ = false;
        if (panel_.CursorInside) {
            hidden_ = true;
            mouse_.X_PlochaExit();
        }
    }
}

} // namespace vedivez

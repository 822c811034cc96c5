#pragma once

#include "panel/ZoomLevel.h"
#include "surface/Surface.h"

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <optional>

class QScrollBar;
class QWidget;

namespace vedivez {

class BevelPanel;
class SurfaceWidget;

// The drawing area of the main window and the view of the panel it gives: the surface
// X_Plocha inside its viewport P_Plocha with the two scroll bars, the scroll position, the
// scale, and the one mapping between the surface widget's screen pixels and the panel
// pixels the model works in; fitting the panel, centring a point and zooming about one.
// The surface widget is the panel at the view's scale.
class Viewport : public QObject {
    Q_OBJECT
public:
    explicit Viewport(QWidget* parent);
    ~Viewport() override;

    // P_PodkladPlochy, the panel holding viewport and scroll bars.
    BevelPanel* Area() const { return area_; }
    // P_Plocha, the part of the window the surface shows through.
    QWidget* ViewportWidget() const;
    SurfaceWidget* SurfaceControl() const { return surfaceWidget_; }
    QScrollBar* HorizontalBar() const { return horizontal_; }
    QScrollBar* VerticalBar() const { return vertical_; }
    // What the frames are drawn on; only its visible part has pixels behind it.
    Surface& FrameSurface() { return surface_; }
    const Surface& FrameSurface() const { return surface_; }

    // Size of the panel in panel pixels, up to 188,000 each way; the surface control is that
    // at the view's scale.
    void SetSurfaceSize(int width, int height);

    // The view's scale; 100 % at every start.
    ZoomLevel Zoom() const { return level_; }
    // Changes the scale so that the panel point under `anchor` (a point of the viewport)
    // stays under it; with the pointer beside the panel, the panel's nearest point. Where
    // the scroll ranges would not allow that, they widen to hold the panel where it now is
    // (a panel smaller than the viewport moves off the top-left corner) until a scroll
    // brings it back within them.
    void SetZoom(ZoomLevel level, QPoint anchor);
    // Changes the scale about the middle of the viewport, within the ordinary scroll
    // ranges, so a panel smaller than the viewport sits at its top-left corner.
    void SetZoom(ZoomLevel level);
    // The largest scale at which the whole panel fits the viewport (the smallest scale when
    // none does).
    ZoomLevel FitLevel() const;
    // Panel pixels of a point of the surface widget, and the widget point where a panel
    // pixel starts.
    QPoint ToPanel(QPoint widgetPoint) const;
    QPoint ToWidget(QPoint panelPoint) const;
    // Scrolls so that the panel pixel lies in the middle of the viewport (as far as the
    // ranges allow).
    void CentreOn(QPoint panelPoint);

    // Scroll-bar set-up: enables each bar when the surface exceeds the viewport that way and
    // sets its range, or pins that edge of the surface at 0.
    void NastaveniPosuvniku();
    void SB_VodorovnyChange(int position);
    void SB_SvislyChange(int position);

    // The part of the surface the viewport shows, in surface pixels.
    QRect VisibleRect() const;
    // Where the pointer is on the surface widget when it is over the part the viewport
    // shows.
    std::optional<QPoint> PointerOnSurface() const;
    // Where the pointer is relative to the surface widget, wherever it is.
    QPoint PointerOnWidget() const;

    // Starts following where the surface is on the screen (when the window is first shown).
    void Start();

signals:
    // The surface moved on the screen or changed its scale: a scroll, a new scale, tool
    // panels hidden or shown around the drawing area, the window resized or moved. A pointer
    // that stayed where it was is now over another part of the panel, or beside it. Scrolls
    // and scales tell at once, layout changes once the layout has settled.
    void surfaceMoved();
    // The scale changed.
    void zoomChanged(ZoomLevel level);
    // Ctrl and the wheel over the surface or beside it: the wheel's angle (in eighths of a
    // degree, as Qt gives it) about the viewport point `at`.
    void zoomWheelTurned(int angle, QPoint at);

private:
    void UpdateViewport();
    void WheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint at);
    void Rescale(ZoomLevel level, QPoint anchor, bool keepAnchor);
    // Puts the surface's top-left corner at this point of the viewport: within the ordinary
    // scroll ranges, or, `loose`, exactly there with the ranges widened to hold it.
    void PlaceSurface(QPoint topLeft, bool loose);
    // After a scroll bar moved the surface.
    void ScrolledBy(int axis, int position);
    // Tells surfaceMoved when the surface's place on the screen, the viewport's or the scale
    // changed since the last look.
    void CheckPlacement();
    // Sizes the surface and its widget from the panel's size at the current scale.
    void ApplySurfaceSize();

    Surface surface_;
    ZoomLevel level_;
    QSize panelPixels_{Surface::kInitialWidth, Surface::kInitialHeight};
    // Whether a scroll bar's range is widened beyond the ordinary one (0 to the surface's
    // excess over the viewport) to hold where a zoom about the pointer put the surface.
    bool loose_[2] = {false, false};
    // While the surface is being placed, its moves are not yet where it ends up.
    int placing_ = 0;
    // The panel point a Ctrl+wheel zoom kept under the pointer: a further turn with the
    // pointer still there keeps the same point, not the coarser one a far-out screen pixel
    // stands for.
    QPoint anchorAt_{-1, -1};
    QPoint anchorPanel_;
    // Where the surface and the viewport were on the screen, and the scale, at the last look.
    struct Placement {
        QPoint surface;
        QRect viewport;
        bool shown = false;
        ZoomLevel level;
        friend bool operator==(const Placement&, const Placement&) = default;
    };
    Placement CurrentPlacement() const;
    Placement placement_;
    QTimer placementCheck_;
    bool started_ = false;
    BevelPanel* area_;
    BevelPanel* viewport_;
    SurfaceWidget* surfaceWidget_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
};

} // namespace vedivez

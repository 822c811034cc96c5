#pragma once

#include "panel/FrameRenderer.h"
#include "panel/PanelOccupancy.h"
#include "panel/ScaledRenderer.h"
#include "panel/ZoomLevel.h"
#include "surface/FrameTimer.h"
#include "surface/Surface.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

class QScrollBar;
class QWidget;

namespace vedivez {

class BevelPanel;
class ErrorHandler;
class ImageList;
class PanelState;
class SurfaceWidget;

// The drawing area of the main window: the surface X_Plocha inside its viewport P_Plocha with
// the two scroll bars, and the frame driver that renders the visible part of the surface at
// the frame timer's pace, and only when something the frame shows has changed. It also holds
// the view's scale: the surface widget is the panel at that scale, and this is the one place
// that maps its screen pixels to the panel pixels the model works in.
class PanelView : public QObject {
    Q_OBJECT
public:
    PanelView(PanelState& panel, const ImageList& images, ErrorHandler& errors, QWidget* parent);
    ~PanelView() override;

    // P_PodkladPlochy, the panel holding viewport and scroll bars.
    BevelPanel* Area() const { return area_; }
    SurfaceWidget* SurfaceControl() const { return surfaceWidget_; }
    QScrollBar* HorizontalBar() const { return horizontal_; }
    QScrollBar* VerticalBar() const { return vertical_; }
    QWidget* Viewport() const;

    // The view options and corner boxes of the next frame (the window's menu and palette).
    std::function<FrameInputs()> frameInputs;

    // Size of the panel in panel pixels, up to 188,000 each way; the surface control is that
    // at the view's scale.
    void SetSurfaceSize(int width, int height);
    int SurfaceWidth() const;
    int SurfaceHeight() const;

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

    // Initialises the surface and starts the frame timer (when the window is first shown).
    void Start();
    // Frames stop while a file dialog is open or a file is read or written; calls nest.
    void Pause();
    void Resume();
    bool Paused() const { return pauses_ > 0; }

    // One poll of the frame timer at `now` ms; on a tick, renders when the frame would show
    // something new. Returns whether a frame was drawn.
    bool Poll(uint32_t now);
    // Renders the frame for this lag count if it differs from the one shown.
    bool RenderIfChanged(int lagCount);
    qint64 FramesDrawn() const { return framesDrawn_; }
    const FrameTimer& Timer() const { return timer_; }
    FrameRenderer& Renderer() { return renderer_; }
    const Surface& FrameSurface() const { return surface_; }

signals:
    // The surface moved on the screen or changed its scale: a scroll, a new scale, tool
    // panels hidden or shown around the drawing area, the window resized or moved. A pointer
    // that stayed where it was is now over another part of the panel, or beside it. Scrolls
    // and scales tell at once, layout changes once the layout has settled.
    void surfaceMoved();
    // The scale changed.
    void zoomChanged(ZoomLevel level);
    // Ctrl and the wheel over the surface: `steps` scale steps in (positive) or out, about
    // the viewport point `at`.
    void zoomWheel(int steps, QPoint at);

private:
    // What a frame shows; a frame equal to the last one is not drawn again.
    struct FrameKey {
        uint64_t generation = ~uint64_t{0};
        int32_t cursorX = 0, cursorY = 0;
        bool cursorInside = false;
        std::string selected;
        FrameInputs inputs;
        QRect viewport;
        QSize surfaceSize;
        ZoomLevel level;
        // What the connection check's marks show (0 while it is off).
        uint64_t check = 0;
        // A re-made back buffer is black whatever else stayed the same.
        uint64_t buffer = 0;
        int32_t cols = 0, rows = 0;
        size_t elements = 0;
        bool operator==(const FrameKey& o) const;
    };
    FrameKey CurrentKey(int lagCount) const;
    // Draws the frame if it differs from the one shown; `changed` receives the part of the
    // surface widget that differs.
    bool Render(int lagCount, QRect& changed);
    void UpdateViewport();
    void ScheduleNextPoll();
    void ApplicationStateChanged(Qt::ApplicationState state);
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
    // Screen pixels of the cursor's cell, with room around it for the preview's marks.
    QRect CursorArea(int32_t cursorX, int32_t cursorY, ZoomLevel level) const;
    // The region of the surface widget a new frame changes compared with the last.
    QRect ChangedArea(const FrameKey& before, const FrameKey& after) const;

    PanelState& panel_;
    ErrorHandler& errors_;
    Surface surface_;
    FrameRenderer renderer_;
    PanelOccupancy occupancy_;
    ScaledRenderer scaled_;
    ZoomLevel level_;
    QSize panelPixels_{Surface::kInitialWidth, Surface::kInitialHeight};
    int zoomWheelAngle_ = 0;
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
    FrameTimer timer_;
    QElapsedTimer clock_;
    QTimer pollTimer_;
    BevelPanel* area_;
    BevelPanel* viewport_;
    SurfaceWidget* surfaceWidget_;
    QScrollBar* horizontal_;
    QScrollBar* vertical_;
    int pauses_ = 0;
    bool started_ = false;
    bool shownValid_ = false;
    FrameKey shown_;
    int lastLag_ = 1;
    qint64 framesDrawn_ = 0;
};

} // namespace vedivez

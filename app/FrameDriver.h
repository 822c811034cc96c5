#pragma once

#include "panel/FrameRenderer.h"
#include "panel/PanelOccupancy.h"
#include "panel/ScaledRenderer.h"
#include "panel/ZoomLevel.h"
#include "surface/FrameTimer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <functional>
#include <string>

namespace vedivez {

class CheckController;
class ErrorHandler;
class ImageList;
class PanelState;
class Viewport;

// Draws the panel into the viewport's surface at the frame timer's pace, and only when
// something the frame shows has changed: each frame brings the connection check up to date,
// gathers what the frame shows, compares it with the frame on screen, renders at the view's
// scale and repaints only the part of the surface widget that changed. Frames pause while a
// file dialog is open or a file is read or written.
class FrameDriver : public QObject {
    Q_OBJECT
public:
    FrameDriver(PanelState& panel, Viewport& view, CheckController& check, const ImageList& images,
                ErrorHandler& errors);
    ~FrameDriver() override;

    // The view options and corner boxes of the next frame (the window's menu and palette).
    // A provider the driver asks at every frame, not a notification: the window gives it.
    std::function<FrameInputs()> frameInputs;

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
    void ScheduleNextPoll();
    void ApplicationStateChanged(Qt::ApplicationState state);
    // Screen pixels of the cursor's cell, with room around it for the preview's marks.
    QRect CursorArea(int32_t cursorX, int32_t cursorY, ZoomLevel level) const;
    // The region of the surface widget a new frame changes compared with the last.
    QRect ChangedArea(const FrameKey& before, const FrameKey& after) const;

    PanelState& panel_;
    Viewport& view_;
    CheckController& check_;
    ErrorHandler& errors_;
    FrameRenderer renderer_;
    PanelOccupancy occupancy_;
    ScaledRenderer scaled_;
    FrameTimer timer_;
    QElapsedTimer clock_;
    QTimer pollTimer_;
    int pauses_ = 0;
    bool started_ = false;
    bool shownValid_ = false;
    FrameKey shown_;
    int lastLag_ = 1;
    qint64 framesDrawn_ = 0;
};

// Frames stop while a dialog is open or a file is read, written or printed, and start
// again however the step ends.
class FramesPaused {
public:
    explicit FramesPaused(FrameDriver& frames) : frames_(frames) { frames_.Pause(); }
    ~FramesPaused() { frames_.Resume(); }
    FramesPaused(const FramesPaused&) = delete;
    FramesPaused& operator=(const FramesPaused&) = delete;

private:
    FrameDriver& frames_;
};

} // namespace vedivez

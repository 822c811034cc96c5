#include "app/FrameDriver.h"

#include "app/CheckController.h"
#include "app/ErrorHandler.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "panel/PanelState.h"

#include <QGuiApplication>
#include <algorithm>

namespace vedivez {

namespace {

bool SameInputs(const FrameInputs& a, const FrameInputs& b) {
    const ViewOptions& x = a.options;
    const ViewOptions& y = b.options;
    return x.Info == y.Info && x.Preview == y.Preview && x.CursorCell == y.CursorCell &&
           x.Grid == y.Grid && a.boxes == b.boxes && a.lagCount == b.lagCount &&
           a.frameRate == b.frameRate;
}

// Space around a cell that the preview's mirrored corner marks and the cursor outline reach.
constexpr int kCursorMargin = 8;
// The overlay's four text lines near the surface's top-left corner, with room to spare.
const QRect kOverlayArea(0, 0, 520, 72);

} // namespace

bool FrameDriver::FrameKey::operator==(const FrameKey& o) const {
    return generation == o.generation && cursorX == o.cursorX && cursorY == o.cursorY &&
           cursorInside == o.cursorInside && selected == o.selected &&
           SameInputs(inputs, o.inputs) && viewport == o.viewport && surfaceSize == o.surfaceSize &&
           level == o.level && check == o.check && buffer == o.buffer && cols == o.cols &&
           rows == o.rows && elements == o.elements;
}

FrameDriver::FrameDriver(PanelState& panel, Viewport& view, CheckController& check,
                         const ImageList& images, ErrorHandler& errors)
    : panel_(panel), view_(view), check_(check), errors_(errors),
      renderer_(panel, view.FrameSurface(), images), occupancy_(panel),
      scaled_(panel, view.FrameSurface(), images, occupancy_) {
    renderer_.onMissingImage = [this](const std::string& message) { errors_.ReportOnce(message); };
    scaled_.onMissingImage = renderer_.onMissingImage;
    view_.SurfaceControl()->beforePaint = [this](const QRect& exposed) {
        // A scroll or resize shows parts of the surface the last frame did not cover; they
        // are drawn at once rather than at the next tick.
        if (!started_ || Paused() || !shownValid_)
            return;
        const Surface& surface = view_.FrameSurface();
        if (shown_.viewport == surface.Viewport() &&
            shown_.surfaceSize == QSize(surface.Width(), surface.Height()) &&
            shown_.buffer == surface.BufferSerial())
            return;
        errors_.GuardFrame([&] {
            QRect changed;
            if (Render(lastLag_, changed))
                view_.SurfaceControl()->update(QRegion(changed) - QRegion(exposed));
        });
    };

    pollTimer_.setSingleShot(true);
    pollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer_, &QTimer::timeout, this,
            [this] { Poll(static_cast<uint32_t>(clock_.elapsed())); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &FrameDriver::ApplicationStateChanged);
}

FrameDriver::~FrameDriver() = default;

void FrameDriver::Start() {
    if (started_)
        return;
    started_ = true;
    view_.Start();
    clock_.start();
    view_.FrameSurface().Initialise();
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        ApplicationStateChanged(Qt::ApplicationActive);
}

void FrameDriver::ApplicationStateChanged(Qt::ApplicationState state) {
    if (!started_)
        return;
    if (state == Qt::ApplicationActive) {
        if (!timer_.Active())
            timer_.Activate(static_cast<uint32_t>(clock_.elapsed()));
        ScheduleNextPoll();
    } else {
        timer_.Deactivate();
        pollTimer_.stop();
    }
}

void FrameDriver::Pause() {
    ++pauses_;
    pollTimer_.stop();
}

void FrameDriver::Resume() {
    if (pauses_ > 0 && --pauses_ == 0)
        ScheduleNextPoll();
}

void FrameDriver::ScheduleNextPoll() {
    if (!started_ || Paused() || !timer_.Active())
        return;
    pollTimer_.start(timer_.Interval);
}

bool FrameDriver::Poll(uint32_t now) {
    if (Paused())
        return false;
    bool drawn = false;
    if (const std::optional<int> lag = timer_.Poll(now)) {
        lastLag_ = *lag;
        errors_.GuardFrame([&] { drawn = RenderIfChanged(*lag); });
        ScheduleNextPoll();
    } else if (timer_.Active() && started_) {
        // Woken a little early: look again in a millisecond.
        pollTimer_.start(1);
    }
    return drawn;
}

FrameDriver::FrameKey FrameDriver::CurrentKey(int lagCount) const {
    FrameKey key;
    key.generation = panel_.Generation();
    key.cursorX = panel_.CursorX;
    key.cursorY = panel_.CursorY;
    key.cursorInside = panel_.CursorInside;
    key.selected = panel_.SelectedName;
    key.inputs = frameInputs ? frameInputs() : FrameInputs{};
    key.inputs.check = &check_.Check();
    key.inputs.lagCount = lagCount;
    key.inputs.frameRate = timer_.FrameRate();
    const Surface& surface = view_.FrameSurface();
    key.viewport = surface.Viewport();
    key.surfaceSize = QSize(surface.Width(), surface.Height());
    key.level = view_.Zoom();
    key.check = CheckLayerRevision(key.inputs.check);
    key.buffer = surface.BufferSerial();
    key.cols = panel_.PanelCols;
    key.rows = panel_.PanelRows;
    key.elements = panel_.Elements().size();
    return key;
}

QRect FrameDriver::CursorArea(int32_t cursorX, int32_t cursorY, ZoomLevel level) const {
    const int cw = panel_.CellWidth, ch = panel_.CellHeight;
    if (level.Actual())
        return QRect(cursorX - kCursorMargin, cursorY - kCursorMargin, cw + 2 * kCursorMargin,
                     ch + 2 * kCursorMargin);
    const int x = int(level.CellToScreen(panel_.ColumnAt(cursorX)));
    const int y = int(level.CellToScreen(panel_.RowAt(cursorY)));
    const int size = std::max(level.CellSize(), 1);
    // Enlarged, the preview's marks reach as many times further.
    const int margin = kCursorMargin * std::max(1, level.pixels / ZoomLevel::kCellPixels);
    return QRect(x - margin, y - margin, size + 2 * margin, size + 2 * margin);
}

QRect FrameDriver::ChangedArea(const FrameKey& before, const FrameKey& after) const {
    const bool sameLayers =
        before.generation == after.generation && before.viewport == after.viewport &&
        before.level == after.level && before.check == after.check &&
        before.surfaceSize == after.surfaceSize && before.buffer == after.buffer &&
        before.cols == after.cols && before.rows == after.rows &&
        before.inputs.options.Grid == after.inputs.options.Grid;
    if (!sameLayers)
        return after.viewport;
    // Only the preview, the cursor outline and the overlay can differ: the cells under the
    // old and the new cursor, and the overlay's corner.
    QRect changed = CursorArea(before.cursorX, before.cursorY, after.level) |
                    CursorArea(after.cursorX, after.cursorY, after.level);
    if (before.inputs.options.Info || after.inputs.options.Info)
        changed |= kOverlayArea;
    return changed & after.viewport;
}

bool FrameDriver::RenderIfChanged(int lagCount) {
    QRect changed;
    if (!Render(lagCount, changed))
        return false;
    view_.SurfaceControl()->update(changed);
    return true;
}

bool FrameDriver::Render(int lagCount, QRect& changed) {
    if (!view_.FrameSurface().CanDraw())
        return false;
    // The check's findings follow the edits, and its caption shows how many there are,
    // before the frame looks at its marks.
    check_.Refresh();
    const FrameKey key = CurrentKey(lagCount);
    FrameKey compared = key;
    // Without the overlay the timer's figures are not on screen.
    if (!key.inputs.options.Info) {
        compared.inputs.lagCount = 0;
        compared.inputs.frameRate = 0;
    }
    if (shownValid_ && compared == shown_)
        return false;
    FrameInputs inputs = key.inputs;
    if (key.level.Actual())
        renderer_.RenderFrame(inputs);
    else
        scaled_.RenderFrame(inputs, key.level);
    changed = shownValid_ ? ChangedArea(shown_, compared) : key.viewport;
    shown_ = compared;
    shownValid_ = true;
    ++framesDrawn_;
    return true;
}

} // namespace vedivez

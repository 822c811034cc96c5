#include "app/PanelView.h"

#include "app/BevelPanel.h"
#include "app/ErrorHandler.h"
#include "app/SurfaceWidget.h"
#include "panel/PanelState.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace vedivez {

namespace {

// Sees the events of the widgets it is installed on before they do; `handle` returns true
// for an event it took.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QEvent*)> handle)
        : QObject(parent), handle_(std::move(handle)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        return handle_(event) || QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QEvent*)> handle_;
};

bool SameInputs(const FrameInputs& a, const FrameInputs& b) {
    const ViewOptions& x = a.options;
    const ViewOptions& y = b.options;
    return x.Info == y.Info && x.Preview == y.Preview && x.CursorCell == y.CursorCell &&
           x.Grid == y.Grid && a.boxes == b.boxes && a.lagCount == b.lagCount &&
           a.frameRate == b.frameRate;
}

// Space around a cell that the preview's mirrored corner marks and the cursor outline reach.
constexpr int kCursorMargin = 8;
// The wheel scrolls three cells a notch, but never less than this many screen pixels.
constexpr int kMinWheelStep = 48;
// The overlay's four text lines near the surface's top-left corner, with room to spare.
const QRect kOverlayArea(0, 0, 520, 72);

} // namespace

bool PanelView::FrameKey::operator==(const FrameKey& o) const {
    return generation == o.generation && cursorX == o.cursorX && cursorY == o.cursorY &&
           cursorInside == o.cursorInside && selected == o.selected &&
           SameInputs(inputs, o.inputs) && viewport == o.viewport && surfaceSize == o.surfaceSize &&
           level == o.level && check == o.check && buffer == o.buffer && cols == o.cols &&
           rows == o.rows && elements == o.elements;
}

PanelView::PanelView(PanelState& panel, const ImageList& images, ErrorHandler& errors,
                     QWidget* parent)
    : panel_(panel), errors_(errors), renderer_(panel, surface_, images), occupancy_(panel),
      scaled_(panel, surface_, images, occupancy_) {
    area_ = new BevelPanel(QStringLiteral("P_PodkladPlochy"), BevelPanel::Style::Double, parent);
    horizontal_ = new QScrollBar(Qt::Horizontal, area_);
    horizontal_->setObjectName(QStringLiteral("SB_Vodorovny"));
    horizontal_->setFixedHeight(17);
    vertical_ = new QScrollBar(Qt::Vertical, area_);
    vertical_->setObjectName(QStringLiteral("SB_Svisly"));
    vertical_->setFixedWidth(17);
    viewport_ = new BevelPanel(QStringLiteral("P_Plocha"), BevelPanel::Style::Plain, area_);
    // The surface covers the viewport's own frame, as a control at (0, 0) of a panel does.
    viewport_->setContentsMargins(0, 0, 0, 0);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setMinimum(0);
        bar->setMaximum(0);
        bar->setSingleStep(1);
        bar->setEnabled(false);
    }
    // The panel's own margins keep the children inside its bevel; the layout adds none.
    auto* layout = new QGridLayout(area_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(viewport_, 0, 0);
    layout->addWidget(vertical_, 0, 1);
    layout->addWidget(horizontal_, 1, 0, 1, 2);

    surfaceWidget_ = new SurfaceWidget(surface_, viewport_);
    surfaceWidget_->setGeometry(0, 0, Surface::kInitialWidth, Surface::kInitialHeight);
    surface_.SetSize(Surface::kInitialWidth, Surface::kInitialHeight);
    UpdateViewport();

    viewport_->installEventFilter(new EventHook(this, [this](QEvent* event) {
        // Hiding or showing a tool panel resizes the viewport without resizing the window:
        // the scroll bars follow its real size.
        if (event->type() == QEvent::Resize) {
            UpdateViewport();
            NastaveniPosuvniku();
        }
        // The wheel beside a panel smaller than the viewport scrolls and zooms as over it.
        if (event->type() == QEvent::Wheel) {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const QPoint at = wheel->position().toPoint() - surfaceWidget_->pos();
            WheelTurned(wheel->angleDelta(), wheel->modifiers(), at);
            return true;
        }
        return false;
    }));
    connect(horizontal_, &QScrollBar::valueChanged, this, &PanelView::SB_VodorovnyChange);
    connect(vertical_, &QScrollBar::valueChanged, this, &PanelView::SB_SvislyChange);
    connect(surfaceWidget_, &SurfaceWidget::wheelTurned, this, &PanelView::WheelTurned);

    renderer_.onMissingImage = [this](const std::string& message) { errors_.ReportOnce(message); };
    scaled_.onMissingImage = renderer_.onMissingImage;
    surfaceWidget_->beforePaint = [this](const QRect& exposed) {
        // A scroll or resize shows parts of the surface the last frame did not cover; they
        // are drawn at once rather than at the next tick.
        if (!started_ || Paused() || !shownValid_)
            return;
        if (shown_.viewport == surface_.Viewport() &&
            shown_.surfaceSize == QSize(surface_.Width(), surface_.Height()) &&
            shown_.buffer == surface_.BufferSerial())
            return;
        errors_.GuardFrame([&] {
            QRect changed;
            if (Render(lastLag_, changed))
                surfaceWidget_->update(QRegion(changed) - QRegion(exposed));
        });
    };

    // Layouts move and resize their widgets one after another; the surface's place is looked
    // at once they are done.
    placementCheck_.setSingleShot(true);
    placementCheck_.setInterval(0);
    connect(&placementCheck_, &QTimer::timeout, this, &PanelView::CheckPlacement);

    pollTimer_.setSingleShot(true);
    pollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pollTimer_, &QTimer::timeout, this,
            [this] { Poll(static_cast<uint32_t>(clock_.elapsed())); });
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &PanelView::ApplicationStateChanged);
}

PanelView::~PanelView() = default;

QWidget* PanelView::Viewport() const {
    return viewport_;
}

int PanelView::SurfaceWidth() const {
    return surface_.Width();
}

int PanelView::SurfaceHeight() const {
    return surface_.Height();
}

void PanelView::SetSurfaceSize(int width, int height) {
    const QSize before = panelPixels_;
    // Another panel starts in the ordinary ranges.
    loose_[0] = loose_[1] = false;
    panelPixels_ = QSize(width, height);
    try {
        ApplySurfaceSize();
    } catch (...) {
        panelPixels_ = before;
        throw;
    }
}

void PanelView::ApplySurfaceSize() {
    const int width = int(level_.ToScreen(panelPixels_.width() - 1) + 1);
    const int height = int(level_.ToScreen(panelPixels_.height() - 1) + 1);
    surface_.SetSize(width, height);
    surfaceWidget_->resize(width, height);
    UpdateViewport();
}

void PanelView::WheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint at) {
    if (modifiers & Qt::ControlModifier) {
        // Notches of a fine-grained wheel add up to whole steps.
        zoomWheelAngle_ += angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x();
        const int steps = zoomWheelAngle_ / 120;
        zoomWheelAngle_ -= steps * 120;
        if (steps != 0)
            emit zoomWheel(steps, surfaceWidget_->mapTo(viewport_, at));
        return;
    }
    // Three cells a notch; Shift turns the wheel sideways, as in most editors.
    const int cell = std::max(level_.CellSize() * 3, kMinWheelStep) / 3;
    QPoint delta = angleDelta * (3 * cell) / 120;
    if (modifiers & Qt::ShiftModifier)
        delta = QPoint(delta.y(), delta.x());
    if (delta.x() && horizontal_->isEnabled())
        horizontal_->setValue(horizontal_->value() - delta.x());
    if (delta.y() && vertical_->isEnabled())
        vertical_->setValue(vertical_->value() - delta.y());
}

QPoint PanelView::ToPanel(QPoint widgetPoint) const {
    if (level_.Actual())
        return widgetPoint;
    return QPoint(int(std::clamp<int64_t>(level_.ToPanel(widgetPoint.x()), INT32_MIN, INT32_MAX)),
                  int(std::clamp<int64_t>(level_.ToPanel(widgetPoint.y()), INT32_MIN, INT32_MAX)));
}

QPoint PanelView::ToWidget(QPoint panelPoint) const {
    return QPoint(int(level_.ToScreen(panelPoint.x())), int(level_.ToScreen(panelPoint.y())));
}

ZoomLevel PanelView::FitLevel() const {
    const QSize room = viewport_->size();
    // Never above 100 %: a panel that fits is shown at its pictures' own size.
    for (const ZoomLevel& level : ZoomLevel::All())
        if (!level.Enlarged() && level.ToScreen(panelPixels_.width() - 1) < room.width() &&
            level.ToScreen(panelPixels_.height() - 1) < room.height())
            return level;
    return ZoomLevel::All().back();
}

void PanelView::SetZoom(ZoomLevel level) {
    Rescale(level, viewport_->rect().center(), false);
}

void PanelView::SetZoom(ZoomLevel level, QPoint anchor) {
    Rescale(level, anchor, true);
}

void PanelView::Rescale(ZoomLevel level, QPoint anchor, bool keepAnchor) {
    // The same scale again changes nothing, but brings a loosely placed panel back within
    // the ordinary ranges when not zooming about the pointer.
    if (level == level_ && (keepAnchor || !(loose_[0] || loose_[1])))
        return;
    // The panel point under the anchor now, which is to stay under it.
    const QPoint onSurface = anchor - surfaceWidget_->pos();
    QPoint panelPoint = ToPanel(onSurface);
    if (keepAnchor) {
        // Still the point of the last turn of the wheel if it lies in the anchor's pixel.
        if (anchor == anchorAt_ && ToWidget(anchorPanel_) == onSurface)
            panelPoint = anchorPanel_;
        panelPoint.setX(std::clamp(panelPoint.x(), 0, panelPixels_.width() - 1));
        panelPoint.setY(std::clamp(panelPoint.y(), 0, panelPixels_.height() - 1));
        anchorAt_ = anchor;
        anchorPanel_ = panelPoint;
    }
    ++placing_;
    level_ = level;
    ApplySurfaceSize();
    PlaceSurface(anchor - ToWidget(panelPoint), keepAnchor);
    --placing_;
    emit zoomChanged(level_);
    CheckPlacement();
}

void PanelView::PlaceSurface(QPoint topLeft, bool loose) {
    ++placing_;
    const int excess[2] = {std::max(0, surfaceWidget_->width() - viewport_->width()),
                           std::max(0, surfaceWidget_->height() - viewport_->height())};
    const int page[2] = {viewport_->width(), viewport_->height()};
    QScrollBar* bars[2] = {horizontal_, vertical_};
    int value[2] = {-topLeft.x(), -topLeft.y()};
    for (int i = 0; i < 2; ++i) {
        if (!loose)
            value[i] = std::clamp(value[i], 0, excess[i]);
        loose_[i] = value[i] < 0 || value[i] > excess[i];
        const int low = std::min(0, value[i]), high = std::max(excess[i], value[i]);
        bars[i]->setEnabled(high > low);
        bars[i]->setRange(low, high);
        bars[i]->setPageStep(page[i]);
        bars[i]->setValue(value[i]);
    }
    surfaceWidget_->move(-value[0], -value[1]);
    UpdateViewport();
    --placing_;
}

void PanelView::CentreOn(QPoint panelPoint) {
    const QPoint onWidget = ToWidget(panelPoint);
    if (horizontal_->isEnabled())
        horizontal_->setValue(onWidget.x() - viewport_->width() / 2);
    if (vertical_->isEnabled())
        vertical_->setValue(onWidget.y() - viewport_->height() / 2);
}

void PanelView::NastaveniPosuvniku() {
    const int size[2] = {surfaceWidget_->width(), surfaceWidget_->height()};
    const int room[2] = {viewport_->width(), viewport_->height()};
    const int at[2] = {-surfaceWidget_->x(), -surfaceWidget_->y()};
    QScrollBar* bars[2] = {horizontal_, vertical_};
    for (int i = 0; i < 2; ++i) {
        QScrollBar* bar = bars[i];
        const int excess = std::max(0, size[i] - room[i]);
        // A range widened by a zoom about the pointer holds the surface where it is until
        // a scroll brings it back within the ordinary range.
        int low = 0, high = excess;
        if (loose_[i] && (at[i] < 0 || at[i] > excess)) {
            low = std::min(0, at[i]);
            high = std::max(excess, at[i]);
        } else {
            loose_[i] = false;
        }
        bar->setEnabled(high > low);
        if (bar->isEnabled()) {
            bar->setRange(low, high);
            bar->setPageStep(room[i]);
        } else {
            bar->setRange(0, 0);
            surfaceWidget_->move(i == 0 ? QPoint(0, surfaceWidget_->y())
                                        : QPoint(surfaceWidget_->x(), 0));
        }
    }
    UpdateViewport();
}

void PanelView::SB_VodorovnyChange(int position) {
    surfaceWidget_->move(-position, surfaceWidget_->y());
    UpdateViewport();
    ScrolledBy(0, position);
}

void PanelView::SB_SvislyChange(int position) {
    surfaceWidget_->move(surfaceWidget_->x(), -position);
    UpdateViewport();
    ScrolledBy(1, position);
}

void PanelView::ScrolledBy(int axis, int position) {
    if (placing_ > 0)
        return;
    // Back within the ordinary range, the widened range goes.
    const int excess = axis == 0 ? surfaceWidget_->width() - viewport_->width()
                                 : surfaceWidget_->height() - viewport_->height();
    if (loose_[axis] && position >= 0 && position <= std::max(0, excess))
        NastaveniPosuvniku();
    CheckPlacement();
}

PanelView::Placement PanelView::CurrentPlacement() const {
    return {surfaceWidget_->mapToGlobal(QPoint(0, 0)),
            QRect(viewport_->mapToGlobal(QPoint(0, 0)), viewport_->size()), viewport_->isVisible(),
            level_};
}

void PanelView::CheckPlacement() {
    if (placing_ > 0)
        return;
    const Placement now = CurrentPlacement();
    if (now == placement_)
        return;
    placement_ = now;
    emit surfaceMoved();
}

QPoint PanelView::PointerOnWidget() const {
    return surfaceWidget_->mapFromGlobal(QCursor::pos());
}

std::optional<QPoint> PanelView::PointerOnSurface() const {
    if (!viewport_->isVisible())
        return std::nullopt;
    const QPoint global = QCursor::pos();
    if (!viewport_->rect().contains(viewport_->mapFromGlobal(global)))
        return std::nullopt;
    // Another window in front of the viewport (a dialog, a menu) has the pointer.
    QWidget* under = QApplication::widgetAt(global);
    if (under != surfaceWidget_ && under != viewport_)
        return std::nullopt;
    const QPoint p = surfaceWidget_->mapFromGlobal(global);
    if (!VisibleRect().contains(p))
        return std::nullopt;
    return p;
}

QRect PanelView::VisibleRect() const {
    const QRect inViewport(-surfaceWidget_->x(), -surfaceWidget_->y(), viewport_->width(),
                           viewport_->height());
    return inViewport & QRect(0, 0, surface_.Width(), surface_.Height());
}

void PanelView::UpdateViewport() {
    surface_.SetViewport(VisibleRect());
}

void PanelView::Start() {
    if (started_)
        return;
    started_ = true;
    // The surface's place on the screen follows its own moves and those of every widget
    // around it, up to the window's.
    auto* watcher = new EventHook(this, [this](QEvent* event) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show ||
            type == QEvent::Hide)
            placementCheck_.start();
        return false;
    });
    for (QWidget* w = surfaceWidget_; w; w = w->parentWidget())
        w->installEventFilter(watcher);
    placement_ = CurrentPlacement();
    clock_.start();
    surface_.Initialise();
    if (QGuiApplication::applicationState() == Qt::ApplicationActive)
        ApplicationStateChanged(Qt::ApplicationActive);
}

void PanelView::ApplicationStateChanged(Qt::ApplicationState state) {
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

void PanelView::Pause() {
    ++pauses_;
    pollTimer_.stop();
}

void PanelView::Resume() {
    if (pauses_ > 0 && --pauses_ == 0)
        ScheduleNextPoll();
}

void PanelView::ScheduleNextPoll() {
    if (!started_ || Paused() || !timer_.Active())
        return;
    pollTimer_.start(timer_.Interval);
}

bool PanelView::Poll(uint32_t now) {
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

PanelView::FrameKey PanelView::CurrentKey(int lagCount) const {
    FrameKey key;
    key.generation = panel_.Generation();
    key.cursorX = panel_.CursorX;
    key.cursorY = panel_.CursorY;
    key.cursorInside = panel_.CursorInside;
    key.selected = panel_.SelectedName;
    key.inputs = frameInputs ? frameInputs() : FrameInputs{};
    key.inputs.lagCount = lagCount;
    key.inputs.frameRate = timer_.FrameRate();
    key.viewport = surface_.Viewport();
    key.surfaceSize = QSize(surface_.Width(), surface_.Height());
    key.level = level_;
    key.check = CheckLayerRevision(key.inputs.check);
    key.buffer = surface_.BufferSerial();
    key.cols = panel_.PanelCols;
    key.rows = panel_.PanelRows;
    key.elements = panel_.Elements().size();
    return key;
}

QRect PanelView::CursorArea(int32_t cursorX, int32_t cursorY, ZoomLevel level) const {
    const int cw = panel_.CellWidth, ch = panel_.CellHeight;
    if (level.Actual())
        return QRect(cursorX - kCursorMargin, cursorY - kCursorMargin, cw + 2 * kCursorMargin,
                     ch + 2 * kCursorMargin);
    const int x = int(level.CellToScreen(cursorX / cw)), y = int(level.CellToScreen(cursorY / ch));
    const int size = std::max(level.CellSize(), 1);
    // Enlarged, the preview's marks reach as many times further.
    const int margin = kCursorMargin * std::max(1, level.pixels / ZoomLevel::kCellPixels);
    return QRect(x - margin, y - margin, size + 2 * margin, size + 2 * margin);
}

QRect PanelView::ChangedArea(const FrameKey& before, const FrameKey& after) const {
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

bool PanelView::RenderIfChanged(int lagCount) {
    QRect changed;
    if (!Render(lagCount, changed))
        return false;
    surfaceWidget_->update(changed);
    return true;
}

bool PanelView::Render(int lagCount, QRect& changed) {
    if (!surface_.CanDraw())
        return false;
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
    if (level_.Actual())
        renderer_.RenderFrame(inputs);
    else
        scaled_.RenderFrame(inputs, level_);
    changed = shownValid_ ? ChangedArea(shown_, compared) : key.viewport;
    shown_ = compared;
    shownValid_ = true;
    ++framesDrawn_;
    return true;
}

} // namespace vedivez

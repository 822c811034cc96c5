#include "app/Viewport.h"

#include "app/BevelPanel.h"
#include "app/SurfaceWidget.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGridLayout>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <functional>

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

// The wheel scrolls three cells a notch, but never less than this many screen pixels.
constexpr int kMinWheelStep = 48;

} // namespace

Viewport::Viewport(QWidget* parent) {
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
    connect(horizontal_, &QScrollBar::valueChanged, this, &Viewport::SB_VodorovnyChange);
    connect(vertical_, &QScrollBar::valueChanged, this, &Viewport::SB_SvislyChange);
    connect(surfaceWidget_, &SurfaceWidget::wheelTurned, this, &Viewport::WheelTurned);

    // Layouts move and resize their widgets one after another; the surface's place is looked
    // at once they are done.
    placementCheck_.setSingleShot(true);
    placementCheck_.setInterval(0);
    connect(&placementCheck_, &QTimer::timeout, this, &Viewport::CheckPlacement);
}

Viewport::~Viewport() = default;

QWidget* Viewport::ViewportWidget() const {
    return viewport_;
}

void Viewport::SetSurfaceSize(int width, int height) {
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

void Viewport::ApplySurfaceSize() {
    const int width = int(level_.ToScreen(panelPixels_.width() - 1) + 1);
    const int height = int(level_.ToScreen(panelPixels_.height() - 1) + 1);
    surface_.SetSize(width, height);
    surfaceWidget_->resize(width, height);
    UpdateViewport();
}

void Viewport::WheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint at) {
    if (modifiers & Qt::ControlModifier) {
        emit zoomWheelTurned(angleDelta.y() != 0 ? angleDelta.y() : angleDelta.x(),
                             surfaceWidget_->mapTo(viewport_, at));
        return;
    }
    // Three cells a notch; Shift turns the wheel sideways, as in most editors.
    const int cell = std::max(level_.CellSize() * 3, kMinWheelStep) / 3;
    QPoint delta = angleDelta * (3 * cell) / QWheelEvent::DefaultDeltasPerStep;
    if (modifiers & Qt::ShiftModifier)
        delta = QPoint(delta.y(), delta.x());
    if (delta.x() && horizontal_->isEnabled())
        horizontal_->setValue(horizontal_->value() - delta.x());
    if (delta.y() && vertical_->isEnabled())
        vertical_->setValue(vertical_->value() - delta.y());
}

QPoint Viewport::ToPanel(QPoint widgetPoint) const {
    if (level_.Actual())
        return widgetPoint;
    return QPoint(int(std::clamp<int64_t>(level_.ToPanel(widgetPoint.x()), INT32_MIN, INT32_MAX)),
                  int(std::clamp<int64_t>(level_.ToPanel(widgetPoint.y()), INT32_MIN, INT32_MAX)));
}

QPoint Viewport::ToWidget(QPoint panelPoint) const {
    return QPoint(int(level_.ToScreen(panelPoint.x())), int(level_.ToScreen(panelPoint.y())));
}

ZoomLevel Viewport::FitLevel() const {
    const QSize room = viewport_->size();
    // Never above 100 %: a panel that fits is shown at its pictures' own size.
    for (const ZoomLevel& level : ZoomLevel::All())
        if (!level.Enlarged() && level.ToScreen(panelPixels_.width() - 1) < room.width() &&
            level.ToScreen(panelPixels_.height() - 1) < room.height())
            return level;
    return ZoomLevel::All().back();
}

void Viewport::SetZoom(ZoomLevel level) {
    Rescale(level, viewport_->rect().center(), false);
}

void Viewport::SetZoom(ZoomLevel level, QPoint anchor) {
    Rescale(level, anchor, true);
}

void Viewport::Rescale(ZoomLevel level, QPoint anchor, bool keepAnchor) {
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

void Viewport::PlaceSurface(QPoint topLeft, bool loose) {
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

void Viewport::CentreOn(QPoint panelPoint) {
    const QPoint onWidget = ToWidget(panelPoint);
    if (horizontal_->isEnabled())
        horizontal_->setValue(onWidget.x() - viewport_->width() / 2);
    if (vertical_->isEnabled())
        vertical_->setValue(onWidget.y() - viewport_->height() / 2);
}

void Viewport::NastaveniPosuvniku() {
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

void Viewport::SB_VodorovnyChange(int position) {
    surfaceWidget_->move(-position, surfaceWidget_->y());
    UpdateViewport();
    ScrolledBy(0, position);
}

void Viewport::SB_SvislyChange(int position) {
    surfaceWidget_->move(surfaceWidget_->x(), -position);
    UpdateViewport();
    ScrolledBy(1, position);
}

void Viewport::ScrolledBy(int axis, int position) {
    if (placing_ > 0)
        return;
    // Back within the ordinary range, the widened range goes.
    const int excess = axis == 0 ? surfaceWidget_->width() - viewport_->width()
                                 : surfaceWidget_->height() - viewport_->height();
    if (loose_[axis] && position >= 0 && position <= std::max(0, excess))
        NastaveniPosuvniku();
    CheckPlacement();
}

Viewport::Placement Viewport::CurrentPlacement() const {
    return {surfaceWidget_->mapToGlobal(QPoint(0, 0)),
            QRect(viewport_->mapToGlobal(QPoint(0, 0)), viewport_->size()), viewport_->isVisible(),
            level_};
}

void Viewport::CheckPlacement() {
    if (placing_ > 0)
        return;
    const Placement now = CurrentPlacement();
    if (now == placement_)
        return;
    placement_ = now;
    emit surfaceMoved();
}

QPoint Viewport::PointerOnWidget() const {
    return surfaceWidget_->mapFromGlobal(QCursor::pos());
}

std::optional<QPoint> Viewport::PointerOnSurface() const {
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

QRect Viewport::VisibleRect() const {
    const QRect inViewport(-surfaceWidget_->x(), -surfaceWidget_->y(), viewport_->width(),
                           viewport_->height());
    return inViewport & QRect(0, 0, surface_.Width(), surface_.Height());
}

void Viewport::UpdateViewport() {
    surface_.SetViewport(VisibleRect());
}

void Viewport::Start() {
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
}

} // namespace vedivez

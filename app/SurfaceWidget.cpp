#include "app/SurfaceWidget.h"

#include "surface/Color.h"
#include "surface/Surface.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace vedivez {

namespace {

// Pointer positions in whole surface pixels; a position left of or above the surface stays
// negative (the release of a captured pointer may come from anywhere).
int Pixel(qreal v) {
    return static_cast<int>(std::floor(v));
}

} // namespace

SurfaceWidget::SurfaceWidget(Surface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
    setObjectName(QStringLiteral("X_Plocha"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    // Every visible pixel comes from the frame, so Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
    if (beforePaint)
        beforePaint(event->rect());
    QPainter p(this);
    const QRect exposed = event->rect();
    const QImage& buffer = surface_.BackBuffer();
    const QRect view = surface_.Viewport();
    const QRect shown = surface_.CanDraw() ? view & exposed : QRect();
    if (!shown.isEmpty())
        p.drawImage(shown.topLeft(), buffer, shown.translated(-view.topLeft()));
    // What the frame does not cover (before the first frame) shows the panel's grey.
    const QRegion rest = QRegion(exposed) - QRegion(shown);
    for (const QRect& r : rest)
        p.fillRect(r, QColor::fromRgb(ToQRgb(surface_.Color())));
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
    emit pointerMoved(Pixel(event->position().x()), Pixel(event->position().y()));
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
    held_ = event->buttons();
    emit buttonPressed(event->button(), Pixel(event->position().x()), Pixel(event->position().y()));
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    // A double click is a second press: it starts a drag like any press, and its release
    // follows as an ordinary release.
    mousePressEvent(event);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
    held_ = event->buttons();
    emit buttonReleased(event->button(), Pixel(event->position().x()),
                        Pixel(event->position().y()));
}

void SurfaceWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    emit focusEntered();
}

void SurfaceWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    emit focusLeft();
}

void SurfaceWidget::wheelEvent(QWheelEvent* event) {
    emit wheelTurned(event->angleDelta(), event->modifiers(),
                     QPoint(Pixel(event->position().x()), Pixel(event->position().y())));
    event->accept();
}

void SurfaceWidget::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    emit pointerLeft();
}

} // namespace vedivez

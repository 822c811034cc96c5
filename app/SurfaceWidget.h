#pragma once

#include <QWidget>
#include <functional>

namespace vedivez {

class Surface;

// The drawing surface X_Plocha: a widget as large as the panel's surface, moved inside its
// viewport by the scroll bars, so pointer coordinates are surface pixels whatever the scroll
// position. It only shows the surface's last presented frame; only the visible part of it
// has pixels behind it.
class SurfaceWidget : public QWidget {
    Q_OBJECT
public:
    SurfaceWidget(Surface& surface, QWidget* parent);

    // Whether a mouse button pressed on the surface is still held (the pointer is then
    // captured and reported even beyond the surface).
    bool ButtonHeld() const { return held_ != Qt::NoButton; }

    // Called before painting so the owner can bring the frame up to date for what is shown;
    // the exposed area is about to be painted anyway. A hook that must run before the paint,
    // not a notification.
    std::function<void(const QRect& exposed)> beforePaint;

signals:
    void pointerMoved(int x, int y);
    void buttonPressed(Qt::MouseButton button, int x, int y);
    void buttonReleased(Qt::MouseButton button, int x, int y);
    void focusEntered();
    void focusLeft();
    // The wheel turned over the surface (angle in eighths of a degree, as Qt gives it) at a
    // point of the surface widget.
    void wheelTurned(QPoint angleDelta, Qt::KeyboardModifiers modifiers, QPoint at);
    // The pointer left the surface widget.
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Surface& surface_;
    Qt::MouseButtons held_ = Qt::NoButton;
};

} // namespace vedivez

#include "app/ZoomController.h"

#include "app/Viewport.h"

#include <QMenu>
#include <QWheelEvent>
#include <algorithm>

namespace vedivez {

ZoomController::ZoomController(Viewport& view) : view_(view) {
    connect(&view_, &Viewport::zoomChanged, this, [this](ZoomLevel level) { ShowLevel(level); });
    connect(&view_, &Viewport::zoomWheelTurned, this, &ZoomController::WheelTurned);
}

void ZoomController::Attach(QMenu* submenu) {
    submenu_ = submenu;
    ShowLevel(view_.Zoom());
}

QString ZoomController::Title(ZoomLevel level) {
    return QString::fromUtf8("Měřítko (%1)").arg(level.PercentText());
}

void ZoomController::ShowLevel(ZoomLevel level) {
    if (submenu_)
        submenu_->setTitle(Title(level));
}

ZoomLevel ZoomController::Stepped(int steps) const {
    const auto& all = ZoomLevel::All();
    const int index = std::max(0, view_.Zoom().Index());
    // The list runs from 100 % down, so a step in is a step towards its start.
    const int next = std::clamp(index - steps, 0, int(all.size()) - 1);
    return all[size_t(next)];
}

void ZoomController::ZoomIn() {
    view_.SetZoom(Stepped(1));
}

void ZoomController::ZoomOut() {
    view_.SetZoom(Stepped(-1));
}

void ZoomController::ActualSize() {
    view_.SetZoom(ZoomLevel{});
}

void ZoomController::WholePanel() {
    view_.SetZoom(view_.FitLevel());
}

void ZoomController::ZoomAbout(int steps, QPoint anchor) {
    view_.SetZoom(Stepped(steps), anchor);
}

void ZoomController::WheelTurned(int angle, QPoint anchor) {
    wheelAngle_ += angle;
    const int steps = wheelAngle_ / QWheelEvent::DefaultDeltasPerStep;
    wheelAngle_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0)
        ZoomAbout(steps, anchor);
}

} // namespace vedivez

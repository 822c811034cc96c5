#pragma once

#include "panel/ZoomLevel.h"

#include <QObject>
#include <QPoint>
#include <QString>

class QMenu;

namespace vedivez {

class Viewport;

// The scale commands of the view menu's "Měřítko": a step in, a step out, 100 % and the
// whole panel, and Ctrl with the wheel about the pointer. The submenu's title shows the
// scale. The scale is a view setting: it starts at 100 % and stays across New and Open.
class ZoomController : public QObject {
public:
    explicit ZoomController(Viewport& view);

    // The menu's "Měřítko" submenu, once the menu exists.
    void Attach(QMenu* submenu);

    void ZoomIn();     // Přiblížit
    void ZoomOut();    // Oddálit
    void ActualSize(); // Skutečná velikost
    void WholePanel(); // Celý panel
    // `steps` levels in (positive) or out about a point of the viewport.
    void ZoomAbout(int steps, QPoint anchor);
    // Ctrl and the wheel turned by `angle` (eighths of a degree) about a point of the
    // viewport: the turns of a fine-grained wheel add up to whole steps.
    void WheelTurned(int angle, QPoint anchor);

    // "Měřítko (25 %)".
    static QString Title(ZoomLevel level);

private:
    ZoomLevel Stepped(int steps) const;
    void ShowLevel(ZoomLevel level);

    Viewport& view_;
    QMenu* submenu_ = nullptr;
    // The wheel's angle not yet used up by whole steps.
    int wheelAngle_ = 0;
};

} // namespace vedivez

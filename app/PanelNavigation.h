#pragma once

#include "app/WindowShortcuts.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>
#include <functional>

class QWidget;

namespace vedivez {

class PanelState;
class Viewport;

// Getting around a big panel: the paging keys (Page Up/Down, Home/End, Ctrl+Home/End, which
// the size fields keep for themselves while they have the focus), the view scrolling by
// itself while a drag holds the pointer at or beyond the viewport's edge, and the tooltip
// naming the cell under a resting pointer with what it holds.
class PanelNavigation : public QObject {
public:
    // The keys are window shortcuts of `window`.
    PanelNavigation(PanelState& panel, Viewport& view, QWidget* window);

    void PageUp();
    void PageDown();
    void ToLeftEdge();
    void ToRightEdge();
    void ToTopLeft();
    void ToBottomRight();

    // One step of the scrolling during a drag, for the pointer at this viewport point;
    // returns whether the view moved. A cell a step in the strip along the viewport's edge,
    // then faster the further beyond the edge the pointer is, up to the viewport's size in
    // a quarter of a second; a pointer at the screen's edge, which can go no further, gets
    // that speed at once.
    bool AutoScrollStep(QPoint inViewport);
    // Pace of those steps, in milliseconds.
    static constexpr int kAutoScrollInterval = 30;

    // "Sloupec 38, řádek 12", then one line for each element of the cell with its name and
    // set connection flags ("KOL_sLSPS · LS PS").
    static QString CellText(const PanelState& panel, int32_t col, int32_t row);

    // How long the pointer rests before the tooltip shows, in milliseconds.
    static constexpr int kTooltipDelay = 500;

private:
    void ShowTooltip();

    PanelState& panel_;
    Viewport& view_;
    // The size fields keep the paging keys while they have the focus.
    WindowShortcuts keys_;
    QTimer autoScroll_;
    QTimer tooltip_;
};

} // namespace vedivez

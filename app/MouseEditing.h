#pragma once

#include <QString>
#include <Qt>

class QCheckBox;
class QLabel;

namespace vedivez {

class Document;
class PanelState;

// Turns pointer and focus events of the surface into edits of the document: the snapped cursor,
// one placement or removal on a left or right button release, a row filled by a
// left-to-right drag with the left button, and the drag display on the left panel; also
// the four one-cell shift commands. No edit of the mouse reaches a cell outside the panel.
class MouseEditing {
public:
    MouseEditing(Document& document, QCheckBox* dragBox, QLabel* startLabel, QLabel* endLabel);

    void X_PlochaEnter();
    void X_PlochaExit();
    void X_PlochaMouseDown() { BeginDrag(); }
    void X_PlochaMouseMove(int x, int y) { TrackCursor(x, y); }
    void X_PlochaMouseUp(Qt::MouseButton button, int x, int y);

    void TrackCursor(int x, int y);
    void BeginDrag();
    // Ends the drag that the release of `button` finished; only the left button lays a row.
    void EndDrag(Qt::MouseButton button);

    // "<CursorX>x<CursorY>" in surface pixels.
    QString PositionText() const;

    void Zpt1Click();         // all one cell left
    void Posunoutve1Click();  // right
    void PosunoutveV1Click(); // down
    void Posunoutve2Click();  // up

private:
    // Whether the surface pixel lies on the panel (not left of, above or beyond it).
    bool OnPanel(int x, int y) const;
    // Lays the tile in the dragged run of cells, as far as it lies on the panel.
    void FillDraggedRun();

    Document& document_;
    PanelState& panel_;
    QCheckBox* dragBox_;
    QLabel* startLabel_;
    QLabel* endLabel_;
};

} // namespace vedivez

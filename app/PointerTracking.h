#pragma once

#include <QObject>

namespace vedivez {

class ErrorHandler;
class MouseEditing;
class PanelState;
class Viewport;

// Keeps the cursor on the cell under a resting pointer when the panel moves under it: after
// a scroll, a new scale, tool panels hidden or shown, the window resized. The outline, the
// preview and the drag's end go to the cell a click would now land on; when the panel moved
// away from under the pointer, the outline goes until the pointer comes back. A pointer that
// left the panel by moving leaves the cursor where it was, as always.
class PointerTracking : public QObject {
public:
    PointerTracking(PanelState& panel, Viewport& view, MouseEditing& mouse, ErrorHandler& errors);

    // Follows the pointer to where it is now over the panel.
    void Follow();

private:
    PanelState& panel_;
    Viewport& view_;
    MouseEditing& mouse_;
    ErrorHandler& errors_;
    // Whether the pointer was over the visible panel at the last look, so that the cursor
    // followed it there.
    bool over_ = false;
    // The outline was hidden here because the panel moved away from under the pointer.
    bool hidden_ = false;
};

} // namespace vedivez

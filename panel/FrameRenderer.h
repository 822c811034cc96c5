#pragma once

#include "panel/TPolePanelu.h"

#include <functional>
#include <string>
#include <unordered_set>

namespace vedivez {

class ImageList;
class KeyedImage;
class PanelState;
class Surface;

// The four layers the user can switch off in the view menu; all start on.
struct ViewOptions {
    bool Info = true;       // diagnostic overlay
    bool Preview = true;    // translucent preview of the tile to insert
    bool CursorCell = true; // outline of the cell under the cursor
    bool Grid = true;       // cell grid
};

// What one frame shows besides the panel: the view options, the corner check boxes that
// decide the preview's marks, and the timer's figures for the overlay.
struct FrameInputs {
    ViewOptions options;
    PositionFlags boxes;
    int lagCount = 1;
    int frameRate = 0;
};

// Draws one frame of the panel onto the surface and presents it: background, tiles, the
// elements' corner marks, preview, grid, cursor outline and overlay, in that order. Only the
// cells that reach the surface's viewport are visited, so a frame costs what the window
// shows, not what the panel holds. It only reads the panel.
class FrameRenderer {
public:
    FrameRenderer(const PanelState& panel, Surface& surface, const ImageList& images);

    void RenderFrame(const FrameInputs& inputs);

    // Receives "Image '<name>' not found" once for each name without a picture; the frame
    // shows a red placeholder in its place instead of stopping.
    std::function<void(const std::string& message)> onMissingImage;

private:
    const KeyedImage& TileFor(const std::string& name);
    void DrawTiles();
    void DrawElement(const TPolePanelu& e, bool marks);
    void DrawMarks(int64_t x0, int64_t y0, bool lh, bool ld, bool ph, bool pd, int alpha);
    void DrawPreview(const PositionFlags& boxes);
    void DrawGrid();
    void DrawOverlay(const FrameInputs& inputs);

    const PanelState& panel_;
    Surface& surface_;
    const ImageList& images_;
    int markLH_, markLD_, markPH_, markPD_;
    std::unordered_set<std::string> reported_;
};

} // namespace vedivez

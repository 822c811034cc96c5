#pragma once

#include "panel/KeptLayer.h"
#include "panel/TPolePanelu.h"
#include "panel/TileLookup.h"
#include "panel/ZoomLevel.h"
#include "surface/Surface.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vedivez {

class ImageList;
class KeyedImage;
class PanelState;

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
    // The connection check's findings as marks over the tiles; nothing when null or off.
    // They are drawn as they are: the check is brought up to date before the frame.
    const class ConnectionCheck* check = nullptr;
};

// The check's marks of the cells that can reach the viewport, over what is drawn so far
// (the surface in screen pixels at the level); nothing while the check is off.
void DrawCheckLayer(Surface& surface, const ConnectionCheck* check, ZoomLevel level);
// What the check's marks show, for the kept layers: 0 while it is off.
uint64_t CheckLayerRevision(const ConnectionCheck* check);

// What the lower layers of a frame (background, tiles, marks, grid, check marks) are drawn
// from, so that a renderer keeps them while none of it changes.
struct FrameLayerKey {
    uint64_t generation = ~uint64_t{0};
    QRect viewport;
    QSize surfaceSize;
    bool grid = false;
    int32_t cols = 0;
    int32_t rows = 0;
    ZoomLevel level;
    uint64_t check = 0;
    friend bool operator==(const FrameLayerKey&, const FrameLayerKey&) = default;

    // The key of a frame of the panel on the surface at the level.
    static FrameLayerKey Of(const PanelState& panel, const Surface& surface,
                            const FrameInputs& inputs, ZoomLevel level);
};

// The diagnostic overlay: the timer's figures, the element count and the cursor's cell, in
// four lines of text at the surface's top-left corner.
void DrawOverlayText(Surface& surface, const PanelState& panel, const FrameInputs& inputs);

// How far left of its cell a composite picture starts; it starts one pixel below the cell's
// top, where the tile starts, and the mirrored marks reach this far into the left neighbour.
constexpr int kCompositeLeft = 6;
// An element's tile (none when `tile` is null) with the corner marks of its set corner flags
// (`points`, a set of points) in its own and the neighbouring cells, as one picture with the
// white key, to be placed kCompositeLeft pixels left of the cell and one pixel below its top.
QImage ComposeTile(const ImageList& images, const KeyedImage* tile, uint32_t points, int cellWidth,
                   int cellHeight);

// Draws one frame of the panel onto the surface and presents it: background, tiles, the
// elements' corner marks, preview, grid, cursor outline and overlay, in that order. Only the
// cells that reach the surface's viewport are visited, so a frame costs what the window
// shows, not what the panel holds. It only reads the panel.
class FrameRenderer {
public:
    FrameRenderer(const PanelState& panel, Surface& surface, const ImageList& images);

    void RenderFrame(const FrameInputs& inputs);

    // Whether the background, tiles, corner marks and grid are kept between frames and
    // drawn again only after what they show changed (on by default). The preview, cursor
    // outline and overlay are drawn every frame.
    void SetLayerCache(bool on) { layers_.SetOn(on); }

    // Receives "Image '<name>' not found" once for each name without a picture; the frame
    // shows a red placeholder in its place instead of stopping.
    std::function<void(const std::string& message)> onMissingImage;

private:
    // Index of the element's picture, -1 when its name has none (reported once).
    int TileIndexFor(const std::string& name);
    const KeyedImage& TileFor(const std::string& name);
    // The element's tile (index -1: none) together with its corner marks in its own and the
    // neighbouring cells, as one picture placed kCompositeLeft pixels left of the cell.
    const KeyedImage& Composite(int tileIndex, uint32_t corners);
    // Background, tiles, the elements' corner marks and, when on, the grid.
    void DrawBackgroundAndTiles(bool grid);
    // Queues what the element adds to the tile and mark layers of its row of cells.
    void CollectElement(const TPolePanelu& e);
    // Draws the queued elements, first filling the pixel rows [yFrom, yTo) with the
    // background when that range is not empty: tiles and placeholders in the order queued,
    // with every mark above them.
    void FlushBand(int64_t yFrom, int64_t yTo);
    // The preview's corner marks of a set of points, translucent.
    void DrawMarks(int64_t x0, int64_t y0, uint32_t points, int alpha);
    void DrawPreview(const PositionFlags& boxes);
    // The grid's pixels inside a logical rectangle.
    void DrawGrid(const QRect& within);

    const PanelState& panel_;
    Surface& surface_;
    const ImageList& images_;
    std::array<int, kPointCount> marks_; // the corner marks' list items
    TileLookup lookup_;
    std::unordered_map<unsigned, std::unique_ptr<KeyedImage>> composites_;
    KeptLayer<FrameLayerKey> layers_;
    // An element of the row of cells being drawn: its picture's index (-1: placeholder),
    // its set corner flags and where its composite picture goes.
    struct BandEntry {
        int tileIndex;
        uint32_t corners;
        int x;
        int y;
    };
    std::vector<BandEntry> band_;
    bool bandHasPlaceholder_ = false;
    std::vector<Surface::Placement> placements_;
};

} // namespace vedivez

#pragma once

#include "panel/FrameRenderer.h"
#include "panel/KeptLayer.h"
#include "panel/TileLookup.h"
#include "panel/ZoomLevel.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vedivez {

class ImageList;
class KeyedImage;
class PanelOccupancy;
class PanelState;
class Surface;

// Draws frames of the panel at every scale but 100 %, where the surface is in screen pixels:
// above it the tiles with their corner marks enlarged two or three times pixel for pixel
// (nearest neighbour, so their one-bit edges stay sharp), down to 12 pixels a cell scaled
// down once per scale by area averaging, below that one dark block a cell, and from one pixel
// for several cells on a dark pixel where any of them holds an element. The grid is drawn
// down to 6 pixels a cell, in a lighter blue below 12 where it would swamp the track. As at
// 100 %, the background, tiles and grid are kept between frames, so a pointer move redraws
// only the preview, the cursor outline and the overlay.
class ScaledRenderer {
public:
    ScaledRenderer(const PanelState& panel, Surface& surface, const ImageList& images,
                   const PanelOccupancy& occupancy);

    void RenderFrame(const FrameInputs& inputs, ZoomLevel level);

    // Screen pixels a cell needs at least to show its tile rather than a block, and for the
    // grid to be drawn.
    static constexpr int kTileCellSize = 12;
    static constexpr int kGridCellSize = 6;
    // The grid's colour: the blue of 100 %, and the lighter one of the small cells (below
    // kTileCellSize), where a line takes a large share of a cell.
    static QRgb GridRgb(ZoomLevel level) {
        return ToQRgb(level.CellSize() < kTileCellSize ? kLightGridColour : kGridColour);
    }

    // The scaled picture of a tile (null: none) with the marks of the corner flags, and
    // where it goes relative to its cell's top-left screen pixel: its coverage in alpha,
    // premultiplied.
    struct Scaled {
        QImage image;
        int dx = 0;
        int dy = 0;
        // Enlarged, the picture is opaque where it is not transparent: its runs, drawn as
        // at 100 %.
        std::shared_ptr<const KeyedImage> keyed;
    };
    static Scaled Downscale(const QImage& picture, int panelX, int panelY, ZoomLevel level);
    // The same above 100 %, where each panel pixel becomes a square of whole screen pixels
    // that takes its colour (white, the key, staying transparent).
    static Scaled Enlarge(const QImage& picture, int panelX, int panelY, ZoomLevel level);

    // Receives "Image '<name>' not found" once for each name without a picture.
    std::function<void(const std::string& message)> onMissingImage;

private:
    // The picture of a tile (index -1: the placeholder) with the marks of a set of corners.
    const Scaled& Picture(int tileIndex, uint32_t corners);
    void DrawBase(bool grid);
    void DrawTiles();
    void DrawBlocks(bool grid);
    // The grid's lines that cross the rectangle of screen pixels.
    void DrawGrid(const QRect& within);
    void DrawCursorLayer(const FrameInputs& inputs);

    const PanelState& panel_;
    Surface& surface_;
    const ImageList& images_;
    const PanelOccupancy& occupancy_;
    TileLookup lookup_;
    ZoomLevel level_;
    // Scaled pictures of the current level, by tile and corner flags.
    std::unordered_map<uint32_t, Scaled> pictures_;

    KeptLayer<FrameLayerKey> layers_;
    std::vector<Surface::Placement> placements_;
};

} // namespace vedivez

#include "panel/FrameRenderer.h"

#include "panel/CheckMarkers.h"
#include "panel/ConnectionCheck.h"
#include "panel/CornerMarks.h"
#include "panel/ElementRows.h"
#include "panel/PanelState.h"
#include "panel/TileImages.h"
#include "surface/DrawingColours.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <QRect>
#include <algorithm>
#include <optional>
#include <vector>

namespace vedivez {

namespace {

// Whether a picture drawn at (x, y) can reach the visible rectangle; also keeps the
// coordinates handed to the surface within its int range.
bool Reaches(const QRect& view, int64_t x, int64_t y, int w, int h) {
    return x + w > view.left() && x <= view.right() && y + h > view.top() && y <= view.bottom();
}

} // namespace

FrameRenderer::FrameRenderer(const PanelState& panel, Surface& surface, const ImageList& images)
    : panel_(panel), surface_(surface), images_(images), marks_(CornerMarkIndices(images)),
      lookup_(images) {
    lookup_.onMissingImage = [this](const std::string& message) {
        if (onMissingImage)
            onMissingImage(message);
    };
}

int FrameRenderer::TileIndexFor(const std::string& name) {
    return lookup_.IndexFor(name);
}

const KeyedImage& FrameRenderer::TileFor(const std::string& name) {
    const int index = TileIndexFor(name);
    return index >= 0 ? images_.Image(index) : MissingTilePicture();
}

QImage ComposeTile(const ImageList& images, const KeyedImage* tile, uint32_t points, int cw,
                   int ch) {
    // Positions relative to the cell's corner (x0, y0), as the mark table gives them.
    QImage image(cw + 2 * kCompositeLeft + 2, ch, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto put = [&](const KeyedImage& picture, int x, int y) {
        for (int py = 0; py < picture.Height(); ++py)
            for (int px = 0; px < picture.Width(); ++px) {
                const int ix = x + px + kCompositeLeft, iy = y + py - 1;
                if (!picture.IsKey(px, py) && image.rect().contains(ix, iy))
                    image.setPixel(ix, iy, picture.Row(py)[px]);
            }
    };
    if (tile)
        put(*tile, 1, 1);
    const std::array<int, kPointCount> marks = CornerMarkIndices(images);
    for (const MarkPlacement& m : CornerMarkPlacements(points, cw, ch))
        put(images.Image(marks[size_t(m.mark)]), m.dx, m.dy);
    return image;
}

const KeyedImage& FrameRenderer::Composite(int tileIndex, uint32_t corners) {
    const uint32_t key = (uint32_t(tileIndex + 1) << kPointCount) | corners;
    std::unique_ptr<KeyedImage>& slot = composites_[key];
    if (slot)
        return *slot;
    const QImage image = ComposeTile(images_, tileIndex >= 0 ? &images_.Image(tileIndex) : nullptr,
                                     corners, panel_.CellWidth, panel_.CellHeight);
    slot = std::make_unique<KeyedImage>(KeyedImage::FromQImage(image));
    return *slot;
}

void FrameRenderer::CollectElement(const TPolePanelu& e) {
    const int64_t x0 = int64_t(e.X) * panel_.CellWidth;
    const int64_t y0 = int64_t(e.Y) * panel_.CellHeight;
    const int width = panel_.CellWidth + 2 * kCompositeLeft + 2;
    if (!Reaches(surface_.Viewport(), x0 - kCompositeLeft, y0 + 1, width, panel_.CellHeight))
        return;
    const int index = TileIndexFor(e.NAME);
    bandHasPlaceholder_ = bandHasPlaceholder_ || index < 0;
    band_.push_back({index, e.Flags() & kCornerPoints, int(x0 - kCompositeLeft), int(y0 + 1)});
}

void FrameRenderer::FlushBand(int64_t yFrom, int64_t yTo) {
    placements_.clear();
    if (!bandHasPlaceholder_) {
        for (const BandEntry& e : band_)
            placements_.push_back({&Composite(e.tileIndex, e.corners), e.x, e.y});
    } else {
        // A placeholder is not black, so here the order shows: tiles and placeholders go
        // down in list order, the later over the earlier, and then the marks of the whole
        // band, which no tile may cover.
        for (const BandEntry& e : band_) {
            if (e.tileIndex >= 0)
                placements_.push_back({&Composite(e.tileIndex, 0), e.x, e.y});
            else
                placements_.push_back({&MissingTilePicture(), e.x + kCompositeLeft + 1, e.y});
        }
        for (const BandEntry& e : band_)
            if (e.corners != 0)
                placements_.push_back({&Composite(-1, e.corners), e.x, e.y});
    }
    if (yFrom < yTo)
        surface_.FillRowsAndDraw(int(yFrom), int(yTo), surface_.Color(), placements_);
    else
        surface_.DrawImages(placements_);
    band_.clear();
    bandHasPlaceholder_ = false;
}

void FrameRenderer::DrawBackgroundAndTiles(bool grid) {
    const auto& elements = panel_.Elements();
    const QRect view = surface_.Viewport();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // Cells whose tile or marks can reach the view: a tile covers its cell shifted by one
    // pixel, and the mirrored marks reach one cell further left and right.
    const int64_t c0 = FloorDiv(view.left() - cw - 1, cw) - 1;
    const int64_t c1 = FloorDiv(view.right(), cw) + 1;
    const int64_t r0 = FloorDiv(view.top() - ch - 1, ch);
    const int64_t r1 = FloorDiv(view.bottom(), ch);

    // Tiles and marks hold only black on the transparent key, so the order in which they
    // are drawn does not change a pixel, and each element's tile and marks can go down as
    // one picture. Only a placeholder is coloured; it stays inside its own cell, so its
    // order matters only against the other records of that cell and against marks, which
    // FlushBand keeps. That lets the renderer go one row of cells at a time, filling the
    // background of those pixel rows just before drawing over them while they are still in
    // the cache.
    const ElementsByRow rows(panel_, c0, c1, r0, r1);
    // Row r's pictures cover the pixel rows r * ch + 1 .. r * ch + ch.
    int64_t filled = view.top();
    for (int64_t r = r0; r <= r1; ++r) {
        rows.ForEachInRow(r, [&](size_t i) { CollectElement(elements[i]); });
        const int64_t bandEnd = std::min<int64_t>(r * ch + ch + 1, int64_t(view.bottom()) + 1);
        FlushBand(filled, bandEnd);
        // The grid lies above everything drawn so far; drawing its part of these rows now
        // finds them still in the cache.
        if (grid && filled < bandEnd)
            DrawGrid(QRect(view.left(), int(filled), view.width(), int(bandEnd - filled)));
        filled = std::max(filled, bandEnd);
    }
    if (filled <= view.bottom()) {
        surface_.FillRowsAndDraw(int(filled), view.bottom() + 1, surface_.Color(), {});
        if (grid)
            DrawGrid(
                QRect(view.left(), int(filled), view.width(), int(view.bottom() + 1 - filled)));
    }
}

void FrameRenderer::DrawMarks(int64_t x0, int64_t y0, uint32_t points, int alpha) {
    const QRect view = surface_.Viewport();
    for (const MarkPlacement& m :
         CornerMarkPlacements(points, panel_.CellWidth, panel_.CellHeight)) {
        const int item = marks_[size_t(m.mark)];
        const int64_t x = x0 + m.dx, y = y0 + m.dy;
        const int w = images_.ImageWidth(item), h = images_.ImageHeight(item);
        if (Reaches(view, x, y, w, h))
            surface_.DrawImageAlpha(images_.Image(item), QRect(int(x), int(y), w, h), alpha);
    }
}

void FrameRenderer::DrawPreview(const PositionFlags& boxes) {
    const int64_t x = panel_.CursorX, y = panel_.CursorY;
    const QRect rect(int(x + 1), int(y + 1), panel_.CellWidth - 1, panel_.CellHeight - 1);
    surface_.DrawImageAlpha(TileFor(panel_.SelectedName), rect, panel_.PreviewAlpha);
    DrawMarks(x, y, boxes.Flags(), panel_.PreviewAlpha);
}

void FrameRenderer::DrawGrid(const QRect& within) {
    Canvas& canvas = surface_.SurfaceCanvas();
    canvas.Pen.Color = kGridColour;
    const QRect area = within & surface_.Viewport();
    if (area.isEmpty())
        return;
    const int64_t w = surface_.Width(), h = surface_.Height();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // The pixels of the full grid (PanelCols + 1 lines down the whole surface height and
    // PanelRows + 1 across its whole width) that lie in the area.
    const int64_t k0 = std::max<int64_t>(0, FloorDiv(area.left() + cw - 1, cw));
    const int64_t k1 = std::min<int64_t>(panel_.PanelCols, FloorDiv(area.right(), cw));
    std::vector<int> columns;
    for (int64_t k = k0; k <= k1; ++k)
        columns.push_back(int(k * cw));
    const int64_t top = std::max<int64_t>(0, area.top());
    const int64_t bottom = std::min<int64_t>(h, int64_t(area.bottom()) + 1);
    if (top < bottom)
        canvas.VerticalLines(columns, int(top), int(bottom));
    const int64_t j0 = std::max<int64_t>(0, FloorDiv(area.top() + ch - 1, ch));
    const int64_t j1 = std::min<int64_t>(panel_.PanelRows, FloorDiv(area.bottom(), ch));
    const int64_t left = std::max<int64_t>(0, area.left());
    const int64_t right = std::min<int64_t>(w, int64_t(area.right()) + 1);
    if (left >= right)
        return;
    for (int64_t k = j0; k <= j1; ++k) {
        canvas.MoveTo(int(left), int(k * ch));
        canvas.LineTo(int(right), int(k * ch));
    }
}

uint64_t CheckLayerRevision(const ConnectionCheck* check) {
    return check && check->Active() ? check->Revision() : 0;
}

void DrawCheckLayer(Surface& surface, const ConnectionCheck* check, ZoomLevel level) {
    if (!check || !check->Active())
        return;
    const QRect view = surface.Viewport();
    // The cells under the view, and one more each way for marks kept at their smallest.
    const int64_t c0 = FloorDiv(int64_t(view.left()) * level.cells, level.pixels) - 1;
    const int64_t c1 = FloorDiv(int64_t(view.right()) * level.cells, level.pixels) + level.cells;
    const int64_t r0 = FloorDiv(int64_t(view.top()) * level.cells, level.pixels) - 1;
    const int64_t r1 = FloorDiv(int64_t(view.bottom()) * level.cells, level.pixels) + level.cells;
    DrawCheckMarkers(surface, check->In(c0, c1, r0, r1), level);
}

FrameLayerKey FrameLayerKey::Of(const PanelState& panel, const Surface& surface,
                                const FrameInputs& inputs, ZoomLevel level) {
    return {panel.Generation(),
            surface.Viewport(),
            QSize(surface.Width(), surface.Height()),
            inputs.options.Grid,
            panel.PanelCols,
            panel.PanelRows,
            level,
            CheckLayerRevision(inputs.check)};
}

void DrawOverlayText(Surface& surface, const PanelState& panel, const FrameInputs& inputs) {
    Canvas& canvas = surface.SurfaceCanvas();
    canvas.Font.Color = kOverlayTextColour;
    canvas.TextOut(10, 10, "RefreshStopCount: " + std::to_string(inputs.lagCount));
    canvas.TextOut(10, 20, "RefreshTick/FrameRate: " + std::to_string(inputs.frameRate));
    canvas.TextOut(10, 30, "ArrayLength: " + std::to_string(panel.Elements().size()));
    canvas.TextOut(10, 40,
                   "Position: X=" + std::to_string(panel.ColumnAt(panel.CursorX)) +
                       " Y=" + std::to_string(panel.RowAt(panel.CursorY)));
}

void FrameRenderer::RenderFrame(const FrameInputs& inputs) {
    if (!surface_.CanDraw())
        return;
    // The background, tiles, marks and grid depend on nothing but the element list, the
    // grid option, the panel size, the viewport and the surface size, and those change far
    // less often than every 16 ms; they are kept and drawn again only when one changed.
    // The grid goes down with them, and only where the preview was drawn over it is it
    // drawn once more, which leaves every pixel as drawing it after the preview would.
    const bool grid = inputs.options.Grid;
    layers_.Show(surface_, FrameLayerKey::Of(panel_, surface_, inputs, ZoomLevel{}), [&] {
        DrawBackgroundAndTiles(grid);
        DrawCheckLayer(surface_, inputs.check, ZoomLevel{});
    });
    if (inputs.options.Preview) {
        DrawPreview(inputs.boxes);
        if (grid)
            DrawGrid(QRect(panel_.CursorX - 6, panel_.CursorY + 1, panel_.CellWidth + 14,
                           panel_.CellHeight));
    }
    if (panel_.CursorInside && inputs.options.CursorCell) {
        Canvas& canvas = surface_.SurfaceCanvas();
        canvas.Pen.Color = kCursorColour;
        canvas.Brush.Style = Canvas::BrushStyle::Clear;
        canvas.Rectangle(panel_.CursorX, panel_.CursorY, panel_.CursorX + panel_.CellWidth + 1,
                         panel_.CursorY + panel_.CellHeight + 1);
    }
    if (inputs.options.Info)
        DrawOverlayText(surface_, panel_, inputs);
    surface_.ReleaseCanvas();
    surface_.PresentFrame();
}

} // namespace vedivez

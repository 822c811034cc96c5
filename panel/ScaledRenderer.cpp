#include "panel/ScaledRenderer.h"

#include "panel/PanelOccupancy.h"
#include "panel/PanelState.h"
#include "panel/TileImages.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"
#include "surface/ImageList.h"
#include "surface/KeyedImage.h"
#include "surface/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vedivez {

namespace {

constexpr QRgb kBlock = ToQRgb(kTrackColour);

// The weights with which source pixels 0 .. n-1, starting at panel pixel `origin` of the
// cell, fall into the screen pixels of the scale: for screen pixel j (from `first`), the
// parts of each panel pixel inside [j * f, (j + 1) * f).
struct Weights {
    int64_t first = 0;
    std::vector<std::vector<std::pair<int, double>>> taps;
};

Weights WeightsFor(int origin, int n, ZoomLevel level) {
    const double f = double(ZoomLevel::kCellPixels) * level.cells / level.pixels;
    Weights w;
    w.first =
        FloorDiv(int64_t(origin) * level.pixels, int64_t(ZoomLevel::kCellPixels) * level.cells);
    const int64_t last = FloorDiv(int64_t(origin + n - 1) * level.pixels,
                                  int64_t(ZoomLevel::kCellPixels) * level.cells);
    for (int64_t j = w.first; j <= last; ++j) {
        const double a = double(j) * f, b = double(j + 1) * f;
        std::vector<std::pair<int, double>> taps;
        for (int i = 0; i < n; ++i) {
            const double p = origin + i;
            const double part = std::min(b, p + 1) - std::max(a, p);
            if (part > 0)
                taps.emplace_back(i, part);
        }
        w.taps.push_back(std::move(taps));
    }
    return w;
}

} // namespace

ScaledRenderer::ScaledRenderer(const PanelState& panel, Surface& surface, const ImageList& images,
                               const PanelOccupancy& occupancy)
    : panel_(panel), surface_(surface), images_(images), occupancy_(occupancy), lookup_(images) {
    lookup_.onMissingImage = [this](const std::string& message) {
        if (onMissingImage)
            onMissingImage(message);
    };
}

ScaledRenderer::Scaled ScaledRenderer::Downscale(const QImage& picture, int panelX, int panelY,
                                                 ZoomLevel level) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const Weights wx = WeightsFor(panelX, source.width(), level);
    const Weights wy = WeightsFor(panelY, source.height(), level);
    const double f = double(ZoomLevel::kCellPixels) * level.cells / level.pixels;
    const double area = f * f;
    Scaled out;
    out.dx = int(wx.first);
    out.dy = int(wy.first);
    out.image =
        QImage(int(wx.taps.size()), int(wy.taps.size()), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < out.image.width(); ++x) {
            double a = 0, r = 0, g = 0, b = 0;
            for (const auto& [sy, wyPart] : wy.taps[size_t(y)]) {
                const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(sy));
                for (const auto& [sx, wxPart] : wx.taps[size_t(x)]) {
                    const QRgb c = row[sx];
                    if ((c & 0xFFFFFF) == 0xFFFFFF)
                        continue; // the transparent key
                    const double w = wxPart * wyPart;
                    a += w;
                    r += w * qRed(c);
                    g += w * qGreen(c);
                    b += w * qBlue(c);
                }
            }
            auto channel = [&](double v) { return int(std::lround(std::min(255.0, v / area))); };
            line[x] = qRgba(channel(r), channel(g), channel(b), channel(a * 255));
        }
    }
    return out;
}

ScaledRenderer::Scaled ScaledRenderer::Enlarge(const QImage& picture, int panelX, int panelY,
                                               ZoomLevel level) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int factor = level.pixels / ZoomLevel::kCellPixels;
    Scaled out;
    out.dx = panelX * factor;
    out.dy = panelY * factor;
    out.image = QImage(source.width() * factor, source.height() * factor,
                       QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.image.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y / factor));
        auto* line = reinterpret_cast<QRgb*>(out.image.scanLine(y));
        for (int x = 0; x < out.image.width(); ++x) {
            const QRgb c = from[x / factor];
            line[x] = (c & 0xFFFFFF) == 0xFFFFFF ? 0 : (c | 0xFF000000);
        }
    }
    out.keyed = std::make_shared<const KeyedImage>(KeyedImage::FromQImage(out.image));
    return out;
}

const ScaledRenderer::Scaled& ScaledRenderer::Picture(int tileIndex, uint32_t corners) {
    // Index -1, the placeholder, keys as 0.
    const uint32_t key = (uint32_t(tileIndex + 1) << kPointCount) | corners;
    auto it = pictures_.find(key);
    if (it != pictures_.end())
        return it->second;
    const KeyedImage* tile = tileIndex >= 0 ? &images_.Image(tileIndex) : &MissingTilePicture();
    const QImage composite =
        ComposeTile(images_, tile, corners, panel_.CellWidth, panel_.CellHeight);
    Scaled scaled = level_.Enlarged() ? Enlarge(composite, -kCompositeLeft, 1, level_)
                                      : Downscale(composite, -kCompositeLeft, 1, level_);
    return pictures_.emplace(key, std::move(scaled)).first->second;
}

void ScaledRenderer::DrawTiles() {
    const QRect view = surface_.Viewport();
    const int s = level_.CellSize();
    // Cells whose picture can reach the view: the marks reach a little into the
    // neighbouring cells, and the tile one pixel further down.
    const int64_t c0 = FloorDiv(view.left(), s) - 1;
    const int64_t c1 = FloorDiv(view.right(), s) + 1;
    const int64_t r0 = FloorDiv(view.top(), s) - 1;
    const int64_t r1 = FloorDiv(view.bottom(), s);
    // Enlarged pictures are opaque runs, gathered and drawn in one pass as at 100 %.
    placements_.clear();
    auto draw = [&](const TPolePanelu& e) {
        const int index = lookup_.IndexFor(e.NAME);
        const Scaled& picture = Picture(index, e.Flags() & kCornerPoints);
        const int x = int(int64_t(e.X) * s + picture.dx), y = int(int64_t(e.Y) * s + picture.dy);
        if (picture.keyed)
            placements_.push_back({picture.keyed.get(), x, y});
        else
            surface_.DrawPremultiplied(picture.image, x, y);
    };
    const auto& elements = panel_.Elements();
    const uint64_t cells = uint64_t(c1 - c0 + 1) * uint64_t(r1 - r0 + 1);
    if (cells > elements.size()) {
        for (const TPolePanelu& e : elements)
            if (e.X >= c0 && e.X <= c1 && e.Y >= r0 && e.Y <= r1)
                draw(e);
    } else {
        for (int64_t r = r0; r <= r1; ++r)
            for (int64_t c = c0; c <= c1; ++c)
                panel_.ForEachElementAt(int32_t(c), int32_t(r),
                                        [&](size_t i) { draw(elements[i]); });
    }
    surface_.DrawImages(placements_);
}

void ScaledRenderer::DrawBlocks(bool grid) {
    const QRect view = surface_.Viewport();
    const QRgb background = ToQRgb(surface_.Color());
    const int width = view.width();
    std::vector<QRgb> line(static_cast<size_t>(width));
    const int s = level_.CellSize();
    const int k = level_.cells;
    const QRgb gridRgb = GridRgb(level_);
    int64_t composedFor = INT64_MIN;
    for (int y = view.top(); y <= view.bottom(); ++y) {
        QRgb* row = surface_.ViewportRow(y);
        // One row of pixels per row of cells (or of blocks of cells), copied to the others.
        const int64_t cellRow = s > 0 ? y / s : int64_t(y) * k;
        if (cellRow != composedFor) {
            composedFor = cellRow;
            for (int i = 0; i < width; ++i) {
                const int x = view.left() + i;
                const bool dark = s > 0 ? occupancy_.Occupied(x / s, int32_t(cellRow))
                                        : occupancy_.AnyInBlock(x * k, int32_t(cellRow), k,
                                                                panel_.PanelCols, panel_.PanelRows);
                line[size_t(i)] = dark ? kBlock : background;
            }
            if (grid && s >= kGridCellSize)
                for (int i = 0; i < width; ++i)
                    if ((view.left() + i) % s == 0)
                        line[size_t(i)] = gridRgb;
        }
        if (grid && s >= kGridCellSize && y % s == 0)
            std::fill(row, row + width, gridRgb);
        else
            std::memcpy(row, line.data(), size_t(width) * sizeof(QRgb));
    }
}

void ScaledRenderer::DrawGrid(const QRect& within) {
    const int s = level_.CellSize();
    if (s < kGridCellSize)
        return;
    const QRgb gridRgb = GridRgb(level_);
    const QRect area =
        within & surface_.Viewport() & QRect(0, 0, surface_.Width(), surface_.Height());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        QRgb* row = surface_.ViewportRow(y);
        if (!row)
            continue;
        const int left = surface_.Viewport().left();
        if (y % s == 0) {
            std::fill(row + (area.left() - left), row + (area.right() + 1 - left), gridRgb);
            continue;
        }
        for (int x = (area.left() + s - 1) / s * s; x <= area.right(); x += s)
            row[x - left] = gridRgb;
    }
}

void ScaledRenderer::DrawBase(bool grid) {
    if (level_.CellSize() >= kTileCellSize) {
        surface_.FillSurface(surface_.Color());
        DrawTiles();
        if (grid)
            DrawGrid(surface_.Viewport());
    } else {
        DrawBlocks(grid);
    }
}

void ScaledRenderer::DrawCursorLayer(const FrameInputs& inputs) {
    const int64_t col = panel_.ColumnAt(panel_.CursorX);
    const int64_t row = panel_.RowAt(panel_.CursorY);
    const int s = level_.CellSize();
    // Where the cursor's cell lies on the screen, and how big it is there: a pixel stands
    // for several cells far out.
    const int64_t x = level_.CellToScreen(col), y = level_.CellToScreen(row);
    const int size = std::max(s, 1);
    if (inputs.options.Preview) {
        // The grid lies over the preview, over its marks in the neighbouring cells too.
        QRect covered(int(x) - 1, int(y) - 1, size + 2, size + 2);
        if (s >= kTileCellSize) {
            const int index = lookup_.IndexFor(panel_.SelectedName);
            const Scaled& preview = Picture(index, inputs.boxes.Flags() & kCornerPoints);
            const QPoint at(int(x + preview.dx), int(y + preview.dy));
            surface_.DrawPremultiplied(preview.image, at.x(), at.y(), panel_.PreviewAlpha);
            covered |= QRect(at, preview.image.size());
        } else {
            QImage block(size, size, QImage::Format_ARGB32_Premultiplied);
            block.fill(kBlock);
            surface_.DrawPremultiplied(block, int(x), int(y), panel_.PreviewAlpha);
        }
        if (inputs.options.Grid)
            DrawGrid(covered);
    }
    if (panel_.CursorInside && inputs.options.CursorCell) {
        Canvas& canvas = surface_.SurfaceCanvas();
        canvas.Pen.Color = kCursorColour;
        canvas.Brush.Style = Canvas::BrushStyle::Clear;
        // A cell smaller than a few pixels gets a ring around its pixel, so it stays seen.
        if (size >= 3)
            canvas.Rectangle(int(x), int(y), int(x + size + 1), int(y + size + 1));
        else
            canvas.Rectangle(int(x - 1), int(y - 1), int(x + size + 1), int(y + size + 1));
    }
}

void ScaledRenderer::RenderFrame(const FrameInputs& inputs, ZoomLevel level) {
    if (!surface_.CanDraw())
        return;
    if (!(level == level_)) {
        level_ = level;
        pictures_.clear();
    }
    const bool grid = inputs.options.Grid;
    layers_.Show(surface_, FrameLayerKey::Of(panel_, surface_, inputs, level), [&] {
        DrawBase(grid);
        DrawCheckLayer(surface_, inputs.check, level);
    });
    DrawCursorLayer(inputs);
    if (inputs.options.Info)
        DrawOverlayText(surface_, panel_, inputs);
    surface_.ReleaseCanvas();
    surface_.PresentFrame();
}

} // namespace vedivez

#include "panel/FrameRenderer.h"

#include "panel/PanelState.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <QRect>
#include <algorithm>

namespace vedivez {

namespace {

constexpr uint32_t kGridColor = 0xFF0000;   // blue
constexpr uint32_t kCursorColor = 0x0000FF; // red
constexpr uint32_t kTextColor = 0x000080;   // dark red

// Floor division for cell ranges that may start left of or above the panel.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Whether a picture drawn at (x, y) can reach the visible rectangle; also keeps the
// coordinates handed to the surface within its int range.
bool Reaches(const QRect& view, int64_t x, int64_t y, int w, int h) {
    return x + w > view.left() && x <= view.right() && y + h > view.top() && y <= view.bottom();
}

} // namespace

FrameRenderer::FrameRenderer(const PanelState& panel, Surface& surface, const ImageList& images)
    : panel_(panel), surface_(surface), images_(images),
      markLH_(images.FindImage("Ruzek_LH")), markLD_(images.FindImage("Ruzek_LD")),
      markPH_(images.FindImage("Ruzek_PH")), markPD_(images.FindImage("Ruzek_PD")) {}

const KeyedImage& FrameRenderer::TileFor(const std::string& name) {
    const int index = images_.TryFindImage(name);
    if (index >= 0)
        return images_.Image(index);
    if (reported_.insert(name).second && onMissingImage)
        onMissingImage("Image '" + name + "' not found");
    return MissingTilePicture();
}

void FrameRenderer::DrawMarks(int64_t x0, int64_t y0, bool lh, bool ld, bool ph, bool pd,
                              int alpha) {
    const QRect view = surface_.Viewport();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // Each corner flag marks its own cell and, mirrored, the horizontal neighbour; the two
    // marks meet at the boundary between the cells.
    const struct {
        bool on;
        int own, mirrored;
        int64_t ownX, mirroredX, y;
    } marks[] = {
        {lh, markLH_, markPH_, x0 + 1, x0 - 6, y0 + 1},
        {ld, markLD_, markPD_, x0 + 1, x0 - 6, y0 + ch - 6},
        {ph, markPH_, markLH_, x0 + cw - 6, x0 + cw + 1, y0 + 1},
        {pd, markPD_, markLD_, x0 + cw - 6, x0 + cw + 1, y0 + ch - 6},
    };
    for (const auto& m : marks) {
        if (!m.on)
            continue;
        for (auto [item, x] : {std::pair{m.own, m.ownX}, std::pair{m.mirrored, m.mirroredX}}) {
            const KeyedImage& mark = images_.Image(item);
            if (!Reaches(view, x, m.y, mark.Width(), mark.Height()))
                continue;
            if (alpha >= 0)
                surface_.DrawImageAlpha(
                    mark, QRect(int(x), int(m.y), images_.ImageWidth(item), images_.ImageHeight(item)),
                    alpha);
            else
                surface_.DrawImage(mark, int(x), int(m.y));
        }
    }
}

void FrameRenderer::DrawElement(const TPolePanelu& e, bool marks) {
    const int64_t x0 = int64_t(e.X) * panel_.CellWidth;
    const int64_t y0 = int64_t(e.Y) * panel_.CellHeight;
    if (!marks) {
        const KeyedImage& tile = TileFor(e.NAME);
        if (Reaches(surface_.Viewport(), x0 + 1, y0 + 1, tile.Width(), tile.Height()))
            surface_.DrawImage(tile, int(x0 + 1), int(y0 + 1));
        return;
    }
    if (e.Cont_LH || e.Cont_LD || e.Cont_PH || e.Cont_PD)
        DrawMarks(x0, y0, e.Cont_LH, e.Cont_LD, e.Cont_PH, e.Cont_PD, -1);
}

void FrameRenderer::DrawTiles() {
    const auto& elements = panel_.Elements();
    if (elements.empty())
        return;
    const QRect view = surface_.Viewport();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // Cells whose tile or marks can reach the view: a tile covers its cell shifted by one
    // pixel, and the mirrored marks reach one cell further left and right.
    const int64_t c0 = FloorDiv(view.left() - cw - 1, cw) - 1;
    const int64_t c1 = FloorDiv(view.right(), cw) + 1;
    const int64_t r0 = FloorDiv(view.top() - ch - 1, ch);
    const int64_t r1 = FloorDiv(view.bottom(), ch);
    const uint64_t cells = uint64_t(c1 - c0 + 1) * uint64_t(r1 - r0 + 1);

    // Tiles and marks hold only black on the transparent key, so their drawing order does
    // not change a pixel; only a placeholder is coloured, and it stays inside its own cell.
    // That lets a pass visit the visible cells through the cell index, or walk the list when
    // the list is the shorter of the two.
    for (bool marks : {false, true}) {
        if (cells <= elements.size()) {
            for (int64_t r = r0; r <= r1; ++r)
                for (int64_t c = c0; c <= c1; ++c)
                    panel_.ForEachElementAt(int32_t(c), int32_t(r), [&](size_t i) {
                        DrawElement(elements[i], marks);
                    });
        } else {
            for (const TPolePanelu& e : elements)
                if (e.X >= c0 && e.X <= c1 && e.Y >= r0 && e.Y <= r1)
                    DrawElement(e, marks);
        }
    }
}

void FrameRenderer::DrawPreview(const PositionFlags& boxes) {
    const int64_t x = panel_.CursorX, y = panel_.CursorY;
    const QRect rect(int(x + 1), int(y + 1), panel_.CellWidth - 1, panel_.CellHeight - 1);
    surface_.DrawImageAlpha(TileFor(panel_.SelectedName), rect, panel_.PreviewAlpha);
    DrawMarks(x, y, boxes.LH, boxes.LD, boxes.PH, boxes.PD, panel_.PreviewAlpha);
}

void FrameRenderer::DrawGrid() {
    Canvas& canvas = surface_.SurfaceCanvas();
    canvas.Pen.Color = kGridColor;
    const QRect view = surface_.Viewport();
    const int w = surface_.Width(), h = surface_.Height();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // Only the boundaries inside the view are drawn; the others would be clipped away.
    const int64_t k0 = std::max<int64_t>(0, FloorDiv(view.left(), cw));
    const int64_t k1 = std::min<int64_t>(panel_.PanelCols, FloorDiv(view.right(), cw));
    for (int64_t k = k0; k <= k1; ++k) {
        canvas.MoveTo(int(k * cw), 0);
        canvas.LineTo(int(k * cw), h);
    }
    const int64_t j0 = std::max<int64_t>(0, FloorDiv(view.top(), ch));
    const int64_t j1 = std::min<int64_t>(panel_.PanelRows, FloorDiv(view.bottom(), ch));
    for (int64_t k = j0; k <= j1; ++k) {
        canvas.MoveTo(0, int(k * ch));
        canvas.LineTo(w, int(k * ch));
    }
}

void FrameRenderer::DrawOverlay(const FrameInputs& inputs) {
    Canvas& canvas = surface_.SurfaceCanvas();
    canvas.Font.Color = kTextColor;
    canvas.TextOut(10, 10, "RefreshStopCount: " + std::to_string(inputs.lagCount));
    canvas.TextOut(10, 20, "RefreshTick/FrameRate: " + std::to_string(inputs.frameRate));
    canvas.TextOut(10, 30, "ArrayLength: " + std::to_string(panel_.Elements().size()));
    canvas.TextOut(10, 40,
                   "Position: X=" + std::to_string(panel_.CursorX / panel_.CellWidth) +
                       " Y=" + std::to_string(panel_.CursorY / panel_.CellHeight));
}

void FrameRenderer::RenderFrame(const FrameInputs& inputs) {
    if (!surface_.CanDraw())
        return;
    surface_.FillSurface(surface_.Color());
    DrawTiles();
    if (inputs.options.Preview)
        DrawPreview(inputs.boxes);
    if (inputs.options.Grid)
        DrawGrid();
    if (panel_.CursorInside && inputs.options.CursorCell) {
        Canvas& canvas = surface_.SurfaceCanvas();
        canvas.Pen.Color = kCursorColor;
        canvas.Brush.Style = Canvas::BrushStyle::Clear;
        canvas.Rectangle(panel_.CursorX, panel_.CursorY,
                         panel_.CursorX + panel_.CellWidth + 1,
                         panel_.CursorY + panel_.CellHeight + 1);
    }
    if (inputs.options.Info)
        DrawOverlay(inputs);
    surface_.ReleaseCanvas();
    surface_.PresentFrame();
}

} // namespace vedivez

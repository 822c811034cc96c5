// The scales of the view: their mapping between screen and panel pixels, the occupancy bits
// the far-out scales draw from, and the frames drawn at each scale against a reference made
// by scaling down the frame drawn at 100 %.

#include "PanelTestHelpers.h"
#include "panel/FrameRenderer.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelOccupancy.h"
#include "panel/ScaledRenderer.h"
#include "panel/TileCatalogue.h"
#include "panel/TileImages.h"
#include "panel/ZoomLevel.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <QImage>
#include <gtest/gtest.h>
#include <random>

using namespace vedivez;
using vedivez::test::Rec;

namespace {

const ImageList& Images() {
    static const ImageList list = MakeTileImageList();
    return list;
}

// From three times the pictures' size down to eight cells a pixel, in steps of at most
// halving; above 100 % only whole multiples of the pictures' pixels.
TEST(ZoomLevelTest, LevelsRunFromThreeTimesDownToEightCellsAPixel) {
    const auto& all = ZoomLevel::All();
    ASSERT_GE(all.size(), 16u);
    EXPECT_EQ(all.front(), (ZoomLevel{3 * 47, 1}));
    EXPECT_EQ(ZoomLevel{}.Index(), 2);
    EXPECT_TRUE(all[2].Actual());
    for (size_t i = 1; i < all.size(); ++i) {
        const double before = double(all[i - 1].pixels) / all[i - 1].cells;
        const double now = double(all[i].pixels) / all[i].cells;
        EXPECT_GE(now / before, 0.5) << i;
        EXPECT_LE(now / before, 0.86) << i;
        // Between 100 % and 12 pixels a cell no step loses more than a quarter.
        if (before <= 47 && now >= 12) {
            EXPECT_GE(now / before, 0.75) << i;
        }
        // Whole pixels a cell, or whole cells a pixel.
        EXPECT_TRUE(all[i].cells == 1 || all[i].pixels == 1) << i;
        EXPECT_EQ(all[i].Index(), int(i));
        EXPECT_EQ(all[i].Enlarged(), i < 2) << i;
        if (all[i].Enlarged()) {
            EXPECT_EQ(all[i].pixels % 47, 0) << i;
        }
    }
    // A panel of 4000 cells is 1000 pixels across one level above the last, 500 at it.
    EXPECT_EQ(all[all.size() - 2].CellsExtent(4000), 1000);
    EXPECT_EQ(all.back().CellsExtent(4000), 500);
}

TEST(ZoomLevelTest, PercentTexts) {
    const std::pair<ZoomLevel, const char*> cases[] = {
        {{141, 1}, "300 %"}, {{94, 1}, "200 %"}, {{40, 1}, "85 %"}, {{47, 1}, "100 %"},
        {{24, 1}, "51 %"},   {{12, 1}, "26 %"},  {{6, 1}, "13 %"},  {{1, 1}, "2 %"},
        {{1, 2}, "1 %"},     {{1, 4}, "0,5 %"},  {{1, 8}, "0,3 %"}};
    for (const auto& [level, text] : cases)
        EXPECT_EQ(level.PercentText().toStdString(), text) << level.pixels << "/" << level.cells;
}

// Screen pixels map to the panel pixel at their start, left of and above the panel too;
// the cell a point falls in is that of the panel pixel, as at 100 %.
TEST(ZoomLevelTest, ScreenAndPanelPixels) {
    const struct {
        ZoomLevel level;
        int64_t screen, panel;
    } cases[] = {
        {{47, 1}, 0, 0},           {{47, 1}, 100, 100},         {{47, 1}, -10, -10},
        {{47, 1}, -50, -50},       {{24, 1}, 23, 45},           {{24, 1}, 24, 47},
        {{24, 1}, -1, -2},         {{24, 1}, -24, -47},         {{24, 1}, -25, -49},
        {{12, 1}, 12, 47},         {{12, 1}, 11, 43},           {{6, 1}, 6 * 37, 47 * 37},
        {{1, 1}, 3999, 3999 * 47}, {{1, 1}, -1, -47},           {{1, 4}, 1, 188},
        {{1, 4}, -1, -188},        {{1, 8}, 499, 499 * 8 * 47}, {{94, 1}, 93, 46},
        {{94, 1}, 94, 47},         {{141, 1}, -1, -1},          {{141, 1}, 425, 141},
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(c.level.pixels) + "/" +
                                 std::to_string(c.level.cells) + " at " + std::to_string(c.screen);
        EXPECT_EQ(c.level.ToPanel(c.screen), c.panel) << what;
        // The panel pixel holds the screen pixel's left edge.
        const int64_t edge = c.screen * 47 * c.level.cells;
        EXPECT_LE(c.panel * c.level.pixels, edge) << what;
        EXPECT_GT((c.panel + 1) * c.level.pixels, edge) << what;
    }
    // Every screen pixel of a cell maps into that cell, at every level with whole pixels.
    for (const ZoomLevel& level : ZoomLevel::All()) {
        if (level.CellSize() == 0)
            continue;
        for (int cell : {-3, -1, 0, 1, 7, 3999})
            for (int i = 0; i < level.CellSize(); ++i) {
                const int64_t panel = level.ToPanel(level.CellToScreen(cell) + i);
                EXPECT_EQ(FloorDiv(panel, 47), cell) << level.pixels << " " << cell;
            }
    }
}

// The bits follow every edit: placements, removals (of one of two records of a cell too),
// and whole-list changes.
TEST(PanelOccupancyTest, BitsFollowEveryEdit) {
    HeadlessPanel h;
    h.document.SetSize(4000, 4000);
    PanelOccupancy occupancy(h.panel);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> cell(0, 70);
    for (int step = 0; step < 3000; ++step) {
        const int col = cell(random), row = cell(random);
        switch (step % 7) {
        case 0:
            h.panel.AppendElement(Rec(col, row, "KOL_sLSPS")); // may double a cell
            break;
        case 1:
        case 2:
            h.panel.PlaceElementAt(col * 47 + 5, row * 47 + 5, true);
            break;
        case 3:
            if (step % 140 == 3)
                h.panel.ShiftAll(1, 0) || h.panel.ShiftAll(-1, 0);
            break;
        default:
            h.panel.PlaceElementAt(col * 47 + 5, row * 47 + 5, false);
        }
        if (step % 100 == 99) {
            for (int r = -1; r <= 72; ++r)
                for (int c = -1; c <= 72; ++c)
                    ASSERT_EQ(occupancy.Occupied(c, r), h.panel.FindElementAt(c, r).has_value())
                        << step << ": " << c << "," << r;
        }
    }
    h.panel.AppendElement(Rec(3999, 3999, "X"));
    h.panel.AppendElement(Rec(4000, 12, "X"));
    EXPECT_TRUE(occupancy.Occupied(3999, 3999));
    EXPECT_FALSE(occupancy.Occupied(4000, 12));
    // Blocks count only the cells inside the panel's edges.
    EXPECT_TRUE(occupancy.AnyInBlock(3992, 3992, 8, 4000, 4000));
    EXPECT_FALSE(occupancy.AnyInBlock(3992, 3992, 8, 3999, 4000));
    EXPECT_FALSE(occupancy.AnyInBlock(3992, 3992, 8, 4000, 3999));
    h.panel.ClearElements();
    EXPECT_FALSE(occupancy.Occupied(3999, 3999));
}

// A panel with every kind of tile, corner marks and a tile without picture, rendered at
// 100 % and at a scale, with the same view options.
struct ZoomScene {
    ZoomScene(int cols, int rows) {
        h.document.SetSize(cols, rows);
        std::mt19937 random(11);
        const auto& names = PaletteTileNames();
        std::uniform_int_distribution<size_t> pick(0, names.size() - 1);
        for (int r = 1; r < rows - 1; ++r)
            for (int c = 1; c < cols - 1; ++c) {
                if ((c * 7 + r * 3) % 5 == 0)
                    continue;
                TPolePanelu e = Rec(c, r, names[pick(random)]);
                e.Cont_LH = (c + r) % 3 == 0;
                e.Cont_PD = (c * r) % 4 == 1;
                h.panel.AppendElement(e);
            }
        h.panel.AppendElement(Rec(cols - 2, rows - 2, "NEZNAMY"));
        h.panel.CursorInside = false;
    }
    QImage RenderActual(const FrameInputs& in) {
        Surface surface;
        const int w = h.panel.PanelCols * 47, ht = h.panel.PanelRows * 47;
        surface.SetSize(w, ht);
        surface.SetViewport(QRect(0, 0, w, ht));
        surface.Initialise();
        FrameRenderer renderer(h.panel, surface, Images());
        renderer.RenderFrame(in);
        return surface.BackBuffer().copy();
    }
    QImage RenderScaled(const FrameInputs& in, ZoomLevel level, QRect view = {}) {
        Surface surface;
        const int w = int(level.CellsExtent(h.panel.PanelCols));
        const int ht = int(level.CellsExtent(h.panel.PanelRows));
        surface.SetSize(w, ht);
        surface.SetViewport(view.isNull() ? QRect(0, 0, w, ht) : view);
        surface.Initialise();
        ScaledRenderer renderer(h.panel, surface, Images(), occupancy);
        renderer.RenderFrame(in, level);
        return surface.BackBuffer().copy();
    }
    HeadlessPanel h;
    PanelOccupancy occupancy{h.panel};
};

FrameInputs Plain(bool grid) {
    FrameInputs in;
    in.options = ViewOptions{false, false, false, grid};
    return in;
}

// The reference: the 100 % frame scaled down by averaging every panel pixel into the screen
// pixel it falls in (in part, where one straddles two).
QImage ReferenceDownscale(const QImage& actual, ZoomLevel level, QSize size) {
    QImage out(size, QImage::Format_RGB32);
    const double f = 47.0 * level.cells / level.pixels;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            double sum[3] = {0, 0, 0}, weight = 0;
            for (int py = int(y * f); py < std::min<double>(actual.height(), (y + 1) * f); ++py)
                for (int px = int(x * f); px < std::min<double>(actual.width(), (x + 1) * f);
                     ++px) {
                    const double wx =
                        std::min<double>(px + 1, (x + 1) * f) - std::max<double>(px, x * f);
                    const double wy =
                        std::min<double>(py + 1, (y + 1) * f) - std::max<double>(py, y * f);
                    const QRgb c = actual.pixel(px, py);
                    sum[0] += wx * wy * qRed(c);
                    sum[1] += wx * wy * qGreen(c);
                    sum[2] += wx * wy * qBlue(c);
                    weight += wx * wy;
                }
            out.setPixel(x, y,
                         qRgb(int(sum[0] / weight + 0.5), int(sum[1] / weight + 0.5),
                              int(sum[2] / weight + 0.5)));
        }
    return out;
}

// Down to 12 pixels a cell the tiles are the 100 % frame scaled down; below that a cell is a
// dark block exactly when it holds an element, and far out a pixel is dark exactly when one
// of its cells does.
TEST(ScaledRendererTest, FramesMatchTheFrameAt100PercentScaledDown) {
    ZoomScene scene(40, 24);
    const QImage actual = scene.RenderActual(Plain(false));
    for (const ZoomLevel& level : ZoomLevel::All()) {
        // 100 % itself, and the enlarged levels, which have a test of their own.
        if (level.CellSize() >= 47)
            continue;
        const std::string what = std::to_string(level.pixels) + "/" + std::to_string(level.cells);
        const QImage zoomed = scene.RenderScaled(Plain(false), level);
        ASSERT_EQ(zoomed.width(), level.CellsExtent(40)) << what;
        if (level.CellSize() >= ScaledRenderer::kTileCellSize) {
            const QImage reference = ReferenceDownscale(actual, level, zoomed.size());
            int64_t total = 0;
            int far = 0;
            for (int y = 0; y < zoomed.height(); ++y)
                for (int x = 0; x < zoomed.width(); ++x) {
                    const QRgb a = zoomed.pixel(x, y), b = reference.pixel(x, y);
                    const int d =
                        std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))});
                    total += d;
                    far += d > 48 ? 1 : 0;
                }
            const double pixels = double(zoomed.width()) * zoomed.height();
            EXPECT_LT(double(total) / pixels, 2.5) << what << ": mean difference";
            EXPECT_LT(far / pixels, 0.01) << what << ": pixels far off";
            continue;
        }
        // The cells a screen pixel stands for: one at whole pixels a cell, a square of them
        // further out.
        const int k = level.cells, size = std::max(1, level.CellSize());
        int wrong = 0;
        for (int y = 0; y < zoomed.height(); ++y)
            for (int x = 0; x < zoomed.width(); ++x) {
                bool occupied = false;
                for (int r = y / size * k; r < y / size * k + k && r < 24; ++r)
                    for (int c = x / size * k; c < x / size * k + k && c < 40; ++c)
                        occupied = occupied || scene.h.panel.FindElementAt(c, r).has_value();
                const bool dark = (zoomed.pixel(x, y) & 0xFFFFFF) == 0;
                wrong += dark != occupied ? 1 : 0;
            }
        EXPECT_EQ(wrong, 0) << what;
    }
}

// The grid stays one crisp pixel wide at every scale down to 6 pixels a cell, and is gone
// below; in the blue of 100 % where the tiles show, in a lighter blue on the smaller cells.
TEST(ScaledRendererTest, GridLinesAtCellEdgesDownToSixPixels) {
    ZoomScene scene(30, 20);
    for (const ZoomLevel& level : ZoomLevel::All()) {
        if (level.Actual())
            continue;
        const QImage zoomed = scene.RenderScaled(Plain(true), level);
        const int s = level.CellSize();
        const QRgb blue = ScaledRenderer::GridRgb(level);
        if (s >= ScaledRenderer::kTileCellSize) {
            EXPECT_EQ(blue, qRgb(0, 0, 255)) << s;
        } else {
            EXPECT_EQ(qBlue(blue), 255) << s;
            EXPECT_GE(std::min(qRed(blue), qGreen(blue)), 100) << s;
            EXPECT_LE(std::max(qRed(blue), qGreen(blue)), 180) << s;
        }
        int blueOffGrid = 0, gridNotBlue = 0;
        for (int y = 0; y < zoomed.height(); ++y)
            for (int x = 0; x < zoomed.width(); ++x) {
                const bool onGrid =
                    s >= ScaledRenderer::kGridCellSize && (x % s == 0 || y % s == 0);
                const bool isBlue = zoomed.pixel(x, y) == blue;
                blueOffGrid += isBlue && !onGrid ? 1 : 0;
                gridNotBlue += onGrid && !isBlue ? 1 : 0;
            }
        EXPECT_EQ(blueOffGrid, 0) << level.pixels << "/" << level.cells;
        EXPECT_EQ(gridNotBlue, 0) << level.pixels << "/" << level.cells;
    }
}

// Above 100 % each pixel of the frame at 100 % becomes a square of screen pixels, so the
// pictures' one-pixel edges stay sharp; the grid stays one pixel wide over them, and any part
// of the view renders as that part of the whole.
TEST(ScaledRendererTest, EnlargedFramesAreThe100PercentFramePixelForPixel) {
    ZoomScene scene(14, 9);
    const QImage actual = scene.RenderActual(Plain(false));
    for (const ZoomLevel level : {ZoomLevel{94, 1}, ZoomLevel{141, 1}}) {
        const int k = level.pixels / 47;
        for (const bool grid : {false, true}) {
            const QImage zoomed = scene.RenderScaled(Plain(grid), level);
            ASSERT_EQ(zoomed.size(), actual.size() * k);
            int wrong = 0;
            for (int y = 0; y < zoomed.height(); ++y)
                for (int x = 0; x < zoomed.width(); ++x) {
                    const bool line = grid && (x % level.pixels == 0 || y % level.pixels == 0);
                    const QRgb expected = line ? qRgb(0, 0, 255) : actual.pixel(x / k, y / k);
                    // Not the unknown tile's placeholder, which at 100 % alone lies below its
                    // neighbours' marks.
                    if (x / level.pixels == 12 && y / level.pixels == 7)
                        continue;
                    wrong += (zoomed.pixel(x, y) & 0xFFFFFF) != (expected & 0xFFFFFF) ? 1 : 0;
                }
            EXPECT_EQ(wrong, 0) << level.pixels << (grid ? " with the grid" : "");
            for (const QRect part : {QRect(5, 7, 400, 190), QRect(333, 100, 61, 700)})
                EXPECT_EQ(scene.RenderScaled(Plain(grid), level, part), zoomed.copy(part))
                    << level.pixels << " " << part.x() << "," << part.y();
        }
    }
}

// Any part of the view renders as the same part of the whole frame.
TEST(ScaledRendererTest, APartOfTheViewIsThatPartOfTheWhole) {
    ZoomScene scene(60, 40);
    FrameInputs in = Plain(true);
    for (const ZoomLevel& level :
         {ZoomLevel{24, 1}, ZoomLevel{12, 1}, ZoomLevel{6, 1}, ZoomLevel{1, 2}}) {
        const QImage whole = scene.RenderScaled(in, level);
        for (const QRect part : {QRect(5, 7, 200, 90), QRect(33, 0, 61, 200), QRect(1, 1, 3, 3)}) {
            const QRect inside = part & whole.rect();
            if (inside.isEmpty())
                continue;
            EXPECT_EQ(scene.RenderScaled(in, level, inside), whole.copy(inside))
                << level.pixels << "/" << level.cells << " " << part.x() << "," << part.y();
        }
    }
}

} // namespace

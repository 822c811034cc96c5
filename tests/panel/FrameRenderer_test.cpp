#include "PanelTestHelpers.h"
#include "panel/FrameRenderer.h"
#include "panel/HeadlessPanel.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <QImage>
#include <gtest/gtest.h>
#include <random>

using namespace vedivez;
using vedivez::test::Rec;

namespace {

constexpr uint32_t kGrey = 0x808080, kBlue = 0xFF0000, kRed = 0x0000FF, kBlack = 0;

const ImageList& Images() {
    static const ImageList list = MakeTileImageList();
    return list;
}

const KeyedImage& Picture(const char* name) {
    return Images().Image(Images().FindImage(name));
}

FrameInputs Only(bool preview, bool grid, bool cursor, bool info) {
    FrameInputs in;
    in.options = ViewOptions{info, preview, cursor, grid};
    in.boxes = PositionFlags{};
    return in;
}

// A panel, a surface sized to it and a renderer, as the editor wires them.
struct Scene {
    explicit Scene(int cols = 20, int rows = 10) {
        h.document.SetSize(cols, rows);
        surface.SetSize(cols * 47, rows * 47);
        surface.SetViewport(QRect(0, 0, cols * 47, rows * 47));
        surface.Initialise();
        renderer.onMissingImage = [this](const std::string& m) { messages.push_back(m); };
    }
    QImage Render(const FrameInputs& in) {
        renderer.RenderFrame(in);
        return surface.BackBuffer().copy();
    }
    HeadlessPanel h;
    PanelState& panel = h.panel;
    Surface surface;
    FrameRenderer renderer{panel, surface, Images()};
    std::vector<std::string> messages;
};

uint32_t At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}
uint32_t Bgr(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
uint32_t PixelBgr(const QImage& img, int x, int y) {
    return Bgr(At(img, x, y));
}

// Writes the overlay's four lines as the overlay places them, in its colour.
void WriteOverlay(Surface& surface, const std::vector<std::string>& lines) {
    Canvas& canvas = surface.SurfaceCanvas();
    canvas.Font.Color = 0x000080;
    for (size_t i = 0; i < lines.size(); ++i)
        canvas.TextOut(10, 10 + 10 * int(i), lines[i]);
    surface.ReleaseCanvas();
}

// The expected image of the tile and mark layers, drawn with plain surface calls.
QImage Expected(int w, int h, const std::function<void(Surface&)>& draw) {
    Surface s;
    s.SetSize(w, h);
    s.SetViewport(QRect(0, 0, w, h));
    s.Initialise();
    s.FillSurface(kGrey);
    draw(s);
    return s.BackBuffer().copy();
}

} // namespace

TEST(FrameRendererTest, ElementWithTopRightFlagDrawsTileAndBothMarks) {
    for (bool neighbourFirst : {false, true}) {
        Scene sc;
        TPolePanelu e = Rec(3, 2, "KOL_sLSPS");
        e.Cont_PH = true;
        if (neighbourFirst)
            sc.panel.AppendElement(Rec(4, 2, "KOL_sLDPH"));
        sc.panel.AppendElement(e);
        if (!neighbourFirst)
            sc.panel.AppendElement(Rec(4, 2, "KOL_sLDPH"));
        const QImage frame = sc.Render(Only(false, false, false, false));
        const QImage expected = Expected(20 * 47, 10 * 47, [](Surface& s) {
            s.DrawImage(Picture("KOL_sLSPS"), 142, 95);
            s.DrawImage(Picture("KOL_sLDPH"), 189, 95);
            s.DrawImage(Picture("Ruzek_PH"), 182, 95);
            s.DrawImage(Picture("Ruzek_LH"), 189, 95);
        });
        EXPECT_EQ(frame, expected) << neighbourFirst;
        // The mark over the neighbouring tile is drawn whatever the list order.
        EXPECT_EQ(PixelBgr(frame, 189, 95), kBlack);
        EXPECT_EQ(PixelBgr(frame, 188, 95), kBlack);
    }
}

TEST(FrameRendererTest, MarkPositionsForEachCornerFlag) {
    const struct {
        bool lh, ld, ph, pd;
        const char *own, *mirrored;
        int ownX, mirroredX, y;
    } cases[] = {
        {true, false, false, false, "Ruzek_LH", "Ruzek_PH", 47 * 5 + 1, 47 * 5 - 6, 47 * 3 + 1},
        {false, true, false, false, "Ruzek_LD", "Ruzek_PD", 47 * 5 + 1, 47 * 5 - 6, 47 * 3 + 41},
        {false, false, true, false, "Ruzek_PH", "Ruzek_LH", 47 * 5 + 41, 47 * 6 + 1, 47 * 3 + 1},
        {false, false, false, true, "Ruzek_PD", "Ruzek_LD", 47 * 5 + 41, 47 * 6 + 1, 47 * 3 + 41},
    };
    for (const auto& c : cases) {
        Scene sc;
        TPolePanelu e = Rec(5, 3, "NO_TILE_DRAWN");
        e.Cont_LH = c.lh, e.Cont_LD = c.ld, e.Cont_PH = c.ph, e.Cont_PD = c.pd;
        // The edge-middle flags draw nothing.
        e.Cont_LS = e.Cont_SH = e.Cont_SD = e.Cont_PS = true;
        sc.panel.AppendElement(e);
        const QImage frame = sc.Render(Only(false, false, false, false));
        const QImage expected = Expected(20 * 47, 10 * 47, [&](Surface& s) {
            s.DrawImage(MissingTilePicture(), 47 * 5 + 1, 47 * 3 + 1);
            s.DrawImage(Picture(c.own), c.ownX, c.y);
            s.DrawImage(Picture(c.mirrored), c.mirroredX, c.y);
        });
        EXPECT_EQ(frame, expected) << c.own;
    }
}

TEST(FrameRendererTest, MarkLeftOfColumnZeroShowsOnlyItsLastColumnUnderTheGrid) {
    Scene sc;
    TPolePanelu e = Rec(0, 1, "KOL_sLHPD");
    e.Cont_LH = true;
    sc.panel.AppendElement(e);
    const QImage noGrid = sc.Render(Only(false, false, false, false));
    // "Ruzek_PH" at x = -6: its column 6 is black in rows 0..5.
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(PixelBgr(noGrid, 0, 47 + 1 + y), y < 6 ? kBlack : kGrey) << y;
    const QImage grid = sc.Render(Only(false, true, false, false));
    for (int y = 0; y < 7; ++y)
        EXPECT_EQ(PixelBgr(grid, 0, 47 + 1 + y), kBlue) << y;
}

// Of two records in one cell the later is drawn over the earlier. One of them has no
// picture, so its placeholder (red, unlike the black tiles) makes the order visible.
// With many records elsewhere the renderer takes the cells from the index instead of
// walking the list; both ways must keep the order.
TEST(FrameRendererTest, TwoRecordsInOneCellBothShow) {
    for (int variant = 0; variant < 4; ++variant) {
        const bool placeholderLast = variant % 2, crowded = variant >= 2;
        Scene sc;
        const char* first = placeholderLast ? "KOL_sLSPS" : "NOT_A_TILE";
        const char* second = placeholderLast ? "NOT_A_TILE" : "KOL_sLSPS";
        for (int i = 0; crowded && i < 1000; ++i)
            sc.panel.AppendElement(Rec(500, 500, "KOL_sLSPS")); // far outside the view
        sc.panel.AppendElement(Rec(2, 2, first));
        sc.panel.AppendElement(Rec(2, 2, second));
        const QImage frame = sc.Render(Only(false, false, false, false));
        const QImage expected = Expected(20 * 47, 10 * 47, [&](Surface& s) {
            for (const char* name : {first, second})
                s.DrawImage(std::string(name) == "NOT_A_TILE" ? MissingTilePicture()
                                                              : Picture(name),
                            95, 95);
        });
        EXPECT_EQ(frame, expected) << (placeholderLast ? "placeholder last" : "tile last")
                                   << (crowded ? ", cells from the index" : "");
    }
}

// Corner marks lie above every tile, a placeholder included, whatever the list order: the
// mark an element puts into its neighbour's cell covers the neighbour's placeholder.
TEST(FrameRendererTest, MarksStayAbovePlaceholders) {
    Scene sc;
    TPolePanelu left = Rec(1, 2, "KOL_sLDPH");
    left.Cont_PH = true;
    sc.panel.AppendElement(left);
    sc.panel.AppendElement(Rec(2, 2, "NOT_A_TILE"));
    const QImage frame = sc.Render(Only(false, false, false, false));
    const QImage expected = Expected(20 * 47, 10 * 47, [](Surface& s) {
        s.DrawImage(Picture("KOL_sLDPH"), 48, 95);
        s.DrawImage(MissingTilePicture(), 95, 95);
        s.DrawImage(Picture("Ruzek_PH"), 47 + 41, 95);
        s.DrawImage(Picture("Ruzek_LH"), 47 + 48, 95);
    });
    EXPECT_EQ(frame, expected);
}

TEST(FrameRendererTest, FirstFrameAfterStart) {
    Scene sc;
    FrameInputs in; // all options on, only the edge-middle boxes checked
    in.boxes = sc.h.window.PositionBoxes();
    in.lagCount = 3;
    in.frameRate = 61;
    const QImage first = sc.Render(in);

    // Below the overlay the frame is: grey, the preview, the grid and the outline.
    in.options.Info = false;
    const QImage frame = sc.Render(in);
    EXPECT_EQ(PixelBgr(frame, 300, 300), kGrey);
    // Translucent "KOL_sLSPS": black blended at 100/255 over grey, inside (1,1)..(46,46).
    const uint32_t blended = (0 * 100 + 0x80 * 155 + 127) / 255;
    EXPECT_EQ(PixelBgr(frame, 30, 24), blended * 0x010101);
    EXPECT_EQ(PixelBgr(frame, 1, 24), blended * 0x010101);
    EXPECT_EQ(PixelBgr(frame, 46, 24), blended * 0x010101);
    EXPECT_EQ(PixelBgr(frame, 30, 17), kGrey);
    // No corner marks in the preview: the corners of the cell stay grey.
    EXPECT_EQ(PixelBgr(frame, 2, 45), kGrey);
    EXPECT_EQ(PixelBgr(frame, 45, 2), kGrey);
    // Grid, and the red outline through pixels 0..47 over it.
    EXPECT_EQ(PixelBgr(frame, 94, 300), kBlue);
    EXPECT_EQ(PixelBgr(frame, 300, 94), kBlue);
    for (int i = 0; i <= 47; ++i) {
        EXPECT_EQ(PixelBgr(frame, i, 0), kRed) << i;
        EXPECT_EQ(PixelBgr(frame, 0, i), kRed) << i;
        EXPECT_EQ(PixelBgr(frame, i, 47), kRed) << i;
        EXPECT_EQ(PixelBgr(frame, 47, i), kRed) << i;
    }
    EXPECT_EQ(PixelBgr(frame, 48, 20), kGrey);

    // The overlay adds exactly its four lines, on no background (the outline came first).
    WriteOverlay(sc.surface, {"RefreshStopCount: 3", "RefreshTick/FrameRate: 61", "ArrayLength: 0",
                              "Position: X=0 Y=0"});
    EXPECT_EQ(first, sc.surface.BackBuffer());
}

// The overlay is exactly four canvas texts: drawing them onto the frame without overlay
// must give the frame with overlay.
TEST(FrameRendererTest, OverlayTextsAndPositionLine) {
    Scene sc;
    sc.panel.AppendElement(Rec(1, 1, "KOL_sLSPS"));
    sc.panel.AppendElement(Rec(2, 1, "KOL_sLSPS"));
    sc.panel.AppendElement(Rec(-3, 1, "KOL_sLSPS"));
    sc.panel.CursorX = 94;
    sc.panel.CursorY = 47;
    FrameInputs in = Only(true, true, true, true);
    in.lagCount = 2;
    in.frameRate = 59;
    const QImage with = sc.Render(in);
    in.options.Info = false;
    sc.Render(in);
    WriteOverlay(sc.surface, {"RefreshStopCount: 2", "RefreshTick/FrameRate: 59", "ArrayLength: 3",
                              "Position: X=2 Y=1"});
    EXPECT_EQ(with, sc.surface.BackBuffer());
}

TEST(FrameRendererTest, CursorOutsideHidesOutlineButKeepsPreviewAndPosition) {
    Scene sc;
    sc.panel.CursorX = 47 * 4;
    sc.panel.CursorY = 47 * 2;
    sc.panel.CursorInside = false;
    const QImage frame = sc.Render(Only(true, false, true, false));
    EXPECT_EQ(PixelBgr(frame, 47 * 4, 47 * 2 + 20), kGrey);      // no outline
    EXPECT_NE(PixelBgr(frame, 47 * 4 + 10, 47 * 2 + 24), kGrey); // preview
    sc.panel.CursorInside = true;
    const QImage inside = sc.Render(Only(true, false, true, false));
    EXPECT_EQ(PixelBgr(inside, 47 * 4, 47 * 2 + 20), kRed);
}

TEST(FrameRendererTest, GridOfHundredByFiftyPanel) {
    Scene sc(100, 50);
    const QImage frame = sc.Render(Only(false, true, false, false));
    ASSERT_EQ(frame.width(), 4700);
    ASSERT_EQ(frame.height(), 2350);
    for (int x = 0; x < 4700; ++x)
        ASSERT_EQ(PixelBgr(frame, x, 20) == kBlue, x % 47 == 0) << x;
    for (int y = 0; y < 2350; ++y)
        ASSERT_EQ(PixelBgr(frame, 20, y) == kBlue, y % 47 == 0) << y;
    EXPECT_EQ(PixelBgr(frame, 4699, 2349), kGrey);
}

TEST(FrameRendererTest, EachViewOptionSwitchesOnlyItsLayer) {
    Scene sc;
    TPolePanelu e = Rec(6, 4, "KOL_sLDPH");
    e.Cont_PH = true;
    sc.panel.AppendElement(e);
    sc.panel.CursorX = 47 * 2;
    sc.panel.CursorY = 47 * 2;
    FrameInputs all;
    all.boxes = PositionFlags{true, false, true, false, false, true, false, true};
    const QImage full = sc.Render(all);
    const struct {
        bool ViewOptions::*option;
        QRect layer; // the only area where the layer may differ
    } cases[] = {
        {&ViewOptions::Info, QRect(0, 0, 300, 60)},
        {&ViewOptions::Preview, QRect(47 * 2 - 6, 47 * 2, 47 + 13, 48)},
        {&ViewOptions::CursorCell, QRect(47 * 2, 47 * 2, 48, 48)},
        {&ViewOptions::Grid, QRect(0, 0, 20 * 47, 10 * 47)},
    };
    for (const auto& c : cases) {
        FrameInputs in = all;
        in.options.*c.option = false;
        const QImage without = sc.Render(in);
        int changed = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                if (full.pixel(x, y) != without.pixel(x, y)) {
                    ++changed;
                    ASSERT_TRUE(c.layer.contains(x, y)) << x << "," << y;
                }
        EXPECT_GT(changed, 0);
    }
    // Preview off also drops the preview's marks although corner boxes are checked: the
    // left neighbour's mirrored mark area goes back to grey.
    FrameInputs noPreview = all;
    noPreview.options.Preview = false;
    noPreview.options.Grid = false;
    const QImage frame = sc.Render(noPreview);
    for (int y = 47 * 2 + 1; y < 47 * 2 + 8; ++y)
        for (int x = 47 * 2 - 6; x < 47 * 2; ++x)
            ASSERT_EQ(PixelBgr(frame, x, y), kGrey);
}

TEST(FrameRendererTest, TextStandsOnWhiteUntilFirstOutline) {
    Scene sc;
    sc.panel.CursorInside = false;
    FrameInputs in = Only(false, false, true, true);
    // Pixel (10, 10) is the top-left of the first text box, where no glyph of "R" reaches
    // the very corner in any sans-serif face... compare whole rows of the box instead.
    auto whiteInBox = [&](const QImage& img) {
        int white = 0;
        for (int x = 10; x < 60; ++x)
            white += PixelBgr(img, x, 10) == 0xFFFFFF;
        return white;
    };
    EXPECT_GT(whiteInBox(sc.Render(in)), 0);
    sc.panel.CursorInside = true;
    sc.Render(in); // draws the outline, which leaves the brush clear
    sc.panel.CursorInside = false;
    EXPECT_EQ(whiteInBox(sc.Render(in)), 0);
}

TEST(FrameRendererTest, MissingPicturesShowPlaceholderAndAreReportedOnce) {
    Scene sc;
    sc.panel.AppendElement(Rec(1, 1, "NOT_A_TILE"));
    sc.panel.AppendElement(Rec(3, 1, "NOT_A_TILE"));
    sc.panel.AppendElement(Rec(5, 1, "KOL_sLSPS"));
    sc.panel.SelectedName = "ALSO_MISSING";
    QImage frame;
    for (int i = 0; i < 3; ++i)
        frame = sc.Render(FrameInputs{});
    EXPECT_EQ(sc.messages, (std::vector<std::string>{"Image 'NOT_A_TILE' not found",
                                                     "Image 'ALSO_MISSING' not found"}));
    EXPECT_EQ(sc.surface.PresentedFrames(), 3);
    EXPECT_EQ(PixelBgr(frame, 47 + 2 + 10, 47 + 2 + 10), kRed); // on the placeholder's cross
    EXPECT_EQ(PixelBgr(frame, 3 * 47 + 2 + 10, 47 + 2 + 10), kRed);
    EXPECT_EQ(PixelBgr(frame, 5 * 47 + 10, 47 + 24), kBlack); // the real tile still drawn
}

// While the surface cannot draw, a frame does nothing at all: it looks no picture up (so
// reports no missing one), takes no canvas setting and presents nothing. Each surface call
// would do nothing then anyway, so the renderer's own traces are what is watched.
TEST(FrameRendererTest, NothingDrawnWhileSurfaceCannotDraw) {
    Scene sc;
    sc.panel.AppendElement(Rec(1, 1, "NOT_A_TILE"));
    sc.panel.SelectedName = "ALSO_MISSING";
    const FrameInputs all; // every layer on, the cursor inside
    const Canvas& canvas = sc.surface.SurfaceCanvas();
    auto untouched = [&] {
        return canvas.Pen.Color == 0x000000 && canvas.Brush.Style == Canvas::BrushStyle::Solid &&
               canvas.Font.Color == 0x000000;
    };
    sc.surface.Release();
    sc.renderer.RenderFrame(all);
    EXPECT_TRUE(sc.messages.empty());
    EXPECT_TRUE(untouched());
    EXPECT_EQ(sc.surface.PresentedFrames(), 0);

    // The same frame once the surface is back leaves each of those traces.
    sc.surface.Initialise();
    sc.renderer.RenderFrame(all);
    EXPECT_EQ(sc.messages.size(), 2u);
    EXPECT_FALSE(untouched());
    EXPECT_EQ(sc.surface.PresentedFrames(), 1);
}

// Rendering only a viewport gives exactly the pixels of that rectangle of a whole-surface
// render, for random panels (duplicates, cells beyond the panel, missing pictures, all
// corner flags) and random viewports.
TEST(FrameRendererTest, ViewportRenderEqualsRectangleOfFullRender) {
    std::mt19937 rng(2024);
    const auto& catalogue = Images();
    for (int round = 0; round < 40; ++round) {
        const int cols = 10 + int(rng() % 20), rows = 10 + int(rng() % 12);
        Scene full(cols, rows);
        const int count = int(rng() % 2) ? int(rng() % 40) : int(rng() % 1500);
        for (int i = 0; i < count; ++i) {
            const int pick = int(rng() % (catalogue.Count() + 1));
            TPolePanelu e = Rec(int(rng() % (cols + 4)) - 2, int(rng() % (rows + 4)) - 2,
                                pick == catalogue.Count() ? "MISSING" : catalogue.Name(pick));
            const unsigned flags = rng();
            e.Cont_LH = flags & 1, e.Cont_LD = flags & 2, e.Cont_PH = flags & 4,
            e.Cont_PD = flags & 8;
            full.panel.AppendElement(e);
        }
        full.panel.CursorX = int(rng() % cols) * 47;
        full.panel.CursorY = int(rng() % rows) * 47;
        full.panel.CursorInside = rng() % 2;
        full.panel.SelectedName = catalogue.Name(int(rng() % 55));
        FrameInputs in;
        in.options =
            ViewOptions{bool(rng() % 2), bool(rng() % 4), bool(rng() % 2), bool(rng() % 4)};
        in.boxes = PositionFlags{bool(rng() % 2), false, bool(rng() % 2), false, false,
                                 bool(rng() % 2), false, bool(rng() % 2)};
        const QImage whole = full.Render(in);

        Scene part(cols, rows);
        part.panel.ReplaceElements(full.panel.Elements());
        part.panel.CursorX = full.panel.CursorX;
        part.panel.CursorY = full.panel.CursorY;
        part.panel.CursorInside = full.panel.CursorInside;
        part.panel.SelectedName = full.panel.SelectedName;
        for (int v = 0; v < 4; ++v) {
            const int w = 1 + int(rng() % (cols * 47)), h = 1 + int(rng() % (rows * 47));
            const QRect view(int(rng() % (cols * 47 - w + 1)), int(rng() % (rows * 47 - h + 1)), w,
                             h);
            part.surface.SetViewport(view);
            const QImage got = part.Render(in);
            ASSERT_EQ(got, whole.copy(view)) << "round " << round << " view " << view.x() << ","
                                             << view.y() << " " << w << "x" << h;
        }
    }
}

TEST(TileImagesTest, ListAndPaletteComeFromTheCatalogue) {
    const ImageList& list = Images();
    ASSERT_EQ(list.Count(), 59);
    EXPECT_EQ(list.FindImage("kol_slsps"), list.FindImage("KOL_sLSPS"));
    EXPECT_EQ(list.FindImage("VYH_sLHPD_sSHPD"), 47);
    EXPECT_EQ(list.Image(47).ToQImage(), list.Image(43).ToQImage());
    for (int i = 0; i < list.Count(); ++i) {
        const bool mark = list.Name(i).rfind("Ruzek_", 0) == 0;
        EXPECT_EQ(list.ImageWidth(i), mark ? 7 : 47) << list.Name(i);
        EXPECT_EQ(list.ImageHeight(i), mark ? 7 : 47) << list.Name(i);
    }
    const auto palette = PalettePictures();
    ASSERT_EQ(palette.size(), 54u);
    for (const auto& [name, picture] : palette) {
        EXPECT_EQ(picture, list.Image(list.FindImage(name)).ToQImage()) << name;
        EXPECT_EQ(picture.pixel(0, 46) & 0xFFFFFF, 0xFFFFFFu) << name;
    }
}

namespace {

// The frame drawn literally step by step with plain surface and canvas calls: every tile in
// list order, then every element's marks, the preview, the whole grid, the outline and the
// overlay. The renderer's shortcuts (visible cells only, tile and marks as one picture, the
// grid drawn with the background, layers kept between frames) must give the same pixels.
void ReferenceFrame(const PanelState& p, Surface& s, const FrameInputs& in) {
    const ImageList& images = Images();
    auto picture = [&](const std::string& name) -> const KeyedImage& {
        const int i = images.TryFindImage(name);
        return i >= 0 ? images.Image(i) : MissingTilePicture();
    };
    s.FillSurface(0x808080);
    for (const TPolePanelu& e : p.Elements())
        s.DrawImage(picture(e.NAME), e.X * 47 + 1, e.Y * 47 + 1);
    auto marks = [&](int x0, int y0, bool lh, bool ld, bool ph, bool pd, int alpha) {
        const struct {
            bool on;
            const char *own, *mirrored;
            int ownX, mirroredX, y;
        } table[] = {{lh, "Ruzek_LH", "Ruzek_PH", x0 + 1, x0 - 6, y0 + 1},
                     {ld, "Ruzek_LD", "Ruzek_PD", x0 + 1, x0 - 6, y0 + 41},
                     {ph, "Ruzek_PH", "Ruzek_LH", x0 + 41, x0 + 48, y0 + 1},
                     {pd, "Ruzek_PD", "Ruzek_LD", x0 + 41, x0 + 48, y0 + 41}};
        for (const auto& m : table) {
            if (!m.on)
                continue;
            for (auto [name, x] : {std::pair{m.own, m.ownX}, std::pair{m.mirrored, m.mirroredX}}) {
                if (alpha < 0)
                    s.DrawImage(picture(name), x, m.y);
                else
                    s.DrawImageAlpha(picture(name), QRect(x, m.y, 7, 7), alpha);
            }
        }
    };
    for (const TPolePanelu& e : p.Elements())
        marks(e.X * 47, e.Y * 47, e.Cont_LH, e.Cont_LD, e.Cont_PH, e.Cont_PD, -1);
    if (in.options.Preview) {
        s.DrawImageAlpha(picture(p.SelectedName), QRect(p.CursorX + 1, p.CursorY + 1, 46, 46),
                         p.PreviewAlpha);
        marks(p.CursorX, p.CursorY, in.boxes.LH, in.boxes.LD, in.boxes.PH, in.boxes.PD,
              p.PreviewAlpha);
    }
    Canvas& c = s.SurfaceCanvas();
    if (in.options.Grid) {
        c.Pen.Color = 0xFF0000;
        for (int k = 0; k <= p.PanelCols; ++k) {
            c.MoveTo(k * 47, 0);
            c.LineTo(k * 47, s.Height());
        }
        for (int k = 0; k <= p.PanelRows; ++k) {
            c.MoveTo(0, k * 47);
            c.LineTo(s.Width(), k * 47);
        }
    }
    if (p.CursorInside && in.options.CursorCell) {
        c.Pen.Color = 0x0000FF;
        c.Brush.Style = Canvas::BrushStyle::Clear;
        c.Rectangle(p.CursorX, p.CursorY, p.CursorX + 48, p.CursorY + 48);
    }
    if (in.options.Info) {
        c.Font.Color = 0x000080;
        c.TextOut(10, 10, "RefreshStopCount: " + std::to_string(in.lagCount));
        c.TextOut(10, 20, "RefreshTick/FrameRate: " + std::to_string(in.frameRate));
        c.TextOut(10, 30, "ArrayLength: " + std::to_string(p.Elements().size()));
        c.TextOut(10, 40,
                  "Position: X=" + std::to_string(p.CursorX / 47) +
                      " Y=" + std::to_string(p.CursorY / 47));
    }
    s.ReleaseCanvas();
}

} // namespace

TEST(FrameRendererTest, MatchesStepByStepReferenceOverManyEditedFrames) {
    std::mt19937 rng(77);
    const auto& catalogue = Images();
    for (int scene = 0; scene < 12; ++scene) {
        const int cols = 6 + int(rng() % 10), rows = 5 + int(rng() % 8);
        Scene sc(cols, rows);
        Surface reference;
        reference.SetSize(cols * 47, rows * 47);
        reference.Initialise();
        // The reference's brush state must follow the renderer's from the first frame on.
        QRect view(0, 0, cols * 47, rows * 47);
        for (int frame = 0; frame < 25; ++frame) {
            const int action = int(rng() % 8);
            if (action < 3) { // an edit between frames
                sc.panel.SelectedName =
                    int(rng() % 12) == 0 ? "MISSING" : catalogue.Name(int(rng() % 55));
                sc.h.window.boxes = PositionFlags{bool(rng() % 2), bool(rng() % 2), bool(rng() % 2),
                                                  bool(rng() % 2), bool(rng() % 2), bool(rng() % 2),
                                                  bool(rng() % 2), bool(rng() % 2)};
                sc.panel.PlaceElementAt(int(rng() % (cols * 47 + 94)) - 47,
                                        int(rng() % (rows * 47 + 94)) - 47, rng() % 4 == 0);
            } else if (action == 3) {
                sc.panel.ShiftAll(int(rng() % 3) - 1, int(rng() % 3) - 1);
            } else if (action == 4) { // scrolling
                const int w = 1 + int(rng() % (cols * 47)), h = 1 + int(rng() % (rows * 47));
                view =
                    QRect(int(rng() % (cols * 47 - w + 1)), int(rng() % (rows * 47 - h + 1)), w, h);
            } else if (action == 5) {
                sc.panel.PanelCols = 3 + int(rng() % (cols + 3));
                sc.panel.PanelRows = 3 + int(rng() % (rows + 3));
            } else if (action == 6) { // a loaded record, often a second one for its cell
                TPolePanelu e = Rec(int(rng() % (cols + 2)) - 1, int(rng() % (rows + 2)) - 1,
                                    rng() % 3 == 0 ? "MISSING" : catalogue.Name(int(rng() % 55)));
                if (!sc.panel.Elements().empty() && rng() % 2 == 0) {
                    const auto& other = sc.panel.Elements()[rng() % sc.panel.Elements().size()];
                    e.X = other.X;
                    e.Y = other.Y;
                }
                const unsigned flags = rng();
                e.Cont_LH = flags & 1, e.Cont_LD = flags & 2, e.Cont_PH = flags & 4,
                e.Cont_PD = flags & 8;
                sc.panel.AppendElement(e);
            }
            // Otherwise the same panel again: the kept layers are used.
            sc.panel.CursorX = int(rng() % cols) * 47;
            sc.panel.CursorY = int(rng() % rows) * 47;
            sc.panel.CursorInside = rng() % 3 != 0;
            FrameInputs in;
            in.options =
                ViewOptions{rng() % 3 != 0, rng() % 4 != 0, rng() % 2 != 0, rng() % 4 != 0};
            in.boxes = PositionFlags{bool(rng() % 2), false, bool(rng() % 2), false, false,
                                     bool(rng() % 2), false, bool(rng() % 2)};
            in.lagCount = 1 + int(rng() % 3);
            sc.surface.SetViewport(view);
            const QImage got = sc.Render(in);
            ReferenceFrame(sc.panel, reference, in);
            ASSERT_EQ(got, reference.BackBuffer().copy(view))
                << "scene " << scene << " frame " << frame << " action " << action;
        }
    }
}

// The batched drawing paths (several pictures row by row, fill-and-draw of a band, many
// vertical lines at once, the saved buffer) must give exactly what the plain one-by-one
// operations give.
#include "SurfaceTestHelpers.h"

#include "surface/Canvas.h"

#include <gtest/gtest.h>
#include <random>

using namespace vedivez;

namespace {

// A random picture: single-coloured (black) or several colours, runs of every length.
KeyedImage RandomPicture(std::mt19937& rng, bool oneColour) {
    const int w = 1 + int(rng() % 70), h = 1 + int(rng() % 20);
    QImage image(w, h, QImage::Format_RGB32);
    const QRgb colours[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 200, 30)};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y,
                           rng() % 3 ? qRgb(255, 255, 255) : colours[oneColour ? 0 : rng() % 3]);
    return KeyedImage::FromQImage(image);
}

Surface& Made(Surface& s, int w, int h, QRect view) {
    s.SetSize(w, h);
    s.SetViewport(view);
    s.Initialise();
    s.FillSurface(0x808080);
    return s;
}

// Every pixel of the viewport as drawn by plain per-pixel logic.
QImage PerPixel(int w, int h, QRect view,
                const std::vector<std::pair<const KeyedImage*, QPoint>>& items) {
    QImage out(view.size(), QImage::Format_RGB32);
    out.fill(qRgb(128, 128, 128));
    for (const auto& [image, at] : items)
        for (int y = 0; y < image->Height(); ++y)
            for (int x = 0; x < image->Width(); ++x) {
                const QPoint p = at + QPoint(x, y);
                if (!image->IsKey(x, y) && view.contains(p) && p.x() < w && p.y() < h)
                    out.setPixel(p - view.topLeft(), image->Row(y)[x]);
            }
    return out;
}

} // namespace

TEST(BatchedDrawingTest, DrawImagesEqualsDrawingOneByOne) {
    std::mt19937 rng(5);
    for (int round = 0; round < 60; ++round) {
        std::vector<KeyedImage> pictures;
        for (int i = 0; i < 6; ++i)
            pictures.push_back(RandomPicture(rng, i % 2 == 0));
        const QRect view(int(rng() % 40), int(rng() % 30), 20 + int(rng() % 120),
                         10 + int(rng() % 60));
        std::vector<Surface::Placement> placements;
        std::vector<std::pair<const KeyedImage*, QPoint>> items;
        for (int i = 0; i < 25; ++i) {
            const KeyedImage& p = pictures[rng() % pictures.size()];
            const int x = int(rng() % 220) - 70, y = int(rng() % 140) - 25;
            placements.push_back({&p, x, y});
            items.push_back({&p, QPoint(x, y)});
        }
        Surface batch, single;
        Made(batch, 200, 120, view).DrawImages(placements);
        Made(single, 200, 120, view);
        for (const auto& p : placements)
            single.DrawImage(*p.image, p.x, p.y);
        const QImage expected = PerPixel(200, 120, batch.Viewport(), items);
        ASSERT_EQ(batch.BackBuffer(), expected) << round;
        ASSERT_EQ(single.BackBuffer(), expected) << round;
    }
}

TEST(BatchedDrawingTest, FillRowsAndDrawEqualsFillThenDraw) {
    std::mt19937 rng(6);
    for (int round = 0; round < 40; ++round) {
        const KeyedImage a = RandomPicture(rng, true), b = RandomPicture(rng, false);
        const int band = int(rng() % 50);
        const int bandEnd = band + 1 + int(rng() % 30);
        // Pictures of the band lie within its rows.
        std::vector<Surface::Placement> placements;
        for (int i = 0; i < 8; ++i) {
            const KeyedImage& p = i % 2 ? a : b;
            if (p.Height() > bandEnd - band)
                continue;
            placements.push_back(
                {&p, int(rng() % 150) - 40, band + int(rng() % (bandEnd - band - p.Height() + 1))});
        }
        const QRect view(10, 5, 90, 70);
        Surface fused, plain;
        Made(fused, 120, 100, view);
        Made(plain, 120, 100, view);
        fused.FillSurface(0x000000);
        plain.FillSurface(0x000000);
        fused.FillRowsAndDraw(band, bandEnd, 0x808080, placements);
        for (int y = band; y < bandEnd; ++y) {
            Canvas& c = plain.SurfaceCanvas();
            c.Pen.Color = 0x808080;
            c.MoveTo(0, y);
            c.LineTo(120, y);
        }
        plain.DrawImages(placements);
        ASSERT_EQ(fused.BackBuffer(), plain.BackBuffer()) << round;
    }
}

TEST(BatchedDrawingTest, VerticalLinesEqualMoveToLineTo) {
    const struct {
        std::vector<int> xs;
        int y1, y2;
    } cases[] = {
        {{0, 7, 14, 63}, 0, 40}, // down, one beyond the surface
        {{3, 9}, 30, 2},         // up: the start is excluded, the end included
        {{-1, 5, 64, 200}, -5, 100},
        {{20}, 12, 12}, // zero length draws nothing
        {{}, 0, 10},
    };
    for (const auto& c : cases) {
        const QRect view(2, 3, 50, 30);
        Surface batch, single;
        Made(batch, 64, 40, view);
        Made(single, 64, 40, view);
        Canvas& b = batch.SurfaceCanvas();
        Canvas& s = single.SurfaceCanvas();
        b.Pen.Color = s.Pen.Color = 0xFF0000;
        b.MoveTo(1, 1);
        s.MoveTo(1, 1);
        b.VerticalLines(c.xs, c.y1, c.y2);
        for (int x : c.xs) {
            s.MoveTo(x, c.y1);
            s.LineTo(x, c.y2);
        }
        EXPECT_EQ(b.PenPos(), s.PenPos());
        batch.ReleaseCanvas();
        single.ReleaseCanvas();
        EXPECT_EQ(batch.BackBuffer(), single.BackBuffer()) << c.y1 << ".." << c.y2;
    }
}

TEST(BatchedDrawingTest, SavedBufferRestoresExactlyAndOnlyIntoTheSameSize) {
    Surface s;
    Made(s, 50, 40, QRect(0, 0, 50, 40));
    const KeyedImage dot = test::ArtImage({"#r", "g#"});
    s.DrawImage(dot, 3, 4);
    QImage saved;
    s.SaveBuffer(saved);
    const QImage before = s.BackBuffer().copy();
    s.FillSurface(0x123456);
    s.RestoreBuffer(saved);
    EXPECT_EQ(s.BackBuffer(), before);

    s.SetViewport(QRect(0, 0, 20, 20)); // another size: the saved copy no longer fits
    s.FillSurface(0x808080);
    const QImage small = s.BackBuffer().copy();
    s.RestoreBuffer(saved);
    EXPECT_EQ(s.BackBuffer(), small);
}

#include "SurfaceTestHelpers.h"
#include "surface/Surface.h"
#include "surface/SurfaceError.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace vedivez {
namespace {

constexpr uint32_t kGrey = 0x808080;

void PrepareGrey(Surface& surface, int w, int h) {
    surface.SetSize(w, h);
    surface.Initialise();
    surface.FillSurface(kGrey);
}

// The coordinate picture with a white (transparent) pixel in its centre.
KeyedImage HoledImage(int size) {
    QImage image = test::CoordinateImage(size, size).ToQImage();
    image.setPixel(size / 2, size / 2, qRgb(255, 255, 255));
    return KeyedImage::FromQImage(image);
}

TEST(SurfaceTest, LifecycleAndInitialState) {
    Surface surface;
    EXPECT_EQ(surface.Width(), 4800);
    EXPECT_EQ(surface.Height(), 2400);
    EXPECT_EQ(surface.Color(), kGrey);
    EXPECT_EQ(surface.Viewport(), QRect(0, 0, 4800, 2400));
    EXPECT_FALSE(surface.CanDraw());
    surface.FillSurface(kGrey); // ignored without a buffer
    surface.Initialise();
    ASSERT_TRUE(surface.CanDraw());
    EXPECT_EQ(surface.BackBuffer().size(), QSize(4800, 2400));
    EXPECT_EQ(surface.Pixel(4799, 2399), 0x000000u) << "a new back buffer is black";
    surface.Release();
    EXPECT_FALSE(surface.CanDraw());
}

TEST(SurfaceTest, SameSizeKeepsContentNewSizeIsBlack) {
    Surface surface;
    surface.SetSize(100, 50); // before Initialise only recorded
    EXPECT_FALSE(surface.CanDraw());
    PrepareGrey(surface, 100, 50);
    EXPECT_EQ(surface.BackBuffer().size(), QSize(100, 50));
    surface.SetSize(100, 50);
    EXPECT_EQ(surface.Pixel(99, 49), kGrey);
    surface.SetSize(141, 94);
    ASSERT_TRUE(surface.CanDraw());
    EXPECT_EQ(surface.BackBuffer().size(), QSize(141, 94));
    EXPECT_EQ(surface.Pixel(0, 0), 0x000000u);
    EXPECT_EQ(surface.Pixel(140, 93), 0x000000u);
}

TEST(SurfaceTest, ViewportIsClampedAndReallocatedOnlyOnResize) {
    Surface surface;
    PrepareGrey(surface, 1000, 500);
    surface.SetViewport(QRect(900, 400, 300, 300));
    EXPECT_EQ(surface.Viewport(), QRect(900, 400, 100, 100));
    EXPECT_EQ(surface.BackBuffer().size(), QSize(100, 100));
    surface.FillSurface(0x0000FF);
    surface.SetViewport(QRect(10, 20, 100, 100)); // moved, same size: buffer kept
    EXPECT_EQ(surface.Pixel(10, 20), 0x0000FFu);
    EXPECT_THROW(surface.Pixel(9, 20), std::out_of_range);
    EXPECT_THROW(surface.Pixel(110, 20), std::out_of_range);
    surface.SetViewport(QRect(10, 20, 101, 100));
    EXPECT_EQ(surface.Pixel(10, 20), 0x000000u);
    surface.SetViewport(QRect(5000, 0, 10, 10)); // wholly outside: nothing to draw on
    EXPECT_FALSE(surface.CanDraw());
    surface.SetViewport(QRect(0, 0, 10, 10));
    EXPECT_TRUE(surface.CanDraw());
}

TEST(SurfaceTest, UnallocatableBufferThrowsAndStopsDrawing) {
    Surface surface;
    PrepareGrey(surface, 188000, 188000);
    EXPECT_EQ(surface.Viewport(), QRect(0, 0, 8192, 8192));
    try {
        surface.SetViewport(QRect(0, 0, 20000, 20000));
        FAIL() << "no error";
    } catch (const SurfaceError& e) {
        EXPECT_STREQ(e.what(), "Surface cannot be made");
    }
    EXPECT_FALSE(surface.CanDraw());
    surface.SetViewport(QRect(0, 0, 1920, 1080));
    EXPECT_FALSE(surface.CanDraw()) << "stays off until initialised again";
    surface.Initialise();
    EXPECT_TRUE(surface.CanDraw());
}

TEST(SurfaceTest, HugeSurfaceDrawsAtFarCorner) {
    Surface surface;
    surface.SetSize(188000, 188000);
    surface.SetViewport(QRect(188000 - 1920, 188000 - 1080, 1920, 1080));
    surface.Initialise();
    ASSERT_EQ(surface.BackBuffer().size(), QSize(1920, 1080));
    surface.FillSurface(kGrey);
    const KeyedImage tile = test::CoordinateImage(47, 47);
    surface.DrawImage(tile, 187953, 187953);
    Canvas& canvas = surface.SurfaceCanvas();
    canvas.Pen.Color = 0xFF0000;
    canvas.MoveTo(187953, 0);
    canvas.LineTo(187953, 188000);
    canvas.TextOut(187000, 187500, "Position: X=3999 Y=3999");
    surface.ReleaseCanvas();
    EXPECT_EQ(surface.Pixel(187999, 187999), test::CoordinateColor(46, 46));
    EXPECT_EQ(surface.Pixel(187954, 187960), test::CoordinateColor(1, 7));
    EXPECT_EQ(surface.Pixel(187953, 187960), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(187953, 188000 - 1080), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(187952, 187960), kGrey);
    EXPECT_EQ(surface.Pixel(187000, 187500), 0xFFFFFFu) << "text box in the brush colour";
}

TEST(SurfaceTest, DrawImageClipsAtEverySide) {
    const KeyedImage image = HoledImage(7);
    struct Case {
        int x, y;
        QRect visible; // surface pixels the picture may cover
    };
    const Case cases[] = {
        {2, 1, QRect(2, 1, 7, 7)},
        {-6, 2, QRect(0, 2, 1, 7)},
        {17, 1, QRect(17, 1, 3, 7)},
        {4, -5, QRect(4, 0, 7, 2)},
        {6, 7, QRect(6, 7, 7, 3)},
        {-3, -3, QRect(0, 0, 4, 4)},
        {19, 9, QRect(19, 9, 1, 1)},
        {20, 0, QRect()},
        {0, 10, QRect()},
        {-7, 0, QRect()},
        {0, -7, QRect()},
    };
    for (const Case& c : cases) {
        Surface surface;
        PrepareGrey(surface, 20, 10);
        surface.DrawImage(image, c.x, c.y);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 20; ++x) {
                const bool covered = c.visible.contains(x, y) && !image.IsKey(x - c.x, y - c.y);
                const uint32_t expected = covered ? image.Pixel(x - c.x, y - c.y) : kGrey;
                ASSERT_EQ(surface.Pixel(x, y), expected)
                    << "draw at " << c.x << "," << c.y << " pixel " << x << "," << y;
            }
        }
    }
}

TEST(SurfaceTest, DrawImageAlphaScalesByNearestPixel) {
    Surface surface;
    PrepareGrey(surface, 60, 60);
    surface.DrawImageAlpha(test::CoordinateImage(47, 47), QRect(1, 1, 46, 46), 255);
    for (int y = 0; y < 46; ++y)
        for (int x = 0; x < 46; ++x)
            ASSERT_EQ(surface.Pixel(1 + x, 1 + y), test::CoordinateColor(x, y)) << x << "," << y;
    EXPECT_EQ(surface.Pixel(47, 10), kGrey);
    EXPECT_EQ(surface.Pixel(10, 47), kGrey);

    // Enlarging repeats each picture pixel; the rectangle may hang off the surface.
    surface.DrawImageAlpha(test::CoordinateImage(2, 2), QRect(56, -2, 8, 8), 300);
    EXPECT_EQ(surface.Pixel(56, 0), test::CoordinateColor(0, 0));
    EXPECT_EQ(surface.Pixel(59, 1), test::CoordinateColor(0, 0));
    EXPECT_EQ(surface.Pixel(59, 2), test::CoordinateColor(0, 1));
    EXPECT_EQ(surface.Pixel(56, 5), test::CoordinateColor(0, 1));
    surface.DrawImageAlpha(test::CoordinateImage(4, 4), QRect(-2, 50, 4, 4), 255);
    EXPECT_EQ(surface.Pixel(0, 50), test::CoordinateColor(2, 0));
    EXPECT_EQ(surface.Pixel(1, 53), test::CoordinateColor(3, 3));
}

TEST(SurfaceTest, DrawImageAlphaBlendsNonWhitePixels) {
    const KeyedImage image = test::ArtImage({"r.", "#b"});
    struct Case {
        int alpha;
        uint32_t red, white, black, blue;
    };
    // Blend per channel: (src * a + dst * (255 - a) + 127) / 255 over grey 128.
    const Case cases[] = {
        {0, kGrey, kGrey, kGrey, kGrey},
        {-20, kGrey, kGrey, kGrey, kGrey},
        {100, 0x4E4EB2, kGrey, 0x4E4E4E, 0xB24E4E},
        {255, 0x0000FF, kGrey, 0x000000, 0xFF0000},
        {1000, 0x0000FF, kGrey, 0x000000, 0xFF0000},
    };
    for (const Case& c : cases) {
        Surface surface;
        PrepareGrey(surface, 2, 2);
        surface.DrawImageAlpha(image, QRect(0, 0, 2, 2), c.alpha);
        EXPECT_EQ(surface.Pixel(0, 0), c.red) << "alpha " << c.alpha;
        EXPECT_EQ(surface.Pixel(1, 0), c.white) << "alpha " << c.alpha;
        EXPECT_EQ(surface.Pixel(0, 1), c.black) << "alpha " << c.alpha;
        EXPECT_EQ(surface.Pixel(1, 1), c.blue) << "alpha " << c.alpha;
    }
}

TEST(SurfaceTest, PresentFrameHandsOverBufferWhenDrawable) {
    Surface surface;
    int calls = 0;
    QPoint origin;
    QSize size;
    surface.SetPresenter([&](const QImage& buffer, QPoint logicalOrigin) {
        ++calls;
        origin = logicalOrigin;
        size = buffer.size();
    });
    surface.PresentFrame();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(surface.PresentedFrames(), 0);
    PrepareGrey(surface, 500, 400);
    surface.SetViewport(QRect(100, 50, 200, 100));
    surface.PresentFrame();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(origin, QPoint(100, 50));
    EXPECT_EQ(size, QSize(200, 100));
    surface.SetPresenter({});
    surface.PresentFrame();
    EXPECT_EQ(surface.PresentedFrames(), 2) << "a headless surface still counts";
}

} // namespace
} // namespace vedivez

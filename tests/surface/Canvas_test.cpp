#include "surface/Surface.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>
#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace vedivez {
namespace {

constexpr uint32_t kGrey = 0x808080;
constexpr uint32_t kRed = 0x0000FF;

using PixelSet = std::set<std::pair<int, int>>;

void PrepareGrey(Surface& surface, int w, int h) {
    surface.SetSize(w, h);
    surface.Initialise();
    surface.FillSurface(kGrey);
}

PixelSet PixelsOfColor(const Surface& surface, uint32_t color) {
    PixelSet found;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) == color)
                found.insert({x, y});
    return found;
}

TEST(CanvasTest, StraightLinesLeaveOutTheirEndPoint) {
    struct Case {
        QPoint from, to;
        PixelSet expected;
    };
    const Case cases[] = {
        {{2, 5}, {8, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}},
        {{6, 5}, {2, 5}, {{3, 5}, {4, 5}, {5, 5}, {6, 5}}},
        {{4, 1}, {4, 5}, {{4, 1}, {4, 2}, {4, 3}, {4, 4}}},
        {{4, 5}, {4, 1}, {{4, 2}, {4, 3}, {4, 4}, {4, 5}}},
        {{3, 3}, {3, 3}, {}},
        {{-5, 0}, {20, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}}},
        {{7, 8}, {7, -4}, {{7, 0}, {7, 1}, {7, 2}, {7, 3}, {7, 4}, {7, 5}, {7, 6}, {7, 7}}},
        {{8, 5}, {2, 5}, {{3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}}, // starts just off the surface
        {{2, 8}, {7, 8}, {}},                                       // below the surface
    };
    for (const Case& c : cases) {
        Surface surface;
        PrepareGrey(surface, 8, 8);
        Canvas& canvas = surface.SurfaceCanvas();
        canvas.Pen.Color = kRed;
        canvas.MoveTo(c.from.x(), c.from.y());
        canvas.LineTo(c.to.x(), c.to.y());
        EXPECT_EQ(PixelsOfColor(surface, kRed), c.expected)
            << c.from.x() << "," << c.from.y() << " to " << c.to.x() << "," << c.to.y();
        EXPECT_EQ(canvas.PenPos(), c.to);
    }
}

TEST(CanvasTest, SlopedLinesFollowTheIdealLine) {
    const std::pair<QPoint, QPoint> lines[] = {
        {{10, 10}, {30, 17}}, {{30, 17}, {10, 10}}, {{10, 10}, {13, 30}},
        {{40, 5}, {5, 40}},   {{5, 5}, {25, 25}},   {{20, 20}, {21, 40}},
    };
    for (const auto& [from, to] : lines) {
        Surface surface;
        PrepareGrey(surface, 50, 50);
        Canvas& canvas = surface.SurfaceCanvas();
        canvas.Pen.Color = kRed;
        canvas.MoveTo(from.x(), from.y());
        canvas.LineTo(to.x(), to.y());
        const PixelSet drawn = PixelsOfColor(surface, kRed);
        const int dx = to.x() - from.x();
        const int dy = to.y() - from.y();
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const int major = std::max(std::abs(dx), std::abs(dy));
        SCOPED_TRACE(testing::Message()
                     << from.x() << "," << from.y() << " to " << to.x() << "," << to.y());
        EXPECT_EQ(static_cast<int>(drawn.size()), major) << "one pixel per major step";
        EXPECT_TRUE(drawn.count({from.x(), from.y()}));
        EXPECT_FALSE(drawn.count({to.x(), to.y()}));
        std::set<int> majors;
        for (const auto& [x, y] : drawn) {
            majors.insert(xMajor ? x : y);
            // Distance from the ideal line along the minor axis is at most half a pixel.
            const double ideal = xMajor ? from.y() + double(dy) * (x - from.x()) / dx
                                        : from.x() + double(dx) * (y - from.y()) / dy;
            EXPECT_LE(std::abs((xMajor ? y : x) - ideal), 0.5) << x << "," << y;
        }
        EXPECT_EQ(static_cast<int>(majors.size()), major) << "no major coordinate twice";
    }
}

TEST(CanvasTest, RectangleIsRightAndBottomExclusive) {
    struct Case {
        int x1, y1, x2, y2;
        Canvas::BrushStyle style;
        QRect outline; // empty for nothing drawn
    };
    const Case cases[] = {
        {2, 3, 7, 8, Canvas::BrushStyle::Solid, QRect(2, 3, 5, 5)},
        {2, 3, 7, 8, Canvas::BrushStyle::Clear, QRect(2, 3, 5, 5)},
        {7, 8, 2, 3, Canvas::BrushStyle::Solid, QRect(2, 3, 5, 5)},
        {4, 4, 5, 9, Canvas::BrushStyle::Solid, QRect(4, 4, 1, 5)},
        {-3, -3, 3, 3, Canvas::BrushStyle::Solid, QRect(-3, -3, 6, 6)},
        {4, 4, 4, 9, Canvas::BrushStyle::Solid, QRect()},
    };
    constexpr uint32_t kBrush = 0x00FF00;
    for (const Case& c : cases) {
        Surface surface;
        PrepareGrey(surface, 10, 10);
        Canvas& canvas = surface.SurfaceCanvas();
        canvas.Pen.Color = kRed;
        canvas.Brush.Color = kBrush;
        canvas.Brush.Style = c.style;
        canvas.Rectangle(c.x1, c.y1, c.x2, c.y2);
        const QRect inside = c.outline.width() > 2 && c.outline.height() > 2
                                 ? c.outline.adjusted(1, 1, -1, -1)
                                 : QRect();
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                uint32_t expected = kGrey;
                if (inside.contains(x, y))
                    expected = c.style == Canvas::BrushStyle::Solid ? kBrush : kGrey;
                else if (c.outline.contains(x, y))
                    expected = kRed;
                ASSERT_EQ(surface.Pixel(x, y), expected)
                    << "rect " << c.x1 << "," << c.y1 << "," << c.x2 << "," << c.y2 << " pixel "
                    << x << "," << y;
            }
        }
    }
}

TEST(CanvasTest, TextStandsOnBrushBoxOnlyWhenBrushIsSolid) {
    constexpr uint32_t kFont = 0x000080;
    constexpr uint32_t kBrush = 0x00FFFF;
    const std::string text = "RefreshStopCount: 1";
    PixelSet glyphs[2];
    for (int clear = 0; clear < 2; ++clear) {
        Surface surface;
        PrepareGrey(surface, 200, 40);
        Canvas& canvas = surface.SurfaceCanvas();
        canvas.Font.Color = kFont;
        canvas.Brush.Color = kBrush;
        canvas.Brush.Style = clear ? Canvas::BrushStyle::Clear : Canvas::BrushStyle::Solid;
        canvas.TextOut(10, 10, text);
        surface.ReleaseCanvas();
        const QSize extent = canvas.TextExtent(text);
        ASSERT_GT(extent.width(), 50);
        ASSERT_GE(extent.height(), 11);
        const QRect box(QPoint(10, 10), extent);
        const uint32_t background = clear ? kGrey : kBrush;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 200; ++x) {
                const uint32_t p = surface.Pixel(x, y);
                if (p == kFont)
                    glyphs[clear].insert({x, y});
                else
                    ASSERT_EQ(p, box.contains(x, y) ? background : kGrey) << x << "," << y;
            }
        }
        EXPECT_GT(glyphs[clear].size(), 40u);
    }
    EXPECT_EQ(glyphs[0], glyphs[1]) << "the brush must not change the glyphs";
}

// The bytes of a text are Windows-1250: 0x8A is "Š", 0xE8 "č" and 0x9E "ž", not the Latin-1
// characters of those codes. The glyphs must be those of the Czech letters.
TEST(CanvasTest, TextBytesAreWindows1250) {
    const std::string bytes = "\x8A\xE8\x9E Ok";
    Surface surface;
    PrepareGrey(surface, 90, 30);
    Canvas& canvas = surface.SurfaceCanvas();
    canvas.Font.Color = 0x000080;
    canvas.Brush.Style = Canvas::BrushStyle::Clear;
    canvas.TextOut(5, 5, bytes);
    surface.ReleaseCanvas();

    const QFont& font = canvas.TextFont();
    const QFontMetrics metrics(font);
    auto painted = [&](const QString& text) {
        QImage image(90, 30, QImage::Format_RGB32);
        image.fill(qRgb(0x80, 0x80, 0x80));
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(QColor(0x80, 0, 0));
        painter.drawText(5, 5 + metrics.ascent(), text);
        painter.end();
        return image;
    };
    const QString czech = QString::fromUtf8("Ščž Ok");
    const QImage expected = painted(czech);
    ASSERT_NE(expected, painted(QString::fromLatin1(bytes.data(), qsizetype(bytes.size()))))
        << "the font draws both readings alike, so the test could not tell them apart";
    int differing = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 90; ++x)
            differing +=
                (surface.BackBuffer().pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(canvas.TextExtent(bytes).width(), metrics.horizontalAdvance(czech));
}

TEST(CanvasTest, SettingsPersistAcrossFrames) {
    Surface surface;
    PrepareGrey(surface, 30, 30);
    Canvas& canvas = surface.SurfaceCanvas();
    EXPECT_EQ(canvas.Pen.Color, 0x000000u);
    EXPECT_EQ(canvas.Brush.Color, 0xFFFFFFu);
    EXPECT_EQ(canvas.Brush.Style, Canvas::BrushStyle::Solid);
    EXPECT_EQ(canvas.Font.Color, 0x000000u);
    canvas.Pen.Color = 0xFF0000;
    canvas.Brush.Style = Canvas::BrushStyle::Clear;
    canvas.Font.Color = 0x000080;
    canvas.MoveTo(3, 4);
    surface.ReleaseCanvas();
    surface.PresentFrame();

    surface.FillSurface(kGrey);
    Canvas& next = surface.SurfaceCanvas();
    EXPECT_EQ(&next, &canvas);
    EXPECT_EQ(next.Pen.Color, 0xFF0000u);
    EXPECT_EQ(next.Brush.Style, Canvas::BrushStyle::Clear);
    EXPECT_EQ(next.Font.Color, 0x000080u);
    EXPECT_EQ(next.PenPos(), QPoint(3, 4));
    next.Rectangle(0, 0, 10, 10);
    next.TextOut(12, 12, "X");
    EXPECT_EQ(surface.Pixel(9, 9), 0xFF0000u);
    EXPECT_EQ(surface.Pixel(5, 5), kGrey) << "clear brush leaves the inside";
    EXPECT_EQ(surface.Pixel(12, 12), kGrey) << "clear brush gives the text no box";
    EXPECT_FALSE(PixelsOfColor(surface, 0x000080).empty());
}

} // namespace
} // namespace vedivez

#include "SurfaceTestHelpers.h"
#include "surface/Surface.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace vedivez {
namespace {

// Property: drawing a sequence of operations into any viewport gives exactly the pixels of
// that rectangle of a whole-surface drawing, and moving both the operations and the viewport
// by the same offset (out to the far corner of a huge surface) changes nothing either.

constexpr int kW = 320;
constexpr int kH = 200;

struct Op {
    enum Kind { Fill, Image, Alpha, Move, Line, Rect, Text, Pen, Brush, Style, Font, Release };
    Kind kind;
    int a = 0, b = 0, c = 0, d = 0, e = 0;
    std::string text = {};
};

int Uniform(std::mt19937& rng, int lo, int hi) {
    return lo + static_cast<int>(rng() % static_cast<uint32_t>(hi - lo + 1));
}

uint32_t RandomColor(std::mt19937& rng) {
    static const uint32_t colors[] = {0x000000, 0xFFFFFF, 0x0000FF, 0xFF0000, 0x000080, 0x808080};
    return rng() % 3 == 0 ? rng() & 0xFFFFFF : colors[rng() % 6];
}

std::vector<Op> RandomOps(std::mt19937& rng, int count) {
    static const char* texts[] = {"RefreshStopCount: 3", "ArrayLength: 0", "Position: X=2 Y=1", "W",
                                  "-12345"};
    // The opening MoveTo places the pen, so that shifted runs start from shifted positions.
    std::vector<Op> ops{{Op::Fill, 0x808080}, {Op::Move, Uniform(rng, 0, kW), Uniform(rng, 0, kH)}};
    auto x = [&] { return Uniform(rng, -80, kW + 80); };
    auto y = [&] { return Uniform(rng, -80, kH + 80); };
    for (int i = 0; i < count; ++i) {
        // Fills are rare: each one wipes out what the operations before it drew.
        const auto kind =
            rng() % 40 == 0 ? Op::Fill : static_cast<Op::Kind>(Uniform(rng, 1, Op::Release));
        Op op{kind};
        switch (kind) {
        case Op::Fill:
            op.a = static_cast<int>(RandomColor(rng));
            break;
        case Op::Image:
            op = {kind, Uniform(rng, 0, 2), x(), y()};
            break;
        case Op::Alpha:
            op = {kind, Uniform(rng, 0, 2), x(), y(), Uniform(rng, 1, 120), Uniform(rng, -10, 300)};
            break;
        case Op::Move:
        case Op::Line:
            // Now and then a far end point, to exercise clipping of long lines.
            op.a = rng() % 8 == 0 ? Uniform(rng, -5000, 5000) : x();
            op.b = rng() % 8 == 0 ? Uniform(rng, -5000, 5000) : y();
            break;
        case Op::Rect:
            op = {kind, x(), y(), x(), y()};
            break;
        case Op::Text:
            op = {kind, x(), y()};
            op.text = texts[rng() % 5];
            break;
        case Op::Pen:
        case Op::Brush:
        case Op::Font:
            op.a = static_cast<int>(RandomColor(rng));
            break;
        case Op::Style:
            op.a = Uniform(rng, 0, 1);
            break;
        case Op::Release:
            break;
        }
        ops.push_back(op);
    }
    return ops;
}

void Apply(Surface& surface, const std::vector<Op>& ops, const std::vector<KeyedImage>& images,
           int dx, int dy) {
    Canvas& canvas = surface.SurfaceCanvas();
    for (const Op& op : ops) {
        switch (op.kind) {
        case Op::Fill:
            surface.FillSurface(static_cast<uint32_t>(op.a));
            break;
        case Op::Image:
            surface.DrawImage(images[op.a], op.b + dx, op.c + dy);
            break;
        case Op::Alpha:
            surface.DrawImageAlpha(images[op.a], QRect(op.b + dx, op.c + dy, op.d, op.d * 2 / 3),
                                   op.e);
            break;
        case Op::Move:
            canvas.MoveTo(op.a + dx, op.b + dy);
            break;
        case Op::Line:
            canvas.LineTo(op.a + dx, op.b + dy);
            break;
        case Op::Rect:
            canvas.Rectangle(op.a + dx, op.b + dy, op.c + dx, op.d + dy);
            break;
        case Op::Text:
            canvas.TextOut(op.a + dx, op.b + dy, op.text);
            break;
        case Op::Pen:
            canvas.Pen.Color = static_cast<uint32_t>(op.a);
            break;
        case Op::Brush:
            canvas.Brush.Color = static_cast<uint32_t>(op.a);
            break;
        case Op::Style:
            canvas.Brush.Style = op.a ? Canvas::BrushStyle::Clear : Canvas::BrushStyle::Solid;
            break;
        case Op::Font:
            canvas.Font.Color = static_cast<uint32_t>(op.a);
            break;
        case Op::Release:
            surface.ReleaseCanvas();
            break;
        }
    }
    surface.ReleaseCanvas();
}

std::vector<KeyedImage> TestImages() {
    return {test::CoordinateImage(47, 47),
            test::ArtImage(
                {"#.....#", ".#...#.", "..#r#..", "...g...", "..#b#..", ".#...#.", "#.....#"}),
            test::ArtImage({"yy..", "y.b.", "..bb"})};
}

TEST(ViewportEquivalenceTest, ViewportRenderMatchesWholeSurface) {
    const std::vector<KeyedImage> images = TestImages();
    std::mt19937 rng(20240611);
    int viewportsCompared = 0;
    for (int round = 0; round < 6; ++round) {
        const std::vector<Op> ops = RandomOps(rng, 120);
        Surface whole;
        whole.SetSize(kW, kH);
        whole.Initialise();
        Apply(whole, ops, images, 0, 0);
        for (int v = 0; v < 12; ++v) {
            const QRect requested(Uniform(rng, -40, kW - 1), Uniform(rng, -40, kH - 1),
                                  Uniform(rng, 1, kW), Uniform(rng, 1, kH));
            Surface part;
            part.SetSize(kW, kH);
            part.SetViewport(requested);
            part.Initialise();
            if (!part.CanDraw())
                continue; // the request lay wholly off the surface
            Apply(part, ops, images, 0, 0);
            const QRect view = part.Viewport();
            ASSERT_EQ(part.BackBuffer(), whole.BackBuffer().copy(view))
                << "round " << round << " viewport " << view.x() << "," << view.y() << " "
                << view.width() << "x" << view.height();
            ++viewportsCompared;
        }
    }
    EXPECT_GT(viewportsCompared, 50);
}

TEST(ViewportEquivalenceTest, FarCornerOfHugeSurfaceMatchesSmallSurface) {
    const std::vector<KeyedImage> images = TestImages();
    std::mt19937 rng(4000 * 47);
    constexpr int kHuge = 188000;
    for (int round = 0; round < 3; ++round) {
        const std::vector<Op> ops = RandomOps(rng, 120);
        Surface small;
        small.SetSize(kW, kH);
        small.Initialise();
        Apply(small, ops, images, 0, 0);

        Surface huge;
        huge.SetSize(kHuge, kHuge);
        huge.SetViewport(QRect(kHuge - kW, kHuge - kH, kW, kH));
        huge.Initialise();
        Apply(huge, ops, images, kHuge - kW, kHuge - kH);
        ASSERT_EQ(huge.BackBuffer(), small.BackBuffer()) << "round " << round;
    }
}

} // namespace
} // namespace vedivez

#include "SurfaceTestHelpers.h"
#include "surface/Color.h"
#include "surface/KeyedImage.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace vedivez {
namespace {

TEST(ColorTest, ConvertsBetweenBgrAndQRgb) {
    struct Case {
        uint32_t bgr;
        QRgb rgb;
    };
    for (const Case c : {Case{0x0000FF, qRgb(255, 0, 0)}, Case{0xFF0000, qRgb(0, 0, 255)},
                         Case{0x00FF00, qRgb(0, 255, 0)}, Case{0x123456, qRgb(0x56, 0x34, 0x12)},
                         Case{0x808080, qRgb(128, 128, 128)}}) {
        EXPECT_EQ(ToQRgb(c.bgr), c.rgb) << std::hex << c.bgr;
        EXPECT_EQ(FromQRgb(c.rgb), c.bgr) << std::hex << c.bgr;
    }
    EXPECT_EQ(qAlpha(ToQRgb(0xAB000000)), 255) << "the unused top byte must not leak into alpha";
}

TEST(KeyedImageTest, MaskGivesBlackRunsPerRow) {
    // Rows: "..##.#..", "........", "########".
    std::vector<uint8_t> mask = {0, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0,
                                 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1};
    const KeyedImage image = KeyedImage::FromMask(8, 3, mask);
    ASSERT_EQ(image.Width(), 8);
    ASSERT_EQ(image.Height(), 3);
    const auto row0 = image.RowSpans(0);
    ASSERT_EQ(row0.size(), 2u);
    EXPECT_EQ(row0[0].x, 2);
    EXPECT_EQ(row0[0].length, 2);
    EXPECT_EQ(row0[1].x, 5);
    EXPECT_EQ(row0[1].length, 1);
    EXPECT_TRUE(image.RowSpans(1).empty());
    ASSERT_EQ(image.RowSpans(2).size(), 1u);
    EXPECT_EQ(image.RowSpans(2)[0].length, 8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(image.Pixel(x, y), mask[y * 8 + x] ? 0x000000u : 0xFFFFFFu);
    EXPECT_THROW(KeyedImage::FromMask(8, 2, mask), std::invalid_argument);
}

TEST(KeyedImageTest, QImageColoursAndTransparencyBecomeKeyedPixels) {
    QImage source(4, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(255, 0, 0, 255));     // red
    source.setPixel(1, 0, qRgba(255, 255, 255, 255)); // white key
    source.setPixel(2, 0, qRgba(0, 0, 255, 0));       // fully transparent: key as well
    source.setPixel(3, 0, qRgba(0, 0, 255, 255));     // blue
    const KeyedImage image = KeyedImage::FromQImage(source);
    EXPECT_EQ(image.Pixel(0, 0), 0x0000FFu);
    EXPECT_TRUE(image.IsKey(1, 0));
    EXPECT_TRUE(image.IsKey(2, 0));
    EXPECT_EQ(image.Pixel(3, 0), 0xFF0000u);
    const auto spans = image.RowSpans(0);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].x, 0);
    EXPECT_EQ(spans[1].x, 3);

    const QImage back = image.ToQImage();
    EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(back.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_THROW(image.Pixel(4, 0), std::out_of_range);
}

} // namespace
} // namespace vedivez

#include "dialogs/DialogAssets.h"
#include "dialogs/JpegImage.h"

#include <QBuffer>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

#include <jpeglib.h>

namespace vedivez {
namespace {

// Encodes a picture with libjpeg itself, so the test does not rely on Qt's JPEG plugin.
QByteArray Encode(const QImage& picture, bool progressive) {
    const bool grey = picture.format() == QImage::Format_Grayscale8;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    if (progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(picture.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    free(buffer);
    return bytes;
}

QImage Blocks(QImage::Format format) {
    QImage picture(40, 24, format);
    picture.fill(Qt::black);
    for (int y = 0; y < 24; ++y)
        for (int x = 20; x < 40; ++x)
            picture.setPixelColor(x, y, QColor(200, 40, 90));
    return picture;
}

TEST(JpegImageTest, DecodesGreyAndColourPictures) {
    const struct {
        QImage::Format format;
        bool progressive;
    } cases[] = {{QImage::Format_Grayscale8, false},
                 {QImage::Format_RGB888, false},
                 {QImage::Format_RGB888, true}};
    for (const auto& c : cases) {
        const QImage source = Blocks(c.format);
        const QImage decoded = DecodeJpeg(Encode(source, c.progressive));
        ASSERT_EQ(decoded.size(), source.size());
        EXPECT_EQ(decoded.format(), c.format);
        // Away from the edge between the blocks the colours come back nearly exact.
        for (const QPoint p : {QPoint(4, 4), QPoint(32, 18)}) {
            const QColor want = source.pixelColor(p);
            const QColor got = decoded.pixelColor(p);
            EXPECT_NEAR(got.red(), want.red(), 8) << p.x();
            EXPECT_NEAR(got.green(), want.green(), 8) << p.x();
            EXPECT_NEAR(got.blue(), want.blue(), 8) << p.x();
        }
    }
}

TEST(JpegImageTest, DamagedDataGivesANullImage) {
    const QByteArray good = Encode(Blocks(QImage::Format_RGB888), false);
    ASSERT_FALSE(DecodeJpeg(good).isNull());
    QByteArray flipped = good;
    for (qsizetype i = good.size() / 2; i < good.size() - 2; ++i)
        flipped[i] = char(0xFF);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    Blocks(QImage::Format_RGB888).save(&buffer, "PNG");
    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"empty", QByteArray()},
        {"garbage", QByteArray(300, '\x5A')},
        {"start marker only", QByteArray("\xFF\xD8")},
        {"header only", good.left(200)},
        {"truncated", good.left(good.size() - 20)},
        {"scan overwritten", flipped},
        {"png", png},
        {"bundled photograph truncated", ReadDialogAsset(kAboutPhotograph).chopped(300)},
    };
    for (const auto& c : cases)
        EXPECT_TRUE(DecodeJpeg(c.data).isNull()) << c.what;
}

TEST(JpegImageTest, KeyedGlyphMakesTheBottomLeftColourTransparent) {
    for (const QString& path :
         {kArrowUpGlyph, kArrowDownGlyph, kArrowLeftGlyph, kArrowRightGlyph}) {
        QImage glyph;
        ASSERT_TRUE(glyph.loadFromData(ReadDialogAsset(path), "BMP")) << path.toStdString();
        EXPECT_EQ(glyph.size(), QSize(12, 12));
        EXPECT_EQ(glyph.depth(), 32) << "read from a 24-bit file";
        const QImage keyed = KeyedGlyph(glyph);
        int clear = 0, green = 0;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                const QColor c = keyed.pixelColor(x, y);
                if (c.alpha() == 0) {
                    ++clear;
                    EXPECT_EQ(glyph.pixelColor(x, y), QColor(Qt::red));
                } else {
                    ++green;
                    EXPECT_GT(c.green(), 100);
                    EXPECT_EQ(c.red(), 0);
                }
            }
        }
        EXPECT_GT(clear, 40);
        EXPECT_GT(green, 30);
    }
}

} // namespace
} // namespace vedivez

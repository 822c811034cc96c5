#include "DialogTestHelpers.h"

#include "dialogs/DialogAssets.h"
#include "dialogs/JpegImage.h"
#include "dialogs/U_AboutVUVOzaz.h"
#include "panel/Version.h"

#include <QLabel>

namespace vedivez {
namespace {

using test::Child;

// The start-of-frame markers that occur in the photograph's header, in order.
QList<int> FrameMarkers(const QByteArray& jpeg) {
    QList<int> markers;
    int i = 2; // after SOI
    while (i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF) {
        const int marker = uchar(jpeg[i + 1]);
        if (marker == 0xDA) // start of scan: the header ends here
            break;
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            markers.append(marker);
        i += 2 + (uchar(jpeg[i + 2]) << 8 | uchar(jpeg[i + 3]));
    }
    return markers;
}

TEST(AboutWindowTest, ShowsTheBundledBaselineGreyscalePhotographWithTheTitleOverIt) {
    const QByteArray jpeg = ReadDialogAsset(kAboutPhotograph);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_EQ(FrameMarkers(jpeg), QList<int>{0xC0}) << "one baseline frame";
    const QImage photo = DecodeJpeg(jpeg);
    EXPECT_EQ(photo.size(), QSize(377, 254));
    EXPECT_EQ(photo.format(), QImage::Format_Grayscale8);

    TAboutVUVOzaz about;
    test::ShowActive(about);
    EXPECT_EQ(about.size(), QSize(377, 254));
    auto* image = Child<QLabel>(about, "Image1");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->geometry(), QRect(0, 0, 377, 254));
    EXPECT_EQ(image->pixmap().size(), QSize(377, 254));

    const struct {
        const char* name;
        const char* text;
        QRect geometry;
    } titles[] = {{"Label1", "VediVEZ", {24, 0, 329, 81}},
                  {"Label2", VEDIVEZ_VERSION, {24, 56, 329, 81}}};
    for (const auto& t : titles) {
        auto* label = Child<QLabel>(about, t.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), t.text);
        EXPECT_EQ(label->geometry(), t.geometry);
        EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignTop);
        EXPECT_EQ(label->font().pixelSize(), 64);
        EXPECT_TRUE(label->font().bold());
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_FALSE(label->autoFillBackground());
        // The title fits its label's width.
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), t.geometry.width())
            << t.name;
    }
    // Back to front: picture, name, version.
    const QObjectList order = about.children();
    EXPECT_LT(order.indexOf(image), order.indexOf(Child<QLabel>(about, "Label1")));
    EXPECT_LT(order.indexOf(Child<QLabel>(about, "Label1")),
              order.indexOf(Child<QLabel>(about, "Label2")));

    // The white title is drawn over the photograph.
    const QImage shot = about.grab().toImage();
    int white = 0;
    for (int x = 24; x < 24 + 329; ++x)
        white += qGray(shot.pixel(x, 40)) > 250;
    EXPECT_GT(white, 10);
}

TEST(AboutWindowTest, OpensAtItsSizeWithoutAPhotographThatCannotBeDecoded) {
    const QByteArray good = ReadDialogAsset(kAboutPhotograph);
    const QByteArray cases[] = {QByteArray(), QByteArray("not a picture at all"),
                                good.left(good.size() / 2)};
    for (const QByteArray& data : cases) {
        TAboutVUVOzaz about(data);
        test::ShowActive(about);
        EXPECT_EQ(about.size(), QSize(377, 254));
        auto* image = Child<QLabel>(about, "Image1");
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->pixmap().isNull()) << data.size();
        EXPECT_EQ(Child<QLabel>(about, "Label1")->text(), "VediVEZ");
        about.close();
    }
}

} // namespace
} // namespace vedivez

#include "surface/AppFonts.h"
#include "surface/Surface.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace vedivez {
namespace {

bool TahomaFilesPresent() {
    return QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf")) &&
           QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahomabd.ttf"));
}

TEST(AppFontsTest, TahomaResolvesWhenItsFilesAreInstalled) {
    if (!TahomaFilesPresent())
        GTEST_SKIP() << "Wine's Tahoma is not installed (package fonts-wine)";
    EXPECT_TRUE(RegisterApplicationFonts());
    EXPECT_TRUE(RegisterApplicationFonts()) << "a second call must keep the fonts";
    EXPECT_EQ(UiFontFamily(), QStringLiteral("Tahoma"));

    const QFont font = UiFont(11);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(QFontInfo(font).pixelSize(), 11);
    QFont bold = font;
    bold.setBold(true);
    EXPECT_EQ(QFontInfo(bold).family(), QStringLiteral("Tahoma"));
    EXPECT_TRUE(QFontInfo(bold).bold());

    // Every letter of Czech, both cases, has a glyph of its own.
    const QFontMetrics metrics(font);
    for (const QChar c : QString::fromUtf8("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ"))
        EXPECT_TRUE(metrics.inFont(c)) << QString(c).toStdString();
}

TEST(AppFontsTest, CanvasDrawsInTheInterfaceFontAtElevenPixels) {
    Surface surface;
    const QFont& font = surface.SurfaceCanvas().TextFont();
    EXPECT_EQ(QFontInfo(font).family(), UiFontFamily());
    EXPECT_EQ(font.pixelSize(), 11);
    EXPECT_EQ(font.styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    if (TahomaFilesPresent()) {
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Tahoma"));
    }
}

} // namespace
} // namespace vedivez

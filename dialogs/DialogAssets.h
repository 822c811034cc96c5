#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QString>

namespace vedivez {

// Resource paths of the pictures the secondary windows show.
inline const QString kArrowUpGlyph = QStringLiteral(":/dialogs/arrow_up.bmp");
inline const QString kArrowDownGlyph = QStringLiteral(":/dialogs/arrow_down.bmp");
inline const QString kArrowLeftGlyph = QStringLiteral(":/dialogs/arrow_left.bmp");
inline const QString kArrowRightGlyph = QStringLiteral(":/dialogs/arrow_right.bmp");
inline const QString kAboutPhotograph = QStringLiteral(":/dialogs/about.jpg");

// The bytes of one of the pictures above (empty when it is missing). Registers the bundled
// resources first: they live in a static library, whose unreferenced parts the linker drops.
QByteArray ReadDialogAsset(const QString& path);

// A bitmap-button glyph: the colour of its bottom-left pixel becomes transparent.
QImage KeyedGlyph(const QImage& glyph);

// The glyph at a resource path, keyed as above; a null pixmap when it cannot be read.
QPixmap LoadKeyedGlyph(const QString& path);

} // namespace vedivez

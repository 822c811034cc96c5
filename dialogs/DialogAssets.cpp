#include "dialogs/DialogAssets.h"

#include <QFile>

static void RegisterDialogResources() {
    Q_INIT_RESOURCE(dialogs);
}

namespace vedivez {

QByteArray ReadDialogAsset(const QString& path) {
    static const bool registered = (RegisterDialogResources(), true);
    (void)registered;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage KeyedGlyph(const QImage& glyph) {
    if (glyph.isNull())
        return {};
    QImage keyed = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = keyed.pixel(0, keyed.height() - 1) | 0xFF000000u;
    for (int y = 0; y < keyed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
        }
    }
    return keyed;
}

QPixmap LoadKeyedGlyph(const QString& path) {
    QImage glyph;
    glyph.loadFromData(ReadDialogAsset(path), "BMP");
    return QPixmap::fromImage(KeyedGlyph(glyph));
}

} // namespace vedivez

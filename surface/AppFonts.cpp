#include "surface/AppFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QStringList>

namespace vedivez {

namespace {

const char* const kTahomaFiles[] = {
    "/usr/share/wine/fonts/tahoma.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
};

} // namespace

bool RegisterApplicationFonts() {
    static bool registered = false;
    if (!registered) {
        registered = true;
        for (const char* file : kTahomaFiles) {
            const QString path = QString::fromLatin1(file);
            if (QFile::exists(path))
                QFontDatabase::addApplicationFont(path);
        }
    }
    return QFontDatabase::hasFamily(QStringLiteral("Tahoma"));
}

QString UiFontFamily() {
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        return QStringLiteral("Tahoma");
    // The platform's sans serif; some platforms (the offscreen one among them) name a family
    // the database does not hold, and then the usual Debian sans serif stands in.
    const QString sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    if (!sans.isEmpty() && QFontDatabase::hasFamily(sans))
        return sans;
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        return QStringLiteral("DejaVu Sans");
    return sans.isEmpty() ? QStringLiteral("Sans Serif") : sans;
}

QFont UiFont(int pixelSize) {
    QFont font(UiFontFamily());
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace vedivez

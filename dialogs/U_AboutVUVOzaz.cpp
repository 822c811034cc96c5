#include "dialogs/U_AboutVUVOzaz.h"

#include "dialogs/DialogAssets.h"
#include "dialogs/JpegImage.h"
#include "panel/Version.h"
#include "surface/AppFonts.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPalette>

namespace vedivez {

namespace {

// Arial Black where installed, else a sans serif with a heavy bold (the bold of the free
// Tahoma is too light for a title over a photograph).
QFont TitleFont() {
    QFont font;
    if (QFontDatabase::hasFamily(QStringLiteral("Arial Black"))) {
        font.setFamily(QStringLiteral("Arial Black"));
        font.setWeight(QFont::Black);
    } else {
        const QString dejaVu = QStringLiteral("DejaVu Sans");
        font.setFamily(QFontDatabase::hasFamily(dejaVu) ? dejaVu : UiFontFamily());
        font.setWeight(QFont::Bold);
    }
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(64);
    return font;
}

QLabel* AddTitle(const char* name, const QString& text, QRect geometry, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setFont(TitleFont());
    label->setAttribute(Qt::WA_TranslucentBackground);
    label->setAutoFillBackground(false);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(pal);
    return label;
}

} // namespace

TAboutVUVOzaz::TAboutVUVOzaz(QWidget* parent)
    : TAboutVUVOzaz(ReadDialogAsset(kAboutPhotograph), parent) {}

TAboutVUVOzaz::TAboutVUVOzaz(const QByteArray& photograph, QWidget* parent)
    : TToolDialog(QStringLiteral("AboutVUVOzaz"), QStringLiteral("O programu"),
                  QSize(kPhotoWidth, kPhotoHeight), Placement::CentreOnParent, parent) {
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kPhotoWidth, kPhotoHeight);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const QImage picture = DecodeJpeg(photograph);
    if (!picture.isNull())
        Image1->setPixmap(QPixmap::fromImage(picture));

    Label1 = AddTitle("Label1", QStringLiteral("VediVEZ"), {24, 0, 329, 81}, this);
    Label2 = AddTitle("Label2", QStringLiteral(VEDIVEZ_VERSION), {24, 56, 329, 81}, this);
}

} // namespace vedivez

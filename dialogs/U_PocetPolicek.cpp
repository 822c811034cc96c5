#include "dialogs/U_PocetPolicek.h"

#include "dialogs/DialogAssets.h"
#include "dialogs/SpinEdit.h"
#include "panel/Document.h"

#include <QPushButton>

namespace vedivez {

namespace {

QPushButton* MakeArrowButton(const char* name, const QString& glyph, QRect geometry,
                             QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(QIcon(LoadKeyedGlyph(glyph)));
    button->setIconSize(QSize(12, 12));
    button->setGeometry(geometry);
    // Return in the count edit must not press an arrow.
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

} // namespace

TZ_PosunPolicek::TZ_PosunPolicek(Document& document, QWidget* parent)
    : TToolDialog(QStringLiteral("Z_PosunPolicek"), QStringLiteral("Posunout vše"), QSize(135, 113),
                  Placement::CentreOnParent, parent),
      document_(document) {
    BB_Nahoru = MakeArrowButton("BB_Nahoru", kArrowUpGlyph, {48, 8, 41, 33}, this);
    BB_Dolu = MakeArrowButton("BB_Dolu", kArrowDownGlyph, {48, 72, 41, 33}, this);
    BB_Doprava = MakeArrowButton("BB_Doprava", kArrowRightGlyph, {88, 40, 41, 33}, this);
    BB_Doleva = MakeArrowButton("BB_Doleva", kArrowLeftGlyph, {8, 40, 41, 33}, this);
    SE_Pocet = new TSpinEdit(0, 9, 1, this);
    SE_Pocet->setObjectName(QStringLiteral("SE_Pocet"));
    SE_Pocet->setGeometry(53, 47, 33, 22);

    setTabOrder(BB_Nahoru, BB_Dolu);
    setTabOrder(BB_Dolu, BB_Doprava);
    setTabOrder(BB_Doprava, BB_Doleva);
    setTabOrder(BB_Doleva, SE_Pocet);

    connect(BB_Nahoru, &QPushButton::clicked, this, &TZ_PosunPolicek::BB_NahoruClick);
    connect(BB_Dolu, &QPushButton::clicked, this, &TZ_PosunPolicek::BB_DoluClick);
    connect(BB_Doleva, &QPushButton::clicked, this, &TZ_PosunPolicek::BB_DolevaClick);
    connect(BB_Doprava, &QPushButton::clicked, this, &TZ_PosunPolicek::BB_DopravaClick);
    connect(SE_Pocet, &QLineEdit::textChanged, this, &TZ_PosunPolicek::SE_PocetChange);
}

void TZ_PosunPolicek::BB_NahoruClick() {
    Shift(BB_Nahoru, 0, -1);
}

void TZ_PosunPolicek::BB_DoluClick() {
    Shift(BB_Dolu, 0, 1);
}

void TZ_PosunPolicek::BB_DolevaClick() {
    Shift(BB_Doleva, -1, 0);
}

void TZ_PosunPolicek::BB_DopravaClick() {
    Shift(BB_Doprava, 1, 0);
}

void TZ_PosunPolicek::SE_PocetChange() {
    // Setting the text raises this handler once more, which then finds "0" and stops.
    if (SE_Pocet->text().isEmpty())
        SE_Pocet->setText(QStringLiteral("0"));
}

int TZ_PosunPolicek::ShiftCount(QPushButton* clicked) {
    // A mouse click has already moved the focus, and the count edit has clamped itself on
    // losing it; a click from the keyboard or the program gets the same order here.
    if (!clicked->hasFocus())
        clicked->setFocus(Qt::OtherFocusReason);
    SE_Pocet->ClampToRange();
    return SE_Pocet->Value();
}

void TZ_PosunPolicek::Shift(QPushButton* clicked, int dx, int dy) {
    const int n = ShiftCount(clicked);
    // A refused shift reports itself through the panel's window; the dialog stays open.
    document_.ShiftAll(dx * n, dy * n);
}

} // namespace vedivez

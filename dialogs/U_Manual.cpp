#include "dialogs/U_Manual.h"

#include "dialogs/ManualText.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vedivez {

TManual::TManual(QWidget* parent)
    : TToolDialog(QStringLiteral("Manual"), QStringLiteral("VediVEZ - Nápověda"), QSize(655, 397),
                  Placement::Stored, parent) {
    ME_Napoveda = new QPlainTextEdit(this);
    ME_Napoveda->setObjectName(QStringLiteral("ME_Napoveda"));
    ME_Napoveda->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ME_Napoveda->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ME_Napoveda->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ME_Napoveda->setPlainText(ManualText());

    P_Spodek = new QFrame(this);
    P_Spodek->setObjectName(QStringLiteral("P_Spodek"));
    P_Spodek->setFrameStyle(QFrame::Panel | QFrame::Raised);
    P_Spodek->setFixedHeight(33);
    Button1 = new QPushButton(QStringLiteral("Zavřít"), P_Spodek);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(290, 4, 75, 25);
    Button1->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ME_Napoveda);
    layout->addWidget(P_Spodek);

    setTabOrder(ME_Napoveda, Button1);
    connect(Button1, &QPushButton::clicked, this, &TManual::Button1Click);

    // Opens where it was placed, not centred on the main window.
    move(423, 276);
}

void TManual::Button1Click() {
    accept();
}

} // namespace vedivez

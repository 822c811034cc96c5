#include "dialogs/U_About.h"

#include "dialogs/TypingLimitEdit.h"

#include <QLabel>
#include <QPushButton>

namespace vedivez {

namespace {

void AddLabel(const char* name, const QString& text, QPoint at, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(at);
    label->adjustSize();
}

QLineEdit* AddEdit(const char* name, int limit, const QString& text, QRect geometry,
                   QWidget* parent) {
    auto* edit = new TTypingLimitEdit(limit, text, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

} // namespace

TAboutStation::TAboutStation(QWidget* parent)
    : TToolDialog(QStringLiteral("AboutStation"), QStringLiteral("O stanci"), QSize(407, 118),
                  Placement::CentreOnParent, parent) {
    AddLabel("Label1", QStringLiteral("Stanice"), {8, 19}, this);
    AddLabel("Label2", QStringLiteral("Autor"), {8, 43}, this);
    AddLabel("Label3", QStringLiteral("Verze"), {8, 67}, this);
    AddLabel("Label4", QStringLiteral("Vydáno"), {8, 91}, this);
    E_Stanice = AddEdit("E_Stanice", 50, QString(), {64, 16, 337, 21}, this);
    E_Autor = AddEdit("E_Autor", 50, QString(), {64, 40, 337, 21}, this);
    E_Verze = AddEdit("E_Verze", 10, QString(), {64, 64, 89, 21}, this);
    // The placeholder is two characters longer than what may be typed.
    E_Vydano = AddEdit("E_Vydano", 8, QStringLiteral("DD.MM.RRRR"), {64, 88, 89, 21}, this);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(325, 84, 75, 25);
    Button1->setAutoDefault(false);

    setTabOrder(E_Stanice, E_Autor);
    setTabOrder(E_Autor, E_Verze);
    setTabOrder(E_Verze, E_Vydano);
    setTabOrder(E_Vydano, Button1);

    connect(Button1, &QPushButton::clicked, this, &TAboutStation::Button1Click);
}

void TAboutStation::Button1Click() {
    accept();
}

} // namespace vedivez

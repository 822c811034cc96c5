#include "app/TopBar.h"

#include "app/BevelPanel.h"
#include "app/MainMenu.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace vedivez {

namespace {

QPushButton* ToolButton(const QString& name, const QString& picture, int left, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(left, 4, 23, 23);
    if (!picture.isEmpty()) {
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(16, 16));
    }
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The tool bar's file buttons; each does what its menu item does.
struct FileButton {
    const char* name;
    const char* picture;
    int left;
    const char* item;
};
constexpr FileButton kFileButtons[] = {{"BB_Novy", ":/app/new.xpm", 5, "MP_Novy"},
                                       {"BB_Ulozit", ":/app/save.xpm", 31, "MP_Ulozeni"},
                                       {"BB_UlozitJako", ":/app/saveas.xpm", 57, "MP_UlozitJako"},
                                       {"BB_Otevrit", ":/app/open.xpm", 84, "MP_Otevreni"}};

} // namespace

TopBar::TopBar() {
    panel_ = new BevelPanel(QStringLiteral("P_HorniLista"), BevelPanel::Style::Double);
    panel_->setFixedHeight(33);
    for (const FileButton& b : kFileButtons)
        ToolButton(QString::fromLatin1(b.name), QString::fromLatin1(b.picture), b.left, panel_);
    ToolButton(QStringLiteral("BB_Zpet"), QStringLiteral(":/app/undo.xpm"), 123, panel_)
        ->setEnabled(false);
    ToolButton(QStringLiteral("BitBtn5"), QString(), 150, panel_);
    selected_ = new QLabel(QStringLiteral("KOL_sLSPS"), panel_);
    selected_->setObjectName(QStringLiteral("L_ZvolenaSoucast"));
    selected_->move(184, 10);
    selected_->hide();
    close_ = PanelCloseButton(QStringLiteral("B_ZavritPanelNastroju"), panel_);
}

void TopBar::Attach(const MainMenu& menu) {
    for (const FileButton& b : kFileButtons) {
        QAction* action = menu.Action(QString::fromLatin1(b.item));
        auto* button = panel_->findChild<QPushButton*>(QString::fromLatin1(b.name));
        QObject::connect(button, &QPushButton::clicked, action, [action] { action->trigger(); });
        QString caption = action->text();
        if (caption.endsWith(QStringLiteral(" ...")))
            caption.chop(4);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            caption, action->shortcut().toString(QKeySequence::NativeText)));
    }
}

} // namespace vedivez

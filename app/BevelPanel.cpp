#include "app/BevelPanel.h"

#include <QPainter>
#include <QPushButton>

namespace vedivez {

BevelPanel::BevelPanel(const QString& name, Style style, QWidget* parent)
    : QFrame(parent), style_(style) {
    setObjectName(name);
    setAutoFillBackground(true);
    // Children are placed inside the bevels, as aligned controls of a panel are.
    const int bevel = style == Style::Double ? 2 : 1;
    setContentsMargins(bevel, bevel, bevel, bevel);
}

void BevelPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter p(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor dark = palette().color(QPalette::Dark);
    auto bevel = [&](QRect r, const QColor& topLeft, const QColor& bottomRight) {
        p.setPen(topLeft);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(bottomRight);
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
    };
    const QRect outer = rect();
    if (style_ == Style::Double) {
        bevel(outer, dark, light);                        // lowered
        bevel(outer.adjusted(1, 1, -1, -1), light, dark); // raised
    } else {
        bevel(outer, light, dark);
    }
}

QPushButton* PanelCloseButton(const QString& name, QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("x"), parent);
    button->setObjectName(name);
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    button->setGeometry(0, 2, 17, 17);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace vedivez

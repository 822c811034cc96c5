#include "app/BevelPanel.h"

#include <QPainter>

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

} // namespace vedivez

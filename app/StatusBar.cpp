#include "app/StatusBar.h"

#include "panel/Document.h"

#include <QLabel>
#include <QWidget>

namespace vedivez {

StatusBar::StatusBar(const Document& document) {
    // The two panels are placed by hand: their widths follow the window, and a layout would
    // make those widths the window's minimum size.
    bar_ = new QWidget;
    bar_->setObjectName(QStringLiteral("ZB_Zapati"));
    bar_->setFixedHeight(19);
    const int widths[2] = {500, 150};
    for (int i = 0; i < 2; ++i) {
        panels_[i] = new QLabel(bar_);
        panels_[i]->setObjectName(QStringLiteral("ZB_Zapati_Panel%1").arg(i));
        // A path is text, whatever characters the file's name holds.
        panels_[i]->setTextFormat(Qt::PlainText);
        panels_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panels_[i]->setContentsMargins(2, 0, 2, 0);
        panels_[i]->setGeometry(0, 2, widths[i], 17);
    }
    panels_[1]->setAlignment(Qt::AlignCenter);
    SetWidths(500, 150);
    Show(document);
    QObject::connect(&document, &Document::stateChanged, bar_,
                     [this, &document] { Show(document); });
}

void StatusBar::SetWidths(int first, int second) {
    // At the window's width less 100 for the first, the second ends at the window's right
    // edge.
    panels_[0]->setGeometry(0, 2, first, 17);
    panels_[1]->setGeometry(first, 2, second, 17);
}

void StatusBar::Show(const Document& document) {
    panels_[0]->setText(document.ShownPath());
    panels_[1]->setText(document.StateWord());
}

} // namespace vedivez

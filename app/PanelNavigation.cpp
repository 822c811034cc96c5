#include "app/PanelNavigation.h"

#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "panel/PanelState.h"
#include "surface/Cp1250.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace vedivez {

namespace {

// The pointer counts as at the edge this close to it.
constexpr int kEdge = 8;
// At its fastest the view moves by its own size in this time.
constexpr int kViewportTimeMs = 250;
// How far beyond the edge the pointer is when the scrolling reaches its full speed.
constexpr int kFullSpeedDistance = 120;

// How far to scroll this step along one axis for the pointer at `p` of a viewport `size`
// long: nothing inside, a cell in the strip along the edge, then faster the further beyond
// it, growing with the square of the distance (so a little beyond is still easy to hold),
// up to the viewport's length in kViewportTimeMs. A pointer that cannot go further (at the
// screen's edge) scrolls at full speed.
int EdgeSpeed(int p, int size, int cell, bool atScreenEdge) {
    int beyond; // pixels past the viewport's edge, negative inside the strip
    int sign;
    if (p < kEdge) {
        beyond = -p;
        sign = -1;
    } else if (p >= size - kEdge) {
        beyond = p - (size - 1);
        sign = 1;
    } else {
        return 0;
    }
    const int fastest =
        std::max(cell, size * PanelNavigation::kAutoScrollInterval / kViewportTimeMs);
    if (atScreenEdge)
        beyond = kFullSpeedDistance;
    const double share = std::clamp(double(beyond) / kFullSpeedDistance, 0.0, 1.0);
    return sign * (cell + int(std::lround((fastest - cell) * share * share)));
}

} // namespace

namespace {

struct NavigationKey {
    const char* name;
    QKeySequence key;
    void (PanelNavigation::*handler)();
};
const NavigationKey kKeys[] = {
    {"A_StrankaNahoru", QKeySequence(Qt::Key_PageUp), &PanelNavigation::PageUp},
    {"A_StrankaDolu", QKeySequence(Qt::Key_PageDown), &PanelNavigation::PageDown},
    {"A_LevyOkraj", QKeySequence(Qt::Key_Home), &PanelNavigation::ToLeftEdge},
    {"A_PravyOkraj", QKeySequence(Qt::Key_End), &PanelNavigation::ToRightEdge},
    {"A_LevyHorniRoh", QKeySequence(Qt::CTRL | Qt::Key_Home), &PanelNavigation::ToTopLeft},
    {"A_PravyDolniRoh", QKeySequence(Qt::CTRL | Qt::Key_End), &PanelNavigation::ToBottomRight},
};

std::vector<QKeySequence> Sequences() {
    std::vector<QKeySequence> sequences;
    for (const NavigationKey& k : kKeys)
        sequences.push_back(k.key);
    return sequences;
}

} // namespace

PanelNavigation::PanelNavigation(PanelState& panel, Viewport& view, QWidget* window)
    : panel_(panel), view_(view), keys_(window, Sequences(), WindowShortcuts::Winner::EditBox) {
    for (const NavigationKey& k : kKeys) {
        auto* action = new QAction(window);
        action->setObjectName(QString::fromLatin1(k.name));
        action->setShortcut(k.key);
        action->setShortcutContext(Qt::WindowShortcut);
        const auto handler = k.handler;
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        window->addAction(action);
    }

    SurfaceWidget* surface = view_.SurfaceControl();
    autoScroll_.setInterval(kAutoScrollInterval);
    connect(&autoScroll_, &QTimer::timeout, this, [this] {
        if (!view_.SurfaceControl()->ButtonHeld()) {
            autoScroll_.stop();
            return;
        }
        AutoScrollStep(view_.ViewportWidget()->mapFromGlobal(QCursor::pos()));
    });
    connect(surface, &SurfaceWidget::buttonPressed, this, [this] {
        tooltip_.stop();
        QToolTip::hideText();
        autoScroll_.start();
    });
    connect(surface, &SurfaceWidget::buttonReleased, this, [this] { autoScroll_.stop(); });

    tooltip_.setSingleShot(true);
    tooltip_.setInterval(kTooltipDelay);
    connect(&tooltip_, &QTimer::timeout, this, &PanelNavigation::ShowTooltip);
    connect(surface, &SurfaceWidget::pointerMoved, this, [this] {
        if (!view_.SurfaceControl()->ButtonHeld())
            tooltip_.start();
    });
    connect(surface, &SurfaceWidget::pointerLeft, this, [this] { tooltip_.stop(); });
    // After the panel moved under the pointer a tooltip would name a cell no longer under
    // it: it goes, and the one of the cell now under the resting pointer follows after the
    // usual rest.
    connect(&view_, &Viewport::surfaceMoved, this, [this] {
        if (QToolTip::isVisible())
            QToolTip::hideText();
        if (view_.PointerOnSurface() && !view_.SurfaceControl()->ButtonHeld())
            tooltip_.start();
        else
            tooltip_.stop();
    });
}

void PanelNavigation::PageUp() {
    QScrollBar* bar = view_.VerticalBar();
    bar->setValue(bar->value() - bar->pageStep());
}

void PanelNavigation::PageDown() {
    QScrollBar* bar = view_.VerticalBar();
    bar->setValue(bar->value() + bar->pageStep());
}

void PanelNavigation::ToLeftEdge() {
    view_.HorizontalBar()->setValue(0);
}

void PanelNavigation::ToRightEdge() {
    view_.HorizontalBar()->setValue(view_.HorizontalBar()->maximum());
}

void PanelNavigation::ToTopLeft() {
    view_.HorizontalBar()->setValue(0);
    view_.VerticalBar()->setValue(0);
}

void PanelNavigation::ToBottomRight() {
    view_.HorizontalBar()->setValue(view_.HorizontalBar()->maximum());
    view_.VerticalBar()->setValue(view_.VerticalBar()->maximum());
}

bool PanelNavigation::AutoScrollStep(QPoint inViewport) {
    const QWidget* viewport = view_.ViewportWidget();
    const int cell = std::max(view_.Zoom().CellSize(), kEdge);
    // The pointer pressed against the screen's edge asks for all the speed there is.
    const QPoint global = viewport->mapToGlobal(inViewport);
    auto blocked = [&](QPoint step) {
        return QGuiApplication::screenAt(global) && !QGuiApplication::screenAt(global + step);
    };
    QScrollBar* h = view_.HorizontalBar();
    QScrollBar* v = view_.VerticalBar();
    const int x = h->value(), y = v->value();
    const int w = viewport->width(), ht = viewport->height();
    const int dx = EdgeSpeed(inViewport.x(), w, cell,
                             inViewport.x() < kEdge ? blocked({-1, 0}) : blocked({1, 0}));
    const int dy = EdgeSpeed(inViewport.y(), ht, cell,
                             inViewport.y() < kEdge ? blocked({0, -1}) : blocked({0, 1}));
    if (dx && h->isEnabled())
        h->setValue(x + dx);
    if (dy && v->isEnabled())
        v->setValue(y + dy);
    return h->value() != x || v->value() != y;
}

QString PanelNavigation::CellText(const PanelState& panel, int32_t col, int32_t row) {
    QString text = QString::fromUtf8("Sloupec %1, řádek %2").arg(col).arg(row);
    panel.ForEachElementAt(col, row, [&](size_t i) {
        const TPolePanelu& e = panel.Elements()[i];
        QStringList set;
        for (Point p : kAllPoints)
            if (e.Flag(p))
                set << QString::fromLatin1(FactsOf(p).code.data(),
                                           qsizetype(FactsOf(p).code.size()));
        text += QLatin1Char('\n') + FromCp1250(e.NAME);
        if (!set.isEmpty())
            text += QString::fromUtf8(" · ") + set.join(QLatin1Char(' '));
    });
    return text;
}

void PanelNavigation::ShowTooltip() {
    const std::optional<QPoint> at = view_.PointerOnSurface();
    if (!at || view_.SurfaceControl()->ButtonHeld())
        return;
    const QPoint p = view_.ToPanel(*at);
    const int32_t col = panel_.ColumnAt(p.x()), row = panel_.RowAt(p.y());
    // The tooltip goes away when the pointer leaves the cell.
    const QPoint corner = view_.ToWidget(QPoint(col * panel_.CellWidth, row * panel_.CellHeight));
    const int size = std::max(view_.Zoom().CellSize(), 1);
    QToolTip::showText(QCursor::pos(), CellText(panel_, col, row), view_.SurfaceControl(),
                       QRect(corner, QSize(size, size)));
}

} // namespace vedivez

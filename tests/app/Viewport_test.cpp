// The viewport on its own: the mapping between the surface widget's pixels and panel pixels,
// the scale that fits the panel, and zooming about a point, at every scale.

#include "AppTestSupport.h"

#include "app/BevelPanel.h"
#include "app/Viewport.h"

#include <QScrollBar>

namespace vedivez::test {
namespace {

// A viewport in a window of its own, showing a panel of `cols` x `rows` cells.
struct ViewportWindow {
    ViewportWindow(int cols, int rows, QSize size = QSize(900, 700)) : view(&host) {
        host.resize(size);
        view.Area()->setGeometry(QRect(QPoint(0, 0), size));
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
        QCoreApplication::processEvents();
        Resize(cols, rows);
    }
    void Resize(int cols, int rows) {
        panel = QSize(cols * 47, rows * 47);
        view.SetSurfaceSize(panel.width(), panel.height());
        view.NastaveniPosuvniku();
    }
    QPoint SurfacePos() const { return view.SurfaceControl()->pos(); }
    // The panel point under a point of the viewport, or the panel's nearest point.
    QPoint NearestPanelPoint(QPoint inViewport) const {
        const QPoint p = view.ToPanel(inViewport - SurfacePos());
        return {std::clamp(p.x(), 0, panel.width() - 1), std::clamp(p.y(), 0, panel.height() - 1)};
    }

    QWidget host;
    Viewport view;
    QSize panel;
};

std::string Named(ZoomLevel level) {
    return level.PercentText().toStdString();
}

// A panel pixel goes to the screen pixel where it starts and back into the same cell while a
// cell has pixels of its own, and into one of the cells that screen pixel stands for where a
// pixel covers several; the mapping never runs backwards, and the panel's last pixel lies on
// the surface.
TEST(ViewportTest, MapsScreenAndPanelPixelsAtEveryLevel) {
    ViewportWindow w(4000, 4000);
    const int panelPixels[] = {0, 1, 23, 46, 47, 48, 93, 94, 470, 4699, 94000, 187953, 187999};
    for (const ZoomLevel& level : ZoomLevel::All()) {
        w.view.SetZoom(level);
        QPoint previous(-1, -1);
        for (const int p : panelPixels) {
            const QPoint onWidget = w.view.ToWidget(QPoint(p, p));
            EXPECT_GE(onWidget.x(), previous.x()) << Named(level) << " at " << p;
            previous = onWidget;
            const QPoint back = w.view.ToPanel(onWidget);
            const int cellsAPixel = std::max(1, level.cells);
            EXPECT_LE(back.x(), p) << Named(level) << " at " << p;
            EXPECT_GT(back.x() / 47 + cellsAPixel, p / 47) << Named(level) << " at " << p;
            EXPECT_EQ(back.x(), back.y());
            if (level.Actual()) {
                EXPECT_EQ(back, QPoint(p, p));
            }
        }
        const QPoint last = w.view.ToWidget(QPoint(w.panel.width() - 1, w.panel.height() - 1));
        EXPECT_LT(last.x(), w.view.SurfaceControl()->width()) << Named(level);
        EXPECT_LT(last.y(), w.view.SurfaceControl()->height()) << Named(level);
    }
}

// "Celý panel" is the largest scale, never above 100 %, at which the whole panel fits the
// viewport: at it the panel fits, one level larger it does not.
TEST(ViewportTest, FitIsTheLargestLevelShowingTheWholePanel) {
    const struct {
        int cols, rows;
        QSize window;
    } cases[] = {
        {10, 10, {900, 700}},   {17, 13, {900, 700}},     {18, 13, {900, 700}},
        {150, 50, {900, 700}},  {150, 50, {1900, 1000}},  {1000, 30, {900, 700}},
        {30, 1000, {900, 700}}, {4000, 4000, {900, 700}}, {4000, 4000, {300, 200}},
    };
    const auto& all = ZoomLevel::All();
    for (const auto& c : cases) {
        ViewportWindow w(c.cols, c.rows, c.window);
        const QSize room = w.view.ViewportWidget()->size();
        const ZoomLevel fit = w.view.FitLevel();
        const std::string what = std::to_string(c.cols) + "x" + std::to_string(c.rows) + " in " +
                                 std::to_string(room.width()) + "x" +
                                 std::to_string(room.height()) + ": " + Named(fit);
        EXPECT_FALSE(fit.Enlarged()) << what;
        w.view.SetZoom(fit);
        const QSize shown = w.view.SurfaceControl()->size();
        const bool fits = shown.width() <= room.width() && shown.height() <= room.height();
        EXPECT_TRUE(fits || fit == all.back()) << what;
        if (fit.Actual() || !fits)
            continue;
        w.view.SetZoom(all[size_t(fit.Index() - 1)]);
        const QSize larger = w.view.SurfaceControl()->size();
        EXPECT_TRUE(larger.width() > room.width() || larger.height() > room.height()) << what;
    }
}

// Zooming about a point of the viewport keeps the panel point under it there, exactly, from
// 300 % down to the smallest level and back, on a big panel and on one smaller than the
// viewport, with the point on the panel or beside it (where the panel's nearest point stays).
TEST(ViewportTest, ZoomAboutAPointKeepsThePanelPointUnderItAtEveryLevel) {
    const struct {
        int cols, rows;
        QPoint anchor;
    } cases[] = {
        {4000, 4000, {431, 290}}, {4000, 4000, {2, 3}}, {4000, 4000, {860, 650}},
        {1000, 30, {500, 100}},   {12, 9, {200, 150}},  {12, 9, {800, 600}},
        {12, 9, {0, 0}},
    };
    const auto& all = ZoomLevel::All();
    for (const auto& c : cases) {
        ViewportWindow w(c.cols, c.rows);
        // A scroll somewhere in the middle first, where there is room for one.
        w.view.HorizontalBar()->setValue(w.view.HorizontalBar()->maximum() / 3);
        w.view.VerticalBar()->setValue(w.view.VerticalBar()->maximum() / 2);
        const QPoint target = w.NearestPanelPoint(c.anchor);
        std::vector<ZoomLevel> levels(all.begin() + 1, all.end()); // 200 % down
        levels.insert(levels.end(), all.rbegin() + 1, all.rend()); // and up to 300 %
        for (const ZoomLevel& level : levels) {
            w.view.SetZoom(level, c.anchor);
            const std::string what = std::to_string(c.cols) + "x" + std::to_string(c.rows) +
                                     " about " + std::to_string(c.anchor.x()) + "," +
                                     std::to_string(c.anchor.y()) + " at " + Named(level);
            ASSERT_EQ(w.view.Zoom(), level) << what;
            EXPECT_EQ(w.SurfacePos() + w.view.ToWidget(target), c.anchor) << what;
            // The scroll bars hold the surface where the zoom put it.
            EXPECT_EQ(-w.SurfacePos().x(), w.view.HorizontalBar()->value()) << what;
            EXPECT_EQ(-w.SurfacePos().y(), w.view.VerticalBar()->value()) << what;
        }
        // About the middle, the surface goes back within the ordinary ranges.
        w.view.SetZoom(all[2]);
        const QSize excess = w.view.SurfaceControl()->size() - w.view.ViewportWidget()->size();
        EXPECT_LE(w.SurfacePos().x(), 0);
        EXPECT_LE(w.SurfacePos().y(), 0);
        EXPECT_GE(w.SurfacePos().x(), -std::max(0, excess.width()));
        EXPECT_GE(w.SurfacePos().y(), -std::max(0, excess.height()));
    }
}

} // namespace
} // namespace vedivez::test

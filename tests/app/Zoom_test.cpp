// The view's scales in the window: the menu and keys, zooming about the pointer, the whole
// panel at a glance, editing at every scale, frames that scroll without stale parts, and
// getting around with the keyboard, a drag at the edge and the cell's tooltip.

#include "AppTestSupport.h"

#include "app/Palette.h"
#include "app/PanelNavigation.h"
#include "app/ZoomController.h"
#include "panel/PanelOccupancy.h"
#include "panel/ScaledRenderer.h"
#include "panel/TileImages.h"
#include "support/TestSupport.h"
#include "surface/ImageList.h"

#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolTip>
#include <QWheelEvent>
#include <random>

namespace vedivez::test {
namespace {

class ZoomTest : public WindowTest {
protected:
    Viewport& View() const { return window->View(); }
    FrameDriver& Frames() const { return window->Frames(); }
    ZoomLevel Level() const { return View().Zoom(); }
    QMenu* Submenu() const { return window->findChild<QMenu*>(QStringLiteral("MP_Meritko")); }
    // Ctrl and the wheel over a point of the viewport, `notches` towards the panel; beside
    // the panel the viewport itself has the pointer.
    void CtrlWheel(QPoint inViewport, int notches) {
        QWidget* under =
            Surface()->geometry().contains(inViewport) ? Surface() : View().ViewportWidget();
        const QPoint at = under->mapFrom(View().ViewportWidget(), inViewport);
        QWheelEvent wheel(at, under->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(under, &wheel);
    }
    // The panel pixel under a point of the viewport.
    QPoint PanelAt(QPoint inViewport) const {
        return View().ToPanel(Surface()->mapFrom(View().ViewportWidget(), inViewport));
    }
    void SetPanel(int cols, int rows) { window->Doc().SetSize(cols, rows); }
    // Events on the surface at the widget point where a cell's middle lies at this scale.
    QPoint OnScreen(int col, int row) const {
        const QPoint corner = View().ToWidget(QPoint(col * 47, row * 47));
        return corner +
               QPoint(std::max(Level().CellSize(), 1) / 2, std::max(Level().CellSize(), 1) / 2);
    }
    std::vector<std::tuple<int, int, std::string>> Records() const {
        std::vector<std::tuple<int, int, std::string>> out;
        for (const TPolePanelu& e : Panel().Elements())
            out.emplace_back(e.X, e.Y, e.NAME);
        return out;
    }
};

TEST_F(ZoomTest, ScaleSubmenuEndsTheViewMenu) {
    QMenu* view = TopMenu("Zobrazit");
    ASSERT_NE(view, nullptr);
    const QList<QAction*> items = view->actions();
    // The submenus "Panel VAD" and "Panely nástrojů", then the scale and, after it, the
    // connection check's items.
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Panel VAD"));
    EXPECT_EQ(items[1]->text(), QString::fromUtf8("Panely nástrojů"));
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(items[3]->menu(), Submenu());
    EXPECT_EQ(Submenu()->title(), QString::fromUtf8("Měřítko (100 %)"));
    using K = QKeySequence;
    const struct {
        const char* component;
        const char* caption;
        QList<K> keys;
    } rows[] = {
        {"MP_Priblizit", "Přiblížit", {K(Qt::CTRL | Qt::Key_Plus), K(Qt::CTRL | Qt::Key_Equal)}},
        {"MP_Oddalit", "Oddálit", {K(Qt::CTRL | Qt::Key_Minus)}},
        {"MP_SkutecnaVelikost", "Skutečná velikost", {K(Qt::CTRL | Qt::Key_1)}},
        {"MP_CelyPanel", "Celý panel", {K(Qt::CTRL | Qt::Key_0)}},
    };
    const QList<QAction*> zoomItems = Submenu()->actions();
    ASSERT_EQ(zoomItems.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(zoomItems[i]->objectName(), QString::fromLatin1(rows[i].component));
        EXPECT_EQ(zoomItems[i]->text(), QString::fromUtf8(rows[i].caption));
        EXPECT_EQ(zoomItems[i]->shortcuts(), rows[i].keys) << rows[i].component;
    }
}

// The keys step through the levels, the title follows; 100 % and the whole panel are one
// key away.
TEST_F(ZoomTest, KeysStepThroughTheLevels) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        ZoomLevel expected;
        const char* title;
    } steps[] = {
        {Qt::Key_Minus, Qt::ControlModifier, {40, 1}, "Měřítko (85 %)"},
        {Qt::Key_Minus, Qt::ControlModifier, {34, 1}, "Měřítko (72 %)"},
        {Qt::Key_Plus, Qt::ControlModifier, {40, 1}, "Měřítko (85 %)"},
        {Qt::Key_Plus, Qt::ControlModifier, {47, 1}, "Měřítko (100 %)"},
        {Qt::Key_Plus, Qt::ControlModifier, {94, 1}, "Měřítko (200 %)"},
        {Qt::Key_Equal, Qt::ControlModifier, {141, 1}, "Měřítko (300 %)"},
        {Qt::Key_Plus, Qt::ControlModifier, {141, 1}, "Měřítko (300 %)"},
        {Qt::Key_0, Qt::ControlModifier, {6, 1}, "Měřítko (13 %)"},
        {Qt::Key_Equal, Qt::ControlModifier, {8, 1}, "Měřítko (17 %)"},
        {Qt::Key_1, Qt::ControlModifier, {47, 1}, "Měřítko (100 %)"},
    };
    // 150 x 50 cells fit 1200 x 800 at 6 pixels a cell, not at 8.
    for (const auto& s : steps) {
        QTest::keyClick(window.get(), s.key, s.modifiers);
        EXPECT_EQ(Level(), s.expected) << s.title;
        EXPECT_EQ(Submenu()->title(), QString::fromUtf8(s.title));
    }
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(Level(), ZoomLevel::All().back()) << "the last level stays";
}

// Ctrl and the wheel keep the panel point under the pointer where it is, at every level from
// the whole panel in to 300 % and out to the smallest, to within one screen pixel of the new
// scale, also where the panel is smaller than the viewport at the level zoomed from or to:
// the target is never lost and the panel stays in view. Beside the panel its nearest point
// stays under the pointer.
TEST_F(ZoomTest, CtrlWheelZoomsAboutThePointer) {
    const struct {
        int cols, rows;
        QPoint anchor; // a point of the viewport
    } cases[] = {
        {1000, 300, {705, 219}},  {1000, 300, {3, 298}},   {1000, 300, {999, 5}},
        {4000, 4000, {250, 237}}, {4000, 4000, {12, 490}}, {10, 10, {300, 160}},
        {10, 10, {700, 560}},     {150, 50, {1000, 30}},
    };
    const auto& all = ZoomLevel::All();
    for (const auto& c : cases) {
        SetPanel(c.cols, c.rows);
        Trigger("MP_CelyPanel");
        const QSize panel(c.cols * 47, c.rows * 47);
        auto nearest = [&](QPoint p) {
            return QPoint(std::clamp(p.x(), 0, panel.width() - 1),
                          std::clamp(p.y(), 0, panel.height() - 1));
        };
        const QPoint target = nearest(PanelAt(c.anchor));
        // In to the largest level, out to the smallest, and in again.
        std::vector<int> notches(size_t(Level().Index()), 1);
        notches.insert(notches.end(), all.size() - 1, -1);
        notches.insert(notches.end(), 6, 1);
        for (const int notch : notches) {
            CtrlWheel(c.anchor, notch);
            const std::string what = std::to_string(c.cols) + "x" + std::to_string(c.rows) +
                                     " at " + std::to_string(c.anchor.x()) + "," +
                                     std::to_string(c.anchor.y()) + ", " +
                                     Level().PercentText().toStdString();
            // A screen pixel of the new scale, in panel pixels.
            const int pixel = 47 * Level().cells / Level().pixels + 1;
            const QPoint under = nearest(PanelAt(c.anchor));
            EXPECT_LE(std::abs(under.x() - target.x()), pixel) << what;
            EXPECT_LE(std::abs(under.y() - target.y()), pixel) << what;
            EXPECT_FALSE(View().VisibleRect().isEmpty()) << what;
        }
        EXPECT_EQ(Level(), all[all.size() - 7]);
    }
    // Fine-grained wheels add their small turns up to whole steps.
    const ZoomLevel was = Level();
    for (int i = 0; i < 3; ++i) {
        const QPoint at = Surface()->mapFrom(View().ViewportWidget(), QPoint(300, 200));
        QWheelEvent wheel(at, Surface()->mapToGlobal(at), QPoint(), QPoint(0, -40), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Surface(), &wheel);
        EXPECT_EQ(Level() == was, i < 2) << i;
    }
}

// A zoom about the pointer may leave the panel off the viewport's top-left corner, beyond the
// scroll bars' ordinary ranges; the bars then reach it there, and a scroll back within those
// ranges, "Celý panel" or a zoom by the keys bring the ordinary ranges back.
TEST_F(ZoomTest, APanelMovedByTheZoomScrollsBack) {
    SetPanel(10, 10);
    QScrollBar* h = View().HorizontalBar();
    QScrollBar* v = View().VerticalBar();
    ASSERT_FALSE(h->isEnabled());
    CtrlWheel(QPoint(400, 300), -1);
    ASSERT_EQ(Level(), (ZoomLevel{40, 1}));
    EXPECT_GT(Surface()->x(), 0);
    EXPECT_GT(Surface()->y(), 0);
    EXPECT_TRUE(v->isEnabled());
    EXPECT_EQ(v->value(), -Surface()->y());
    EXPECT_EQ(v->minimum(), v->value());
    EXPECT_EQ(v->maximum(), 0);
    const int low = v->minimum();
    v->setValue(low + 10);
    EXPECT_EQ(Surface()->y(), -(low + 10));
    EXPECT_EQ(v->minimum(), low) << "the range stays while the panel is off the corner";
    window->Navigation().ToTopLeft();
    EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
    EXPECT_FALSE(v->isEnabled());
    // Tool panels hidden and shown keep a moved panel where it is.
    CtrlWheel(QPoint(300, 300), -1);
    const QPoint moved = Surface()->pos();
    ASSERT_NE(moved, QPoint(0, 0));
    Trigger("MP_LevyPanel");
    QCoreApplication::processEvents();
    EXPECT_EQ(Surface()->pos(), moved);
    Trigger("MP_Oddalit");
    EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
    CtrlWheel(QPoint(300, 300), 1);
    ASSERT_NE(Surface()->pos(), QPoint(0, 0));
    Trigger("MP_CelyPanel");
    EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
    EXPECT_FALSE(h->isEnabled());
    EXPECT_FALSE(v->isEnabled());
}

// "Celý panel" is the largest scale at which the whole panel fits the viewport.
TEST_F(ZoomTest, WholePanelIsTheLargestLevelThatFits) {
    const struct {
        int cols, rows;
        ZoomLevel expected;
    } panels[] = {
        {10, 10, {47, 1}},
        {150, 50, {6, 1}},
        {4000, 4000, {1, 8}},
        {300, 40, {3, 1}},
        {50, 20, {20, 1}},
        {1000, 300, {1, 1}},
        // Never above 100 %, though 10 x 5 would fit at 200 %.
        {10, 5, {47, 1}},
    };
    for (const auto& p : panels) {
        SetPanel(p.cols, p.rows);
        Trigger("MP_CelyPanel");
        const QSize room = View().ViewportWidget()->size();
        EXPECT_EQ(Level(), p.expected) << p.cols << "x" << p.rows;
        EXPECT_LE(Surface()->width(), room.width()) << p.cols;
        EXPECT_LE(Surface()->height(), room.height()) << p.cols;
        EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
        const int index = Level().Index();
        if (!Level().Actual() && Level() != ZoomLevel::All().back()) {
            const ZoomLevel larger = ZoomLevel::All()[size_t(index - 1)];
            EXPECT_TRUE(larger.CellsExtent(p.cols) > room.width() ||
                        larger.CellsExtent(p.rows) > room.height())
                << p.cols << "x" << p.rows;
        }
        Trigger("MP_SkutecnaVelikost");
    }
}

// Clicks, a row laid by dragging, right clicks: the same edits at any scale give the same
// panel as at 100 %, and the drag display still counts panel pixels.
TEST_F(ZoomTest, EditingAtAScaleEqualsEditingAt100Percent) {
    auto edit = [&] {
        Panel().ClearElements();
        const std::pair<QPoint, Qt::MouseButton> clicks[] = {{{3, 2}, Qt::LeftButton},
                                                             {{8, 8}, Qt::RightButton},
                                                             {{3, 2}, Qt::RightButton},
                                                             {{9, 1}, Qt::LeftButton}};
        for (const auto& [cell, button] : clicks)
            Click(OnScreen(cell.x(), cell.y()), button);
        // Left to right along row 5 fills it; right to left changes only the release cell.
        MoveTo(OnScreen(2, 5));
        Press(OnScreen(2, 5));
        MoveTo(OnScreen(4, 5));
        EXPECT_EQ(Find<QLabel>("L_Konec")->text(), QStringLiteral("188x235"));
        MoveTo(OnScreen(6, 5));
        Release(OnScreen(6, 5));
        MoveTo(OnScreen(7, 7));
        Press(OnScreen(7, 7));
        MoveTo(OnScreen(5, 7));
        Release(OnScreen(5, 7));
        return Records();
    };
    const auto expected = edit();
    ASSERT_EQ(expected.size(), 8u);
    for (const ZoomLevel level : {ZoomLevel{24, 1}, ZoomLevel{6, 1}, ZoomLevel{1, 1},
                                  ZoomLevel{94, 1}, ZoomLevel{141, 1}}) {
        View().SetZoom(level);
        EXPECT_EQ(edit(), expected) << level.pixels;
    }
}

// A rendering of the visible part with nothing kept from earlier frames.
QImage FreshRender(TPanelVAD& window, const FrameInputs& inputs) {
    static const ImageList images = MakeTileImageList();
    Viewport& view = window.View();
    Surface surface;
    surface.SetSize(view.FrameSurface().Width(), view.FrameSurface().Height());
    surface.SetViewport(view.VisibleRect());
    surface.Initialise();
    if (view.Zoom().Actual()) {
        FrameRenderer renderer(window.Panel(), surface, images);
        renderer.RenderFrame(inputs);
    } else {
        PanelOccupancy occupancy(window.Panel());
        ScaledRenderer renderer(window.Panel(), surface, images, occupancy);
        renderer.RenderFrame(inputs, view.Zoom());
    }
    return surface.BackBuffer().copy();
}

// Scrolling a big panel at any scale shows, after each step, exactly what a fresh rendering
// of that view shows: no part undrawn, none left from before the step.
TEST_F(ZoomTest, ScrollingNeverShowsStaleParts) {
    SetPanel(4000, 4000);
    std::vector<TPolePanelu> elements;
    std::mt19937 random(5);
    const char* names[] = {"KOL_sLSPS", "KOL_sSDSH", "VYH_sLSPS_sLDPS", "KRI_sLDPH_sLHPD"};
    for (int r = 0; r < 4000; r += 3)
        for (int c = (r / 3) % 5; c < 4000; c += 5) {
            TPolePanelu e;
            e.X = c;
            e.Y = r;
            e.NAME = names[random() % 4];
            e.Cont_LH = random() % 3 == 0;
            elements.push_back(e);
        }
    Panel().ReplaceElements(std::move(elements));
    Trigger("MP_InfoVykreslovani"); // the overlay's figures change with time
    QWidget* viewport = View().ViewportWidget();
    QCursor::setPos(viewport->mapToGlobal(QPoint(200, 150)));
    for (const ZoomLevel level :
         {ZoomLevel{47, 1}, ZoomLevel{141, 1}, ZoomLevel{94, 1}, ZoomLevel{24, 1}, ZoomLevel{12, 1},
          ZoomLevel{3, 1}, ZoomLevel{1, 2}}) {
        View().SetZoom(level);
        MoveTo(Surface()->mapFrom(viewport, QPoint(200, 150)));
        // One tick's frame; after that every step is shown by painting alone, before the
        // next tick.
        Frames().RenderIfChanged(1);
        const std::function<void()> steps[] = {
            [&] { View().HorizontalBar()->setValue(View().HorizontalBar()->value() + 37); },
            [&] { View().VerticalBar()->setValue(View().VerticalBar()->value() + 211); },
            [&] { View().VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); },
            [&] { View().HorizontalBar()->setValue(View().HorizontalBar()->value() - 5); },
            [&] { window->Navigation().ToBottomRight(); },
            [&] { window->Navigation().PageUp(); },
        };
        int step = 0;
        for (const auto& scroll : steps) {
            scroll();
            ++step;
            const QImage shown = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const QImage fresh = FreshRender(*window, Frames().frameInputs());
            const QRect visible = View().VisibleRect();
            ASSERT_EQ(fresh.size(), visible.size());
            const QImage part =
                shown.copy(QRect(Surface()->mapTo(viewport, visible.topLeft()), visible.size()));
            EXPECT_EQ(part, fresh) << level.pixels << "/" << level.cells << " step " << step;
        }
    }
}

// The frame after a pointer move repaints every pixel it changed on the screen, at every
// scale, the preview's corner marks in the neighbouring cells included.
TEST_F(ZoomTest, APointerMoveRepaintsAllItChanged) {
    for (const char* corner : {"CH_Poloha_LH", "CH_Poloha_LD", "CH_Poloha_PH", "CH_Poloha_PD"})
        Find<QCheckBox>(corner)->setChecked(true);
    QRegion painted;
    struct PaintRecorder : QObject {
        QRegion* painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint)
                *painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } recorder;
    recorder.painted = &painted;
    Surface()->installEventFilter(&recorder);
    for (const ZoomLevel level : {ZoomLevel{47, 1}, ZoomLevel{141, 1}, ZoomLevel{94, 1},
                                  ZoomLevel{24, 1}, ZoomLevel{12, 1}, ZoomLevel{3, 1}}) {
        View().SetZoom(level);
        window->Navigation().ToTopLeft();
        MoveTo(OnScreen(4, 3));
        Frames().RenderIfChanged(1);
        QCoreApplication::processEvents();
        for (const QPoint cell : {QPoint(5, 3), QPoint(5, 4), QPoint(3, 2)}) {
            const QImage before = View().FrameSurface().BackBuffer().copy();
            const QPoint origin = View().VisibleRect().topLeft();
            painted = QRegion();
            MoveTo(OnScreen(cell.x(), cell.y()));
            ASSERT_TRUE(Frames().RenderIfChanged(1));
            QCoreApplication::processEvents();
            const QImage& after = View().FrameSurface().BackBuffer();
            int unpainted = 0;
            for (int y = 0; y < after.height(); ++y)
                for (int x = 0; x < after.width(); ++x)
                    if (after.pixel(x, y) != before.pixel(x, y) &&
                        !painted.contains(QPoint(x, y) + origin))
                        ++unpainted;
            EXPECT_EQ(unpainted, 0) << level.pixels << " to " << cell.x() << "," << cell.y();
        }
    }
    Surface()->removeEventFilter(&recorder);
}

// The cursor's outline and preview are drawn at the scaled cell under the pointer.
TEST_F(ZoomTest, CursorOutlineAtTheScaledCell) {
    View().SetZoom({12, 1});
    Surface()->setFocus();
    MoveTo(OnScreen(5, 4));
    Frames().RenderIfChanged(1);
    const QImage& buffer = View().FrameSurface().BackBuffer();
    const QPoint origin = View().VisibleRect().topLeft();
    auto at = [&](int x, int y) { return buffer.pixel(QPoint(x, y) - origin) & 0xFFFFFF; };
    // The red outline covers the cell's edges, 13 pixels across.
    for (const QPoint p : {QPoint(60, 52), QPoint(72, 52), QPoint(65, 48), QPoint(65, 60)})
        EXPECT_EQ(at(p.x(), p.y()), 0xFF0000u) << p.x() << "," << p.y();
    EXPECT_NE(at(73, 52), 0xFF0000u);
}

TEST_F(ZoomTest, PagingKeys) {
    SetPanel(400, 300);
    QScrollBar* h = View().HorizontalBar();
    QScrollBar* v = View().VerticalBar();
    const int page = v->pageStep();
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int x, y;
    } keys[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 0, page},
        {Qt::Key_PageDown, Qt::NoModifier, 0, 2 * page},
        {Qt::Key_PageUp, Qt::NoModifier, 0, page},
        {Qt::Key_End, Qt::NoModifier, h->maximum(), page},
        {Qt::Key_Home, Qt::NoModifier, 0, page},
        {Qt::Key_End, Qt::ControlModifier, h->maximum(), v->maximum()},
        {Qt::Key_Home, Qt::ControlModifier, 0, 0},
    };
    for (const auto& k : keys) {
        QTest::keyClick(Surface(), k.key, k.modifiers);
        EXPECT_EQ(QPoint(h->value(), v->value()), QPoint(k.x, k.y)) << k.key;
    }
    // In a size field the keys edit the field and leave the view alone.
    window->PaletteControls().Pages()->setCurrentIndex(window->PaletteControls().Pages()->count() -
                                                       1);
    auto* width = Find<QSpinBox>("SE_PolickaSirka");
    width->setFocus();
    v->setValue(page);
    for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home}) {
        QTest::keyClick(width, key);
        EXPECT_EQ(QPoint(h->value(), v->value()), QPoint(0, page)) << key;
    }
}

// A drag held at or beyond the viewport's edge scrolls the view, and the row it lays
// reaches the cell under the pointer at the release.
TEST_F(ZoomTest, DragAtTheEdgeScrollsTheView) {
    SetPanel(300, 50);
    QWidget* viewport = View().ViewportWidget();
    QScrollBar* h = View().HorizontalBar();
    const QPoint start = OnScreen(2, 4);
    QCursor::setPos(Surface()->mapToGlobal(start));
    MoveTo(start);
    Press(start);
    // Beyond the right edge, at the row's height.
    const QPoint beyond(viewport->width() + 30, Surface()->mapTo(viewport, start).y());
    QCursor::setPos(viewport->mapToGlobal(beyond));
    QTest::qWait(400);
    const int scrolled = h->value();
    EXPECT_GT(scrolled, 47 * 5) << "the view did not scroll by itself";
    // Back inside, away from the edge: the view stays.
    const QPoint inside(viewport->width() / 2, beyond.y());
    QCursor::setPos(viewport->mapToGlobal(inside));
    MoveTo(Surface()->mapFrom(viewport, inside));
    QTest::qWait(200);
    EXPECT_EQ(h->value(), scrolled);
    const QPoint release = Surface()->mapFrom(viewport, inside);
    Release(release);
    const int lastCol = release.x() / 47;
    ASSERT_EQ(int(Panel().Elements().size()), lastCol - 2 + 1);
    for (const TPolePanelu& e : Panel().Elements()) {
        EXPECT_EQ(e.Y, 4);
        EXPECT_GE(e.X, 2);
        EXPECT_LE(e.X, lastCol);
    }
    QTest::qWait(100);
    EXPECT_EQ(h->value(), scrolled) << "no scrolling after the release";
}

// The scrolling during a drag: a cell a step in the strip along the edge, faster the further
// beyond the edge the pointer is, up to the viewport's size in a quarter of a second; at the
// screen's edge, where the pointer can go no further, at once that fast.
TEST_F(ZoomTest, AutoScrollSpeedGrowsWithTheDistanceBeyondTheEdge) {
    SetPanel(4000, 4000);
    QScrollBar* h = View().HorizontalBar();
    QScrollBar* v = View().VerticalBar();
    const QSize room = View().ViewportWidget()->size();
    // One step's move for the pointer at a point of the viewport, from the panel's middle.
    auto step = [&](QPoint at) {
        h->setValue(h->maximum() / 2);
        v->setValue(v->maximum() / 2);
        window->Navigation().AutoScrollStep(at);
        return QPoint(h->value() - h->maximum() / 2, v->value() - v->maximum() / 2);
    };
    const QPointF fastest =
        QPointF(room.width(), room.height()) * PanelNavigation::kAutoScrollInterval / 250.0;
    const int x = room.width() / 2, y = room.height() / 2;
    EXPECT_EQ(step({x, y}), QPoint(0, 0));
    EXPECT_EQ(step({room.width() - 3, y}), QPoint(47, 0));
    EXPECT_EQ(step({2, y}), QPoint(-47, 0));
    EXPECT_EQ(step({x, 5}), QPoint(0, -47));
    // Beyond the right edge, and as far beyond the left, top and bottom edges.
    int last = 47;
    for (const int beyond : {2, 10, 30, 60, 90, 120, 200, 1000}) {
        const int right = step({room.width() - 1 + beyond, y}).x();
        EXPECT_GE(right, last) << beyond;
        EXPECT_LE(right, fastest.x() + 1) << beyond;
        if (beyond >= 120) {
            EXPECT_NEAR(right, fastest.x(), 1) << beyond;
        }
        if (beyond <= 30) {
            EXPECT_LT(right, 47 * 2) << beyond << ": too fast just beyond the edge";
        }
        EXPECT_EQ(step({-beyond, y}).x(), -right) << beyond;
        const int down = step({x, room.height() - 1 + beyond}).y();
        EXPECT_EQ(step({x, -beyond}).y(), -down) << beyond;
        if (beyond >= 120) {
            EXPECT_NEAR(down, fastest.y(), 1) << beyond;
        }
        last = right;
    }
    // Both ways at once in a corner.
    EXPECT_EQ(step({room.width() + 500, -500}),
              QPoint(step({room.width() + 500, y}).x(), step({x, -500}).y()));
    // Pressed against the screen's left edge just beyond the viewport's.
    QWidget* viewport = View().ViewportWidget();
    window->move(window->pos() - QPoint(viewport->mapToGlobal(QPoint()).x() - 4, 0));
    QCoreApplication::processEvents();
    const int edge = -viewport->mapToGlobal(QPoint()).x();
    ASSERT_LT(edge, 0);
    ASSERT_GT(edge, -30);
    EXPECT_NEAR(step({edge, y}).x(), -fastest.x(), 1);
    EXPECT_EQ(step({edge + 1, y}).x(), -47) << "short of the screen's edge";
}

TEST_F(ZoomTest, TooltipNamesTheCellAndWhatItHolds) {
    TPolePanelu a;
    a.X = 38;
    a.Y = 12;
    a.NAME = "KOL_sLSPS";
    a.Cont_LS = a.Cont_PS = true;
    TPolePanelu b = a;
    b.NAME = "VYH_sLSPS_sLDPS";
    b.Cont_LS = false;
    b.Cont_LD = true;
    TPolePanelu c = a;
    c.X = 5;
    c.NAME = "V\xFDh";
    c.Cont_LS = c.Cont_PS = false;
    for (const TPolePanelu& e : {a, b, c})
        Panel().AppendElement(e);
    const std::pair<QPoint, const char*> cells[] = {
        {{1, 1}, "Sloupec 1, řádek 1"},
        {{38, 12}, "Sloupec 38, řádek 12\nKOL_sLSPS · LS PS\nVYH_sLSPS_sLDPS · LD PS"},
        {{5, 12}, "Sloupec 5, řádek 12\nVýh"},
    };
    for (const auto& [cell, text] : cells)
        EXPECT_EQ(PanelNavigation::CellText(Panel(), cell.x(), cell.y()), QString::fromUtf8(text));
    // Resting on a cell brings it up after about half a second, at any scale.
    ASSERT_TRUE(QGuiApplication::primaryScreen()->geometry().contains(
        View().ViewportWidget()->mapToGlobal(QPoint(60, 60))));
    for (const ZoomLevel level : {ZoomLevel{47, 1}, ZoomLevel{12, 1}}) {
        View().SetZoom(level);
        // Near the viewport's top-left corner: the offscreen screen is only 800 x 600.
        const QPoint p = OnScreen(38, 12);
        View().HorizontalBar()->setValue(p.x() - 60);
        View().VerticalBar()->setValue(p.y() - 60);
        QCursor::setPos(Surface()->mapToGlobal(p));
        MoveTo(p);
        QTest::qWait(PanelNavigation::kTooltipDelay + 300);
        EXPECT_TRUE(QToolTip::isVisible()) << level.pixels;
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8(cells[1].second)) << level.pixels;
        QToolTip::hideText();
    }
}

// The scale is a setting of the view: New and Open keep it.
TEST_F(ZoomTest, ScaleStaysAcrossNewAndOpen) {
    EXPECT_TRUE(Level().Actual());
    Trigger("MP_Oddalit");
    Trigger("MP_Oddalit");
    const ZoomLevel chosen = Level();
    Trigger("MP_Novy");
    EXPECT_EQ(Level(), chosen);
    EXPECT_EQ(Surface()->width(), chosen.CellsExtent(100));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.reru"));
    WriteBytes(path, "SET_Sirka;77\r\n");
    log->fileAnswers.push_back(path);
    Trigger("MP_Otevreni");
    EXPECT_EQ(window->StatusText(0), path);
    EXPECT_EQ(Level(), chosen);
    EXPECT_EQ(Surface()->width(), chosen.CellsExtent(77));
}

} // namespace
} // namespace vedivez::test

// The cursor under a resting pointer when the panel moves under it without the pointer
// moving: tool panels hidden or shown, the window moved or resized, a new scale.

#include "AppTestSupport.h"

#include "app/PanelNavigation.h"

#include <QCursor>
#include <QToolTip>

namespace vedivez::test {
namespace {

class PointerTrackingTest : public WindowTest {
protected:
    // The pointer comes to rest at a point of the screen.
    void Rest(QPoint global) {
        QCursor::setPos(global);
        MoveTo(Surface()->mapFromGlobal(global));
        Settle();
    }
    // Lets the layouts and the window finish what the change started.
    static void Settle() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
    QPoint CellUnderPointer() const {
        const QPoint p = window->View().ToPanel(Surface()->mapFromGlobal(QCursor::pos()));
        return {p.x() / 47, p.y() / 47};
    }
    QPoint CursorCell() const { return {Panel().CursorX / 47, Panel().CursorY / 47}; }
    bool PointerOverPanel() const { return window->View().PointerOnSurface().has_value(); }
    // A point of the screen over the viewport, `offset` from its top-left corner.
    QPoint OnViewport(QPoint offset) const {
        return window->View().ViewportWidget()->mapToGlobal(offset);
    }
};

// After each change the cursor marks the cell now under the pointer, where a click lands.
TEST_F(PointerTrackingTest, CursorFollowsTheRestingPointerAfterALayoutChange) {
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"F2", [&] { QTest::keyClick(window.get(), Qt::Key_F2); }},
        {"F3", [&] { QTest::keyClick(window.get(), Qt::Key_F3); }},
        {"Horní lišta", [&] { Trigger("MP_HorniLista"); }},
        {"Horní lišta again", [&] { Trigger("MP_HorniLista"); }},
        {"Sortiment prvků", [&] { Trigger("MP_Sortiment"); }},
        {"Levý panel", [&] { Trigger("MP_LevyPanel"); }},
        {"both back", [&] { QTest::keyClick(window.get(), Qt::Key_F3); }},
        {"window moved", [&] { window->move(window->pos() + QPoint(-40, -25)); }},
        {"window resized", [&] { window->setGeometry(QRect(150, 60, 1150, 760)); }},
        {"zoom out", [&] { QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier); }},
    };
    for (const auto& c : changes) {
        Rest(OnViewport({260, 230}));
        ASSERT_TRUE(PointerOverPanel()) << c.what;
        ASSERT_EQ(CursorCell(), CellUnderPointer()) << c.what;
        c.change();
        Settle();
        ASSERT_TRUE(PointerOverPanel()) << c.what;
        EXPECT_EQ(CursorCell(), CellUnderPointer()) << c.what;
        EXPECT_TRUE(Panel().CursorInside) << c.what;
    }
}

// The key hides the cell's tooltip; after the usual rest the one of the cell now under the
// pointer shows.
TEST_F(PointerTrackingTest, TooltipFollowsTheRestingPointer) {
    Rest(OnViewport({260, 230}));
    QTest::qWait(PanelNavigation::kTooltipDelay + 300);
    ASSERT_TRUE(QToolTip::isVisible());
    const QPoint before = CellUnderPointer();
    EXPECT_EQ(QToolTip::text(), PanelNavigation::CellText(Panel(), before.x(), before.y()));
    QTest::keyClick(window.get(), Qt::Key_F2);
    Settle();
    const QPoint now = CellUnderPointer();
    ASSERT_NE(now, before);
    QTest::qWait(PanelNavigation::kTooltipDelay + 300);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), PanelNavigation::CellText(Panel(), now.x(), now.y()));
    QToolTip::hideText();
}

// When the panel moves away from under the pointer the outline goes, and comes back where the
// pointer next moves over the panel. A pointer that left the panel by moving leaves the
// cursor where it was.
TEST_F(PointerTrackingTest, OutlineGoesWhenThePanelMovesAwayFromThePointer) {
    window->Doc().SetSize(10, 10);
    window->move(0, 0);
    Settle();
    // Near the right edge of the 470-pixel panel, which 40 pixels a cell leaves behind.
    Rest(OnViewport({440, 200}));
    ASSERT_TRUE(PointerOverPanel());
    const QPoint kept = CursorCell();
    QTest::keyClick(window.get(), Qt::Key_Minus, Qt::ControlModifier);
    Settle();
    ASSERT_FALSE(PointerOverPanel());
    EXPECT_FALSE(Panel().CursorInside) << "the outline stayed with the pointer beside the panel";
    EXPECT_EQ(CursorCell(), kept);
    Rest(OnViewport({100, 100}));
    EXPECT_TRUE(Panel().CursorInside);
    EXPECT_EQ(CursorCell(), CellUnderPointer());

    // Left by moving, over the left panel: a change that keeps the pointer off the panel
    // leaves the cursor and its outline alone.
    const QPoint left = Find<QWidget>("P_Levy")->mapToGlobal(QPoint(40, 60));
    QCursor::setPos(left);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(Surface(), &leave);
    Settle();
    const QPoint parked = CursorCell();
    Trigger("MP_Sortiment");
    Settle();
    ASSERT_FALSE(PointerOverPanel());
    EXPECT_EQ(CursorCell(), parked);
    EXPECT_TRUE(Panel().CursorInside);
}

} // namespace
} // namespace vedivez::test

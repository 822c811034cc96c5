#include "AppTestSupport.h"

#include "app/FrameDriver.h"
#include "app/MouseEditing.h"
#include "app/Viewport.h"
#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"
#include "panel/ZoomLevel.h"

#include <QCheckBox>
#include <QCursor>
#include <QLabel>
#include <QScrollBar>
#include <QWheelEvent>

namespace vedivez::test {
namespace {

class MouseEditingTest : public WindowTest {
protected:
    QString StartText() const { return Find<QLabel>("L_Pocatek")->text(); }
    QString EndText() const { return Find<QLabel>("L_Konec")->text(); }
    bool Dragging() const { return Find<QCheckBox>("CB_Tazeni")->isChecked(); }
    std::vector<std::pair<int, int>> Cells() const {
        std::vector<std::pair<int, int>> cells;
        for (const TPolePanelu& e : Panel().Elements())
            cells.emplace_back(e.X, e.Y);
        return cells;
    }
    // Press in one cell, move through to another and release there.
    void Drag(QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
        MoveTo(from);
        Press(from, button);
        MoveTo((from + to) / 2);
        MoveTo(to);
        Release(to, button);
    }
};

TEST_F(MouseEditingTest, ClickPlacesOneElementWithTheBoxesAndLeavesTheDisplayIdle) {
    Click(Cell(3, 2));
    ASSERT_EQ(Panel().Elements().size(), 1u);
    const TPolePanelu& e = Panel().Elements()[0];
    EXPECT_EQ(e.X, 3);
    EXPECT_EQ(e.Y, 2);
    EXPECT_EQ(e.NAME, "KOL_sLSPS");
    EXPECT_TRUE(e.Cont_LS);
    EXPECT_TRUE(e.Cont_PS);
    EXPECT_FALSE(e.Cont_LH || e.Cont_LD || e.Cont_SH || e.Cont_SD || e.Cont_PH || e.Cont_PD);
    EXPECT_EQ(window->StatusText(1), StateModified());
    EXPECT_EQ(StartText(), QStringLiteral("0x0"));
    EXPECT_EQ(EndText(), QStringLiteral("0x0"));
    EXPECT_FALSE(Dragging());
    // A second click in the cell replaces the element in its slot.
    Panel().SelectedName = "KOL_sSDSH";
    Click(Cell(3, 2) + QPoint(10, 10));
    ASSERT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(Panel().Elements()[0].NAME, "KOL_sSDSH");
}

struct DragCase {
    const char* what;
    QPoint from, to;
    std::vector<std::pair<int, int>> cells; // in list order
};

TEST_F(MouseEditingTest, OnlyALeftToRightDragInOneRowFillsTheRun) {
    const DragCase cases[] = {
        {"left to right", Cell(2, 3), Cell(5, 3), {{5, 3}, {2, 3}, {3, 3}, {4, 3}}},
        {"right to left", Cell(5, 3), Cell(2, 3), {{2, 3}}},
        {"down a column", Cell(4, 1), Cell(4, 6), {{4, 6}}},
        {"up a column", Cell(4, 6), Cell(4, 1), {{4, 1}}},
        {"diagonal", Cell(1, 1), Cell(4, 4), {{4, 4}}},
        {"one cell", Cell(7, 7) - QPoint(20, 20), Cell(7, 7) + QPoint(20, 20), {{7, 7}}},
    };
    for (const DragCase& c : cases) {
        Panel().ClearElements();
        Drag(c.from, c.to);
        EXPECT_EQ(Cells(), c.cells) << c.what;
        EXPECT_FALSE(Dragging()) << c.what;
        EXPECT_EQ(StartText(), QStringLiteral("0x0")) << c.what;
    }
}

TEST_F(MouseEditingTest, DragOverPlacedElementsReplacesThemInTheirSlots) {
    Click(Cell(3, 3));
    Click(Cell(9, 9));
    Panel().SelectedName = "KOL_sLDPH";
    Drag(Cell(2, 3), Cell(5, 3));
    // Column 3 kept its slot; 5, 2 and 4 were added: at most four new records.
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{3, 3}, {9, 9}, {5, 3}, {2, 3}, {4, 3}}));
    for (const TPolePanelu& e : Panel().Elements())
        EXPECT_EQ(e.NAME, e.Y == 3 ? "KOL_sLDPH" : "KOL_sLSPS");
}

TEST_F(MouseEditingTest, PointerSnapsToCellCornersAndDragDisplayFollowsIt) {
    MoveTo({100, 60});
    EXPECT_EQ(Panel().CursorX, 94);
    EXPECT_EQ(Panel().CursorY, 47);
    EXPECT_EQ(EndText(), QStringLiteral("0x0")) << "no drag yet";
    Press({100, 60});
    EXPECT_TRUE(Dragging());
    EXPECT_EQ(StartText(), QStringLiteral("94x47"));
    EXPECT_EQ(EndText(), QStringLiteral("0x0")) << "until the first move";
    MoveTo({150, 100});
    EXPECT_EQ(EndText(), QStringLiteral("141x94"));
    MoveTo({100, 60});
    EXPECT_EQ(EndText(), QStringLiteral("94x47"));
    Release({100, 60});
    EXPECT_FALSE(Dragging());
    EXPECT_EQ(StartText(), QStringLiteral("0x0"));
    EXPECT_EQ(EndText(), QStringLiteral("0x0"));
}

TEST_F(MouseEditingTest, TickingTheDragBoxByHandMakesTheEndFollow) {
    QTest::mouseClick(Find<QCheckBox>("CB_Tazeni"), Qt::LeftButton);
    ASSERT_TRUE(Dragging());
    MoveTo(Cell(3, 2));
    EXPECT_EQ(EndText(), QStringLiteral("141x94"));
}

TEST_F(MouseEditingTest, PressBeforeAnyMoveStartsAtCellZero) {
    Press(Cell(4, 4));
    EXPECT_EQ(StartText(), QStringLiteral("0x0"));
    EXPECT_EQ(Panel().DragStartCol, 0);
    EXPECT_EQ(Panel().DragStartRow, 0);
}

TEST_F(MouseEditingTest, RightClickRemovesFromAFullCellAndPlacesInAnEmptyOne) {
    Click(Cell(2, 2));
    Click(Cell(6, 2));
    window->Doc().SetState(Document::State::Saved);
    Click(Cell(2, 2), Qt::RightButton);
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{6, 2}}));
    EXPECT_EQ(window->StatusText(1), StateModified()) << "a removal changes the document too";
    Click(Cell(8, 8), Qt::RightButton);
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{6, 2}, {8, 8}}));
    EXPECT_EQ(window->StatusText(1), StateModified());
}

// Only the left button lays a row. A right-button drag removes, or places on an empty cell,
// at its release point alone; a middle-button drag or click changes nothing on the panel.
TEST_F(MouseEditingTest, OnlyALeftButtonDragLaysARow) {
    Drag(Cell(1, 5), Cell(4, 5)); // columns 1 to 4 of row 5, in the list as 4, 1, 2, 3
    Panel().SelectedName = "VYH_sLSPS_sLDPS";
    const struct {
        const char* what;
        Qt::MouseButton button;
        QPoint from, to;
        std::vector<std::pair<int, int>> after; // in list order
    } drags[] = {
        {"right over the laid row",
         Qt::RightButton,
         Cell(1, 5),
         Cell(4, 5),
         {{3, 5}, {1, 5}, {2, 5}}},
        {"right along an empty row",
         Qt::RightButton,
         Cell(1, 7),
         Cell(3, 7),
         {{3, 5}, {1, 5}, {2, 5}, {3, 7}}},
        {"middle along the laid row",
         Qt::MiddleButton,
         Cell(0, 5),
         Cell(6, 5),
         {{3, 5}, {1, 5}, {2, 5}, {3, 7}}},
        {"middle along an empty row",
         Qt::MiddleButton,
         Cell(1, 9),
         Cell(3, 9),
         {{3, 5}, {1, 5}, {2, 5}, {3, 7}}},
    };
    for (const auto& d : drags) {
        Drag(d.from, d.to, d.button);
        EXPECT_EQ(Cells(), d.after) << d.what;
        EXPECT_FALSE(Dragging()) << d.what;
        EXPECT_EQ(StartText(), QStringLiteral("0x0")) << d.what;
    }
    // The tiles the right-button drags passed over are the ones the left drag laid.
    for (const TPolePanelu& e : Panel().Elements())
        EXPECT_EQ(e.NAME, e.Y == 5 ? "KOL_sLSPS" : "VYH_sLSPS_sLDPS") << e.X << "," << e.Y;
    Click(Cell(4, 4), Qt::MiddleButton);
    EXPECT_EQ(Panel().Elements().size(), 4u);
}

// The pointer stays captured while a button is held, so a release may come from beyond the
// panel, however far at a small scale: it edits nothing there, and a row laid by a drag
// that runs on past the last column stops at that column.
TEST_F(MouseEditingTest, NoMouseEditLandsOutsideThePanel) {
    const int width = Panel().PanelCols * 47, height = Panel().PanelRows * 47;
    // None to the right of the press in its row, where a left drag lays a row.
    const QPoint outside[] = {{-10, 60},    {-50, 60},    {-1, -1},
                              {width, 200}, {60, height}, {width + 500, height + 500}};
    for (const QPoint release : outside) {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            MoveTo(Cell(0, 1));
            Press(Cell(0, 1), button);
            MoveTo(release);
            Release(release, button);
            EXPECT_TRUE(Panel().Elements().empty()) << release.x() << "," << release.y();
        }
    }
    // The last column of the panel still takes a click.
    Click({width - 1, height - 1});
    EXPECT_EQ(Cells(),
              (std::vector<std::pair<int, int>>{{Panel().PanelCols - 1, Panel().PanelRows - 1}}));

    // Along row 0 of a 10 x 10 panel at the smallest scale, a drag released far to the right
    // of the panel: the row is laid from the start to column 9 and nowhere else.
    window->Doc().SetSize(10, 10);
    Viewport& view = window->View();
    view.SetZoom(ZoomLevel::All().back());
    for (const QPoint from : {QPoint(0, 0), QPoint(1, 0)}) {
        Panel().ClearElements();
        const QPoint beyond(view.ViewportWidget()->width() - 2, 0);
        MoveTo(from);
        Press(from);
        MoveTo(beyond);
        Release(beyond);
        std::vector<std::pair<int, int>> laid;
        for (int col = view.ToPanel(from).x() / 47; col <= 9; ++col)
            laid.emplace_back(col, 0);
        EXPECT_EQ(Cells(), laid) << "from column " << laid.front().first;
    }
}

TEST_F(MouseEditingTest, FocusDecidesCursorInside) {
    EXPECT_TRUE(Panel().CursorInside);
    Surface()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Panel().CursorInside);
    Find<QCheckBox>("CB_Tazeni")->setFocus();
    QCoreApplication::processEvents();
    EXPECT_FALSE(Panel().CursorInside);
    // A click on the surface gives it the focus back.
    Press(Cell(1, 1));
    QCoreApplication::processEvents();
    EXPECT_TRUE(Panel().CursorInside);
    Release(Cell(1, 1));
}

// Ctrl + arrow keys shift everything by one cell, or refuse with the message and move nothing.
TEST_F(MouseEditingTest, ShiftCommandsOnCtrlArrows) {
    Click(Cell(0, 3));
    Click(Cell(5, 6));
    QTest::keyClick(window.get(), Qt::Key_Left, Qt::ControlModifier);
    ASSERT_EQ(log->messages.size(), 1);
    EXPECT_EQ(log->messages[0], ShiftRefusedMessage());
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{0, 3}, {5, 6}}));

    const struct {
        Qt::Key key;
        int dx, dy;
    } shifts[] = {
        {Qt::Key_Down, 0, 1}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, -1}, {Qt::Key_Left, -1, 0}};
    window->Doc().SetState(Document::State::Loaded);
    for (const auto& s : shifts) {
        const auto before = Cells();
        QTest::keyClick(window.get(), s.key, Qt::ControlModifier);
        const auto after = Cells();
        ASSERT_EQ(after.size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].first, before[i].first + s.dx);
            EXPECT_EQ(after[i].second, before[i].second + s.dy);
        }
    }
    EXPECT_EQ(log->messages.size(), 1);
    // The shortcuts work whatever has the focus in the window.
    Find<QCheckBox>("CH_Poloha_PS")->setFocus();
    QTest::keyClick(window.get(), Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Cells()[0].first, 1);
}

// The cursor is snapped with division truncating toward zero, and the position text shows
// the snapped pixels.
TEST(MouseEditingUnit, TrackCursorSnapsTowardZero) {
    HeadlessPanel p;
    QCheckBox drag;
    QLabel start, end;
    MouseEditing editing(p.document, &drag, &start, &end);
    drag.setChecked(true);
    const struct {
        int x, y;
        const char* text;
    } cases[] = {{100, 60, "94x47"},
                 {-10, 5, "0x0"},
                 {-50, -47, "-47x-47"},
                 {46, 47, "0x47"},
                 {47, 93, "47x47"},
                 {-46, -94, "0x-94"},
                 {187999, 187999, "187953x187953"}};
    for (const auto& c : cases) {
        editing.TrackCursor(c.x, c.y);
        EXPECT_EQ(end.text(), QString::fromLatin1(c.text)) << c.x << "," << c.y;
        EXPECT_EQ(editing.PositionText(), QString::fromLatin1(c.text));
    }
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// After a scroll the pointer, if it stayed over the surface, is over another cell: the
// outline, the preview and the position follow it there, where a click now lands, and the
// end of a drag in progress follows too. A pointer elsewhere leaves the cursor alone.
TEST_F(MouseEditingTest, CursorFollowsAStillPointerAfterAScroll) {
    Viewport& view = window->View();
    auto pointAt = [&](QPoint surfacePixel) {
        QCursor::setPos(Surface()->mapToGlobal(surfacePixel));
        MoveTo(surfacePixel);
    };
    auto wheel = [&](int notches) {
        const QPoint at = Surface()->mapFromGlobal(QCursor::pos());
        QWheelEvent event(at, QCursor::pos(), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(Surface(), &event);
    };
    const struct {
        const char* what;
        std::function<void()> scroll;
        int cols, rows; // how far the view moved, in cells
    } scrolls[] = {
        {"wheel down", [&] { wheel(1); }, 0, 3},
        {"wheel up", [&] { wheel(-1); }, 0, -3},
        {"horizontal bar",
         [&] { view.HorizontalBar()->setValue(view.HorizontalBar()->value() + 94); }, 2, 0},
        {"vertical page",
         [&] { view.VerticalBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }, 0, -1},
    };
    for (const auto& s : scrolls) {
        const QPoint start = view.VisibleRect().topLeft() + QPoint(5 * 47 + 20, 4 * 47 + 20);
        pointAt(start);
        const QPoint before(Panel().CursorX, Panel().CursorY);
        const QPoint was = view.VisibleRect().topLeft();
        s.scroll();
        const QPoint moved = view.VisibleRect().topLeft() - was;
        if (s.rows >= 0) {
            EXPECT_EQ(moved, QPoint(s.cols * 47, s.rows * 47)) << s.what;
        }
        // The cell under the still pointer is the cell the cursor now marks.
        const QPoint under = Surface()->mapFromGlobal(QCursor::pos());
        EXPECT_EQ(under, start + moved) << s.what;
        EXPECT_EQ(QPoint(Panel().CursorX, Panel().CursorY),
                  QPoint(under.x() / 47 * 47, under.y() / 47 * 47))
            << s.what;
        EXPECT_NE(QPoint(Panel().CursorX, Panel().CursorY), before) << s.what;
    }

    // During a drag the end follows; the release lays the row up to the cell under the
    // pointer.
    view.HorizontalBar()->setValue(0);
    view.VerticalBar()->setValue(0);
    pointAt(Cell(2, 3));
    Press(Cell(2, 3));
    view.HorizontalBar()->setValue(3 * 47);
    EXPECT_EQ(Find<QLabel>("L_Konec")->text(), QStringLiteral("235x141"));
    Release(Surface()->mapFromGlobal(QCursor::pos()));
    EXPECT_EQ(Cells(), (std::vector<std::pair<int, int>>{{5, 3}, {2, 3}, {3, 3}, {4, 3}}));

    // The pointer outside the drawing area: the cursor stays.
    QCursor::setPos(Find<QWidget>("P_Sortiment")->mapToGlobal(QPoint(300, 40)));
    const QPoint kept(Panel().CursorX, Panel().CursorY);
    view.VerticalBar()->setValue(view.VerticalBar()->value() + 470);
    EXPECT_EQ(QPoint(Panel().CursorX, Panel().CursorY), kept);
}

} // namespace
} // namespace vedivez::test

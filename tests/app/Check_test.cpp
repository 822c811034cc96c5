// The connection check in the window: its menu items, the marks in the frame, stepping
// from finding to finding, and the notice about lines a save would drop.

#include "AppTestSupport.h"

#include "app/CheckController.h"
#include "panel/DocumentTexts.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QToolTip>

namespace vedivez::test {
namespace {

class CheckTest : public WindowTest {
protected:
    QAction* Toggle() const { return window->Action(QStringLiteral("MP_KontrolaSpojeni")); }
    void Put(int col, int row, const char* name) {
        TPolePanelu e;
        e.X = col;
        e.Y = row;
        e.NAME = name;
        Panel().AppendElement(e);
    }
    QPoint CursorCell() const { return {Panel().CursorX / 47, Panel().CursorY / 47}; }
};

TEST_F(CheckTest, ItemsFollowTheScaleAndStartOff) {
    QMenu* view = TopMenu("Zobrazit");
    ASSERT_NE(view, nullptr);
    const QList<QAction*> items = view->actions();
    ASSERT_EQ(items.size(), 7);
    EXPECT_EQ(items[3]->menu()->objectName(), QStringLiteral("MP_Meritko"));
    const struct {
        const char* component;
        const char* caption;
        QKeySequence key;
        bool checkable;
    } rows[] = {
        {"MP_KontrolaSpojeni", "Kontrola spojení", QKeySequence(Qt::CTRL | Qt::Key_K), true},
        {"MP_DalsiProblem", "Další problém", QKeySequence(Qt::Key_F4), false},
        {"MP_PredchoziProblem", "Předchozí problém", QKeySequence(Qt::SHIFT | Qt::Key_F4), false},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[4 + i]->objectName(), QString::fromLatin1(rows[i].component));
        EXPECT_EQ(items[4 + i]->text(), QString::fromUtf8(rows[i].caption));
        EXPECT_EQ(items[4 + i]->shortcut(), rows[i].key);
        EXPECT_EQ(items[4 + i]->isCheckable(), rows[i].checkable);
        EXPECT_FALSE(items[4 + i]->isChecked()) << "unchecked at every start";
    }
}

// Checked, the item counts the findings and the frame shows their marks; edits update both;
// unchecked, the frame is as without the check.
TEST_F(CheckTest, CaptionCountsAndTheFrameShowsMarks) {
    PanelView& view = window->View();
    // Only the panel's layers: no overlay, preview or cursor outline.
    for (const char* item : {"MP_InfoVykreslovani", "MP_Nahled", "MP_PolickoPodKurzorem"})
        Trigger(item);
    Put(5, 4, "KOL_sLSPS");
    view.RenderIfChanged(1);
    const QImage off = view.FrameSurface().BackBuffer().copy();
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(Toggle()->isChecked());
    EXPECT_TRUE(view.RenderIfChanged(1)) << "the marks are a change of the frame";
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (2)"));
    const QImage on = view.FrameSurface().BackBuffer().copy();
    const QPoint origin = view.VisibleRect().topLeft();
    // A red triangle at the open PS end of the track, none where there was no finding.
    EXPECT_EQ(on.pixel(QPoint(5 * 47 + 43, 4 * 47 + 23) - origin) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(on.pixel(QPoint(9 * 47 + 43, 4 * 47 + 23) - origin),
              off.pixel(QPoint(9 * 47 + 43, 4 * 47 + 23) - origin));
    // Closing one end with the next track: one finding fewer.
    Panel().SelectedName = "KOL_sLSPS";
    Click(Cell(6, 4));
    view.RenderIfChanged(1);
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (2)"))
        << "PS of (5,4) met, PS of (6,4) open";
    EXPECT_EQ(view.FrameSurface().BackBuffer().pixel(QPoint(5 * 47 + 43, 4 * 47 + 23) - origin),
              off.pixel(QPoint(5 * 47 + 43, 4 * 47 + 23) - origin));
    Click(Cell(6, 4), Qt::RightButton);
    view.RenderIfChanged(1);
    EXPECT_EQ(view.FrameSurface().BackBuffer(), on);
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení"));
    view.RenderIfChanged(1);
    EXPECT_EQ(view.FrameSurface().BackBuffer(), off);
}

// F4 and Shift+F4 go through the findings in the check's order from the cursor's cell,
// round at the ends: the check comes on, the cell is centred, the cursor stands on it and
// a tooltip names the finding.
TEST_F(CheckTest, NextAndPreviousProblem) {
    window->SetWidthValue(400);
    window->SetHeightValue(300);
    Put(200, 150, "KOZ_sPS"); // one finding: PS open
    Put(30, 20, "KOL_sLSPS"); // LS and PS open
    Put(350, 280, "NEZNAMY"); // unknown name
    MoveTo(Cell(0, 0));
    struct Step {
        Qt::KeyboardModifiers modifiers;
        QPoint cell;
        const char* message;
    };
    const Step steps[] = {
        {Qt::NoModifier, {30, 20}, "Otevřený konec koleje v bodě LS"},
        {Qt::NoModifier, {30, 20}, "Otevřený konec koleje v bodě PS"},
        {Qt::NoModifier, {200, 150}, "Otevřený konec koleje v bodě PS"},
        {Qt::NoModifier, {350, 280}, "Prvek „NEZNAMY“ nemá obrázek: takový název neexistuje"},
        {Qt::NoModifier, {30, 20}, "Otevřený konec koleje v bodě LS"},
        {Qt::ShiftModifier, {350, 280}, "Prvek „NEZNAMY“ nemá obrázek: takový název neexistuje"},
        {Qt::ShiftModifier, {200, 150}, "Otevřený konec koleje v bodě PS"},
    };
    for (const Step& s : steps) {
        QTest::keyClick(window.get(), Qt::Key_F4, s.modifiers);
        EXPECT_TRUE(Toggle()->isChecked());
        EXPECT_EQ(CursorCell(), s.cell) << s.message;
        EXPECT_TRUE(Panel().CursorInside);
        // The cell in the middle of the view, as far as the scroll range allows.
        const QRect visible = window->View().VisibleRect();
        const QPoint middle = s.cell * 47 + QPoint(23, 23);
        EXPECT_TRUE(visible.contains(middle)) << s.message;
        if (visible.left() > 0 && visible.right() < Surface()->width() - 1) {
            EXPECT_LE(std::abs(visible.center().x() - middle.x()), 30) << s.message;
        }
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8(s.message));
    }
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (4)"));
    EXPECT_TRUE(log->messages.isEmpty());
    // From a cell the cursor moved to, the next finding after that cell.
    Panel().CursorX = 201 * 47;
    Panel().CursorY = 150 * 47;
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(CursorCell(), QPoint(350, 280));
}

TEST_F(CheckTest, NoProblemsIsSaidPlainly) {
    Put(3, 3, "KOL_sLSPS");
    Put(4, 3, "KOZ_sLS");
    Put(2, 3, "KOZ_sPS");
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(log->messages, QStringList{QString::fromUtf8("Stanice nemá žádné problémy.")});
    EXPECT_TRUE(Toggle()->isChecked());
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (0)"));
}

// Lines of a kind the reader does not know: the file opens, and a notice says how many a
// save would drop, with the Czech plural of the count, and quotes the first.
TEST_F(CheckTest, NoticeAboutLinesASaveWouldDrop) {
    QTemporaryDir dir;
    const struct {
        int lines;
        const char* notice;
    } cases[] = {
        {0, nullptr},
        {1, "Soubor obsahuje 1 řádek neznámého druhu (řádek 4: „PRUSVITKX;X=3;Y=1;NAME=KOL_sLSPS;"
            "Cont_L…“). Editor ho nenačetl a při uložení ho nezapíše."},
        {3, "Soubor obsahuje 3 řádky neznámého druhu (první je řádek 4: „PRUSVITKX;X=3;Y=1;"
            "NAME=KOL_sLSPS;Cont_L…“). Editor je nenačetl a při uložení je nezapíše."},
        {5, "Soubor obsahuje 5 řádků neznámého druhu (první je řádek 4: „PRUSVITKX;X=3;Y=1;"
            "NAME=KOL_sLSPS;Cont_L…“). Editor je nenačetl a při uložení je nezapíše."},
    };
    for (const auto& c : cases) {
        std::string text = "SET_Vyska;20\r\nSET_Sirka;30\r\n\r\n";
        for (int i = 0; i < c.lines; ++i)
            text += "PRUSVITKX;X=3;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1\r\n   \r\n";
        text += "PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;"
                "Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n";
        const QString path = dir.filePath(QStringLiteral("s%1.reru").arg(c.lines));
        WriteBytes(path, text);
        log->messages.clear();
        log->fileAnswers.push_back(path);
        Trigger("MP_Otevreni");
        EXPECT_EQ(window->StatusText(1), StateLoaded()) << c.lines;
        EXPECT_EQ(Panel().Elements().size(), 1u) << c.lines;
        const QStringList expected =
            c.notice ? QStringList{QString::fromUtf8(c.notice)} : QStringList();
        EXPECT_EQ(log->messages, expected) << c.lines;
    }
}

} // namespace
} // namespace vedivez::test

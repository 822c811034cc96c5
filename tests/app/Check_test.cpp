// The connection check in the window: its menu items, the marks in the frame, stepping
// from finding to finding, and the notice about lines a save would drop.

#include "AppTestSupport.h"

#include "app/CheckController.h"
#include "app/ErrorHandler.h"
#include "panel/DocumentTexts.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
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
    Viewport& view = window->View();
    FrameDriver& frames = window->Frames();
    // Only the panel's layers: no overlay, preview or cursor outline.
    for (const char* item : {"MP_InfoVykreslovani", "MP_Nahled", "MP_PolickoPodKurzorem"})
        Trigger(item);
    Put(5, 4, "KOL_sLSPS");
    frames.RenderIfChanged(1);
    const QImage off = view.FrameSurface().BackBuffer().copy();
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(Toggle()->isChecked());
    EXPECT_TRUE(frames.RenderIfChanged(1)) << "the marks are a change of the frame";
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
    frames.RenderIfChanged(1);
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (2)"))
        << "PS of (5,4) met, PS of (6,4) open";
    EXPECT_EQ(view.FrameSurface().BackBuffer().pixel(QPoint(5 * 47 + 43, 4 * 47 + 23) - origin),
              off.pixel(QPoint(5 * 47 + 43, 4 * 47 + 23) - origin));
    Click(Cell(6, 4), Qt::RightButton);
    frames.RenderIfChanged(1);
    EXPECT_EQ(view.FrameSurface().BackBuffer(), on);
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    EXPECT_FALSE(Toggle()->isChecked());
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení"));
    frames.RenderIfChanged(1);
    EXPECT_EQ(view.FrameSurface().BackBuffer(), off);
}

// F4 and Shift+F4 go through the findings in the check's order from the cursor's cell,
// round at the ends: the check comes on, the cell is centred, the cursor stands on it and
// a tooltip names the finding.
TEST_F(CheckTest, NextAndPreviousProblem) {
    window->Doc().SetSize(400, 300);
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
        EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Sloupec %1, řádek %2: %3")
                                        .arg(s.cell.x())
                                        .arg(s.cell.y())
                                        .arg(QString::fromUtf8(s.message)));
    }
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (4)"));
    EXPECT_TRUE(log->messages.isEmpty());
    // From a cell the cursor moved to, the next finding after that cell.
    Panel().CursorX = 201 * 47;
    Panel().CursorY = 150 * 47;
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(CursorCell(), QPoint(350, 280));
}

// Notes (track leaving the panel, as main lines do) keep their orange marks but are no
// problems: the caption counts problems only, F4 passes over the notes, and with notes
// alone it says in a tooltip, not a box, that there are no problems; the focus stays where
// it was, so the next keys still go there.
TEST_F(CheckTest, NotesAreShownButNotWalkedAndNoProblemsIsATooltip) {
    Put(0, 3, "KOL_sLSPS"); // LS leaves the panel (a note)
    Put(1, 3, "KOZ_sLS");
    Put(9, 5, "KOZ_sPS"); // PS open (a problem)
    Put(6, 6, "KOL_sLSPS");
    Put(5, 6, "KOZ_sPS");
    Put(7, 6, "KOZ_sLS");
    MoveTo(Cell(0, 0));
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(window.get(), Qt::Key_F4);
        EXPECT_EQ(CursorCell(), QPoint(9, 5)) << "the only problem, step " << i;
    }
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (1)"));
    EXPECT_EQ(window->Checks().Check().Count(), 2u) << "the note is kept for its mark";

    // Mended: the problem goes, the note stays.
    Panel().SelectedName = "KOZ_sPS";
    Click(Cell(8, 5));
    Panel().SelectedName = "KOL_sLSPS";
    Click(Cell(9, 5));
    Panel().SelectedName = "KOZ_sLS";
    Click(Cell(10, 5));
    QWidget* width = Find<QWidget>("SE_PolickaSirka");
    ASSERT_NE(width, nullptr);
    width->setFocus();
    QApplication::processEvents();
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    const QPoint cursor(Panel().CursorX, Panel().CursorY);
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_TRUE(log->messages.isEmpty()) << log->messages.join(" | ").toStdString();
    EXPECT_EQ(QToolTip::text(), QString::fromUtf8("Stanice nemá žádné problémy."));
    EXPECT_EQ(QApplication::focusWidget(), focused);
    EXPECT_EQ(QPoint(Panel().CursorX, Panel().CursorY), cursor);
    EXPECT_EQ(Toggle()->text(), QString::fromUtf8("Kontrola spojení (0)"));
    EXPECT_EQ(window->Checks().Check().Count(), 1u);
}

// A tile far outside the panel, in a column whose pixels do not fit 32 bits: F4 names it in
// a tooltip without moving the view or the cursor, and the next F4 goes on to the next
// problem instead of staying on it.
TEST_F(CheckTest, ProblemsBeyondThe32BitSurfaceAreNamedAndPassed) {
    Put(4, 2, "KOZ_sPS");            // PS open
    Put(2147483647, 5, "KOL_sLSPS"); // outside the panel
    Put(-2147483647 - 1, 7, "KOL_sLSPS");
    MoveTo(Cell(0, 0));
    QTest::keyClick(window.get(), Qt::Key_F4);
    ASSERT_EQ(CursorCell(), QPoint(4, 2));
    const QPoint cursor(Panel().CursorX, Panel().CursorY);
    const QRect visible = window->View().VisibleRect();
    for (const char* column : {"2147483647", "-2147483648"}) {
        QTest::keyClick(window.get(), Qt::Key_F4);
        EXPECT_TRUE(
            QToolTip::text().startsWith(QString::fromUtf8("Sloupec %1, řádek ").arg(column)))
            << QToolTip::text().toStdString();
        EXPECT_EQ(QPoint(Panel().CursorX, Panel().CursorY), cursor);
        EXPECT_EQ(window->View().VisibleRect(), visible);
    }
    QTest::keyClick(window.get(), Qt::Key_F4);
    EXPECT_EQ(CursorCell(), QPoint(4, 2)) << "round to the first problem";
    EXPECT_TRUE(QToolTip::text().startsWith(QString::fromUtf8("Sloupec 4, řádek 2: ")));
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

// Line numbers past 2^31 (a file of a few gigabytes of short lines), counted from a reader
// started at line 2147483647: the notice and the error box's line name them whole.
TEST(LineNumberTest, LinesPastTheIntRangeAreNamedWhole) {
    QTemporaryDir dir;
    const QString good = dir.filePath("good.reru"), bad = dir.filePath("bad.reru");
    WriteBytes(good, "SET_Vyska;20\r\nPRUSVITKX;1\r\nPRUSVITKX;2\r\n");
    WriteBytes(bad, "SET_Vyska;20\r\n\r\nSET_Sirka;abc\r\n");
    constexpr int64_t kFirst = 2147483647;
    StationContent content = ReadStationFile(good.toStdString(), kFirst);
    EXPECT_EQ(content.unknown.lastLine, 2147483649);
    EXPECT_EQ(UnknownLinesNotice(LoadReport{std::move(content.unknown)}),
              QString::fromUtf8("Soubor obsahuje 2 řádky neznámého druhu (první je řádek "
                                "2147483648: „PRUSVITKX;1“). Editor je nenačetl a při uložení je "
                                "nezapíše."));
    try {
        ReadStationFile(bad.toStdString(), kFirst);
        FAIL() << "loaded";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.Line(), 2147483649);
        auto log = std::make_shared<ScriptedPrompts::Log>();
        ScriptedPrompts prompts(log);
        ErrorHandler(prompts).Report(e);
        EXPECT_EQ(log->errorDetails,
                  QStringList{QString::fromUtf8("Chyba je na řádku 2147483649.")});
    }
}

} // namespace
} // namespace vedivez::test

#include "DialogTestHelpers.h"

#include "dialogs/SpinEdit.h"
#include "dialogs/U_PocetPolicek.h"
#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"

#include <QPushButton>
#include <QToolButton>
#include <utility>
#include <vector>

namespace vedivez {
namespace {

using test::Child;
using Cells = std::vector<std::pair<int, int>>;

class ShiftDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::ShowActive(dialog); }

    void Add(int col, int row) {
        TPolePanelu e;
        e.X = col;
        e.Y = row;
        e.NAME = "KOL_sLSPS";
        hp.panel.AppendElement(e);
    }

    Cells Positions() const {
        Cells cells;
        for (const TPolePanelu& e : hp.panel.Elements())
            cells.emplace_back(e.X, e.Y);
        return cells;
    }

    TSpinEdit* Count() { return Child<TSpinEdit>(dialog, "SE_Pocet"); }
    QPushButton* Button(const char* name) { return Child<QPushButton>(dialog, name); }

    void Click(const char* name) { QTest::mouseClick(Button(name), Qt::LeftButton); }

    // Replaces the count edit's text by typing, as a user would after selecting it all.
    void Type(const QString& text) {
        TSpinEdit* edit = Count();
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->selectAll();
        if (text.isEmpty())
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, text);
    }

    HeadlessPanel hp;
    TZ_PosunPolicek dialog{hp.document};
};

TEST_F(ShiftDialogTest, HasItsComponentsAtTheirPlacesInTabOrder) {
    EXPECT_EQ(dialog.objectName(), "Z_PosunPolicek");
    EXPECT_EQ(dialog.windowTitle(), "Posunout vše");
    EXPECT_EQ(dialog.size(), QSize(135, 113));
    const struct {
        const char* name;
        QRect geometry;
    } parts[] = {
        {"BB_Nahoru", {48, 8, 41, 33}},   {"BB_Dolu", {48, 72, 41, 33}},
        {"BB_Doprava", {88, 40, 41, 33}}, {"BB_Doleva", {8, 40, 41, 33}},
        {"SE_Pocet", {53, 47, 33, 22}},
    };
    QWidget* expectedNext = nullptr;
    for (const auto& part : parts) {
        QWidget* w = Child<QWidget>(dialog, part.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->geometry(), part.geometry) << part.name;
        if (expectedNext) {
            EXPECT_EQ(expectedNext, w) << "tab order before " << part.name;
        }
        expectedNext = w->nextInFocusChain();
        // The spin edit's own step buttons take no focus and are not tab stops.
        while (expectedNext && expectedNext->focusPolicy() == Qt::NoFocus)
            expectedNext = expectedNext->nextInFocusChain();
    }
    for (const char* name : {"BB_Nahoru", "BB_Dolu", "BB_Doprava", "BB_Doleva"}) {
        EXPECT_FALSE(Button(name)->icon().isNull()) << name;
        EXPECT_EQ(Button(name)->iconSize(), QSize(12, 12));
    }
    EXPECT_EQ(Count()->text(), "1");
    EXPECT_EQ(Count()->Minimum(), 0);
    EXPECT_EQ(Count()->Maximum(), 9);
}

TEST_F(ShiftDialogTest, EachButtonShiftsEveryElementByTheCount) {
    const struct {
        const char* button;
        int dx, dy;
    } cases[] = {
        {"BB_Nahoru", 0, -3}, {"BB_Dolu", 0, 3}, {"BB_Doleva", -3, 0}, {"BB_Doprava", 3, 0}};
    const QString stateBefore = hp.document.StateWord();
    Type("3");
    for (const auto& c : cases) {
        hp.panel.ReplaceElements({});
        Add(10, 10);
        Add(12, 20);
        Click(c.button);
        EXPECT_EQ(Positions(), (Cells{{10 + c.dx, 10 + c.dy}, {12 + c.dx, 20 + c.dy}})) << c.button;
    }
    EXPECT_TRUE(hp.window.messages.isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    // A shift that moved the elements changes what a save writes.
    EXPECT_NE(stateBefore, StateModified());
    EXPECT_EQ(hp.document.StateWord(), StateModified());
}

TEST_F(ShiftDialogTest, RepeatedClicksShiftAgain) {
    Add(5, 5);
    Click("BB_Dolu");
    Click("BB_Dolu");
    Click("BB_Doprava");
    EXPECT_EQ(Positions(), (Cells{{6, 7}}));
}

TEST_F(ShiftDialogTest, CountZeroLeavesEveryElementInPlace) {
    Add(4, 4);
    Add(0, 0);
    Type("0");
    for (const char* b : {"BB_Nahoru", "BB_Dolu", "BB_Doleva", "BB_Doprava"})
        Click(b);
    EXPECT_EQ(Positions(), (Cells{{4, 4}, {0, 0}}));
    EXPECT_TRUE(hp.window.messages.isEmpty());
}

TEST_F(ShiftDialogTest, EmptyingTheCountPutsZeroIntoItAtOnce) {
    Type("");
    EXPECT_EQ(Count()->text(), "0");
    // A digit typed after the zero is read as that digit.
    QTest::keyClick(Count(), Qt::Key_End);
    QTest::keyClicks(Count(), "4");
    Add(0, 0);
    Click("BB_Dolu");
    EXPECT_EQ(Positions(), (Cells{{0, 4}}));
    EXPECT_EQ(Count()->text(), "4");
}

TEST_F(ShiftDialogTest, CountTypedBeyondTheRangeIsClampedWhenAButtonIsClicked) {
    Add(1, 1);
    Type("25");
    EXPECT_EQ(Count()->text(), "25");
    Click("BB_Doprava");
    EXPECT_EQ(Positions(), (Cells{{10, 1}}));
    EXPECT_EQ(Count()->text(), "9");
}

TEST_F(ShiftDialogTest, CountIsClampedWhenTheEditLosesTheFocus) {
    const struct {
        QString typed;
        QString shown;
    } cases[] = {{"25", "9"}, {"-3", "0"}, {"-", "0"}, {"+5", "5"}, {"07", "7"}, {"9", "9"}};
    for (const auto& c : cases) {
        Type(c.typed);
        EXPECT_EQ(Count()->text(), c.typed);
        QTest::keyClick(Count(), Qt::Key_Tab);
        EXPECT_FALSE(Count()->hasFocus());
        EXPECT_EQ(Count()->text(), c.shown) << c.typed.toStdString();
    }
}

TEST_F(ShiftDialogTest, CountRefusesLetters) {
    Type("a");
    EXPECT_EQ(Count()->text(), "1"); // the letter is refused, the old count stays
}

TEST_F(ShiftDialogTest, StepButtonsAndArrowKeysStayInTheRange) {
    QTest::mouseClick(Count(), Qt::LeftButton);
    for (int i = 0; i < 12; ++i)
        QTest::keyClick(Count(), Qt::Key_Up);
    EXPECT_EQ(Count()->text(), "9");
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(Count()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(Count()->text(), "6");
    for (int i = 0; i < 8; ++i)
        QTest::keyClick(Count(), Qt::Key_Down);
    EXPECT_EQ(Count()->text(), "0");
    QTest::mouseClick(Count()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(Count()->text(), "1");
}

TEST_F(ShiftDialogTest, EmptyPanelShiftsSilently) {
    Type("9");
    for (const char* b : {"BB_Nahoru", "BB_Dolu", "BB_Doleva", "BB_Doprava"})
        Click(b);
    EXPECT_TRUE(hp.panel.Elements().empty());
    EXPECT_TRUE(hp.window.messages.isEmpty());
}

TEST_F(ShiftDialogTest, RefusedShiftMovesNothingAndReportsWhileTheDialogStaysOpen) {
    Add(8, 8);
    Add(3, 1);
    Add(20, 30);
    Type("2");
    Click("BB_Nahoru"); // (3, 1) would reach row -1
    EXPECT_EQ(Positions(), (Cells{{8, 8}, {3, 1}, {20, 30}}));
    EXPECT_EQ(hp.window.messages, QStringList{ShiftRefusedMessage()});
    EXPECT_TRUE(dialog.isVisible());
    // The next allowed shift still works.
    Click("BB_Dolu");
    EXPECT_EQ(Positions(), (Cells{{8, 10}, {3, 3}, {20, 32}}));
    EXPECT_EQ(hp.window.messages.size(), 1);
}

TEST_F(ShiftDialogTest, ReturnInTheCountPressesNoButton) {
    Add(5, 5);
    QTest::mouseClick(Count(), Qt::LeftButton);
    QTest::keyClick(Count(), Qt::Key_Return);
    EXPECT_EQ(Positions(), (Cells{{5, 5}}));
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ShiftDialogTest, CountIsKeptWhenTheDialogOpensAgain) {
    Type("6");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    test::ShowActive(dialog);
    EXPECT_EQ(Count()->text(), "6");
    Add(0, 0);
    Click("BB_Doprava");
    EXPECT_EQ(Positions(), (Cells{{6, 0}}));
}

TEST_F(ShiftDialogTest, ProgrammaticClickUsesTheClampedCount) {
    Add(0, 0);
    Type("77");
    Button("BB_Dolu")->click();
    EXPECT_EQ(Positions(), (Cells{{0, 9}}));
    EXPECT_EQ(Count()->text(), "9");
}

} // namespace
} // namespace vedivez

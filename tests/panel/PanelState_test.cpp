#include "PanelTestHelpers.h"
#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"
#include "panel/Version.h"

#include <gtest/gtest.h>
#include <random>

using namespace vedivez;
using vedivez::test::Rec;

namespace {

std::vector<std::string> Names(const PanelState& p) {
    std::vector<std::string> out;
    for (const auto& e : p.Elements())
        out.push_back(e.NAME);
    return out;
}

class PanelStateTest : public ::testing::Test {
protected:
    HeadlessPanel h;
    SettingsWindow& w = h.window;
    Document& d = h.document;
    PanelState& p = h.panel;
};

} // namespace

TEST_F(PanelStateTest, StartsWithAnEmptyPanelOf150By50CellsAndTheFirstTile) {
    EXPECT_EQ(p.SelectedName, "KOL_sLSPS");
    EXPECT_EQ(p.PanelCols, 150);
    EXPECT_EQ(p.PanelRows, 50);
    EXPECT_EQ(p.CellWidth, 47);
    EXPECT_EQ(p.CellHeight, 47);
    EXPECT_EQ(p.CursorX, 0);
    EXPECT_EQ(p.CursorY, 0);
    EXPECT_TRUE(p.CursorInside);
    EXPECT_EQ(p.PreviewAlpha, 100);
    EXPECT_TRUE(p.Elements().empty());
    EXPECT_EQ(QString::fromLatin1(kAppTitle), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION));
}

TEST_F(PanelStateTest, PixelToCellTruncatesTowardZero) {
    const struct {
        int32_t px;
        int32_t cell;
    } cases[] = {{0, 0},
                 {46, 0},
                 {47, 1},
                 {93, 1},
                 {94, 2},
                 {-1, 0},
                 {-46, 0},
                 {-47, -1},
                 {-94, -2},
                 {INT32_MAX, INT32_MAX / 47},
                 {INT32_MIN, INT32_MIN / 47}};
    for (const auto& c : cases) {
        EXPECT_EQ(p.ColumnAt(c.px), c.cell) << c.px;
        EXPECT_EQ(p.RowAt(c.px), c.cell) << c.px;
    }
}

TEST_F(PanelStateTest, PlacingOnEmptyCellAppendsRecordWithBoxesAndMarksModified) {
    w.boxes = PositionFlags{true, false, true, false, true, false, true, false};
    p.SelectedName = "KOL_sLDPH";
    d.PlaceElementAt(3 * 47 + 10, 2 * 47 + 46, false);
    ASSERT_EQ(p.Elements().size(), 1u);
    const TPolePanelu& e = p.Elements()[0];
    EXPECT_EQ(e.X, 3);
    EXPECT_EQ(e.Y, 2);
    EXPECT_EQ(e.NAME, "KOL_sLDPH");
    EXPECT_TRUE(e.Cont_LH);
    EXPECT_FALSE(e.Cont_LS);
    EXPECT_TRUE(e.Cont_LD);
    EXPECT_FALSE(e.Cont_SH);
    EXPECT_TRUE(e.Cont_SD);
    EXPECT_FALSE(e.Cont_PH);
    EXPECT_TRUE(e.Cont_PS);
    EXPECT_FALSE(e.Cont_PD);
    EXPECT_EQ(d.StateWord(), StateModified());
}

TEST_F(PanelStateTest, PlacingOnOccupiedCellReplacesInItsSlot) {
    p.PlaceElementAt(0, 0, false);
    p.PlaceElementAt(47, 0, false);
    p.PlaceElementAt(94, 0, false);
    p.SelectedName = "KRI_sLSPS_sSDSH";
    w.boxes = PositionFlags{};
    w.boxes.PD = true;
    p.PlaceElementAt(50, 40, false);
    ASSERT_EQ(p.Elements().size(), 3u);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"KOL_sLSPS", "KRI_sLSPS_sSDSH", "KOL_sLSPS"}));
    EXPECT_TRUE(p.Elements()[1].Cont_PD);
    EXPECT_FALSE(p.Elements()[1].Cont_LS);
}

TEST_F(PanelStateTest, RemovalMovesLastIntoSlotAndMarksTheDocumentModified) {
    struct Case {
        const char* what;
        int removeCol;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"first", 0, {"E3", "E2"}},
        {"middle", 1, {"E1", "E3"}},
        {"last", 2, {"E1", "E2"}},
    };
    for (const Case& c : cases) {
        HeadlessPanel fresh;
        for (int i = 0; i < 3; ++i) {
            fresh.panel.SelectedName = "E" + std::to_string(i + 1);
            fresh.panel.PlaceElementAt(i * 47, 0, false);
        }
        fresh.document.SetState(Document::State::Saved);
        fresh.document.PlaceElementAt(c.removeCol * 47 + 5, 5, true);
        EXPECT_EQ(Names(fresh.panel), c.expected) << c.what;
        EXPECT_EQ(fresh.document.StateWord(), StateModified()) << c.what;
        // The moved element must still be found in its cell.
        for (size_t i = 0; i < fresh.panel.Elements().size(); ++i) {
            const auto& e = fresh.panel.Elements()[i];
            EXPECT_EQ(fresh.panel.FindElementAt(e.X, e.Y), i) << c.what;
        }
        EXPECT_FALSE(fresh.panel.FindElementAt(c.removeCol, 0).has_value()) << c.what;
    }
}

TEST_F(PanelStateTest, RemovingOnlyElementEmptiesList) {
    p.PlaceElementAt(10, 10, false);
    p.PlaceElementAt(10, 10, true);
    EXPECT_TRUE(p.Elements().empty());
    EXPECT_FALSE(p.FindElementAt(0, 0));
}

TEST_F(PanelStateTest, RemovalRequestOnEmptyCellPlacesSelectedTile) {
    d.SetState(Document::State::Saved);
    d.PlaceElementAt(47 * 4, 47 * 7, true);
    ASSERT_EQ(p.Elements().size(), 1u);
    EXPECT_EQ(p.Elements()[0].X, 4);
    EXPECT_EQ(p.Elements()[0].Y, 7);
    EXPECT_EQ(d.StateWord(), StateModified());
}

TEST_F(PanelStateTest, DuplicateCellsActOnFirstInListOrder) {
    p.AppendElement(Rec(1, 1, "A"));
    p.AppendElement(Rec(2, 2, "B"));
    p.AppendElement(Rec(1, 1, "C"));
    EXPECT_EQ(p.FindElementAt(1, 1), 0u);

    p.SelectedName = "NEW";
    p.PlaceElementAt(47, 47, false);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"NEW", "B", "C"}));

    // Removing the first copy moves C (the last) into slot 0: C becomes the first again.
    p.PlaceElementAt(47, 47, true);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"C", "B"}));
    EXPECT_EQ(p.FindElementAt(1, 1), 0u);
    p.PlaceElementAt(47, 47, true);
    EXPECT_EQ(Names(p), (std::vector<std::string>{"B"}));
    EXPECT_FALSE(p.FindElementAt(1, 1));
}

TEST_F(PanelStateTest, DuplicateSecondCopyBecomesFirstWhenEarlierOneIsRemoved) {
    p.AppendElement(Rec(5, 5, "first"));
    p.AppendElement(Rec(5, 5, "second"));
    p.AppendElement(Rec(9, 9, "other"));
    p.PlaceElementAt(5 * 47, 5 * 47, true); // "other" moves into slot 0
    EXPECT_EQ(Names(p), (std::vector<std::string>{"other", "second"}));
    EXPECT_EQ(p.FindElementAt(5, 5), 1u);
    EXPECT_EQ(p.FindElementAt(9, 9), 0u);
}

TEST_F(PanelStateTest, FillRowPlacesLeftToRightAndIgnoresNonPositiveCounts) {
    d.FillRow(5, 3, 0);
    d.FillRow(5, 3, -4);
    EXPECT_TRUE(p.Elements().empty());
    EXPECT_EQ(d.StateWord(), StateNew());

    p.SelectedName = "old";
    p.PlaceElementAt(4 * 47, 3 * 47, false);
    p.SelectedName = "KOL_sLSPS";
    d.FillRow(5, 3, 3);
    ASSERT_EQ(p.Elements().size(), 4u);
    // Column 4 was occupied and keeps slot 0; the others follow left to right.
    const int expectedCols[] = {4, 2, 3, 5};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(p.Elements()[i].X, expectedCols[i]);
        EXPECT_EQ(p.Elements()[i].Y, 3);
        EXPECT_EQ(p.Elements()[i].NAME, "KOL_sLSPS");
    }
    EXPECT_EQ(d.StateWord(), StateModified());
}

TEST_F(PanelStateTest, FillRowWorksForNegativeColumns) {
    p.FillRow(1, -2, 3);
    ASSERT_EQ(p.Elements().size(), 4u);
    EXPECT_EQ(p.Elements().front().X, -2);
    EXPECT_EQ(p.Elements().back().X, 1);
    EXPECT_EQ(p.Elements().back().Y, -2);
}

TEST_F(PanelStateTest, ShiftAllMovesOrRefusesWithInclusiveBounds) {
    struct Case {
        const char* what;
        int cols, rows;
        std::vector<std::pair<int, int>> cells;
        int dx, dy;
        bool moves;
    };
    const Case cases[] = {
        {"left from column 0", 150, 50, {{0, 3}, {5, 3}}, -1, 0, false},
        {"left from columns 1..150", 150, 50, {{1, 0}, {150, 50}}, -1, 0, true},
        // A tile inside the panel is never pushed off it, not even into column PanelCols.
        {"right from the last column", 150, 50, {{149, 0}}, 1, 0, false},
        {"right beyond PanelCols", 150, 50, {{150, 0}}, 1, 0, false},
        {"down from the last row", 150, 50, {{0, 49}}, 0, 1, false},
        {"down beyond PanelRows", 150, 50, {{0, 50}}, 0, 1, false},
        {"one of several off the panel", 150, 50, {{5, 5}, {148, 7}}, 2, 0, false},
        // Tiles already beyond a smaller panel keep the outer bound: along the edge, or back in.
        {"along the edge beyond the panel", 100, 50, {{100, 5}, {3, 3}}, 0, 1, true},
        {"back in from beyond the panel", 100, 50, {{100, 50}}, -1, -1, true},
        {"up from row 0", 150, 50, {{3, 0}}, 0, -1, false},
        {"by zero with an element beyond the panel", 100, 50, {{120, 0}}, 0, 0, false},
        {"by zero inside the panel", 150, 50, {{5, 5}}, 0, 0, true},
        {"left, still beyond the panel", 100, 50, {{120, 0}}, -9, 0, false},
        {"left back to the edge", 100, 50, {{120, 0}}, -20, 0, true},
        {"large panel right", 300, 50, {{260, 0}}, 1, 0, true},
        {"large panel left", 300, 50, {{260, 0}}, -1, 0, true},
        {"large panel right from the edge", 300, 50, {{300, 0}}, 1, 0, false},
        {"overflowing shift", 150, 50, {{5, 5}}, INT32_MAX, 0, false},
        {"underflowing shift", 150, 50, {{5, 5}}, 0, INT32_MIN, false},
    };
    for (const Case& c : cases) {
        HeadlessPanel h2;
        h2.panel.PanelCols = c.cols;
        h2.panel.PanelRows = c.rows;
        for (auto [x, y] : c.cells)
            h2.panel.AppendElement(Rec(x, y, "T"));
        h2.document.SetState(Document::State::Loaded);
        const auto before = h2.panel.Elements();
        EXPECT_EQ(h2.document.ShiftAll(c.dx, c.dy), c.moves) << c.what;
        // Only a shift that moved something changes what a save writes.
        const bool moved = c.moves && (c.dx != 0 || c.dy != 0);
        EXPECT_EQ(h2.document.StateWord(), moved ? StateModified() : StateLoaded()) << c.what;
        if (c.moves) {
            EXPECT_TRUE(h2.window.messages.isEmpty()) << c.what;
            for (size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(h2.panel.Elements()[i].X, before[i].X + c.dx) << c.what;
                EXPECT_EQ(h2.panel.Elements()[i].Y, before[i].Y + c.dy) << c.what;
                const auto& e = h2.panel.Elements()[i];
                EXPECT_EQ(h2.panel.FindElementAt(e.X, e.Y), i) << c.what;
            }
        } else {
            EXPECT_EQ(h2.panel.Elements(), before) << c.what;
            EXPECT_EQ(h2.window.messages, QStringList{ShiftRefusedMessage()}) << c.what;
        }
    }
}

TEST_F(PanelStateTest, ShiftOfEmptyListDoesNothingAndShowsNothing) {
    EXPECT_FALSE(p.ShiftAll(-1, 0));
    EXPECT_TRUE(w.messages.isEmpty());
}

TEST_F(PanelStateTest, ShiftKeepsOrderAndIndexWithDuplicates) {
    p.AppendElement(Rec(1, 1, "A"));
    p.AppendElement(Rec(1, 1, "B"));
    ASSERT_TRUE(p.ShiftAll(2, 3));
    EXPECT_EQ(Names(p), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(p.FindElementAt(3, 4), 0u);
    EXPECT_FALSE(p.FindElementAt(1, 1));
}

TEST_F(PanelStateTest, ClearElementsEmptiesOnlyTheList) {
    p.PlaceElementAt(0, 0, false);
    p.SelectedName = "X";
    p.ClearElements();
    EXPECT_TRUE(p.Elements().empty());
    EXPECT_FALSE(p.FindElementAt(0, 0));
    EXPECT_EQ(p.SelectedName, "X");
    p.PlaceElementAt(0, 0, false);
    EXPECT_EQ(p.Elements().size(), 1u);
}

namespace {

// The element list as the operations are defined, kept in a plain vector and searched by a
// scan: every record is built from what the operation was given (cell, selected name,
// position boxes), never copied from the panel.
struct ListModel {
    std::vector<TPolePanelu> list;

    std::optional<size_t> Find(int32_t c, int32_t r) const {
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].X == c && list[i].Y == r)
                return i;
        return std::nullopt;
    }
    void Place(int32_t c, int32_t r, const std::string& name, const PositionFlags& f) {
        TPolePanelu e;
        e.X = c;
        e.Y = r;
        e.NAME = name;
        e.Cont_LH = f.LH, e.Cont_LS = f.LS, e.Cont_LD = f.LD, e.Cont_SH = f.SH;
        e.Cont_SD = f.SD, e.Cont_PH = f.PH, e.Cont_PS = f.PS, e.Cont_PD = f.PD;
        if (const auto i = Find(c, r))
            list[*i] = e;
        else
            list.push_back(e);
    }
    // The last record moves into the freed slot.
    void Remove(size_t i) {
        list[i] = list.back();
        list.pop_back();
    }
    bool Shift(int32_t dx, int32_t dy, int32_t cols, int32_t rows) {
        if (list.empty())
            return false;
        auto inside = [&](int32_t x, int32_t y) {
            return x >= 0 && x < cols && y >= 0 && y < rows;
        };
        for (const auto& e : list)
            if (e.X + dx < 0 || e.X + dx > cols || e.Y + dy < 0 || e.Y + dy > rows ||
                (inside(e.X, e.Y) && !inside(e.X + dx, e.Y + dy)))
                return false;
        for (auto& e : list)
            e.X += dx, e.Y += dy;
        return true;
    }
};

} // namespace

// A long random edit sequence against the model: after every step the list must be the
// model's, record for record and in order, and the index must give the same
// first-in-list-order answer as a scan.
TEST(PanelStateIndexTest, RandomEditsAgreeWithLinearScan) {
    HeadlessPanel h;
    PanelState& p = h.panel;
    p.PanelCols = 12;
    p.PanelRows = 8;
    ListModel model;
    int shifts = 0;
    std::mt19937 rng(1234);
    auto randomFlags = [&rng] {
        const unsigned bits = rng();
        return PositionFlags{bool(bits & 1),  bool(bits & 2),  bool(bits & 4),  bool(bits & 8),
                             bool(bits & 16), bool(bits & 32), bool(bits & 64), bool(bits & 128)};
    };
    for (int step = 0; step < 20000; ++step) {
        const int op = int(rng() % 10);
        // Cells and pixels left of or above the panel now and then: they refuse shifts, so
        // mostly the panel stays where shifts can succeed.
        auto coordinate = [&rng](int32_t span) {
            return rng() % 32 == 0 ? -int32_t(rng() % uint32_t(2 * span)) - 1
                                   : int32_t(rng() % uint32_t(span));
        };
        const int32_t c = coordinate(12), r = coordinate(8);
        const std::string name = "N" + std::to_string(step);
        const PositionFlags flags = randomFlags();
        h.window.boxes = flags;
        p.SelectedName = name;
        if (op < 4) { // place or remove at a pixel; the cell truncates toward zero
            const bool remove = op >= 2;
            const int32_t px = coordinate(12 * 47), py = coordinate(8 * 47);
            p.PlaceElementAt(px, py, remove);
            const auto found = model.Find(px / 47, py / 47);
            if (remove && found)
                model.Remove(*found);
            else
                model.Place(px / 47, py / 47, name, flags);
        } else if (op < 7) { // a loaded record, possibly a second one for its cell
            TPolePanelu e = Rec(c, r, "L" + std::to_string(step));
            e.Cont_PD = flags.PD;
            p.AppendElement(e);
            model.list.push_back(e);
        } else if (op < 8) {
            const int32_t dx = int32_t(rng() % 3) - 1, dy = int32_t(rng() % 3) - 1;
            const bool moved = model.Shift(dx, dy, p.PanelCols, p.PanelRows);
            EXPECT_EQ(p.ShiftAll(dx, dy), moved) << step;
            shifts += moved;
        } else if (op < 9 && rng() % 10 == 0) {
            p.ClearElements();
            model.list.clear();
        } else { // the cells lastCol - count ... lastCol
            const int32_t count = int32_t(rng() % 5) - 1;
            p.FillRow(c, r, count);
            for (int32_t col = c - count; count > 0 && col <= c; ++col)
                model.Place(col, r, name, flags);
        }
        ASSERT_EQ(p.Elements(), model.list) << "step " << step << " op " << op;
        for (int32_t qc = -4; qc < 14; ++qc)
            for (int32_t qr = -4; qr < 10; ++qr)
                ASSERT_EQ(p.FindElementAt(qc, qr), model.Find(qc, qr)) << step;
    }
    EXPECT_GT(shifts, 50) << "too few shifts went through to test them";
}

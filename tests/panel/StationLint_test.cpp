#include "PanelTestHelpers.h"

#include "panel/HeadlessPanel.h"
#include "panel/StationLint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using vedivez::FactsOf;
using vedivez::HeadlessPanel;
using vedivez::LintFinding;
using vedivez::LintKindName;
using vedivez::LintStation;
using vedivez::Point;
using vedivez::TPolePanelu;
using vedivez::test::Rec;

namespace {

// "col,row NAME POINT kind" for every finding, in the lint's order.
std::vector<std::string> Lint(const std::vector<TPolePanelu>& elements, int cols = 10,
                              int rows = 10) {
    HeadlessPanel p;
    p.panel.PanelCols = cols;
    p.panel.PanelRows = rows;
    p.panel.ReplaceElements(elements);
    std::vector<std::string> out;
    for (const LintFinding& f : LintStation(p.panel))
        out.push_back(std::to_string(f.col) + "," + std::to_string(f.row) + " " + f.name + " " +
                      (f.point < 0 ? "-" : std::string(FactsOf(Point(f.point)).code)) + " " +
                      LintKindName(f.kind));
    return out;
}

using Lines = std::vector<std::string>;

struct Case {
    const char* what;
    std::vector<TPolePanelu> elements;
    Lines expected;
};

void RunCases(const std::vector<Case>& cases) {
    for (const Case& c : cases)
        EXPECT_EQ(Lint(c.elements), c.expected) << c.what;
}

} // namespace

TEST(StationLintTest, EdgeMidpointsMeetTheOppositePointOfTheNeighbour) {
    RunCases({
        {"LS meets PS to the left, both ways", {Rec(2, 2, "KOZ_sLS"), Rec(1, 2, "KOZ_sPS")}, {}},
        {"PS meets LS to the right, both ways", {Rec(2, 2, "KOZ_sPS"), Rec(3, 2, "KOZ_sLS")}, {}},
        {"SH meets SD above, both ways", {Rec(2, 2, "KOZ_sSH"), Rec(2, 1, "KOZ_sSD")}, {}},
        {"SD meets SH below, both ways", {Rec(2, 2, "KOZ_sSD"), Rec(2, 3, "KOZ_sSH")}, {}},
        {"a lone track end is open", {Rec(2, 2, "KOZ_sLS")}, {"2,2 KOZ_sLS LS open-end"}},
        {"the neighbour has track, but not at the facing point",
         {Rec(2, 2, "KOZ_sLS"), Rec(1, 2, "KOZ_sSD")},
         {"1,2 KOZ_sSD SD open-end", "2,2 KOZ_sLS LS open-end"}},
        {"the facing point of a cell one row off does not count",
         {Rec(2, 2, "KOZ_sPS"), Rec(3, 3, "KOZ_sLS")},
         {"2,2 KOZ_sPS PS open-end", "3,3 KOZ_sLS LS open-end"}},
        {"a straight track open at both ends, points in flag order",
         {Rec(4, 4, "KOL_sLSPS")},
         {"4,4 KOL_sLSPS LS open-end", "4,4 KOL_sLSPS PS open-end"}},
        {"the palette's case-insensitive names reach their points",
         {Rec(2, 2, "koz_sls"), Rec(1, 2, "KOZ_SPS")},
         {}},
    });
}

TEST(StationLintTest, CornersMeetTheDiagonalCellOrEitherSideCell) {
    // For each corner of cell (2,2): the point each of the three other cells has there.
    const struct {
        const char* corner;
        TPolePanelu diagonal, horizontal, vertical;
    } corners[] = {
        {"LH", Rec(1, 1, "KOZ_sPD"), Rec(1, 2, "KOZ_sPH"), Rec(2, 1, "KOZ_sLD")},
        {"PH", Rec(3, 1, "KOZ_sLD"), Rec(3, 2, "KOZ_sLH"), Rec(2, 1, "KOZ_sPD")},
        {"LD", Rec(1, 3, "KOZ_sPH"), Rec(1, 2, "KOZ_sPD"), Rec(2, 3, "KOZ_sLH")},
        {"PD", Rec(3, 3, "KOZ_sLH"), Rec(3, 2, "KOZ_sLD"), Rec(2, 3, "KOZ_sPH")},
    };
    for (const auto& c : corners) {
        const TPolePanelu own = Rec(2, 2, std::string("KOZ_s") + c.corner);
        EXPECT_EQ(Lint({own, c.diagonal}), Lines{}) << c.corner << " diagonal";
        EXPECT_EQ(Lint({own, c.horizontal}), Lines{}) << c.corner << " horizontal side";
        EXPECT_EQ(Lint({c.vertical, own}), Lines{}) << c.corner << " vertical side";
        EXPECT_EQ(Lint({own}), Lines{"2,2 " + own.NAME + " " + c.corner + " open-end"}) << c.corner;
    }
    // A corner tile two cells away or across an edge midpoint does not meet the corner.
    EXPECT_EQ(Lint({Rec(2, 2, "KOZ_sLH"), Rec(0, 0, "KOZ_sPD")}),
              (Lines{"0,0 KOZ_sPD PD open-end", "2,2 KOZ_sLH LH open-end"}));
    EXPECT_EQ(Lint({Rec(2, 2, "KOZ_sLH"), Rec(1, 2, "KOZ_sPS")}),
              (Lines{"1,2 KOZ_sPS PS open-end", "2,2 KOZ_sLH LH open-end"}));
}

TEST(StationLintTest, TracksAtThePanelsEdgesLeaveThePanel) {
    RunCases({
        {"left edge", {Rec(0, 4, "KOZ_sLS")}, {"0,4 KOZ_sLS LS leaves-panel"}},
        {"right edge", {Rec(9, 4, "KOZ_sPS")}, {"9,4 KOZ_sPS PS leaves-panel"}},
        {"top edge", {Rec(4, 0, "KOZ_sSH")}, {"4,0 KOZ_sSH SH leaves-panel"}},
        {"bottom edge", {Rec(4, 9, "KOZ_sSD")}, {"4,9 KOZ_sSD SD leaves-panel"}},
        {"corner on the left edge", {Rec(0, 4, "KOZ_sLH")}, {"0,4 KOZ_sLH LH leaves-panel"}},
        {"corner on the top edge", {Rec(4, 0, "KOZ_sPH")}, {"4,0 KOZ_sPH PH leaves-panel"}},
        {"corner of the panel", {Rec(9, 9, "KOZ_sPD")}, {"9,9 KOZ_sPD PD leaves-panel"}},
        {"a side cell on the edge still joins the corner",
         {Rec(0, 4, "KOZ_sLH"), Rec(0, 3, "KOZ_sLD")},
         {}},
        {"inner points of edge tiles are checked as usual",
         {Rec(0, 0, "KOL_sLSPS"), Rec(1, 0, "KOZ_sLS")},
         {"0,0 KOL_sLSPS LS leaves-panel"}},
    });
}

TEST(StationLintTest, ElementsOutsideThePanelDuplicatesAndUnknownNames) {
    RunCases({
        {"outside: reported once, its points unchecked, and it meets nothing",
         {Rec(10, 3, "KOZ_sLS"), Rec(9, 3, "KOZ_sPS"), Rec(-1, 0, "KOL_sLSPS")},
         {"-1,0 KOL_sLSPS - outside-panel", "9,3 KOZ_sPS PS leaves-panel",
          "10,3 KOZ_sLS - outside-panel"}},
        {"three elements in a cell: one duplicate for the cell, named after its first",
         {Rec(2, 2, "KOZ_sPS"), Rec(3, 2, "KOZ_sLS"), Rec(3, 2, "KOZ_sLS"), Rec(3, 2, "KOZ_sLS")},
         {"3,2 KOZ_sLS - duplicate"}},
        {"every element of the partner cell counts, not only the first",
         {Rec(2, 2, "KOZ_sPS"), Rec(3, 2, "NOPE"), Rec(3, 2, "KOZ_sLS")},
         {"3,2 NOPE - duplicate", "3,2 NOPE - unknown-name"}},
        {"identical records in a cell have their findings once, each name its own",
         {Rec(5, 5, "KOL_sLSPS"), Rec(5, 5, "X"), Rec(5, 5, "KOL_sLSPS"), Rec(5, 5, "X"),
          Rec(5, 5, "KOL_sLSPS")},
         {"5,5 KOL_sLSPS - duplicate", "5,5 X - unknown-name", "5,5 KOL_sLSPS LS open-end",
          "5,5 KOL_sLSPS PS open-end"}},
        {"unknown names reach nothing",
         {Rec(2, 2, "KOZ_sPS"), Rec(3, 2, "KOZ_sXX")},
         {"2,2 KOZ_sPS PS open-end", "3,2 KOZ_sXX - unknown-name"}},
        {"a corner mark is a known picture with no track", {Rec(5, 5, "Ruzek_LH")}, {}},
    });
}

TEST(StationLintTest, CleanStationWithSwitchesCrossingsAndDoubleSlips) {
    const std::vector<TPolePanelu> station = {
        // Buffer stop, track, switch diverging down to the right, two buffer stops.
        Rec(0, 1, "KOZ_sPS"),
        Rec(1, 1, "KOL_sLSPS"),
        Rec(2, 1, "VYH_sLSPS_sLSPD"),
        Rec(3, 1, "KOZ_sLS"),
        Rec(3, 2, "KOZ_sLH"),
        // A right-angle crossing.
        Rec(5, 0, "KOZ_sSD"),
        Rec(5, 1, "KRI_sLSPS_sSDSH"),
        Rec(5, 2, "KOZ_sSH"),
        Rec(4, 1, "KOZ_sPS"),
        Rec(6, 1, "KOZ_sLS"),
        // Double slip LS-PS x LH-PD.
        Rec(8, 2, "ANG_sLSPS_sLHPD_sLSPD_sLHPS"),
        Rec(7, 2, "KOZ_sPS"),
        Rec(9, 2, "KOZ_sLS"),
        Rec(7, 1, "KOZ_sPD"),
        Rec(9, 3, "KOZ_sLH"),
        // The double slip whose name ends in SDLH reaches LH by its name.
        Rec(12, 2, "ANG_sLDPH_sSDSH_sLDSH_sSDLH"),
        Rec(11, 3, "KOZ_sPH"),
        Rec(13, 1, "KOZ_sLD"),
        Rec(12, 3, "KOZ_sSH"),
        Rec(12, 1, "KOZ_sSD"),
        Rec(11, 1, "KOZ_sPD"),
        // A symmetric switch meeting a bent track and a boundary.
        Rec(2, 5, "KOZ_sPS"),
        Rec(3, 5, "OBO_sLSPH_sLSPD"),
        Rec(4, 4, "KOL_sLDPS"),
        Rec(5, 4, "KOZ_sLS"),
        Rec(4, 6, "HKO_sLHPD"),
        Rec(5, 7, "KOZ_sLH"),
    };
    EXPECT_EQ(Lint(station, 20, 10), Lines{});

    // Without its LH neighbour the SDLH slip is open there, though its picture has no LH leg.
    std::vector<TPolePanelu> without = station;
    without.erase(without.begin() + 20);
    EXPECT_EQ(Lint(without, 20, 10), Lines{"12,2 ANG_sLDPH_sSDSH_sLDSH_sSDLH LH open-end"});
}

TEST(StationLintTest, MessagesNameThePointAndTheCells) {
    HeadlessPanel p;
    p.panel.ReplaceElements({Rec(2, 2, "KOZ_sPS"), Rec(5, 5, "KOZ_sPD"), Rec(5, 5, "KOZ_sPD")});
    const auto f = LintStation(p.panel);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(LintMessage(f[0]),
              "open track end at PS: the cell to the right (3,2) has no track at LS");
    EXPECT_EQ(LintMessage(f[1]), "cell holds 2 elements; the editor edits only the first");
    EXPECT_EQ(LintMessage(f[2]),
              "open track end at PD: none of the cells (6,6), (6,5) and (5,6) has "
              "track at that corner");
    // A crowded cell's findings stand for its first element.
    EXPECT_EQ(f[1].element, 1u);
    EXPECT_EQ(f[2].element, 1u);
}

// Several elements in a cell: one duplicate naming how many the cell holds, and a
// neighbour meets the cell when any of its elements reaches the point.
TEST(StationLintTest, CrowdedCellsAreWalkedOnceAndCountAsAWhole) {
    HeadlessPanel p;
    p.panel.PanelCols = p.panel.PanelRows = 10;
    // Two neighbouring crowded cells, listed interleaved; only the third element of (4,4)
    // reaches PS, only the second of (5,4) reaches LS.
    p.panel.ReplaceElements({Rec(4, 4, "Ruzek_LH"), Rec(5, 4, "Ruzek_LH"), Rec(4, 4, "Ruzek_PD"),
                             Rec(5, 4, "KOZ_sLS"), Rec(4, 4, "KOZ_sPS"), Rec(5, 4, "Ruzek_PH"),
                             Rec(5, 4, "Ruzek_PD"), Rec(9, 9, "Ruzek_LH")});
    std::vector<std::string> got;
    for (const LintFinding& f : LintStation(p.panel))
        got.push_back(std::to_string(f.col) + "," + std::to_string(f.row) + " " +
                      std::to_string(f.element) + " " + vedivez::LintMessage(f));
    EXPECT_EQ(got, (std::vector<std::string>{
                       "4,4 0 cell holds 3 elements; the editor edits only the first",
                       "5,4 1 cell holds 4 elements; the editor edits only the first",
                   }));

    // Many elements spread over a few cells: each crowded cell once, with the count of
    // the list.
    std::vector<TPolePanelu> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(Rec((i * 7) % 3, (i * 5) % 2, i % 3 ? "KOL_sLSPS" : "Ruzek_LH"));
    p.panel.ReplaceElements(many);
    size_t duplicates = 0;
    for (const LintFinding& f : LintStation(p.panel)) {
        if (f.kind != vedivez::LintKind::Duplicate)
            continue;
        ++duplicates;
        int64_t all = 0;
        for (const TPolePanelu& e : many)
            all += e.X == f.col && e.Y == f.row;
        EXPECT_EQ(f.figures[0], all) << f.col << "," << f.row;
    }
    EXPECT_EQ(duplicates, 6u);
}

// Cells at the ends of the 32-bit range: neighbours are worked out without overflow (the
// sanitizer build checks), and such elements are simply outside the panel.
TEST(StationLintTest, CellsAtTheEndsOfTheIntegerRange) {
    std::vector<TPolePanelu> elements;
    // The checker looks some elements ahead, so the extreme ones come after a few others.
    for (int i = 0; i < 20; ++i)
        elements.push_back(Rec(i % 10, i / 10, "KOZ_sPS"));
    for (const auto& [x, y] : {std::pair{INT32_MAX, 0}, std::pair{INT32_MIN, 0},
                               std::pair{0, INT32_MAX}, std::pair{INT32_MIN, INT32_MIN}})
        elements.push_back(Rec(x, y, "KRI_sLDPH_sLHPD"));
    HeadlessPanel p;
    p.panel.PanelCols = p.panel.PanelRows = 10;
    p.panel.ReplaceElements(elements);
    int outside = 0;
    for (const LintFinding& f : LintStation(p.panel)) {
        if (f.kind != vedivez::LintKind::OutsidePanel)
            continue;
        ++outside;
        EXPECT_EQ(vedivez::LintMessage(f), "lies outside the panel of 10 x 10 cells; it is kept "
                                           "in the file but never shown");
    }
    EXPECT_EQ(outside, 4);
}

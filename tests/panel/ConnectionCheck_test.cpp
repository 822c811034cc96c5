// The connection check kept beside the panel: after every edit it must say what a full
// check says, walk its findings in order, and word them in Czech; its marks on the panel.

#include "PanelTestHelpers.h"
#include "panel/CheckMarkers.h"
#include "panel/ConnectionCheck.h"
#include "panel/FrameRenderer.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelOccupancy.h"
#include "panel/ScaledRenderer.h"
#include "panel/TileCatalogue.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace vedivez;
using vedivez::test::Rec;

namespace {

// Every finding, brought up to date first.
std::vector<LintFinding> All(ConnectionCheck& check) {
    check.Update();
    std::vector<LintFinding> out;
    for (const LintFinding* f : check.In(INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX))
        out.push_back(*f);
    return out;
}

// Thousands of random edits of every kind; after each step the kept findings are those of
// a full check, in the same order.
TEST(ConnectionCheckTest, KeptFindingsEqualAFullCheckAfterEveryEdit) {
    for (unsigned seed : {1u, 2u, 3u, 17u, 2024u}) {
        HeadlessPanel h;
        h.document.SetSize(24, 16);
        ConnectionCheck check(h.panel);
        check.SetActive(true);
        std::mt19937 random(seed);
        const auto& names = PaletteTileNames();
        auto pick = [&](int n) { return int(random() % unsigned(n)); };
        for (int step = 0; step < 1500; ++step) {
            const int col = pick(28) - 2, row = pick(20) - 2;
            h.panel.SelectedName =
                pick(20) == 0 ? "NEZNAMY" : names[size_t(pick(int(names.size())))];
            switch (pick(12)) {
            case 0:
                // May double a cell, or stack a run of identical records on it.
                for (int n = pick(4) == 0 ? 1 + pick(6) : 1; n > 0; --n)
                    h.panel.AppendElement(Rec(col, row, h.panel.SelectedName));
                break;
            case 1:
            case 2:
            case 3:
                h.panel.PlaceElementAt(col * 47 + 3, row * 47 + 3, true);
                break;
            case 4:
                h.panel.FillRow(col + pick(6), row, pick(5));
                break;
            case 5:
                if (pick(10) == 0)
                    h.panel.ShiftAll(pick(3) - 1, pick(3) - 1);
                break;
            case 6:
                if (pick(30) == 0)
                    h.document.SetSize(20 + pick(8), h.document.Rows());
                break;
            default:
                h.panel.PlaceElementAt(col * 47 + 3, row * 47 + 3, false);
            }
            const std::vector<LintFinding> full = LintStation(h.panel);
            ASSERT_EQ(All(check), full) << "seed " << seed << ", step " << step;
            ASSERT_EQ(check.Count(), full.size());
        }
        EXPECT_GT(h.panel.Elements().size(), 20u) << seed;
    }
}

// A cell of a hundred thousand identical records is one duplicate and the findings of one
// record, on turning the check on and after every edit of the cell or its neighbours, and
// the count the duplicate names follows the edits.
TEST(ConnectionCheckTest, ACrowdedCellIsOneFindingWhateverItHolds) {
    HeadlessPanel h;
    h.document.SetSize(20, 20);
    std::vector<TPolePanelu> elements(100'000, Rec(5, 5, "KOL_sLSPS"));
    elements.push_back(Rec(4, 5, "KOZ_sPS")); // meets LS of the crowd
    h.panel.ReplaceElements(elements);
    ConnectionCheck check(h.panel);
    check.SetActive(true);
    check.Update();
    auto duplicateCount = [&] {
        for (const LintFinding& f : All(check))
            if (f.kind == LintKind::Duplicate)
                return f.figures[0];
        return int64_t(0);
    };
    EXPECT_EQ(check.Count(), 2u) << "the duplicate and the open PS";
    EXPECT_EQ(duplicateCount(), 100'000);
    const struct {
        const char* what;
        std::function<void()> edit;
        size_t findings;
        int64_t count;
    } steps[] = {
        {"the first record replaced by a buffer stop",
         [&] {
             h.panel.SelectedName = "KOZ_sLS";
             h.panel.PlaceElementAt(5 * 47 + 3, 5 * 47 + 3, false);
         },
         2, 100'000},
        {"the right neighbour closes PS",
         [&] {
             h.panel.SelectedName = "KOZ_sLS";
             h.panel.PlaceElementAt(6 * 47 + 3, 5 * 47 + 3, false);
         },
         1, 100'000},
        {"the first record removed", [&] { h.panel.PlaceElementAt(5 * 47 + 3, 5 * 47 + 3, true); },
         1, 99'999},
        {"another name stacked on the cell", [&] { h.panel.AppendElement(Rec(5, 5, "NEZNAMY")); },
         2, 100'000},
    };
    for (const auto& step : steps) {
        step.edit();
        EXPECT_EQ(All(check), LintStation(h.panel)) << step.what;
        EXPECT_EQ(check.Count(), step.findings) << step.what;
        EXPECT_EQ(duplicateCount(), step.count) << step.what;
    }
}

// While off the check follows nothing; turned on it checks the whole panel.
TEST(ConnectionCheckTest, OffMeansNoWorkOnMeansAFullCheck) {
    HeadlessPanel h;
    ConnectionCheck check(h.panel);
    h.panel.AppendElement(Rec(3, 3, "KOL_sLSPS"));
    EXPECT_EQ(check.Count(), 0u) << "off";
    const uint64_t before = check.Revision();
    check.SetActive(true);
    EXPECT_NE(check.Revision(), before);
    check.Update();
    EXPECT_EQ(check.Count(), 2u) << "both ends open";
    check.SetActive(false);
    h.panel.AppendElement(Rec(4, 3, "KOL_sLSPS"));
    check.SetActive(true);
    EXPECT_EQ(All(check), LintStation(h.panel));
}

// Forward and back through the findings in the check's order, from a cell and from a
// finding shown, going round at the ends.
TEST(ConnectionCheckTest, StepsGoInOrderAndRoundTheEnds) {
    HeadlessPanel h;
    h.document.SetSize(20, 10);
    h.panel.AppendElement(Rec(5, 2, "KOL_sLSPS")); // LS and PS open
    h.panel.AppendElement(Rec(1, 6, "KOZ_sPS"));   // PS open
    h.panel.AppendElement(Rec(9, 4, "X"));         // unknown name
    ConnectionCheck check(h.panel);
    check.SetActive(true);
    check.Update();
    using P = ConnectionCheck::Place;
    auto walk = [&](P from, bool forward, int n) {
        std::vector<std::string> seen;
        for (int i = 0; i < n; ++i) {
            const auto step = check.Step(from, forward);
            if (!step)
                break;
            const LintFinding& f = step->first;
            seen.push_back(std::to_string(f.col) + "," + std::to_string(f.row) + " " +
                           LintKindName(f.kind) +
                           (f.point >= 0 ? " " + std::string(FactsOf(Point(f.point)).code) : ""));
            from = step->second;
        }
        return seen;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(walk(P{0, 0, INT32_MAX}, true, 5),
              (V{"5,2 open-end LS", "5,2 open-end PS", "9,4 unknown-name", "1,6 open-end PS",
                 "5,2 open-end LS"}));
    // After the cursor's cell: a cell between findings, and a cell with findings.
    EXPECT_EQ(walk(P{7, 3, INT32_MAX}, true, 1), (V{"9,4 unknown-name"}));
    EXPECT_EQ(walk(P{5, 2, INT32_MAX}, true, 1), (V{"9,4 unknown-name"}));
    EXPECT_EQ(walk(P{5, 2, -1}, false, 4),
              (V{"1,6 open-end PS", "9,4 unknown-name", "5,2 open-end PS", "5,2 open-end LS"}));
    h.panel.ClearElements();
    check.Update();
    EXPECT_FALSE(check.Step(P{}, true).has_value());
}

TEST(ConnectionCheckTest, FindingsInCzech) {
    auto finding = [](LintKind kind, int point, std::array<int64_t, 2> figures = {}) {
        LintFinding f;
        f.kind = kind;
        f.point = point;
        f.figures = figures;
        f.name = "VYH\xE8";
        return f;
    };
    const std::pair<LintFinding, const char*> cases[] = {
        {finding(LintKind::OpenEnd, 5), "Otevřený konec koleje v bodě PH"},
        {finding(LintKind::LeavesPanel, 1), "Kolej v bodě LS vede mimo panel"},
        {finding(LintKind::Duplicate, -1, {3, 0}),
         "Políčko obsahuje 3 prvky; editor upravuje jen první"},
        {finding(LintKind::Duplicate, -1, {200000, 0}),
         "Políčko obsahuje 200000 prvků; editor upravuje jen první"},
        {finding(LintKind::OutsidePanel, -1, {150, 50}),
         "Prvek leží mimo panel o 150 × 50 políčkách; v souboru zůstává, ale není vidět"},
        {finding(LintKind::UnknownName, -1), "Prvek „VYHč“ nemá obrázek: takový název neexistuje"},
    };
    for (const auto& [f, text] : cases)
        EXPECT_EQ(FindingMessageCs(f).toStdString(), text);
}

const ImageList& Images() {
    static const ImageList list = MakeTileImageList();
    return list;
}

// The marks of each kind where they belong, at 100 % and scaled, over the tiles and the
// grid; the rest of the cell as without the check.
TEST(CheckMarkersTest, MarksOfEachKindAtTheirPlace) {
    HeadlessPanel h;
    h.document.SetSize(12, 8);
    h.panel.AppendElement(Rec(0, 2, "KOL_sLSPS")); // LS leaves the panel, PS open
    h.panel.AppendElement(Rec(4, 4, "KOZ_sPH"));   // PH open, at a corner
    h.panel.AppendElement(Rec(8, 5, "KOL_sSDSH")); // two records in one cell
    h.panel.AppendElement(Rec(8, 5, "KOL_sSDSH"));
    h.panel.CursorInside = false;
    PanelOccupancy occupancy(h.panel);
    ConnectionCheck check(h.panel);
    FrameInputs in;
    in.options = ViewOptions{false, false, false, true};
    in.check = &check;
    const uint32_t red = 0x0000FF, orange = kLeavesPanelColour;
    for (const ZoomLevel level :
         {ZoomLevel{47, 1}, ZoomLevel{24, 1}, ZoomLevel{12, 1}, ZoomLevel{3, 1}, ZoomLevel{1, 4}}) {
        Surface surface;
        const int w = int(level.CellsExtent(12)), ht = int(level.CellsExtent(8));
        surface.SetSize(w, ht);
        surface.SetViewport(QRect(0, 0, w, ht));
        surface.Initialise();
        FrameRenderer actual(h.panel, surface, Images());
        ScaledRenderer scaled(h.panel, surface, Images(), occupancy);
        auto render = [&](bool on) {
            check.SetActive(on);
            check.Update();
            if (level.Actual())
                actual.RenderFrame(in);
            else
                scaled.RenderFrame(in, level);
            return surface.BackBuffer().copy();
        };
        const QImage off = render(false);
        const QImage on = render(true);
        const double s = double(level.pixels) / level.cells;
        const std::string what = std::to_string(level.pixels) + "/" + std::to_string(level.cells);
        // The middle of a triangle standing at a point of a cell: two thirds of the mark's
        // length back from the point towards the cell's centre.
        const double length = CheckMarkLength(s);
        auto mark = [&](const QImage& image, int col, int row, double fx, double fy) {
            const double size = std::max(s, 1.0);
            const double px = std::floor(col * s) + fx * size, py = std::floor(row * s) + fy * size;
            const double dx = fx - 0.5, dy = fy - 0.5, norm = std::hypot(dx, dy);
            const int x = std::clamp(int(px - dx / norm * length * 2 / 3), 0, w - 1);
            const int y = std::clamp(int(py - dy / norm * length * 2 / 3), 0, ht - 1);
            return uint32_t(image.pixel(x, y) & 0xFFFFFF);
        };
        auto bgr = [](uint32_t c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | (c >> 16); };
        if (s >= 12) {
            EXPECT_EQ(mark(on, 0, 2, 0, 0.5), bgr(orange)) << what << ": LS leaves the panel";
            EXPECT_EQ(mark(on, 0, 2, 1, 0.5), bgr(red)) << what << ": PS open";
            EXPECT_EQ(mark(on, 4, 4, 1, 0), bgr(red)) << what << ": PH open";
            // The frame of the doubled cell, along its top edge.
            EXPECT_EQ(uint32_t(on.pixel(int(8 * s + s / 2), int(5 * s)) & 0xFFFFFF), bgr(red))
                << what;
            // The marks stay small: the cell's middle and far corner are as without them.
            for (const auto& [c, r] : {std::pair{0, 2}, std::pair{4, 4}})
                EXPECT_EQ(mark(on, c, r, 0.5, 0.5001), mark(off, c, r, 0.5, 0.5001)) << what;
        }
        // Every mark shows, at least a few pixels, at every scale; nothing else changes.
        const int reach = int(std::ceil(length)) + 1;
        auto near = [&](int x, int y, int col, int row) {
            return x >= std::floor(col * s) - reach && x <= std::floor(col * s) + s + reach &&
                   y >= std::floor(row * s) - reach && y <= std::floor(row * s) + s + reach;
        };
        const std::pair<int, int> cells[] = {{0, 2}, {4, 4}, {8, 5}};
        int changedElsewhere = 0;
        std::vector<int> marked(3, 0);
        for (int y = 0; y < ht; ++y)
            for (int x = 0; x < w; ++x) {
                if (on.pixel(x, y) == off.pixel(x, y))
                    continue;
                bool any = false;
                for (size_t k = 0; k < 3; ++k)
                    if (near(x, y, cells[k].first, cells[k].second)) {
                        ++marked[k];
                        any = true;
                    }
                changedElsewhere += any ? 0 : 1;
            }
        EXPECT_EQ(changedElsewhere, 0) << what;
        for (size_t k = 0; k < 3; ++k)
            EXPECT_GE(marked[k], 3) << what << " cell " << k;
    }
}

// A triangle keeps a readable size wherever tiles are drawn, at every level, enlarged ones
// too, and 100 % keeps its 9 pixels: the red pixels of one open end, counted along the
// cell's edge, reach about 7 at 12 to 40 pixels a cell and grow beyond that.
TEST(CheckMarkersTest, TrianglesStayReadableAtEveryLevelWithTiles) {
    HeadlessPanel h;
    h.document.SetSize(10, 10);
    h.panel.AppendElement(Rec(2, 2, "KOZ_sPS")); // PS open
    h.panel.CursorInside = false;
    PanelOccupancy occupancy(h.panel);
    ConnectionCheck check(h.panel);
    check.SetActive(true);
    check.Update();
    FrameInputs in;
    in.options = ViewOptions{false, false, false, false};
    in.check = &check;
    for (const int cell : {12, 16, 20, 24, 28, 34, 40, 47, 94, 141}) {
        const ZoomLevel level{cell, 1};
        Surface surface;
        const int side = int(level.CellsExtent(10));
        surface.SetSize(side, side);
        surface.SetViewport(QRect(0, 0, side, side));
        surface.Initialise();
        if (level.Actual()) {
            FrameRenderer(h.panel, surface, Images()).RenderFrame(in);
        } else {
            ScaledRenderer(h.panel, surface, Images(), occupancy).RenderFrame(in, level);
        }
        const QImage frame = surface.BackBuffer();
        // The triangle's base runs along the column `length` pixels left of the PS point;
        // its longest red run down a pixel column is about its length.
        int longest = 0;
        for (int x = 2 * cell; x < 3 * cell; ++x) {
            int run = 0;
            for (int y = 2 * cell; y < 3 * cell; ++y) {
                run = (frame.pixel(x, y) & 0xFFFFFF) == 0xFF0000u ? run + 1 : 0;
                longest = std::max(longest, run);
            }
        }
        const double expected = std::max(7.0, 9.0 * cell / 47);
        EXPECT_GE(longest, int(expected) - 1) << cell << " px a cell";
        EXPECT_LE(longest, int(expected) + 1) << cell << " px a cell";
    }
}

} // namespace

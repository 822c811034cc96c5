#include "export/PanelExport.h"

#include <QPageLayout>
#include <gtest/gtest.h>

namespace vedivez {
namespace {

constexpr int kCell = 47;

// What a page of the plan shows at 72 dots per inch, less the 36-point margins.
std::vector<PageCells> Pages(const QRect& cells, double cellMm, QPageSize::PageSizeId paper,
                             QPageLayout::Orientation turn, PagePlan* plan = nullptr) {
    const QRect area(cells.x() * kCell, cells.y() * kCell, cells.width() * kCell,
                     cells.height() * kCell);
    const QRectF page =
        QPageLayout(QPageSize(paper), turn, QMarginsF()).fullRect(QPageLayout::Point);
    const PagePlan p =
        PlanPages(area, kCell, kCell, cellMm, page.width() - 72, page.height() - 72, 72);
    if (plan)
        *plan = p;
    return PageRanges(area, kCell, kCell, p);
}

// Areas x cell sizes x papers x orientations: how many pages, and which cells the second and
// the last page show. At 10 mm a cell, an A4 page holds 18 x 27 cells upright, 27 x 18 on its
// side, an A3 page 27 x 39 upright; neighbouring pages share a column or row.
TEST(PageMathsTest, AreasTileThePagesWithOneSharedColumnAndRow) {
    const auto P = QPageLayout::Portrait, L = QPageLayout::Landscape;
    const struct {
        QRect cells;
        double cellMm;
        QPageSize::PageSizeId paper;
        QPageLayout::Orientation turn;
        int across, down;
        PageCells second, last;
    } cases[] = {
        {QRect(0, 0, 80, 25), 10, QPageSize::A4, L, 4, 2, {26, 52, 0, 17}, {78, 79, 17, 24}},
        {QRect(0, 0, 80, 25), 10, QPageSize::A4, P, 5, 1, {17, 34, 0, 24}, {68, 79, 0, 24}},
        {QRect(0, 0, 80, 25), 10, QPageSize::A3, P, 4, 1, {26, 52, 0, 24}, {78, 79, 0, 24}},
        {QRect(5, 3, 30, 30), 10, QPageSize::A4, P, 2, 2, {22, 34, 3, 29}, {22, 34, 29, 32}},
        // Fitted to one page: the whole area on it, whatever the paper.
        {QRect(0, 0, 80, 25), 0, QPageSize::A4, P, 1, 1, {}, {0, 79, 0, 24}},
        {QRect(7, 9, 3, 400), 0, QPageSize::A0, L, 1, 1, {}, {7, 9, 9, 408}},
    };
    for (const auto& c : cases) {
        PagePlan plan;
        const std::vector<PageCells> pages = Pages(c.cells, c.cellMm, c.paper, c.turn, &plan);
        const std::string what = std::to_string(c.cells.width()) + "x" +
                                 std::to_string(c.cells.height()) + " at " +
                                 std::to_string(c.cellMm) + " mm, turn " + std::to_string(c.turn);
        EXPECT_EQ(plan.pagesAcross, c.across) << what;
        EXPECT_EQ(plan.pagesDown, c.down) << what;
        ASSERT_EQ(pages.size(), size_t(c.across * c.down)) << what;
        if (pages.size() > 1) {
            EXPECT_EQ(pages[1], c.second) << what;
        }
        EXPECT_EQ(pages.back(), c.last) << what;
        // Pages never leave the area, and the first starts at its corner.
        for (const PageCells& p : pages) {
            EXPECT_GE(p.col0, c.cells.left()) << what;
            EXPECT_LE(p.col1, c.cells.right()) << what;
            EXPECT_GE(p.row0, c.cells.top()) << what;
            EXPECT_LE(p.row1, c.cells.bottom()) << what;
        }
        EXPECT_EQ(pages.front().col0, c.cells.left()) << what;
        EXPECT_EQ(pages.front().row0, c.cells.top()) << what;
    }
    // Labels count pages, columns and rows from 1, as on paper.
    EXPECT_EQ(PageLabel(3, 6, {40, 79, 0, 24}),
              QString::fromUtf8("Strana 3 z 6 · sloupce 41–80, řádky 1–25"));
}

// A PNG picture keeps within 32,767 pixels a side and 1 GiB; the largest cell that fits is
// offered, or none when not even one pixel a cell does.
TEST(PageMathsTest, PngSizeLimit) {
    const struct {
        QSize cells;
        int askedPx, largestPx;
    } cases[] = {
        {{100, 50}, 47, 47},   // fits as asked
        {{700, 10}, 47, 46},   // 32,900 pixels wide
        {{10, 700}, 47, 46},   // and high
        {{600, 600}, 47, 27},  // 28,200 square fits the sides but not 1 GiB
        {{3000, 3000}, 12, 5}, // both limits
        {{40000, 1}, 12, 0},   // wider than the limit at one pixel a cell
    };
    for (const auto& c : cases) {
        const QRect area(0, 0, c.cells.width() * kCell, c.cells.height() * kCell);
        EXPECT_EQ(LargestPngCell(area, kCell, kCell, c.askedPx), c.largestPx) << c.cells.width();
        EXPECT_EQ(PngFits(PngSize(area, kCell, kCell, c.askedPx)), c.askedPx == c.largestPx);
        if (c.largestPx < c.askedPx) { // and no larger one does
            EXPECT_FALSE(PngFits(PngSize(area, kCell, kCell, c.largestPx + 1)));
        }
    }
}

} // namespace
} // namespace vedivez

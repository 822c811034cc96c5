#include "export/PanelExport.h"

#include <QDate>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

// The page maths of paper exports and prints (how many cells a page holds, which cells each
// page shows, its label) and the size limits of a picture export.

namespace vedivez {

namespace {

// Ceiling of (count - shown) / step + 1 pages for `count` cells, `shown` per page, each
// page after the first starting one cell before the previous one ended.
int PagesFor(int count, int shown) {
    if (count <= shown)
        return 1;
    return (count - shown + (shown - 2)) / (shown - 1) + 1;
}

} // namespace

PagePlan PlanPages(const QRect& area, int cw, int ch, double cellMm, double printableWidth,
                   double printableHeight, int resolution) {
    PagePlan plan;
    const int cols = area.width() / cw, rows = area.height() / ch;
    if (cellMm > 0) {
        // The PDF writer prints the scale with nine digits, cut off rather than rounded; a
        // scale meant to be round (one point per pixel, say) is kept round so that the
        // pixel edges stay on whole device units instead of just short of them.
        plan.unitsPerPixel = std::round(cellMm / cw / 25.4 * resolution * 1e6) / 1e6;
        if (!(plan.unitsPerPixel > 0))
            throw std::runtime_error("--cell-mm " + QString::number(cellMm).toStdString() +
                                     " is too small to print");
    } else
        plan.unitsPerPixel =
            std::min(printableWidth / area.width(), printableHeight / area.height());
    // A little slack so that a size chosen to fit exactly is not lost to rounding. Counted
    // in floating point: tiny cells fit more of them on a page than an int holds.
    const double slack = 1e-9;
    const double across = std::floor(printableWidth / (cw * plan.unitsPerPixel) + slack);
    const double down = std::floor(printableHeight / (ch * plan.unitsPerPixel) + slack);
    if ((cols > across && across < 2) || (rows > down && down < 2))
        throw std::runtime_error("--cell-mm " + QString::number(cellMm).toStdString() +
                                 " is too large: a page must hold at least two cells each way");
    plan.cellsAcross = int(std::min<double>(across, cols));
    plan.cellsDown = int(std::min<double>(down, rows));
    const int64_t pagesAcross = PagesFor(cols, plan.cellsAcross);
    const int64_t pagesDown = PagesFor(rows, plan.cellsDown);
    if (pagesAcross * pagesDown > kMaxExportPages)
        throw std::runtime_error(
            "the export would take " + std::to_string(pagesAcross * pagesDown) + " pages (" +
            std::to_string(pagesDown) + " down, " + std::to_string(pagesAcross) +
            " across) at --cell-mm " + QString::number(cellMm).toStdString() + "; at most " +
            std::to_string(kMaxExportPages) +
            " are written: choose a smaller --cell-mm, leave it out to fit one page, or use a "
            "larger --page");
    plan.pagesAcross = int(pagesAcross);
    plan.pagesDown = int(pagesDown);
    return plan;
}

std::vector<PageCells> PageRanges(const QRect& area, int cw, int ch, const PagePlan& plan) {
    std::vector<PageCells> pages;
    pages.reserve(size_t(plan.pagesAcross) * size_t(plan.pagesDown));
    const int firstCol = area.left() / cw, firstRow = area.top() / ch;
    const int lastCol = area.right() / cw, lastRow = area.bottom() / ch;
    for (int pr = 0; pr < plan.pagesDown; ++pr) {
        for (int pc = 0; pc < plan.pagesAcross; ++pc) {
            PageCells p;
            // Each page after the first starts on the last column (row) of the one before.
            p.col0 = firstCol + pc * (plan.cellsAcross - 1);
            p.row0 = firstRow + pr * (plan.cellsDown - 1);
            p.col1 = std::min(lastCol, p.col0 + plan.cellsAcross - 1);
            p.row1 = std::min(lastRow, p.row0 + plan.cellsDown - 1);
            pages.push_back(p);
        }
    }
    return pages;
}

QString PageLabel(int page, int count, const PageCells& c) {
    const auto n = [](int v) { return QString::number(v); };
    return QString::fromUtf8("Strana %1 z %2 \u00b7 sloupce %3\u2013%4, \u0159\u00e1dky %5\u2013%6")
        .arg(n(page), n(count), n(c.col0 + 1), n(c.col1 + 1), n(c.row0 + 1), n(c.row1 + 1));
}

QString MarginText(const QString& stationName, const QDate& day) {
    return stationName + QString::fromUtf8(" \u00b7 ") + day.toString(QStringLiteral("d. M. yyyy"));
}

QSize PngSize(const QRect& area, int cw, int ch, int cellPx) {
    // Rows are scaled as columns are; a picture larger than an int holds is reported as such
    // by its clamped sides.
    const int64_t w = int64_t(area.width() / cw) * cellPx;
    const int64_t h = int64_t(std::llround(double(area.height()) * cellPx / cw));
    return QSize(int(std::min<int64_t>(w, INT32_MAX)), int(std::min<int64_t>(h, INT32_MAX)));
}

bool PngFits(const QSize& size) {
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPngSide &&
           size.height() <= kMaxPngSide &&
           int64_t(size.width()) * size.height() * 4 <= kMaxPngBytes;
}

int LargestPngCell(const QRect& area, int cw, int ch, int cellPx) {
    for (int px = cellPx; px > 0; --px)
        if (PngFits(PngSize(area, cw, ch, px)))
            return px;
    return 0;
}

} // namespace vedivez

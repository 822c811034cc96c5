#pragma once

#include <QDate>
#include <QImage>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QPageLayout;
class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace vedivez {

class ImageList;
class InkShapes;
class PanelState;

// How the panel is exported.
struct ExportOptions {
    // Which way the PDF pages are turned: whichever prints the area larger, or as asked.
    enum class Orientation { Best, Portrait, Landscape };

    bool screenColours = false; // the editor's grey background and blue grid
    bool wholePanel = false;    // else the cells that hold elements, plus one cell of margin
    // When set, exactly these cells (columns and rows, kept inside the panel): the current
    // view or the selection; it takes the place of the two areas above.
    std::optional<QRect> cells;
    QPageSize::PageSizeId page = QPageSize::A4;
    Orientation orientation = Orientation::Best;
    double cellMm = 0; // printed size of one cell; 0 = the largest that fits one page
};

// How an exported area is laid out on PDF pages: its scale and how many cells each page
// shows, with neighbouring pages sharing one column or row of cells.
struct PagePlan {
    double unitsPerPixel = 1; // page device units per surface pixel
    int cellsAcross = 1;      // per page
    int cellsDown = 1;
    int pagesAcross = 1;
    int pagesDown = 1;
};

// The cells one page shows, first and last column and row, counted from 0.
struct PageCells {
    int col0 = 0, col1 = 0, row0 = 0, row1 = 0;
    bool operator==(const PageCells&) const = default;
};

// The pages of a plan in the order they are printed, a row of pages at a time, for an area
// (surface pixels, whole cells) of cells `cellWidth` x `cellHeight` pixels.
std::vector<PageCells> PageRanges(const QRect& area, int cellWidth, int cellHeight,
                                  const PagePlan& plan);

// The label above page `page` (from 1) of `count`: "Strana 3 z 6 · sloupce 41–80, řádky 1–25",
// columns and rows counted from 1 as on paper.
QString PageLabel(int page, int count, const PageCells& cells);

// The text in the bottom margin of every page: the station's file name and the day printed.
QString MarginText(const QString& stationName, const QDate& day);

// PNG pictures: the limits of one picture and the size of a picture with cells `cellPx`
// pixels wide (rows scaled alike).
constexpr int kMaxPngSide = 32767;
constexpr int64_t kMaxPngBytes = int64_t(1) << 30;
QSize PngSize(const QRect& area, int cellWidth, int cellHeight, int cellPx);
bool PngFits(const QSize& size);
// The largest cell width in pixels, at most `cellPx`, whose picture fits; 0 when none does.
int LargestPngCell(const QRect& area, int cellWidth, int cellHeight, int cellPx);

// The most pages one export writes; beyond it the command refuses and says why.
constexpr int64_t kMaxExportPages = 10000;

// Lays out `area` (surface pixels, whole cells) on pages of the given printable size in
// device units at `resolution` dots per inch, with cells printed `cellMm` wide (0: the
// largest that fits one page). Throws std::runtime_error when the cells are too large to
// tile the pages or the area would take more than kMaxExportPages pages.
PagePlan PlanPages(const QRect& area, int cellWidth, int cellHeight, double cellMm,
                   double printableWidth, double printableHeight, int resolution);

// Writes the panel as a vector drawing in which every tile and corner mark is the union of
// its black pixels as rectangles in surface pixels, so that rasterised at one unit per pixel
// it equals the editor's frame without the grid. It walks the area one row of cells at a
// time and never holds a picture of it, so a panel of 4000 x 4000 cells fits in memory.
class PanelExporter {
public:
    PanelExporter(const PanelState& panel, const ExportOptions& options);
    ~PanelExporter();

    // The exported rectangle of the surface, in pixels, always whole cells.
    QRect Area() const { return area_; }

    // Page layout for the given printable size in device units at `resolution` dots per inch.
    // Throws std::runtime_error when the cells are too large to tile the pages.
    PagePlan PlanPages(double printableWidth, double printableHeight, int resolution) const;

    // Whether the PDF pages are landscape: as the options ask, else when the area prints
    // larger that way (without a cell size) or on fewer pages (with one); portrait when both
    // ways are alike.
    bool Landscape() const;

    // Drawn over each page's panel, in surface pixels, with the page's cells: for marks that
    // belong to the drawing (the connection check's, a comparison's).
    using Overlay = std::function<void(QPainter& painter, const PageCells& cells)>;
    Overlay overlay;
    // When above 0, each page's panel is drawn as a picture of this many dots per inch
    // instead of as shapes: for previews, whose recorded pages would otherwise hold every
    // shape of a big station.
    int rasterDpi = 0;
    // Told before each page (from 0) is drawn, of how many; returning false stops the work.
    using Progress = std::function<bool(int page, int count)>;

    // The layout of pages on a paged device (printer or PDF writer) whose page layout is set:
    // the margin around the drawing in device units and the plan inside it.
    struct DeviceLayout {
        double margin = 0;
        PagePlan plan;
    };
    DeviceLayout LayoutFor(const QPagedPaintDevice& device) const;
    DeviceLayout LayoutFor(const QPageLayout& page, int resolution) const;
    // The page layout of the options' paper, turned as Landscape() says, without margins.
    QPageLayout OptionsLayout() const;

    // The one page loop of print, preview and PDF: paints every page onto `painter`, which
    // is active on `device`, starting a new page between them, with the page label above
    // and `marginText` below each. Returns false when `progress` stopped it.
    bool PaintPages(QPainter& painter, QPagedPaintDevice& device, const QString& marginText,
                    const Progress& progress = {});
    // One page: its label and margin text, then the cells in the printable rectangle.
    void PaintPage(QPainter& painter, const DeviceLayout& layout, const PageCells& cells,
                   const QString& label, const QString& marginText);

    // Writes the PDF file, replacing the file at `path` (the file system's bytes) only once
    // all of it is written; returns the number of pages, 0 when `progress` stopped it (no
    // file is written then). Throws FileError when the file cannot be written,
    // std::runtime_error when the layout fails.
    int WritePdf(const std::string& path, const QString& stationName,
                 const Progress& progress = {});
    // The whole area as one SVG drawing, replaced as the PDF file is.
    void WriteSvg(const std::string& path, const QString& stationName);

    // The area drawn at `cellPx` pixels a cell, which must fit (PngFits). A null image when
    // `progress` stopped it (told per strip of rows, as page and count).
    QImage RenderImage(int cellPx, const Progress& progress = {});
    // Writes the picture as PNG at `path`, replacing the file only when all of it is
    // written; false, with no file touched, when `progress` stopped it.
    bool WritePng(const std::string& path, int cellPx, const Progress& progress = {});

    // Receives "Image '<name>' not found" once for each name without a picture.
    std::function<void(const std::string& message)> onMissingImage;

private:
    using BandFn =
        std::function<void(const std::vector<QRectF>& red, const std::vector<QRectF>& black)>;
    // Calls `band` for each row of cells whose ink reaches `clip`, with that ink clipped.
    void ForEachBand(const QRect& clip, const BandFn& band);
    void FillBackground(QPainter& painter, const QRect& clip) const;
    void DrawGrid(QPainter& painter, const QRect& clip) const;
    // Background, ink, grid and overlay of `clip`, in surface pixels.
    void DrawCells(QPainter& painter, const QRect& clip);
    // The same into a picture of cells a few pixels wide (`scale` picture pixels a surface
    // pixel): each element's ink as a small picture made once for each kind, placed without
    // merging, which a picture does not need.
    void DrawSmallCells(QImage& image, const QRect& clip, double scale);

    const PanelState& panel_;
    ExportOptions options_;
    QRect area_;
    std::unique_ptr<ImageList> images_;
    std::unique_ptr<InkShapes> ink_;
};

} // namespace vedivez

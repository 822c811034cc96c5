#pragma once

#include <QPageSize>
#include <QRect>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

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

    // Writes the PDF file, replacing the file at `path` (the file system's bytes) only once
    // all of it is written; returns the number of pages. Throws FileError when the file
    // cannot be written, std::runtime_error when the layout fails.
    int WritePdf(const std::string& path, const QString& stationName);
    void WriteSvg(const std::string& path, const QString& stationName);

    // Receives "Image '<name>' not found" once for each name without a picture.
    std::function<void(const std::string& message)> onMissingImage;

private:
    using BandFn =
        std::function<void(const std::vector<QRectF>& red, const std::vector<QRectF>& black)>;
    // Calls `band` for each row of cells whose ink reaches `clip`, with that ink clipped.
    void ForEachBand(const QRect& clip, const BandFn& band);
    void FillBackground(QPainter& painter, const QRect& clip) const;
    void DrawGrid(QPainter& painter, const QRect& clip) const;

    const PanelState& panel_;
    ExportOptions options_;
    QRect area_;
    std::unique_ptr<ImageList> images_;
    std::unique_ptr<InkShapes> ink_;
};

} // namespace vedivez

#include "export/PanelExport.h"

#include "export/InkShapes.h"
#include "export/SvgPartWriter.h"
#include "panel/AtomicFileDevice.h"
#include "panel/ElementRows.h"
#include "panel/FileAccess.h"
#include "panel/FloorDiv.h"
#include "panel/PanelState.h"
#include "panel/TileImages.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"
#include "surface/ImageList.h"

#include <QImageWriter>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <unordered_map>

namespace vedivez {

namespace {

QColor Colour(uint32_t bgr) {
    return QColor::fromRgb(ToQRgb(bgr));
}
const QColor kBlack = Colour(kTrackColour);
const QColor kRed = Colour(kMissingTileColour);
const QColor kPrintBackground = Colour(kPaperColour);
const QColor kScreenBackground = Colour(kBackgroundColour);
const QColor kGrid = Colour(kGridColour);

// Page margin in points; the page label sits in the top one, the margin text in the bottom.
constexpr double kMarginPt = 36;
constexpr double kLabelPt = 8;
// Below this many picture pixels a cell, pictures of pages place each element's ink as a
// small picture instead of drawing the merged shapes.
constexpr double kSmallCellPx = 8;

// The cells that hold elements inside the panel, grown by one cell and kept in the panel;
// the whole panel when there are none.
QRect UsedArea(const PanelState& panel, const QRect& whole) {
    int32_t c0 = INT32_MAX, c1 = INT32_MIN, r0 = INT32_MAX, r1 = INT32_MIN;
    for (const TPolePanelu& e : panel.Elements()) {
        if (e.X < 0 || e.X >= panel.PanelCols || e.Y < 0 || e.Y >= panel.PanelRows)
            continue;
        c0 = std::min(c0, e.X);
        c1 = std::max(c1, e.X);
        r0 = std::min(r0, e.Y);
        r1 = std::max(r1, e.Y);
    }
    if (c0 > c1)
        return whole;
    const int cw = panel.CellWidth, ch = panel.CellHeight;
    const QRect cells(QPoint((c0 - 1) * cw, (r0 - 1) * ch),
                      QPoint((c1 + 2) * cw - 1, (r1 + 2) * ch - 1));
    return cells & whole;
}

} // namespace

PanelExporter::PanelExporter(const PanelState& panel, const ExportOptions& options)
    : panel_(panel), options_(options), images_(std::make_unique<ImageList>(MakeTileImageList())),
      ink_(std::make_unique<InkShapes>(*images_)) {
    const int cw = panel.CellWidth, ch = panel.CellHeight;
    const QRect whole(0, 0, panel.PanelCols * cw, panel.PanelRows * ch);
    if (options.cells) {
        const QRect cells = *options.cells & QRect(0, 0, panel.PanelCols, panel.PanelRows);
        // An area outside the panel is no area: the whole panel stands in for it.
        area_ = cells.isEmpty() ? whole
                                : QRect(cells.left() * cw, cells.top() * ch, cells.width() * cw,
                                        cells.height() * ch);
    } else
        area_ = options.wholePanel ? whole : UsedArea(panel, whole);
    ink_->onMissingImage = [this](const std::string& message) {
        if (onMissingImage)
            onMissingImage(message);
    };
}

PanelExporter::~PanelExporter() = default;

void PanelExporter::ForEachBand(const QRect& clip, const BandFn& band) {
    const auto& elements = panel_.Elements();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // A tile reaches one pixel into the cells to its right and below, and the mirrored marks
    // a few pixels into the cells to the left and right.
    const int64_t c0 = FloorDiv(clip.left(), cw) - 1, c1 = FloorDiv(clip.right(), cw) + 1;
    const int64_t r0 = FloorDiv(clip.top(), ch) - 1, r1 = FloorDiv(clip.bottom(), ch);
    const ElementsByRow rows(panel_, c0, c1, r0, r1);

    // Every element of a row of cells draws into the pixel rows r * ch + 1 … r * ch + ch
    // of that row and nowhere else, so merging the runs of one band merges the whole
    // picture: track running on into the next cell becomes one run, and a mark that two
    // neighbours both draw goes out once.
    InkRows red = InkRows(size_t(ch)), black = InkRows(size_t(ch));
    std::vector<QRectF> redRects, blackRects;
    const int64_t clipRight = int64_t(clip.right()) + 1;
    auto add = [&](InkRows& band, const InkRows& ink, int64_t x0, int64_t bandTop) {
        for (size_t i = 0; i < ink.size() && i < band.size(); ++i) {
            const int64_t y = bandTop + int64_t(i);
            if (y < clip.top() || y > clip.bottom())
                continue;
            for (const InkRun& run : ink[i]) {
                const int64_t a = std::max<int64_t>(x0 + run.x1, clip.left());
                const int64_t b = std::min<int64_t>(x0 + run.x2, clipRight);
                if (a < b)
                    band[i].push_back({int(a), int(b)});
            }
        }
    };
    auto flush = [&](InkRows& band, std::vector<QRectF>& rects, int64_t bandTop) {
        for (std::vector<InkRun>& row : band) {
            std::sort(row.begin(), row.end(),
                      [](const InkRun& p, const InkRun& q) { return p.x1 < q.x1; });
            size_t kept = 0;
            for (const InkRun& run : row) {
                if (kept > 0 && run.x1 <= row[kept - 1].x2)
                    row[kept - 1].x2 = std::max(row[kept - 1].x2, run.x2);
                else
                    row[kept++] = run;
            }
            row.resize(kept);
        }
        rects.clear();
        for (const QRect& q : InkShapes::MergeRows(band, int(bandTop)))
            rects.emplace_back(q);
        for (std::vector<InkRun>& row : band)
            row.clear();
    };
    for (int64_t r = r0; r <= r1; ++r) {
        const int64_t bandTop = r * ch + ElementInk::kTop;
        auto collect = [&](const TPolePanelu& e) {
            const ElementInk& ink = ink_->For(e);
            add(red, ink.red, e.X * cw, bandTop);
            add(black, ink.black, e.X * cw, bandTop);
        };
        rows.ForEachInRow(r, [&](size_t i) { collect(elements[i]); });
        flush(red, redRects, bandTop);
        flush(black, blackRects, bandTop);
        if (!redRects.empty() || !blackRects.empty())
            band(redRects, blackRects);
    }
}

void PanelExporter::FillBackground(QPainter& painter, const QRect& clip) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(options_.screenColours ? kScreenBackground : kPrintBackground);
    painter.drawRect(QRectF(clip));
}

void PanelExporter::DrawGrid(QPainter& painter, const QRect& clip) const {
    if (!options_.screenColours)
        return;
    // The lines of a cell lie on its first pixel column and row.
    std::vector<QRectF> lines;
    const int cw = panel_.CellWidth, ch = panel_.CellHeight;
    for (int64_t x = FloorDiv(clip.left() + cw - 1, cw) * cw; x <= clip.right(); x += cw)
        lines.emplace_back(double(x), clip.top(), 1.0, clip.height());
    for (int64_t y = FloorDiv(clip.top() + ch - 1, ch) * ch; y <= clip.bottom(); y += ch)
        lines.emplace_back(clip.left(), double(y), clip.width(), 1.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGrid);
    painter.drawRects(lines.data(), int(lines.size()));
}

PagePlan PanelExporter::PlanPages(double printableWidth, double printableHeight,
                                  int resolution) const {
    return vedivez::PlanPages(area_, panel_.CellWidth, panel_.CellHeight, options_.cellMm,
                              printableWidth, printableHeight, resolution);
}

bool PanelExporter::Landscape() const {
    using Orientation = ExportOptions::Orientation;
    if (options_.orientation != Orientation::Best)
        return options_.orientation == Orientation::Landscape;
    // The same plan as WritePdf makes, for each way: at 72 dots per inch, less the margins.
    const QSizeF page = QPageSize(options_.page).size(QPageSize::Point);
    const double margin = kMarginPt;
    auto plan = [&](bool landscape) -> std::optional<PagePlan> {
        const double w = landscape ? page.height() : page.width();
        const double h = landscape ? page.width() : page.height();
        try {
            return PlanPages(w - 2 * margin, h - 2 * margin, 72);
        } catch (const std::runtime_error&) {
            return std::nullopt; // cells too large, or too many pages, this way round
        }
    };
    const std::optional<PagePlan> portrait = plan(false), landscape = plan(true);
    if (!landscape)
        return false;
    if (!portrait)
        return true;
    if (options_.cellMm > 0)
        return int64_t(landscape->pagesAcross) * landscape->pagesDown <
               int64_t(portrait->pagesAcross) * portrait->pagesDown;
    return landscape->unitsPerPixel > portrait->unitsPerPixel;
}

void PanelExporter::DrawCells(QPainter& painter, const QRect& clip) {
    FillBackground(painter, clip);
    // Each band's rectangles are drawn relative to the band's top, which keeps the numbers
    // the page's content is made of short.
    std::vector<QRectF> shifted;
    auto fill = [&](const std::vector<QRectF>& rects, const QColor& colour, double top) {
        if (rects.empty())
            return;
        shifted.clear();
        for (const QRectF& r : rects)
            shifted.push_back(r.translated(0, -top));
        painter.setBrush(colour);
        painter.drawRects(shifted.data(), int(shifted.size()));
    };
    ForEachBand(clip, [&](const std::vector<QRectF>& red, const std::vector<QRectF>& black) {
        const double top = (red.empty() ? black : red).front().top();
        painter.save();
        painter.translate(0, top);
        fill(red, kRed, top);
        fill(black, kBlack, top);
        painter.restore();
    });
    DrawGrid(painter, clip);
    if (overlay) {
        const int cw = panel_.CellWidth, ch = panel_.CellHeight;
        painter.save();
        painter.setClipRect(clip);
        overlay(painter,
                {clip.left() / cw, clip.right() / cw, clip.top() / ch, clip.bottom() / ch});
        painter.restore();
    }
}

void PanelExporter::DrawSmallCells(QImage& image, const QRect& clip, double scale) {
    image.fill(options_.screenColours ? kScreenBackground : kPrintBackground);
    struct Sprite {
        QImage image;
        QPoint offset; // of its top-left pixel from the cell's, in surface pixels
    };
    std::unordered_map<const ElementInk*, Sprite> sprites;
    auto sprite = [&](const ElementInk& ink) -> const Sprite& {
        auto found = sprites.find(&ink);
        if (found != sprites.end())
            return found->second;
        int x0 = INT32_MAX, x1 = INT32_MIN;
        const size_t rows = std::max(ink.black.size(), ink.red.size());
        for (const InkRows* part : {&ink.black, &ink.red})
            for (const std::vector<InkRun>& row : *part)
                for (const InkRun& run : row) {
                    x0 = std::min(x0, run.x1);
                    x1 = std::max(x1, run.x2);
                }
        Sprite made;
        if (x0 < x1 && rows > 0) {
            QImage full(x1 - x0, int(rows), QImage::Format_ARGB32_Premultiplied);
            full.fill(Qt::transparent);
            for (const auto& [part, colour] :
                 {std::pair{&ink.red, kRed}, std::pair{&ink.black, kBlack}})
                for (size_t y = 0; y < part->size(); ++y)
                    for (const InkRun& run : (*part)[y])
                        for (int x = run.x1; x < run.x2; ++x)
                            full.setPixel(x - x0, int(y), colour.rgb());
            made.image = full.scaled(std::max(1, int(std::lround(full.width() * scale))),
                                     std::max(1, int(std::lround(full.height() * scale))),
                                     Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            made.offset = QPoint(x0, ElementInk::kTop);
        }
        return sprites.emplace(&ink, std::move(made)).first->second;
    };

    QPainter painter(&image);
    const auto& elements = panel_.Elements();
    const int64_t cw = panel_.CellWidth, ch = panel_.CellHeight;
    // As for the shapes: ink reaches into the cells right of and below its own, marks into
    // the cells on either side.
    const int64_t c0 = FloorDiv(clip.left(), cw) - 1, c1 = FloorDiv(clip.right(), cw) + 1;
    const int64_t r0 = FloorDiv(clip.top(), ch) - 1, r1 = FloorDiv(clip.bottom(), ch);
    const ElementsByRow rows(panel_, c0, c1, r0, r1);
    for (int64_t r = r0; r <= r1; ++r)
        rows.ForEachInRow(r, [&](size_t i) {
            const TPolePanelu& e = elements[i];
            const Sprite& s = sprite(ink_->For(e));
            if (s.image.isNull())
                return;
            painter.drawImage(
                QPoint(int(std::lround((e.X * cw + s.offset.x() - clip.left()) * scale)),
                       int(std::lround((e.Y * ch + s.offset.y() - clip.top()) * scale))),
                s.image);
        });
    painter.setPen(Qt::NoPen);
    painter.scale(scale, scale);
    painter.translate(-clip.left(), -clip.top());
    DrawGrid(painter, clip);
    if (overlay) {
        painter.setClipRect(clip);
        overlay(painter, {clip.left() / int(cw), clip.right() / int(cw), clip.top() / int(ch),
                          clip.bottom() / int(ch)});
    }
}

PanelExporter::DeviceLayout PanelExporter::LayoutFor(const QPagedPaintDevice& device) const {
    return LayoutFor(device.pageLayout(), device.logicalDpiX());
}

QPageLayout PanelExporter::OptionsLayout() const {
    return QPageLayout(QPageSize(options_.page),
                       Landscape() ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

PanelExporter::DeviceLayout PanelExporter::LayoutFor(const QPageLayout& pageLayout, int dpi) const {
    const QRect page = pageLayout.fullRectPixels(dpi);
    DeviceLayout layout;
    layout.margin = kMarginPt / 72.0 * dpi;
    layout.plan =
        PlanPages(page.width() - 2 * layout.margin, page.height() - 2 * layout.margin, dpi);
    return layout;
}

void PanelExporter::PaintPage(QPainter& painter, const DeviceLayout& layout, const PageCells& c,
                              const QString& label, const QString& marginText) {
    const int cw = panel_.CellWidth, ch = panel_.CellHeight;
    const QRect clip(QPoint(c.col0 * cw, c.row0 * ch),
                     QPoint(c.col1 * cw + cw - 1, c.row1 * ch + ch - 1));
    const double margin = layout.margin;
    const QRectF page =
        QRectF(QPointF(0, 0), QSizeF(painter.device()->width(), painter.device()->height()));
    painter.save();
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font = painter.font();
    font.setPointSizeF(kLabelPt);
    painter.setFont(font);
    painter.setPen(kBlack);
    painter.drawText(QPointF(margin, margin * 0.6), label);
    painter.drawText(QPointF(margin, page.height() - margin * 0.4), marginText);

    painter.setPen(Qt::NoPen);
    painter.translate(margin, margin);
    painter.scale(layout.plan.unitsPerPixel, layout.plan.unitsPerPixel);
    if (rasterDpi > 0) {
        // The same cells at the picture's resolution, placed where the shapes would be.
        const double dpi = painter.device()->logicalDpiX();
        const double scale = layout.plan.unitsPerPixel * rasterDpi / dpi;
        QImage image(std::max(1, int(std::ceil(clip.width() * scale))),
                     std::max(1, int(std::ceil(clip.height() * scale))), QImage::Format_RGB32);
        if (panel_.CellWidth * scale < kSmallCellPx) {
            DrawSmallCells(image, clip, scale);
        } else {
            QPainter picture(&image);
            picture.setPen(Qt::NoPen);
            picture.scale(scale, scale);
            picture.translate(-clip.left(), -clip.top());
            DrawCells(picture, clip);
        }
        painter.drawImage(QRectF(0, 0, clip.width(), clip.height()), image);
    } else {
        painter.translate(-clip.left(), -clip.top());
        DrawCells(painter, clip);
    }
    painter.restore();
}

bool PanelExporter::PaintPages(QPainter& painter, QPagedPaintDevice& device,
                               const QString& marginText, const Progress& progress) {
    const DeviceLayout layout = LayoutFor(device);
    const std::vector<PageCells> pages =
        PageRanges(area_, panel_.CellWidth, panel_.CellHeight, layout.plan);
    const int count = int(pages.size());
    for (int i = 0; i < count; ++i) {
        if (progress && !progress(i, count))
            return false;
        if (i > 0)
            device.newPage();
        PaintPage(painter, layout, pages[size_t(i)], PageLabel(i + 1, count, pages[size_t(i)]),
                  marginText);
    }
    return true;
}

int PanelExporter::WritePdf(const std::string& path, const QString& stationName,
                            const Progress& progress) {
    AtomicFileDevice file(path);
    QPdfWriter writer(&file);
    // Device units of one point: page sizes, margins and the drawing's origin are whole
    // numbers then.
    writer.setResolution(72);
    writer.setCreator(QStringLiteral("vedivez-tool"));
    writer.setTitle(stationName);
    writer.setPageLayout(OptionsLayout());
    // Planned before the painter starts, so that a layout failure leaves no file.
    const DeviceLayout layout = LayoutFor(writer);
    QPainter painter;
    if (!painter.begin(&writer))
        throw std::runtime_error("cannot write " + PathForDisplay(path).toStdString());
    const bool whole =
        PaintPages(painter, writer, MarginText(stationName, QDate::currentDate()), progress);
    // A device failure is the more telling message, so the file is asked first.
    const bool ended = painter.end();
    if (!whole)
        return 0; // the file is dropped unwritten
    file.Commit();
    if (!ended)
        throw std::runtime_error("cannot write " + PathForDisplay(path).toStdString());
    return layout.plan.pagesAcross * layout.plan.pagesDown;
}

QImage PanelExporter::RenderImage(int cellPx, const Progress& progress) {
    const int cw = panel_.CellWidth, ch = panel_.CellHeight;
    const QSize size = PngSize(area_, cw, ch, cellPx);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw std::bad_alloc();
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    const double scale = double(cellPx) / cw;
    // A strip of rows at a time, so that the work can be followed and stopped; each strip
    // looks the panel's elements up once.
    constexpr int kStripRows = 64;
    const int rows = area_.height() / ch;
    const int strips = (rows + kStripRows - 1) / kStripRows;
    for (int s = 0; s < strips; ++s) {
        if (progress && !progress(s, strips))
            return {};
        const int top = s * kStripRows, n = std::min(kStripRows, rows - top);
        const QRect clip(area_.left(), area_.top() + top * ch, area_.width(), n * ch);
        painter.save();
        painter.scale(scale, scale);
        painter.translate(-area_.left(), -area_.top());
        painter.setClipRect(clip);
        DrawCells(painter, clip);
        painter.restore();
    }
    return image;
}

bool PanelExporter::WritePng(const std::string& path, int cellPx, const Progress& progress) {
    const QImage image = RenderImage(cellPx, progress);
    if (image.isNull())
        return false;
    AtomicFileDevice file(path);
    QImageWriter writer(&file, "png");
    if (!writer.write(image)) {
        file.ThrowIfFailed();
        throw std::runtime_error("cannot write " + PathForDisplay(path).toStdString());
    }
    file.Commit();
    return true;
}

void PanelExporter::WriteSvg(const std::string& path, const QString& stationName) {
    AtomicFileDevice file(path);
    try {
        SvgPartWriter svg(file, area_, area_.size(), stationName);
        svg.AddPart([&](QPainter& p) { FillBackground(p, area_); });
        ForEachBand(area_, [&](const std::vector<QRectF>& red, const std::vector<QRectF>& black) {
            svg.AddPart([&](QPainter& p) {
                p.setPen(Qt::NoPen);
                if (!red.empty()) {
                    p.setBrush(kRed);
                    p.drawRects(red.data(), int(red.size()));
                }
                p.setBrush(kBlack);
                p.drawRects(black.data(), int(black.size()));
            });
        });
        if (options_.screenColours)
            svg.AddPart([&](QPainter& p) { DrawGrid(p, area_); });
        svg.Finish();
    } catch (const std::runtime_error&) {
        // The writer only sees that a write came short; the device knows why.
        file.ThrowIfFailed();
        throw;
    }
    file.Commit();
}

} // namespace vedivez

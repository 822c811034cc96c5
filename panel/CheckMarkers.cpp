#include "panel/CheckMarkers.h"

#include "panel/Point.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"
#include "surface/Surface.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace vedivez {

namespace {

constexpr double kMarkAt100 = 9;  // length of a triangle, and the frame's reach, at 100 %
constexpr double kFrameAt100 = 2; // width of a frame at 100 %
constexpr double kSmallest = 3;   // no mark gets smaller than this
// Where tiles are drawn (cells of 12 pixels and more) a triangle keeps this length, so it
// stays readable however far the view is zoomed out; in smaller cells it shrinks with the
// cell, from the same size at 12 pixels.
constexpr double kReadable = 7;
constexpr double kSmallestTileCell = 12;

} // namespace

double CheckMarkLength(double cellPixels) {
    const double scaled = kMarkAt100 * cellPixels / ZoomLevel::kCellPixels;
    const double readable = std::min(kReadable, kReadable * cellPixels / kSmallestTileCell);
    return std::max({scaled, readable, kSmallest});
}

CheckMarkShapes CheckMarkersAt(const std::vector<const LintFinding*>& findings, ZoomLevel level) {
    const double cell = double(level.pixels) / level.cells; // screen pixels a cell
    const double scale = cell / ZoomLevel::kCellPixels;
    const double length = CheckMarkLength(cell);
    CheckMarkShapes shapes;
    std::vector<QPolygonF>&open = shapes.open, &leaving = shapes.leaving, &frames = shapes.frames;
    for (const LintFinding* f : findings) {
        // The cell's corner on the screen; a cell smaller than a pixel shares its pixel.
        const double x0 = double(level.CellToScreen(f->col));
        const double y0 = double(level.CellToScreen(f->row));
        const double size = std::max(cell, 1.0);
        if (f->kind == LintKind::Duplicate || f->kind == LintKind::UnknownName) {
            const double w = std::max(1.0, std::round(kFrameAt100 * scale));
            if (size < kSmallest) {
                // Too small for a frame: a square that covers the cell's pixel and more.
                const double cx = x0 + size / 2, cy = y0 + size / 2;
                frames.push_back(QPolygonF(
                    QRectF(cx - kSmallest / 2, cy - kSmallest / 2, kSmallest, kSmallest)));
                continue;
            }
            frames.push_back(QPolygonF(QRectF(x0, y0, size, w)));
            frames.push_back(QPolygonF(QRectF(x0, y0 + size - w, size, w)));
            frames.push_back(QPolygonF(QRectF(x0, y0, w, size)));
            frames.push_back(QPolygonF(QRectF(x0 + size - w, y0, w, size)));
            continue;
        }
        if ((f->kind != LintKind::OpenEnd && f->kind != LintKind::LeavesPanel) || f->point < 0 ||
            size_t(f->point) >= kPointCount)
            continue;
        // The triangle's tip at the point, its base `length` into the cell towards the
        // centre; the point lies half a cell from the centre each way it leans.
        const PointFacts& point = kPointFacts[size_t(f->point)];
        double dx = point.dx * 0.5, dy = point.dy * 0.5;
        const double px = x0 + (0.5 + dx) * size, py = y0 + (0.5 + dy) * size;
        const double norm = std::hypot(dx, dy);
        dx /= norm;
        dy /= norm;
        const double bx = px - dx * length, by = py - dy * length;
        const double half = length / 2;
        QPolygonF triangle;
        triangle << QPointF(px, py) << QPointF(bx - dy * half, by + dx * half)
                 << QPointF(bx + dy * half, by - dx * half);
        (f->kind == LintKind::OpenEnd ? open : leaving).push_back(triangle);
    }
    return shapes;
}

void DrawCheckMarkers(Surface& surface, const std::vector<const LintFinding*>& findings,
                      ZoomLevel level) {
    const CheckMarkShapes shapes = CheckMarkersAt(findings, level);
    surface.FillPolygons(shapes.frames, kCellFrameColour);
    surface.FillPolygons(shapes.leaving, kLeavesPanelColour);
    surface.FillPolygons(shapes.open, kOpenEndColour);
}

void PaintCheckMarkers(QPainter& painter, const std::vector<const LintFinding*>& findings,
                       ZoomLevel level) {
    const CheckMarkShapes shapes = CheckMarkersAt(findings, level);
    painter.save();
    painter.setPen(Qt::NoPen);
    const auto fill = [&painter](const std::vector<QPolygonF>& polygons, uint32_t colour) {
        painter.setBrush(QColor::fromRgb(ToQRgb(colour)));
        for (const QPolygonF& p : polygons)
            painter.drawPolygon(p);
    };
    fill(shapes.frames, kCellFrameColour);
    fill(shapes.leaving, kLeavesPanelColour);
    fill(shapes.open, kOpenEndColour);
    painter.restore();
}

} // namespace vedivez

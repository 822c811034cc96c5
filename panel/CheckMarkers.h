#pragma once

#include "panel/StationLint.h"
#include "panel/ZoomLevel.h"

#include <QPolygonF>
#include <vector>

class QPainter;

namespace vedivez {

class Surface;

// The shapes of the marks, by colour, in screen pixels at the level: the frames of crowded
// or unknown cells, the triangles where track leaves the panel and those of open track ends.
struct CheckMarkShapes {
    std::vector<QPolygonF> frames, leaving, open;
};
CheckMarkShapes CheckMarkersAt(const std::vector<const LintFinding*>& findings, ZoomLevel level);

// The connection check's marks on the panel, drawn over the tiles: a small red triangle at
// an open track end pointing out of the cell at that point, the same in orange where track
// leaves the panel, and a red frame around a cell with more than one element or an unknown
// tile name. About 9 pixels at 100 %, scaled with the view, but at least about 7 pixels
// wherever tiles are drawn and never below 3 pixels, so they stay visible with the whole
// panel in view. Positions are the surface's (screen) pixels at the level.
void DrawCheckMarkers(Surface& surface, const std::vector<const LintFinding*>& findings,
                      ZoomLevel level);

// The marks drawn by a painter, in its coordinates at the level (paper and exports).
void PaintCheckMarkers(QPainter& painter, const std::vector<const LintFinding*>& findings,
                       ZoomLevel level);

// The length of a triangle in a cell of this many screen pixels (any level, enlarged ones
// too): 9 at 100 %, at least 7 down to cells of 12 pixels, then smaller with the cell.
double CheckMarkLength(double cellPixels);

} // namespace vedivez

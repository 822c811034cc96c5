#pragma once

#include "panel/FrameRenderer.h"
#include "export/PanelExport.h"

#include <QRect>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vedivez {

// A malformed command line; reported with the usage text and exit code 2.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A rectangle of the surface as `--view X,Y,W,H` gives it. The values are 32-bit, their
// sums need not be, so the rectangle is kept in 64 bits.
struct ViewRect {
    int64_t x = 0, y = 0, width = 0, height = 0;
};

// What `vedivez-tool render` draws, from its options.
struct RenderRequest {
    FrameInputs inputs;                   // the layers and the checked corner boxes
    std::optional<std::string> preview;   // the previewed tile's name (Windows-1250)
    int32_t cursorCol = 0, cursorRow = 0; // the cursor's cell
    bool cursorInside = false;            // only with --cursor-cell
    std::optional<ViewRect> view;
};

// The largest column or row a cursor can stand on: the last of the largest panel.
constexpr int32_t kMaxCursorCell = 3999;

// Parses the options of `render` (everything after FILE and OUT.png). Throws UsageError.
RenderRequest ParseRenderOptions(const std::vector<std::string>& options);

// The part of a surface of the given size that `render` draws: the view's overlap with it,
// or the whole surface. Throws UsageError when the view misses the surface.
QRect RenderArea(const std::optional<ViewRect>& view, int64_t surfaceWidth, int64_t surfaceHeight);

// Parses the options of `export` (everything after FILE and OUT). Throws UsageError.
ExportOptions ParseExportOptions(const std::vector<std::string>& options, bool svg);

// The smallest printed cell `--cell-mm` accepts; smaller cells would print as nothing.
constexpr double kMinCellMm = 0.01;
constexpr double kMaxCellMm = 1000;

} // namespace vedivez

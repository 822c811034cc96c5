#pragma once

#include "panel/TPolePanelu.h"
#include "panel/TileLookup.h"

#include <QRect>
#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vedivez {

class ImageList;

// Pixels x1 … x2 - 1 of one pixel row.
struct InkRun {
    int x1;
    int x2;
    friend bool operator==(const InkRun&, const InkRun&) = default;
};

// Runs of consecutive pixel rows: rows[i] holds the runs of row top + i, left to right.
using InkRows = std::vector<std::vector<InkRun>>;

// What one element puts on the panel, as runs per pixel row relative to its cell's top-left
// pixel (rows 1 … 47 of the cell, where its tile lies): the black pixels of its tile and
// corner marks (the mirrored marks reach into the cells to the left and right), and the red
// placeholder drawn where a name has no picture.
struct ElementInk {
    static constexpr int kTop = 1;
    InkRows black;
    InkRows red;
};

// The exact ink of every element, computed once for each distinct tile and set of corner
// flags, so a million elements cost a million lookups; and the merging of runs into few
// rectangles: runs repeated in consecutive rows become one taller rectangle.
class InkShapes {
public:
    explicit InkShapes(const ImageList& images);

    const ElementInk& For(const TPolePanelu& element);

    // Called once for each name without a picture, with "Image '<name>' not found".
    std::function<void(const std::string& message)> onMissingImage;

    // The runs of the cells of a row-major mask equal to `value`, offset by dx.
    static InkRows MaskRuns(const std::vector<uint8_t>& mask, int width, int height, uint8_t value,
                            int dx);

    // Rectangles covering rows of runs that start at pixel row `top`; each row's runs must
    // be sorted and apart.
    static std::vector<QRect> MergeRows(const InkRows& rows, int top);

    // Both steps: rectangles covering the cells of a mask equal to `value`, offset by (dx, dy).
    static std::vector<QRect> MergeRuns(const std::vector<uint8_t>& mask, int width, int height,
                                        uint8_t value, int dx, int dy) {
        return MergeRows(MaskRuns(mask, width, height, value, dx), dy);
    }

private:
    // The ink of a tile (index -1: the placeholder) with the marks of a set of corners.
    ElementInk Build(int tileIndex, uint32_t corners) const;

    const ImageList& images_;
    std::array<int, kPointCount> marks_; // the corner marks' list items
    std::unordered_map<uint32_t, ElementInk> cache_;
    TileLookup lookup_;
};

} // namespace vedivez

#pragma once

#include "panel/TPolePanelu.h"
#include "panel/TileLookup.h"

#include <QRect>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vedivez {

class ImageList;

// What one element puts on the panel, as rectangles relative to its cell's top-left pixel:
// the black pixels of its tile and corner marks (the mirrored marks reach into the cells to
// the left and right), and the red placeholder drawn where a name has no picture.
struct ElementInk {
    std::vector<QRect> black;
    std::vector<QRect> red;
};

// The exact ink of every element as few rectangles: each row's pixels are merged into runs,
// and runs repeated in consecutive rows into one taller rectangle. Computed once for each
// distinct tile and set of corner flags, so a million elements cost a million lookups.
class InkShapes {
public:
    explicit InkShapes(const ImageList& images);

    const ElementInk& For(const TPolePanelu& element);

    // Called once for each name without a picture, with "Image '<name>' not found".
    std::function<void(const std::string& message)> onMissingImage;

    // Rectangles covering the cells of a row-major mask equal to `value`, offset by (dx, dy).
    static std::vector<QRect> MergeRuns(const std::vector<uint8_t>& mask, int width, int height,
                                        uint8_t value, int dx, int dy);

private:
    ElementInk Build(int tileIndex, unsigned cornerFlags) const;

    const ImageList& images_;
    int markLH_, markLD_, markPH_, markPD_;
    std::unordered_map<unsigned, ElementInk> cache_;
    TileLookup lookup_;
};

} // namespace vedivez

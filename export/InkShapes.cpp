#include "export/InkShapes.h"

#include "panel/CornerMarks.h"
#include "panel/TileCatalogue.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"

#include <algorithm>

namespace vedivez {

namespace {

// The mask of one element spans x = -6 … 54 and y = 1 … 47 of its cell: the tile is drawn
// one pixel right of and below the cell's corner, the mirrored marks 7 pixels beyond.
constexpr int kLeft = 6;
constexpr int kTop = 1;
constexpr int kWidth = kTileSize + 2 * kLeft + 2;
constexpr int kHeight = kTileSize;

} // namespace

InkShapes::InkShapes(const ImageList& images)
    : images_(images), marks_(CornerMarkIndices(images)), lookup_(images) {
    lookup_.onMissingImage = [this](const std::string& message) {
        if (onMissingImage)
            onMissingImage(message);
    };
}

const ElementInk& InkShapes::For(const TPolePanelu& e) {
    const uint32_t corners = e.Flags() & kCornerPoints;
    const int index = lookup_.IndexFor(e.NAME);
    const uint32_t key = (uint32_t(index + 1) << kPointCount) | corners;
    auto it = cache_.find(key);
    if (it == cache_.end())
        it = cache_.emplace(key, Build(index, corners)).first;
    return it->second;
}

ElementInk InkShapes::Build(int tileIndex, uint32_t corners) const {
    // 1 = black, 2 = red; red stays where black does not cover it, as the renderer's marks
    // and tiles cover placeholders.
    std::vector<uint8_t> mask(size_t(kWidth) * kHeight, 0);
    auto put = [&](const KeyedImage& picture, int x, int y, uint8_t value) {
        for (int py = 0; py < picture.Height(); ++py)
            for (const KeyedImage::Span& s : picture.RowSpans(py))
                for (int px = s.x; px < s.x + s.length; ++px) {
                    const int mx = x + px + kLeft, my = y + py - kTop;
                    if (mx >= 0 && mx < kWidth && my >= 0 && my < kHeight)
                        mask[size_t(my) * kWidth + size_t(mx)] = value;
                }
    };
    if (tileIndex >= 0)
        put(images_.Image(tileIndex), 1, 1, 1);
    else
        put(MissingTilePicture(), 1, 1, 2);
    for (const MarkPlacement& m : CornerMarkPlacements(corners, kTileSize, kTileSize))
        put(images_.Image(marks_[size_t(m.mark)]), m.dx, m.dy, 1);
    return {MaskRuns(mask, kWidth, kHeight, 1, -kLeft), MaskRuns(mask, kWidth, kHeight, 2, -kLeft)};
}

InkRows InkShapes::MaskRuns(const std::vector<uint8_t>& mask, int width, int height, uint8_t value,
                            int dx) {
    InkRows rows = InkRows(size_t(height));
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = mask.data() + size_t(y) * size_t(width);
        for (int x = 0; x < width;) {
            if (row[x] != value) {
                ++x;
                continue;
            }
            const int x1 = x;
            while (x < width && row[x] == value)
                ++x;
            rows[size_t(y)].push_back({x1 + dx, x + dx});
        }
    }
    return rows;
}

std::vector<QRect> InkShapes::MergeRows(const InkRows& rows, int top) {
    struct Open {
        InkRun run;
        int top;
    };
    std::vector<QRect> out;
    std::vector<Open> open, next;
    auto close = [&](const Open& o, int bottom) {
        out.emplace_back(o.run.x1, o.top, o.run.x2 - o.run.x1, bottom - o.top);
    };
    const int height = int(rows.size());
    for (int y = 0; y <= height; ++y) {
        next.clear();
        size_t k = 0; // open rectangles are ordered by x1, like the runs of a row
        if (y < height)
            for (const InkRun& run : rows[size_t(y)]) {
                while (k < open.size() && open[k].run.x1 < run.x1)
                    close(open[k++], top + y);
                if (k < open.size() && open[k].run == run)
                    next.push_back(open[k++]);
                else
                    next.push_back({run, top + y});
            }
        while (k < open.size())
            close(open[k++], top + y);
        std::swap(open, next);
    }
    return out;
}

} // namespace vedivez

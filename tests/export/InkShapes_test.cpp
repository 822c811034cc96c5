#include "panel/TileCatalogue.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"
#include "export/InkShapes.h"

#include <gtest/gtest.h>

using vedivez::ImageList;
using vedivez::InkShapes;
using vedivez::MakeTileImageList;
using vedivez::TileCatalogue;
using vedivez::TPolePanelu;

namespace {

std::vector<uint8_t> Mask(const std::vector<std::string>& rows) {
    std::vector<uint8_t> out;
    for (const std::string& row : rows)
        for (char c : row)
            out.push_back(c == '#' ? 1 : c == 'r' ? 2 : 0);
    return out;
}

std::string Text(const std::vector<QRect>& rects) {
    std::string out;
    for (const QRect& r : rects)
        out += std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
               std::to_string(r.width()) + "x" + std::to_string(r.height()) + ";";
    return out;
}

} // namespace

TEST(InkShapesTest, MergesRunsAndThenRepeatedRows) {
    const struct {
        std::vector<std::string> rows;
        uint8_t value;
        std::string rects;
    } cases[] = {
        {{"....", "...."}, 1, ""},
        {{"####", "####", "####"}, 1, "0,0 4x3;"},
        {{"##..", "####", "####"}, 1, "0,0 2x1;0,1 4x2;"},
        {{"#.#.", "#.#.", "...#"}, 1, "0,0 1x2;2,0 1x2;3,2 1x1;"},
        {{"##r.", "##r.", "rr.."}, 2, "2,0 1x2;0,2 2x1;"},
        {{"#..#", "####"}, 1, "0,0 1x1;3,0 1x1;0,1 4x1;"},
        {{"##", "..", "##"}, 1, "0,0 2x1;0,2 2x1;"},
    };
    for (const auto& c : cases) {
        const int w = int(c.rows[0].size()), h = int(c.rows.size());
        EXPECT_EQ(Text(InkShapes::MergeRuns(Mask(c.rows), w, h, c.value, 0, 0)), c.rects)
            << c.rows[0];
    }
    EXPECT_EQ(Text(InkShapes::MergeRuns(Mask({"##"}), 2, 1, 1, -6, 1)), "-6,1 2x1;");
}

TEST(InkShapesTest, EveryPictureIsCoveredExactlyOnce) {
    for (const auto& item : TileCatalogue()) {
        const auto rects = InkShapes::MergeRuns(item.black, item.width, item.height, 1, 0, 0);
        std::vector<int> hits(item.black.size(), 0);
        for (const QRect& r : rects)
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++hits[size_t(y * item.width + x)];
        for (size_t i = 0; i < hits.size(); ++i)
            ASSERT_EQ(hits[i], item.black[i]) << item.name << " pixel " << i;
        // Horizontal track is one band of nine full rows; a diagonal needs a run per row.
        if (item.name == "KOL_sLSPS") {
            EXPECT_EQ(rects.size(), 1u);
        }
        if (item.name == "KOL_sLDPH") {
            EXPECT_EQ(rects.size(), 47u);
        }
    }
}

TEST(InkShapesTest, ElementInkHoldsTileMarksAndPlaceholder) {
    const ImageList images = MakeTileImageList();
    InkShapes ink(images);
    std::vector<std::string> missing;
    ink.onMissingImage = [&](const std::string& m) { missing.push_back(m); };
    auto rects = [](const vedivez::InkRows& rows) {
        return InkShapes::MergeRows(rows, vedivez::ElementInk::kTop);
    };
    auto area = [](const vedivez::InkRows& rows) {
        int n = 0;
        for (const auto& row : rows)
            for (const vedivez::InkRun& r : row)
                n += r.x2 - r.x1;
        return n;
    };
    TPolePanelu e;
    e.NAME = "kol_slsps";                                   // found as the image list finds it
    EXPECT_EQ(Text(rects(ink.For(e).black)), "1,20 47x9;"); // drawn one pixel right of and below
    e.Cont_PH = true;
    // The tile's 423 pixels, the own mark's 21 in the tile's empty corner, and the mirrored
    // mark's 21 in the next cell, beyond the tile's last column.
    EXPECT_EQ(area(ink.For(e).black), 423 + 21 + 21);
    e.NAME = "NOPE";
    EXPECT_GT(area(ink.For(e).red), 100);
    EXPECT_EQ(area(ink.For(e).black), 42);
    ink.For(e);
    EXPECT_EQ(missing, std::vector<std::string>{"Image 'NOPE' not found"});
}

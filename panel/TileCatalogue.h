#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vedivez {

// Pixel size of an element tile (equal to the panel cell) and of a corner mark.
inline constexpr int kTileSize = 47;
inline constexpr int kCornerMarkSize = 7;

// One black-and-white picture of the image list together with the name it is found by.
struct TileBitmap {
    std::string name;
    int width = 0;
    int height = 0;
    // Row-major, width * height entries, 1 = black track, 0 = white (the transparent key).
    std::vector<uint8_t> black;

    // False for coordinates outside the picture.
    bool IsBlack(int x, int y) const;
    int BlackCount() const;
};

// The 59 items of the image list, in list order (tiles, corner marks), generated once and cached.
const std::vector<TileBitmap>& TileCatalogue();

// The 54 distinct tile names shown in the palette (every tile, no corner marks), in list order,
// duplicates dropped (first occurrence kept).
const std::vector<std::string>& PaletteTileNames();

// Draws the picture for one name following the name grammar; returns false for a name that the
// grammar cannot draw (out is left untouched then).
bool DrawTileByName(std::string_view name, TileBitmap& out);

} // namespace vedivez

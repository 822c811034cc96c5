#pragma once

#include "panel/Point.h"
#include "surface/ImageList.h"

#include <QImage>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace vedivez {

// The image list of the panel: the 59 catalogue pictures, in catalogue order, with white as
// the transparent key.
ImageList MakeTileImageList();

// The list items of the corner marks by point; -1 for the edge midpoints, which have none.
std::array<int, kPointCount> CornerMarkIndices(const ImageList& images);

// The palette's pictures: one per distinct tile name (no corner marks), in catalogue order,
// each the picture of the list item of that name.
std::vector<std::pair<std::string, QImage>> PalettePictures();

// What the renderer draws where a tile's name has no picture: a red cross in a red frame
// on the transparent key, the size of a tile.
const KeyedImage& MissingTilePicture();

} // namespace vedivez

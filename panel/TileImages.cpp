#include "panel/TileImages.h"

#include "panel/TileCatalogue.h"
#include "surface/Color.h"
#include "surface/DrawingColours.h"

namespace vedivez {

ImageList MakeTileImageList() {
    ImageList list;
    for (const TileBitmap& tile : TileCatalogue())
        list.Add(tile.name, KeyedImage::FromMask(tile.width, tile.height, tile.black));
    return list;
}

std::array<int, kPointCount> CornerMarkIndices(const ImageList& images) {
    std::array<int, kPointCount> indices{};
    for (Point p : kAllPoints)
        indices[size_t(p)] = IsCorner(p) ? images.FindImage(FactsOf(p).mark) : -1;
    return indices;
}

std::vector<std::pair<std::string, QImage>> PalettePictures() {
    const ImageList list = MakeTileImageList();
    std::vector<std::pair<std::string, QImage>> out;
    for (const std::string& name : PaletteTileNames())
        out.emplace_back(name, list.Image(list.FindImage(name)).ToQImage());
    return out;
}

const KeyedImage& MissingTilePicture() {
    static const KeyedImage picture = [] {
        QImage image(kTileSize, kTileSize, QImage::Format_RGB32);
        image.fill(Qt::white);
        const QRgb red = ToQRgb(kMissingTileColour);
        // Frame and cross stay one pixel inside the tile so they never reach a neighbouring
        // cell's tile, whatever order the cells are drawn in.
        for (int i = 1; i <= kTileSize - 2; ++i) {
            image.setPixel(i, 1, red);
            image.setPixel(i, kTileSize - 2, red);
            image.setPixel(1, i, red);
            image.setPixel(kTileSize - 2, i, red);
            image.setPixel(i, i, red);
            image.setPixel(kTileSize - 1 - i, i, red);
        }
        return KeyedImage::FromQImage(image);
    }();
    return picture;
}

} // namespace vedivez

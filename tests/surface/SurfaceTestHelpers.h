#pragma once

#include "surface/KeyedImage.h"
#include "surface/Surface.h"

#include <QImage>
#include <string>
#include <vector>

namespace vedivez::test {

// A picture drawn as text: '.' white (transparent), '#' black, 'r' red, 'g' green, 'b' blue,
// 'y' yellow. All rows must have the same length.
inline KeyedImage ArtImage(const std::vector<std::string>& rows) {
    const int h = static_cast<int>(rows.size());
    const int w = h == 0 ? 0 : static_cast<int>(rows[0].size());
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            QRgb c = qRgb(255, 255, 255);
            switch (rows[y][x]) {
            case '#':
                c = qRgb(0, 0, 0);
                break;
            case 'r':
                c = qRgb(255, 0, 0);
                break;
            case 'g':
                c = qRgb(0, 255, 0);
                break;
            case 'b':
                c = qRgb(0, 0, 255);
                break;
            case 'y':
                c = qRgb(255, 255, 0);
                break;
            default:
                break;
            }
            image.setPixel(x, y, c);
        }
    }
    return KeyedImage::FromQImage(image);
}

// A picture whose every pixel has its own colour, 0x01YYXX (never white).
inline KeyedImage CoordinateImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x, y, 1));
    return KeyedImage::FromQImage(image);
}

// 0x00BBGGRR colour that CoordinateImage gives pixel (x, y).
constexpr uint32_t CoordinateColor(int x, int y) {
    return 0x010000u | (static_cast<uint32_t>(y) << 8) | static_cast<uint32_t>(x);
}

} // namespace vedivez::test

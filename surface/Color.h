#pragma once

#include <QRgb>
#include <cstdint>

namespace vedivez {

// Colours of the panel model are 0x00BBGGRR values (red in the low byte, as the station
// file and the renderer write them); Qt's raster images hold 0xAARRGGBB. These helpers are
// the only place where the two byte orders meet.

// Pure white, the transparent key of every tile picture.
inline constexpr uint32_t kKeyColor = 0xFFFFFF;

// Opaque QRgb of a 0x00BBGGRR colour; the unused top byte of the colour is ignored.
constexpr QRgb ToQRgb(uint32_t bgr) {
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}

// 0x00BBGGRR colour of a QRgb; the alpha byte is dropped.
constexpr uint32_t FromQRgb(QRgb rgb) {
    return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
}

} // namespace vedivez

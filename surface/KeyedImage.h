#pragma once

#include <QImage>
#include <QRgb>
#include <cstdint>
#include <span>
#include <vector>

namespace vedivez {

// A picture whose pure white pixels are transparent, stored with its opaque runs per row so
// that drawing it is a handful of row-segment copies instead of a per-pixel key test.
class KeyedImage {
public:
    // One run of consecutive non-white pixels of a row: columns x … x + length − 1.
    struct Span {
        int x = 0;
        int length = 0;
    };

    // An empty 0 × 0 picture.
    KeyedImage() = default;

    // Copies a Qt image. Fully transparent pixels of an image with an alpha channel count as
    // the white key, so pictures drawn with transparency instead of white also work.
    static KeyedImage FromQImage(const QImage& image);

    // A black-and-white picture from a row-major mask, 1 = black and 0 = white (transparent).
    // Throws std::invalid_argument when the mask does not hold w × h entries.
    static KeyedImage FromMask(int width, int height, const std::vector<uint8_t>& black);

    int Width() const { return width_; }
    int Height() const { return height_; }

    // Colour of a pixel as 0x00BBGGRR; white for transparent ones.
    uint32_t Pixel(int x, int y) const;

    // True for a pixel that drawing skips.
    bool IsKey(int x, int y) const;

    // The picture as an opaque Format_RGB32 image, the key pixels white.
    QImage ToQImage() const;

    // Pixels of row y in the back buffer's format (opaque QRgb), ready to be copied.
    const QRgb* Row(int y) const { return pixels_.data() + static_cast<size_t>(y) * width_; }

    // The opaque runs of row y, left to right.
    std::span<const Span> RowSpans(int y) const {
        return {spans_.data() + rowFirstSpan_[y], spans_.data() + rowFirstSpan_[y + 1]};
    }

    // All runs, row after row, and where each row's runs start (one entry per row plus one
    // closing the last), for blitters that walk many pictures row by row.
    const Span* AllSpans() const { return spans_.data(); }
    const size_t* RowStarts() const { return rowFirstSpan_.data(); }

    // Whether every drawn pixel has the same colour (true for every tile and mark): such a
    // picture is drawn by filling its runs with that colour, without reading the source.
    bool SingleColor() const { return singleColor_; }
    // That colour, when SingleColor() holds.
    QRgb RunColor() const { return runColor_; }

private:
    KeyedImage(int width, int height, std::vector<QRgb> pixels);
    void BuildSpans();
    void FindRunColor();

    int width_ = 0;
    int height_ = 0;
    std::vector<QRgb> pixels_;
    std::vector<Span> spans_;
    // Index into spans_ of each row's first run, with one extra entry closing the last row.
    std::vector<size_t> rowFirstSpan_{0};
    bool singleColor_ = false;
    QRgb runColor_ = 0;
};

} // namespace vedivez

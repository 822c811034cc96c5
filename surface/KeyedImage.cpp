#include "KeyedImage.h"

#include "Color.h"

#include <algorithm>
#include <stdexcept>

namespace vedivez {

namespace {

constexpr QRgb kKeyRgb = ToQRgb(kKeyColor);

} // namespace

KeyedImage::KeyedImage(int width, int height, std::vector<QRgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
    BuildSpans();
    FindRunColor();
}

void KeyedImage::FindRunColor() {
    singleColor_ = false;
    bool known = false;
    for (const QRgb p : pixels_) {
        if (p == kKeyRgb)
            continue;
        if (known && p != runColor_)
            return;
        runColor_ = p;
        known = true;
    }
    singleColor_ = known;
}

KeyedImage KeyedImage::FromQImage(const QImage& image) {
    if (image.isNull())
        return {};
    // Non-premultiplied ARGB keeps the colour of every pixel intact while still telling us
    // which ones are transparent.
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const int w = argb.width();
    const int h = argb.height();
    std::vector<QRgb> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb p = line[x];
            pixels[static_cast<size_t>(y) * w + x] = qAlpha(p) == 0 ? kKeyRgb : (p | 0xFF000000u);
        }
    }
    return KeyedImage(w, h, std::move(pixels));
}

KeyedImage KeyedImage::FromMask(int width, int height, const std::vector<uint8_t>& black) {
    if (width < 0 || height < 0 || black.size() != static_cast<size_t>(width) * height)
        throw std::invalid_argument("mask does not match the picture size");
    std::vector<QRgb> pixels(black.size());
    for (size_t i = 0; i < black.size(); ++i)
        pixels[i] = black[i] ? ToQRgb(0x000000) : kKeyRgb;
    return KeyedImage(width, height, std::move(pixels));
}

uint32_t KeyedImage::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        throw std::out_of_range("pixel outside the picture");
    return FromQRgb(Row(y)[x]);
}

bool KeyedImage::IsKey(int x, int y) const {
    return Pixel(x, y) == kKeyColor;
}

QImage KeyedImage::ToQImage() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    for (int y = 0; y < height_; ++y)
        std::copy_n(Row(y), width_, reinterpret_cast<QRgb*>(image.scanLine(y)));
    return image;
}

void KeyedImage::BuildSpans() {
    rowFirstSpan_.assign(1, 0);
    rowFirstSpan_.reserve(static_cast<size_t>(height_) + 1);
    for (int y = 0; y < height_; ++y) {
        const QRgb* row = Row(y);
        int x = 0;
        while (x < width_) {
            while (x < width_ && row[x] == kKeyRgb)
                ++x;
            const int start = x;
            while (x < width_ && row[x] != kKeyRgb)
                ++x;
            if (x > start)
                spans_.push_back({start, x - start});
        }
        rowFirstSpan_.push_back(spans_.size());
    }
}

} // namespace vedivez

#include "Surface.h"

#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "Color.h"
#include "KeyedImage.h"
#include "SurfaceError.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace vedivez {

namespace {

constexpr QRgb kKeyRgb = ToQRgb(kKeyColor);

// The viewport actually used: the requested rectangle cut to the logical surface.
QRect EffectiveViewport(const QRect& requested, int width, int height) {
    return requested.normalized().intersected(QRect(0, 0, width, height));
}

// One channel of src over dst at opacity a/255, rounded to nearest.
inline uint32_t BlendChannel(uint32_t src, uint32_t dst, uint32_t a) {
    return (src * a + dst * (255 - a) + 127) / 255;
}

} // namespace

Surface::Surface()
    : viewport_(EffectiveViewport(requestedViewport_, width_, height_)), canvas_(*this) {}

Surface::~Surface() {
    canvas_.EndText();
}

void Surface::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_)
        return;
    width_ = width;
    height_ = height;
    viewport_ = EffectiveViewport(requestedViewport_, width_, height_);
    if (initialised_)
        CreateBuffer();
}

void Surface::SetViewport(const QRect& logicalRect) {
    requestedViewport_ = logicalRect;
    const QRect previous = viewport_;
    viewport_ = EffectiveViewport(requestedViewport_, width_, height_);
    // A moved viewport of the same size reuses the buffer: the next frame redraws it all.
    if (initialised_ && viewport_.size() != previous.size())
        CreateBuffer();
}

void Surface::Initialise() {
    if (initialised_)
        return;
    initialised_ = true;
    CreateBuffer();
}

void Surface::SaveBuffer(QImage& out) const {
    if (out.size() != buffer_.size() || out.format() != buffer_.format())
        out = QImage(buffer_.size(), buffer_.format());
    if (!buffer_.isNull())
        std::memcpy(out.bits(), buffer_.constBits(), size_t(buffer_.sizeInBytes()));
}

void Surface::RestoreBuffer(const QImage& saved) {
    if (!CanDraw() || saved.size() != buffer_.size() || saved.format() != buffer_.format())
        return;
    canvas_.EndText();
    std::memcpy(buffer_.bits(), saved.constBits(), size_t(buffer_.sizeInBytes()));
}

void Surface::Release() {
    canvas_.EndText();
    buffer_ = QImage();
    ++bufferSerial_;
    initialised_ = false;
}

void Surface::CreateBuffer() {
    canvas_.EndText();
    buffer_ = QImage();
    ++bufferSerial_;
    if (viewport_.isEmpty())
        return;
    const qint64 pixels = qint64{viewport_.width()} * viewport_.height();
    if (pixels <= kMaxBufferPixels)
        buffer_ = QImage(viewport_.size(), QImage::Format_RGB32);
    if (buffer_.isNull()) {
        // Without a buffer nothing may draw until the owner initialises again.
        initialised_ = false;
        throw SurfaceError("Surface cannot be made");
    }
    buffer_.fill(ToQRgb(0x000000));
}

void Surface::FillSurface(uint32_t pixel) {
    if (!CanDraw())
        return;
    canvas_.EndText();
    buffer_.fill(ToQRgb(pixel));
}

void Surface::FillLogical(qint64 x0, qint64 y0, qint64 x1, qint64 y1, QRgb color) {
    x0 = std::max<qint64>(x0, viewport_.left());
    y0 = std::max<qint64>(y0, viewport_.top());
    x1 = std::min<qint64>(x1, qint64{viewport_.left()} + viewport_.width());
    y1 = std::min<qint64>(y1, qint64{viewport_.top()} + viewport_.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    uchar* bits = buffer_.bits();
    const qsizetype stride = buffer_.bytesPerLine();
    for (qint64 y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(bits + (y - viewport_.top()) * stride);
        std::fill(row + (x0 - viewport_.left()), row + (x1 - viewport_.left()), color);
    }
}

namespace {

// Fills n >= 1 pixels with one colour. Runs of four or more are covered by 16-byte stores,
// the last one overlapping its neighbour, so a run costs a few stores and no reads.
inline void FillRun(QRgb* dst, qint64 n, QRgb color) {
#if defined(__SSE2__)
    if (n >= 4) {
        const __m128i fill = _mm_set1_epi32(int(color));
        qint64 i = 0;
        for (; i + 4 <= n; i += 4)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), fill);
        if (i < n)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + n - 4), fill);
        return;
    }
#endif
    for (qint64 i = 0; i < n; ++i)
        dst[i] = color;
}

} // namespace

std::pair<qint64, qint64> Surface::Prepare(const Placement* placements, size_t count) {
    prepared_.clear();
    const qint64 left = viewport_.left();
    const qint64 top = viewport_.top();
    const qint64 bottom = top + viewport_.height();
    qint64 first = bottom, last = top;
    for (const Placement *p = placements, *end = placements + count; p != end; ++p) {
        const KeyedImage& image = *p->image;
        const qint64 c0 = std::max<qint64>(0, left - p->x);
        const qint64 c1 = std::min<qint64>(image.Width(), left + viewport_.width() - p->x);
        const qint64 rowFrom = std::max<qint64>(top, p->y);
        const qint64 rowTo = std::min<qint64>(bottom, qint64{p->y} + image.Height());
        if (c0 >= c1 || rowFrom >= rowTo)
            continue;
        first = std::min(first, rowFrom);
        last = std::max(last, rowTo);
        prepared_.push_back(Prepared{&image, image.AllSpans(), image.RowStarts(),
                                     image.SingleColor(), c0 == 0 && c1 == image.Width(),
                                     image.RunColor(), p->y, image.Height(), p->x - left, c0, c1});
    }
    return {first, last};
}

void Surface::DrawPreparedRow(qint64 row) {
    QRgb* line =
        reinterpret_cast<QRgb*>(buffer_.bits() + (row - viewport_.top()) * buffer_.bytesPerLine());
    for (const Prepared& p : prepared_) {
        const qint64 r = row - p.y;
        if (r < 0 || r >= p.height)
            continue;
        QRgb* dst = line + p.dx;
        const KeyedImage::Span* span = p.spans + p.rowStarts[r];
        const KeyedImage::Span* end = p.spans + p.rowStarts[r + 1];
        if (p.single && p.unclipped) {
            for (; span != end; ++span)
                FillRun(dst + span->x, span->length, p.color);
            continue;
        }
        const QRgb* src = p.image->Row(static_cast<int>(r));
        for (; span != end; ++span) {
            if (span->x >= p.c1)
                break;
            const qint64 s = std::max<qint64>(span->x, p.c0);
            const qint64 e = std::min<qint64>(span->x + span->length, p.c1);
            if (s >= e)
                continue;
            if (p.single)
                FillRun(dst + s, e - s, p.color);
            else
                std::memcpy(dst + s, src + s, static_cast<size_t>(e - s) * sizeof(QRgb));
        }
    }
}

void Surface::DrawImage(const KeyedImage& image, int x, int y) {
    const Placement one{&image, x, y};
    DrawPlacements(&one, 1);
}

void Surface::DrawImages(const std::vector<Placement>& placements) {
    DrawPlacements(placements.data(), placements.size());
}

void Surface::DrawPlacements(const Placement* placements, size_t count) {
    if (!CanDraw() || count == 0)
        return;
    canvas_.EndText();
    const auto [first, last] = Prepare(placements, count);
    for (qint64 row = first; row < last; ++row)
        DrawPreparedRow(row);
}

void Surface::FillRowsAndDraw(int yFrom, int yTo, uint32_t pixel,
                              const std::vector<Placement>& placements) {
    if (!CanDraw())
        return;
    canvas_.EndText();
    const qint64 top = viewport_.top();
    const qint64 y0 = std::max<qint64>(yFrom, top);
    const qint64 y1 = std::min<qint64>(yTo, top + viewport_.height());
    const QRgb color = ToQRgb(pixel);
    // The band's rows are filled in one sweep (a band of 47 rows stays in the second-level
    // cache), then drawn over row by row.
    FillLogical(viewport_.left(), y0, qint64{viewport_.left()} + viewport_.width(), y1, color);
    Prepare(placements.data(), placements.size());
    for (qint64 row = y0; row < y1; ++row)
        DrawPreparedRow(row);
}

void Surface::DrawImageAlpha(const KeyedImage& image, const QRect& rect, int alpha) {
    if (!CanDraw() || alpha <= 0 || rect.width() <= 0 || rect.height() <= 0 || image.Width() <= 0 ||
        image.Height() <= 0)
        return;
    canvas_.EndText();
    const uint32_t a = static_cast<uint32_t>(std::min(alpha, 255));
    const qint64 stepX = (qint64{image.Width()} << 16) / rect.width();
    const qint64 stepY = (qint64{image.Height()} << 16) / rect.height();
    const qint64 left = viewport_.left();
    const qint64 top = viewport_.top();
    const qint64 x0 = std::max<qint64>(rect.x(), left);
    const qint64 x1 = std::min<qint64>(qint64{rect.x()} + rect.width(), left + viewport_.width());
    const qint64 y0 = std::max<qint64>(rect.y(), top);
    const qint64 y1 = std::min<qint64>(qint64{rect.y()} + rect.height(), top + viewport_.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    uchar* bits = buffer_.bits();
    const qsizetype stride = buffer_.bytesPerLine();
    for (qint64 y = y0; y < y1; ++y) {
        const QRgb* src = image.Row(static_cast<int>(((y - rect.y()) * stepY) >> 16));
        auto* dst = reinterpret_cast<QRgb*>(bits + (y - top) * stride);
        for (qint64 x = x0; x < x1; ++x) {
            const QRgb s = src[((x - rect.x()) * stepX) >> 16];
            if (s == kKeyRgb)
                continue;
            QRgb& d = dst[x - left];
            if (a >= 255) {
                d = s;
                continue;
            }
            d = qRgb(static_cast<int>(BlendChannel(qRed(s), qRed(d), a)),
                     static_cast<int>(BlendChannel(qGreen(s), qGreen(d), a)),
                     static_cast<int>(BlendChannel(qBlue(s), qBlue(d), a)));
        }
    }
}

void Surface::FillPolygons(const std::vector<QPolygonF>& polygons, uint32_t color) {
    if (!CanDraw() || polygons.empty())
        return;
    canvas_.EndText();
    QPainter painter(&buffer_);
    painter.translate(-viewport_.left(), -viewport_.top());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(ToQRgb(color)));
    for (const QPolygonF& polygon : polygons)
        painter.drawPolygon(polygon);
}

QRgb* Surface::ViewportRow(int y) {
    if (!CanDraw() || y < viewport_.top() || y > viewport_.bottom())
        return nullptr;
    canvas_.EndText();
    return reinterpret_cast<QRgb*>(buffer_.bits() +
                                   qsizetype(y - viewport_.top()) * buffer_.bytesPerLine());
}

void Surface::DrawPremultiplied(const QImage& picture, int x, int y, int alpha) {
    if (!CanDraw() || alpha <= 0 || picture.isNull())
        return;
    canvas_.EndText();
    const qint64 left = viewport_.left(), top = viewport_.top();
    const qint64 x0 = std::max<qint64>(x, left);
    const qint64 x1 = std::min<qint64>(qint64{x} + picture.width(), left + viewport_.width());
    const qint64 y0 = std::max<qint64>(y, top);
    const qint64 y1 = std::min<qint64>(qint64{y} + picture.height(), top + viewport_.height());
    if (x0 >= x1 || y0 >= y1)
        return;
    const uint32_t extra = uint32_t(std::min(alpha, 255));
    for (qint64 row = y0; row < y1; ++row) {
        const auto* src =
            reinterpret_cast<const QRgb*>(picture.constScanLine(int(row - y))) + (x0 - x);
        auto* dst = reinterpret_cast<QRgb*>(buffer_.bits() + (row - top) * buffer_.bytesPerLine()) +
                    (x0 - left);
        for (qint64 i = 0; i < x1 - x0; ++i) {
            QRgb s = src[i];
            const uint32_t a0 = qAlpha(s);
            if (a0 == 0)
                continue;
            if (extra < 255)
                s = qRgba(BlendChannel(qRed(s), 0, extra), BlendChannel(qGreen(s), 0, extra),
                          BlendChannel(qBlue(s), 0, extra), BlendChannel(a0, 0, extra));
            const uint32_t a = qAlpha(s);
            const QRgb d = dst[i];
            dst[i] = qRgb(int(qRed(s) + BlendChannel(qRed(d), 0, 255 - a)),
                          int(qGreen(s) + BlendChannel(qGreen(d), 0, 255 - a)),
                          int(qBlue(s) + BlendChannel(qBlue(d), 0, 255 - a)));
        }
    }
}

void Surface::PresentFrame() {
    canvas_.EndText();
    if (!CanDraw())
        return;
    if (presenter_)
        presenter_(buffer_, viewport_.topLeft());
    ++presentedFrames_;
}

uint32_t Surface::Pixel(int x, int y) const {
    if (buffer_.isNull() || !viewport_.contains(x, y))
        throw std::out_of_range("pixel outside the surface's viewport");
    return FromQRgb(buffer_.pixel(x - viewport_.left(), y - viewport_.top()));
}

} // namespace vedivez

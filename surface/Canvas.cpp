#include "Canvas.h"

#include "AppFonts.h"
#include "Color.h"
#include "Cp1250.h"
#include "Surface.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cstdlib>

namespace vedivez {

namespace {

// GDI's 8-point Tahoma at 96 dpi is 11 pixels high.
constexpr int kFontPixelSize = 11;

QFont ChooseFont() {
    // Registering is idempotent; doing it here as well lets every program that draws text
    // on a surface get Tahoma, not only those whose start-up registered it.
    RegisterApplicationFonts();
    QFont font = UiFont(kFontPixelSize);
    // Unsmoothed glyphs look like the small GDI text the overlay imitates and keep every text
    // pixel exactly in the font colour.
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

const QFont& Canvas::TextFont() {
    if (!font_)
        font_ = ChooseFont();
    return *font_;
}

void Canvas::EndText() {
    if (painter_.isActive())
        painter_.end();
}

void Canvas::MoveTo(int x, int y) {
    penX_ = x;
    penY_ = y;
}

void Canvas::VerticalLines(const std::vector<int>& xs, int y1, int y2) {
    if (xs.empty())
        return;
    penX_ = xs.back();
    penY_ = y2;
    if (!surface_.CanDraw() || y1 == y2)
        return;
    EndText();
    // Downward lines cover y1 .. y2 - 1, upward ones y2 + 1 .. y1.
    const qint64 from = y1 < y2 ? y1 : qint64{y2} + 1;
    const qint64 to = y1 < y2 ? y2 : qint64{y1} + 1;
    const QRect view = surface_.viewport_;
    const qint64 r0 = std::max<qint64>(from, view.top());
    const qint64 r1 = std::min<qint64>(to, qint64{view.top()} + view.height());
    std::vector<qint64> columns;
    for (int x : xs)
        if (x >= view.left() && x < qint64{view.left()} + view.width())
            columns.push_back(x - view.left());
    if (r0 >= r1 || columns.empty())
        return;
    const QRgb color = ToQRgb(Pen.Color);
    uchar* bits = surface_.buffer_.bits();
    const qsizetype stride = surface_.buffer_.bytesPerLine();
    for (qint64 row = r0; row < r1; ++row) {
        auto* line = reinterpret_cast<QRgb*>(bits + (row - view.top()) * stride);
        for (qint64 c : columns)
            line[c] = color;
    }
}

void Canvas::LineTo(int x, int y) {
    const qint64 x0 = penX_;
    const qint64 y0 = penY_;
    penX_ = x;
    penY_ = y;
    if (!surface_.CanDraw())
        return;
    EndText();
    const QRgb color = ToQRgb(Pen.Color);
    // Grid lines are all horizontal or vertical, so those become plain span fills.
    if (y0 == y) {
        if (x0 < x)
            surface_.FillLogical(x0, y0, x, y0 + 1, color);
        else if (x0 > x)
            surface_.FillLogical(qint64{x} + 1, y0, x0 + 1, y0 + 1, color);
        return;
    }
    if (x0 == x) {
        if (y0 < y)
            surface_.FillLogical(x0, y0, x0 + 1, y, color);
        else
            surface_.FillLogical(x0, qint64{y} + 1, x0 + 1, y0 + 1, color);
        return;
    }

    // Bresenham's line in closed form: step i (0 ≤ i < major length) moves one pixel along
    // the major axis and round(i · minor / major) along the minor one, ties away from the
    // start. Computing each pixel from i alone lets us visit only the steps whose major
    // coordinate is inside the viewport, and keeps the pixels independent of the viewport.
    const qint64 dx = std::abs(x - x0);
    const qint64 dy = std::abs(y - y0);
    const qint64 sx = x > x0 ? 1 : -1;
    const qint64 sy = y > y0 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const qint64 major = xMajor ? dx : dy;
    const qint64 minor = xMajor ? dy : dx;
    const qint64 majorStart = xMajor ? x0 : y0;
    const qint64 majorSign = xMajor ? sx : sy;
    const QRect view = surface_.viewport_;
    const qint64 viewLo = xMajor ? view.left() : view.top();
    const qint64 viewHi = viewLo + (xMajor ? view.width() : view.height());
    qint64 first = 0;
    qint64 last = major; // exclusive: the end point is left out
    if (majorSign > 0) {
        first = std::max(first, viewLo - majorStart);
        last = std::min(last, viewHi - majorStart);
    } else {
        first = std::max(first, majorStart - viewHi + 1);
        last = std::min(last, majorStart - viewLo + 1);
    }
    for (qint64 i = first; i < last; ++i) {
        const qint64 offset = (2 * i * minor + major) / (2 * major);
        const qint64 px = xMajor ? x0 + sx * i : x0 + sx * offset;
        const qint64 py = xMajor ? y0 + sy * offset : y0 + sy * i;
        surface_.FillLogical(px, py, px + 1, py + 1, color);
    }
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (!surface_.CanDraw())
        return;
    EndText();
    qint64 left = std::min(x1, x2);
    qint64 right = std::max(x1, x2); // exclusive
    qint64 top = std::min(y1, y2);
    qint64 bottom = std::max(y1, y2); // exclusive
    if (left == right || top == bottom)
        return;
    if (Brush.Style == BrushStyle::Solid)
        surface_.FillLogical(left + 1, top + 1, right - 1, bottom - 1, ToQRgb(Brush.Color));
    const QRgb pen = ToQRgb(Pen.Color);
    surface_.FillLogical(left, top, right, top + 1, pen);
    surface_.FillLogical(left, bottom - 1, right, bottom, pen);
    surface_.FillLogical(left, top, left + 1, bottom, pen);
    surface_.FillLogical(right - 1, top, right, bottom, pen);
}

QSize Canvas::TextExtent(const std::string& text) {
    const QFontMetrics metrics(TextFont());
    return {metrics.horizontalAdvance(FromCp1250(text)), metrics.height()};
}

void Canvas::TextOut(int x, int y, const std::string& text) {
    if (!surface_.CanDraw() || text.empty())
        return;
    const QFont& font = TextFont();
    const QFontMetrics metrics(font);
    const QString qtext = FromCp1250(text);
    const int width = metrics.horizontalAdvance(qtext);
    const int height = metrics.height();
    // Text is placed in buffer coordinates rather than through a painter translation, which
    // keeps QPainter's coordinates small even on a surface hundreds of thousands of pixels
    // wide. Glyphs may overhang their box a little, so the cull allows a line height around.
    const QRect view = surface_.viewport_;
    const qint64 bx = qint64{x} - view.left();
    const qint64 by = qint64{y} - view.top();
    if (bx + width + height < 0 || by + 2 * height < 0 || bx - height >= view.width() ||
        by - height >= view.height())
        return;
    if (!painter_.isActive())
        painter_.begin(&surface_.buffer_);
    const QRect box(static_cast<int>(bx), static_cast<int>(by), width, height);
    if (Brush.Style == BrushStyle::Solid)
        painter_.fillRect(box, QColor::fromRgb(ToQRgb(Brush.Color)));
    painter_.setFont(font);
    painter_.setPen(QColor::fromRgb(ToQRgb(Font.Color)));
    painter_.drawText(box.x(), box.y() + metrics.ascent(), qtext);
}

} // namespace vedivez

#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vedivez {

class Surface;

// The pen, brush and font drawing of a Surface, following GDI's pixel rules, with settings
// that persist for the surface's whole life.
class Canvas {
public:
    enum class BrushStyle { Solid, Clear };

    struct PenSettings {
        uint32_t Color = 0x000000;
    };
    struct BrushSettings {
        uint32_t Color = 0xFFFFFF;
        BrushStyle Style = BrushStyle::Solid;
    };
    struct FontSettings {
        // The default window-text colour of the desktop, which is black.
        uint32_t Color = 0x000000;
    };

    // Colours are 0x00BBGGRR. The renderer changes them between frames and relies on them
    // staying as it left them.
    PenSettings Pen;
    BrushSettings Brush;
    FontSettings Font;

    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Sets the current position without drawing.
    void MoveTo(int x, int y);
    // A one-pixel line from the current position to (x, y) in the pen colour, leaving out the
    // end point; the current position becomes (x, y).
    void LineTo(int x, int y);
    QPoint PenPos() const { return {penX_, penY_}; }

    // Outlines pixels x1 … x2 − 1 by y1 … y2 − 1 with the pen and fills the inside with the
    // brush colour unless the brush is clear. Corners may be given in either order.
    // Draws the vertical lines from (x, y1) to (x, y2) for every x, as MoveTo(x, y1) and
    // LineTo(x, y2) one after the other would (end point excluded, pen left at the last
    // line's end), but row by row, so a grid's many columns are written in memory order.
    void VerticalLines(const std::vector<int>& xs, int y1, int y2);

    void Rectangle(int x1, int y1, int x2, int y2);

    // Draws the text (one byte per character) with its cell's top-left at (x, y) in the font
    // colour, on a box of the brush colour when the brush is solid.
    void TextOut(int x, int y, const std::string& text);

    // Size of the box TextOut covers for the text: its advance by the font's line height.
    QSize TextExtent(const std::string& text);

    // The font text is drawn with: Tahoma 11 px where installed, else the platform sans serif.
    const QFont& TextFont();

private:
    friend class Surface;
    explicit Canvas(Surface& surface) : surface_(surface) {}

    // Finishes pending QPainter text work; direct pixel writes must not overlap an active
    // painter on the same image.
    void EndText();

    Surface& surface_;
    int penX_ = 0;
    int penY_ = 0;
    // Chosen on first use, since the font database needs a running Qt application.
    std::optional<QFont> font_;
    QPainter painter_;
};

} // namespace vedivez

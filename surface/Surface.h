#pragma once

#include "Canvas.h"
#include "DrawingColours.h"
#include "KeyedImage.h"

#include <QImage>
#include <QPoint>
#include <QPolygonF>
#include <QRect>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace vedivez {

// The off-screen drawing surface the panel is composed on: a logical surface of up to a few
// hundred thousand pixels each way, of which only the viewport has a back buffer, so memory
// and frame cost follow the visible part.
class Surface {
public:
    // Receives the back buffer of a finished frame and the logical position of its top-left.
    using Presenter = std::function<void(const QImage& buffer, QPoint logicalOrigin)>;

    static constexpr int kInitialWidth = 4800;
    static constexpr int kInitialHeight = 2400;
    // Until SetViewport is called the viewport is the logical surface cut to this many pixels
    // from its top-left each way: every surface of an ordinary panel is covered whole, and a
    // huge one does not silently take gigabytes before its owner sets the visible part.
    static constexpr int kDefaultViewportExtent = 8192;
    // Largest back buffer we agree to allocate (1 GiB at four bytes a pixel); beyond it the
    // buffer is refused as unallocatable rather than left to the memory overcommit.
    static constexpr qint64 kMaxBufferPixels = qint64{16384} * 16384;

    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Background colour of the panel, 0x00BBGGRR.
    uint32_t Color() const { return kBackgroundColour; }

    // Resizes the logical surface. A new size re-creates the back buffer (black until the
    // next frame); the current size changes nothing. Before Initialise only the size is kept.
    void SetSize(int width, int height);

    // Chooses the logical rectangle that has a back buffer; it is cut to the logical surface.
    // The buffer is re-created only when the viewport's size changes.
    void SetViewport(const QRect& logicalRect);
    // The effective viewport, already cut to the logical surface.
    QRect Viewport() const { return viewport_; }

    // Creates the back buffer; throws SurfaceError "Surface cannot be made" when it cannot
    // be allocated, leaving the surface uninitialised.
    void Initialise();
    void Release();
    // True when initialised and a back buffer exists (an empty viewport has none).
    bool CanDraw() const { return initialised_ && !buffer_.isNull(); }
    // Counts the back buffers made so far: a new buffer starts black, so whoever keeps track
    // of what the buffer shows must draw it again when this changes.
    uint64_t BufferSerial() const { return bufferSerial_; }

    // Sets every back-buffer pixel to the 0x00BBGGRR value.
    void FillSurface(uint32_t pixel);
    // Draws the picture with its top-left at logical (x, y), white pixels skipped, clipped.
    void DrawImage(const KeyedImage& image, int x, int y);
    // One picture to draw at a logical position, for DrawImages.
    struct Placement {
        const KeyedImage* image;
        int x;
        int y;
    };
    // Draws the pictures as DrawImage would one after the other, but buffer row by buffer
    // row, so a band of neighbouring pictures is written in memory order.
    void DrawImages(const std::vector<Placement>& placements);
    // Fills the logical rows [yFrom, yTo) with the pixel value and draws the pictures over
    // them, row by row, so each buffer row is written while it is still in the cache. The
    // same as FillSurface on those rows followed by DrawImages, for pictures that lie
    // within the rows.
    void FillRowsAndDraw(int yFrom, int yTo, uint32_t pixel,
                         const std::vector<Placement>& placements);

    // Scales the picture to the logical rectangle by nearest pixel (16.16 fixed-point steps)
    // and blends its non-white pixels over the surface with opacity alpha/255.
    void DrawImageAlpha(const KeyedImage& image, const QRect& rect, int alpha);

    // Blends a premultiplied ARGB picture over the surface with its top-left at logical
    // (x, y), clipped, at an extra opacity of alpha/255. Pictures scaled down from the black
    // tiles carry their coverage in their alpha.
    void DrawPremultiplied(const QImage& picture, int x, int y, int alpha = 255);
    // Fills the polygons (logical coordinates, no anti-aliasing, so edges stay crisp) in one
    // colour, 0x00BBGGRR.
    void FillPolygons(const std::vector<QPolygonF>& polygons, uint32_t color);

    // The back-buffer pixels of logical row y, starting at the viewport's left edge, for
    // drawing code that composes whole rows itself; nullptr outside the viewport.
    QRgb* ViewportRow(int y);

    // The one canvas of this surface; its pen, brush and font persist between frames.
    Canvas& SurfaceCanvas() { return canvas_; }
    // Ends the frame's canvas drawing; nothing if the canvas was not used.
    void ReleaseCanvas() { canvas_.EndText(); }

    // Hands the finished back buffer to the presenter, if the surface can draw, and counts
    // the frame. A presenter that keeps a copy of the image makes the next frame detach it.
    void PresentFrame();
    void SetPresenter(Presenter presenter) { presenter_ = std::move(presenter); }
    qint64 PresentedFrames() const { return presentedFrames_; }

    // Copies the whole back buffer out, or back in from a copy of the same size (which must
    // have been taken from this surface with the same viewport), for owners that keep a
    // drawn layer between frames.
    void SaveBuffer(QImage& out) const;
    void RestoreBuffer(const QImage& saved);

    // Colour (0x00BBGGRR) of the logical pixel, which must lie inside the viewport; throws
    // std::out_of_range otherwise.
    uint32_t Pixel(int x, int y) const;
    const QImage& BackBuffer() const { return buffer_; }

private:
    friend class Canvas;

    void CreateBuffer();

    // A placement with everything its rows need worked out once.
    struct Prepared {
        const KeyedImage* image;
        const KeyedImage::Span* spans;
        const size_t* rowStarts;
        bool single;    // one colour: fill the runs instead of copying them
        bool unclipped; // wholly inside the viewport's columns
        QRgb color;
        qint64 y;
        qint64 height;
        qint64 dx; // buffer column of the picture's column 0
        qint64 c0; // visible picture columns c0 .. c1 - 1
        qint64 c1;
    };
    void DrawPlacements(const Placement* placements, size_t count);
    // Prepares the placements that reach the viewport; returns the buffer rows they cover.
    std::pair<qint64, qint64> Prepare(const Placement* placements, size_t count);
    void DrawPreparedRow(qint64 row);
    std::vector<Prepared> prepared_;

    // Fills the logical half-open rectangle [x0, x1) × [y0, y1), clipped to the viewport.
    void FillLogical(qint64 x0, qint64 y0, qint64 x1, qint64 y1, QRgb color);

    int width_ = kInitialWidth;
    int height_ = kInitialHeight;
    QRect requestedViewport_{0, 0, kDefaultViewportExtent, kDefaultViewportExtent};
    QRect viewport_;
    bool initialised_ = false;
    QImage buffer_;
    uint64_t bufferSerial_ = 0;
    Presenter presenter_;
    qint64 presentedFrames_ = 0;
    Canvas canvas_;
};

} // namespace vedivez

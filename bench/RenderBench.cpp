// Frame cost against the floor of a plain fill of the same back buffer, measured in the
// same run: a 1920 x 1080 viewport of a fully tiled panel with every layer on, the same
// viewport on a 4000 x 4000-cell panel of a million elements, and a full-surface render of a
// fully populated 150 x 50 panel as the tool's export does.
#include "BenchSupport.h"

#include "panel/FrameRenderer.h"
#include "panel/HeadlessPanel.h"
#include "panel/TileImages.h"
#include "surface/ImageList.h"
#include "surface/Surface.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

const ImageList& Images() {
    static const ImageList list = MakeTileImageList();
    return list;
}

// A tile with all four corner flags in every cell of cols x rows, plus `extra` elements
// spread over the rest of a large panel.
std::vector<TPolePanelu> FullCells(int cols, int rows, int extraCols = 0, int extraRows = 0,
                                   int extra = 0) {
    std::vector<TPolePanelu> out;
    out.reserve(size_t(cols) * rows + size_t(extra));
    const ImageList& images = Images();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            TPolePanelu e;
            e.X = c;
            e.Y = r;
            e.NAME = images.Name((c + r) % 51);
            e.Cont_LH = e.Cont_LD = e.Cont_PH = e.Cont_PD = true;
            out.push_back(std::move(e));
        }
    for (int i = 0; i < extra; ++i) {
        TPolePanelu e;
        e.X = cols + i % (extraCols - cols);
        e.Y = (i / (extraCols - cols)) % extraRows;
        e.NAME = images.Name(i % 51);
        e.Cont_LH = e.Cont_PD = true;
        out.push_back(std::move(e));
    }
    return out;
}

struct Scene {
    Scene(int cols, int rows, std::vector<TPolePanelu> elements, QRect view) {
        h.document.SetSize(cols, rows);
        h.panel.ReplaceElements(std::move(elements));
        h.panel.CursorX = 47 * 3;
        h.panel.CursorY = 47 * 2;
        surface.SetSize(cols * 47, rows * 47);
        surface.SetViewport(view);
        surface.Initialise();
        inputs.boxes = PositionFlags{true, true, true, false, false, true, true, true};
    }
    double Frame() {
        return Seconds([&] { renderer.RenderFrame(inputs); });
    }
    double Fill() {
        QImage& buffer = const_cast<QImage&>(surface.BackBuffer());
        return Seconds([&] {
            std::fill_n(reinterpret_cast<QRgb*>(buffer.bits()),
                        size_t(buffer.width()) * buffer.height(), qRgb(128, 128, 128));
            benchmark::ClobberMemory();
        });
    }
    HeadlessPanel h;
    Surface surface;
    FrameRenderer renderer{h.panel, surface, Images()};
    FrameInputs inputs;
};

// The straightforward way to compose the same frame, the reference the renderer is judged
// by: every tile and every corner mark drawn with its own QPainter::drawImage (white keyed
// out beforehand), then the grid lines, the cursor outline and the overlay through QPainter.
double NaiveFrame(Scene& s, const std::vector<QImage>& keyed) {
    QImage& buffer = const_cast<QImage&>(s.surface.BackBuffer());
    const QRect view = s.surface.Viewport();
    const ImageList& images = Images();
    const int lh = images.FindImage("Ruzek_LH"), ld = images.FindImage("Ruzek_LD"),
              ph = images.FindImage("Ruzek_PH"), pd = images.FindImage("Ruzek_PD");
    return Seconds([&] {
        buffer.fill(qRgb(128, 128, 128));
        QPainter p(&buffer);
        p.translate(-view.topLeft());
        const QRect reach = view.adjusted(-60, -60, 60, 60);
        for (const TPolePanelu& e : s.h.panel.Elements()) {
            const int x0 = e.X * 47, y0 = e.Y * 47;
            if (reach.contains(x0, y0))
                p.drawImage(x0 + 1, y0 + 1, keyed[size_t(images.FindImage(e.NAME))]);
        }
        for (const TPolePanelu& e : s.h.panel.Elements()) {
            const int x0 = e.X * 47, y0 = e.Y * 47;
            if (!reach.contains(x0, y0))
                continue;
            if (e.Cont_LH) {
                p.drawImage(x0 + 1, y0 + 1, keyed[size_t(lh)]);
                p.drawImage(x0 - 6, y0 + 1, keyed[size_t(ph)]);
            }
            if (e.Cont_LD) {
                p.drawImage(x0 + 1, y0 + 41, keyed[size_t(ld)]);
                p.drawImage(x0 - 6, y0 + 41, keyed[size_t(pd)]);
            }
            if (e.Cont_PH) {
                p.drawImage(x0 + 41, y0 + 1, keyed[size_t(ph)]);
                p.drawImage(x0 + 48, y0 + 1, keyed[size_t(lh)]);
            }
            if (e.Cont_PD) {
                p.drawImage(x0 + 41, y0 + 41, keyed[size_t(pd)]);
                p.drawImage(x0 + 48, y0 + 41, keyed[size_t(ld)]);
            }
        }
        p.setPen(QColor(0, 0, 255));
        for (int k = 0; k <= s.h.panel.PanelCols; ++k)
            p.drawLine(k * 47, 0, k * 47, s.surface.Height() - 1);
        for (int k = 0; k <= s.h.panel.PanelRows; ++k)
            p.drawLine(0, k * 47, s.surface.Width() - 1, k * 47);
        p.setPen(QColor(255, 0, 0));
        p.drawRect(s.h.panel.CursorX, s.h.panel.CursorY, 47, 47);
        p.setPen(QColor(128, 0, 0));
        for (int i = 0; i < 4; ++i)
            p.drawText(10, 20 + 10 * i, QStringLiteral("RefreshStopCount: 1"));
    });
}

// `editEveryFrame` changes the element list before each frame (replacing one tile with
// itself), so the kept background-and-tiles layer is drawn again every time.
void Report(benchmark::State& state, Scene& scene, bool naive, bool editEveryFrame = false) {
    std::vector<QImage> keyed;
    if (naive)
        for (int i = 0; i < Images().Count(); ++i) {
            QImage img =
                Images().Image(i).ToQImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if ((img.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                        img.setPixel(x, y, 0);
            keyed.push_back(img);
        }
    double bestFrame = 1e9, bestFill = 1e9, bestNaive = 1e9;
    for (auto _ : state) {
        bestFill = std::min(bestFill, scene.Fill());
        if (editEveryFrame)
            scene.h.panel.PlaceElementAt(47 * 5 + 3, 47 * 5 + 3, false);
        const double t = scene.Frame();
        bestFrame = std::min(bestFrame, t);
        state.SetIterationTime(t);
    }
    // The reference is timed on its own afterwards, so it does not evict what the renderer
    // keeps between frames.
    for (int i = 0; naive && i < 20; ++i)
        bestNaive = std::min(bestNaive, NaiveFrame(scene, keyed));
    state.counters["frame_ms"] = bestFrame * 1e3;
    state.counters["fill_ms"] = bestFill * 1e3;
    state.counters["frame_vs_fill"] = bestFrame / bestFill;
    if (naive)
        state.counters["naive_frame_vs_fill"] = bestNaive / bestFill;
}

void BM_Viewport1080p_150x50(benchmark::State& state) {
    Scene scene(150, 50, FullCells(150, 50), QRect(0, 0, 1920, 1080));
    Report(state, scene, true);
}
BENCHMARK(BM_Viewport1080p_150x50)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_Viewport1080p_150x50_EditedEveryFrame(benchmark::State& state) {
    Scene scene(150, 50, FullCells(150, 50), QRect(0, 0, 1920, 1080));
    Report(state, scene, false, true);
}
BENCHMARK(BM_Viewport1080p_150x50_EditedEveryFrame)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

void BM_Viewport1080p_4000x4000_1M(benchmark::State& state) {
    // The viewport's cells are fully tiled as above; the rest of the million elements fill
    // the panel beyond it.
    Scene scene(4000, 4000, FullCells(150, 50, 4000, 4000, 1'000'000 - 150 * 50),
                QRect(0, 0, 1920, 1080));
    Report(state, scene, false);
}
BENCHMARK(BM_Viewport1080p_4000x4000_1M)
    ->UseManualTime()
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond);

void BM_FullSurface_150x50(benchmark::State& state) {
    // An export draws one frame: nothing kept from an earlier one.
    Scene scene(150, 50, FullCells(150, 50), QRect(0, 0, 150 * 47, 50 * 47));
    scene.renderer.SetLayerCache(false);
    Report(state, scene, true);
}
BENCHMARK(BM_FullSurface_150x50)->UseManualTime()->Iterations(30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Text needs fonts, and fonts need a GUI application (offscreen: no display).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

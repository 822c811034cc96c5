// The main window at other scales, offscreen at 1920 x 1080, against the 100 % baselines of
// the same window:
// - the frame after an edit on a 4000 x 4000 panel holding 1,000,000 elements spread over
//   it, at "Celý panel", against the frame after an edit at 100 % with every visible cell
//   tiled (a full redraw of the tile layer in both);
// - a pointer move to the next cell plus its frame and paint at "Celý panel" on that panel,
//   against one at 100 % on a 150 x 50 panel with every cell tiled;
// - one zoom step on the big panel, from the command to its first complete painted frame;
// - the frame after an edit and a pointer move to the next cell at 200 % and 300 %, with
//   every visible cell tiled, against the same at 100 %.
#include "BenchSupport.h"
#include "BenchWindow.h"

#include "app/ZoomController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <algorithm>
#include <functional>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

using Window = BenchWindow;

// 1,000,000 elements on every fourth cell each way of a 4000 x 4000 panel.
void FillWholePanel(Window& w) {
    w.window->Doc().SetSize(4000, 4000);
    std::vector<TPolePanelu> elements = MakeElements(1'000'000);
    for (size_t i = 0; i < elements.size(); ++i) {
        elements[i].X = int(i % 1000) * 4;
        elements[i].Y = int(i / 1000) * 4;
    }
    w.window->Panel().ReplaceElements(std::move(elements));
}

// Every cell of a 150 x 50 panel tiled.
void FillSmallPanel(Window& w) {
    std::vector<TPolePanelu> cells = MakeElements(150 * 50);
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i].X = int(i % 150);
        cells[i].Y = int(i / 150);
    }
    w.window->Panel().ReplaceElements(std::move(cells));
}

// Alternately places and replaces a tile in one visible cell, each followed by its frame.
double EditFrames(benchmark::State& state, Window& w, QPoint cell) {
    w.Frame();
    w.Frame();
    double best = 1e9;
    int step = 0;
    for (auto _ : state) {
        // Another tile each time, so every edit changes what the panel shows.
        w.window->Panel().SelectedName = step++ % 2 ? "KOL_sLSPS" : "KOL_sSDSH";
        QElapsedTimer t;
        t.start();
        w.Click(w.Cell(cell.x(), cell.y()));
        w.Frame();
        const double s = t.nsecsElapsed() / 1e9;
        best = std::min(best, s);
        state.SetIterationTime(s);
    }
    return best;
}

// Pointer moves from cell to cell, each followed by its frame; by default along a row of the
// big panel, 40 cells apart away from 100 %.
double PointerMoves(benchmark::State& state, Window& w,
                    std::function<QPoint(int)> cellOf = nullptr) {
    if (!cellOf)
        cellOf = [&w](int step) {
            return QPoint(1 + step % 30 * (w.View().Zoom().Actual() ? 1 : 40), 8 * 40);
        };
    w.Frame();
    w.Frame();
    double best = 1e9;
    int step = 0;
    for (auto _ : state) {
        const QPoint cell = cellOf(step);
        const QPoint p = w.Cell(cell.x(), cell.y());
        ++step;
        QElapsedTimer t;
        t.start();
        w.MoveTo(p);
        w.Frame();
        const double s = t.nsecsElapsed() / 1e9;
        best = std::min(best, s);
        state.SetIterationTime(s);
    }
    return best;
}

double actualEdit = 0, actualMove = 0, actualVisibleMove = 0;

// The top-left of the big panel, every visible cell tiled, at the level.
void TiledCorner(Window& w, ZoomLevel level) {
    FillWholePanel(w);
    std::vector<TPolePanelu> cells = MakeElements(60 * 30);
    for (size_t i = 0; i < cells.size(); ++i) {
        cells[i].X = int(i % 60);
        cells[i].Y = int(i / 60);
    }
    w.window->Panel().ReplaceElements(std::move(cells));
    w.View().SetZoom(level);
    w.View().HorizontalBar()->setValue(0);
    w.View().VerticalBar()->setValue(0);
}

// Along ten cells of a row that every level shows.
QPoint VisibleCell(int step) {
    return QPoint(1 + step % 10, 3);
}

void BM_EditFrame_100_AllTiled(benchmark::State& state) {
    Window w;
    TiledCorner(w, ZoomLevel{});
    actualEdit = EditFrames(state, w, QPoint(5, 5));
    state.counters["frame_ms"] = actualEdit * 1e3;
}
BENCHMARK(BM_EditFrame_100_AllTiled)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

void BM_EditFrame_WholePanel_4000x4000_1M(benchmark::State& state) {
    Window w;
    FillWholePanel(w);
    w.window->Zoom().WholePanel();
    const double fit = EditFrames(state, w, QPoint(2001, 2001));
    state.counters["frame_ms"] = fit * 1e3;
    state.counters["scale_permille"] =
        1000.0 * w.View().Zoom().pixels / (47.0 * w.View().Zoom().cells);
    if (actualEdit > 0)
        state.counters["vs_100"] = fit / actualEdit;
}
BENCHMARK(BM_EditFrame_WholePanel_4000x4000_1M)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

void BM_PointerMove_100_150x50(benchmark::State& state) {
    Window w;
    FillSmallPanel(w);
    actualMove = PointerMoves(state, w);
    state.counters["move_ms"] = actualMove * 1e3;
}
BENCHMARK(BM_PointerMove_100_150x50)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

void BM_PointerMove_WholePanel_4000x4000_1M(benchmark::State& state) {
    Window w;
    FillWholePanel(w);
    w.window->Zoom().WholePanel();
    const double fit = PointerMoves(state, w);
    state.counters["move_ms"] = fit * 1e3;
    if (actualMove > 0)
        state.counters["vs_100"] = fit / actualMove;
}
BENCHMARK(BM_PointerMove_WholePanel_4000x4000_1M)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

void EditFrameEnlarged(benchmark::State& state, int pixels) {
    Window w;
    TiledCorner(w, ZoomLevel{pixels, 1});
    const double enlarged = EditFrames(state, w, QPoint(5, 3));
    state.counters["frame_ms"] = enlarged * 1e3;
    if (actualEdit > 0)
        state.counters["vs_100"] = enlarged / actualEdit;
}
void BM_EditFrame_200_AllTiled(benchmark::State& state) {
    EditFrameEnlarged(state, 94);
}
BENCHMARK(BM_EditFrame_200_AllTiled)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);
void BM_EditFrame_300_AllTiled(benchmark::State& state) {
    EditFrameEnlarged(state, 141);
}
BENCHMARK(BM_EditFrame_300_AllTiled)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

void PointerMoveAt(benchmark::State& state, int pixels) {
    Window w;
    TiledCorner(w, ZoomLevel{pixels, 1});
    const double move = PointerMoves(state, w, VisibleCell);
    state.counters["move_ms"] = move * 1e3;
    if (pixels == 47)
        actualVisibleMove = move;
    else if (actualVisibleMove > 0)
        state.counters["vs_100"] = move / actualVisibleMove;
}
void BM_PointerMove_100_AllTiled(benchmark::State& state) {
    PointerMoveAt(state, 47);
}
BENCHMARK(BM_PointerMove_100_AllTiled)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);
void BM_PointerMove_200_AllTiled(benchmark::State& state) {
    PointerMoveAt(state, 94);
}
BENCHMARK(BM_PointerMove_200_AllTiled)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);
void BM_PointerMove_300_AllTiled(benchmark::State& state) {
    PointerMoveAt(state, 141);
}
BENCHMARK(BM_PointerMove_300_AllTiled)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

// From the command to the first painted frame at the new scale, a step at a time from the
// whole panel in to 100 % and out again.
void BM_ZoomStep_4000x4000_1M(benchmark::State& state) {
    Window w;
    FillWholePanel(w);
    w.window->Zoom().WholePanel();
    w.Frame();
    double worst = 0, total = 0;
    int steps = 0, direction = 1;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (direction > 0)
            w.window->Zoom().ZoomIn();
        else
            w.window->Zoom().ZoomOut();
        w.Frame();
        const double s = t.nsecsElapsed() / 1e9;
        worst = std::max(worst, s);
        total += s;
        ++steps;
        state.SetIterationTime(s);
        if (w.View().Zoom().Actual())
            direction = -1;
        else if (w.View().Zoom() == w.View().FitLevel())
            direction = 1;
    }
    state.counters["worst_ms"] = worst * 1e3;
    state.counters["mean_ms"] = total / steps * 1e3;
}
BENCHMARK(BM_ZoomStep_4000x4000_1M)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}

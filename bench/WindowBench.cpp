// The editor's main window, offscreen, at 1920 x 1080:
// - a pointer move to the next cell plus the frame and the paint it causes, on a 4000 x 4000
//   panel holding 1,000,000 elements against a 150 x 50 panel (both with every visible cell
//   tiled);
// - opening a 1,000,000-element station through the Open command, from the accepted dialog
//   to the first painted frame, against `vedivez-tool check` of the same file.
#include "BenchSupport.h"
#include "BenchWindow.h"

#include "app/FrameDriver.h"
#include "app/MainWindow.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "panel/StationFile.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

constexpr int kElements = 1'000'000;

// Answers every file dialog with one path and records when it was accepted.
// Answers every Open dialog with one path and records when it was accepted.
class BenchPrompts : public QuietPrompts {
public:
    QString path;
    QElapsedTimer* accepted = nullptr;
    std::optional<QString> OpenFileName(const FileRequest&) override {
        if (accepted)
            accepted->start();
        return path;
    }
};

std::string BigStationPath() {
    static const std::string path = [] {
        const std::string p = BenchDir() + "/vedivez-window-bench.reru";
        std::ofstream(p, std::ios::binary) << EncodeStation(MakeElements(kElements), 4000, 4000);
        return p;
    }();
    return path;
}

struct Window : BenchWindow {
    BenchPrompts* prompts;
    Window() : Window(new BenchPrompts) {}
    // The window owns the prompts; the benchmark keeps a pointer to set their answers.
    explicit Window(BenchPrompts* p) : BenchWindow(std::unique_ptr<Prompts>(p)), prompts(p) {}
};

double PointerMoves(benchmark::State& state, Window& w) {
    w.Frame();
    w.Frame();
    double best = 1e9;
    int step = 0;
    for (auto _ : state) {
        // Along a row of the visible part, a cell at a time.
        const QPoint p(47 * (1 + step % 30) + 20, 47 * 8 + 20);
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

double smallMove = 0;

void BM_PointerMove_150x50(benchmark::State& state) {
    Window w;
    // Every cell of the panel tiled, as densely as the big panel's visible part.
    w.window->Panel().ReplaceElements([] {
        std::vector<TPolePanelu> cells = MakeElements(150 * 50);
        for (size_t i = 0; i < cells.size(); ++i) {
            cells[i].X = int(i % 150);
            cells[i].Y = int(i / 150);
        }
        return cells;
    }());
    smallMove = PointerMoves(state, w);
    state.counters["move_ms"] = smallMove * 1e3;
}
BENCHMARK(BM_PointerMove_150x50)->UseManualTime()->Iterations(300)->Unit(benchmark::kMillisecond);

void BM_PointerMove_4000x4000_1M(benchmark::State& state) {
    Window w;
    w.window->Doc().Load(BigStationPath());
    if (w.window->Panel().Elements().size() != size_t(kElements))
        state.SkipWithError("station not loaded");
    const double big = PointerMoves(state, w);
    state.counters["move_ms"] = big * 1e3;
    if (smallMove > 0)
        state.counters["vs_150x50"] = big / smallMove;
}
BENCHMARK(BM_PointerMove_4000x4000_1M)
    ->UseManualTime()
    ->Iterations(300)
    ->Unit(benchmark::kMillisecond);

void BM_OpenBigStation(benchmark::State& state) {
    const QString path = QString::fromStdString(BigStationPath());
    double bestOpen = 1e9, bestCheck = 1e9;
    for (auto _ : state) {
        QElapsedTimer check;
        check.start();
        QProcess tool;
        tool.start(QStringLiteral(VEDIVEZ_TOOL_EXE), {QStringLiteral("check"), path});
        tool.waitForFinished(-1);
        bestCheck = std::min(bestCheck, check.nsecsElapsed() / 1e9);

        Window w;
        QElapsedTimer accepted;
        w.prompts->path = path;
        w.prompts->accepted = &accepted;
        w.window->Action(QStringLiteral("MP_Otevreni"))->trigger();
        w.Frame();
        const double open = accepted.nsecsElapsed() / 1e9;
        bestOpen = std::min(bestOpen, open);
        state.SetIterationTime(open);
        if (w.window->Panel().Elements().size() != size_t(kElements))
            state.SkipWithError("station not opened");
    }
    state.counters["open_ms"] = bestOpen * 1e3;
    state.counters["check_ms"] = bestCheck * 1e3;
    state.counters["open_vs_check"] = bestOpen / bestCheck;
}
BENCHMARK(BM_OpenBigStation)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] { std::remove(BigStationPath().c_str()); });
}

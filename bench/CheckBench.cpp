// The connection check in the main window, offscreen at 1920 x 1080, on a 4000 x 4000 panel
// of 1,000,000 elements (a thousand rows of a thousand cells of straight track, so the
// station is connected but for the rows' ends):
// - a placement with its frame while the check is on, against the same with it off;
// - turning the check on (the whole panel checked, the first frame with the marks drawn),
//   against `vedivez-tool lint` of the same station's file.
#include "BenchSupport.h"

#include "app/CheckController.h"
#include "app/MainWindow.h"
#include "app/PanelView.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
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

class NoPrompts : public Prompts {
public:
    void ShowError(const QString& m, const QString&) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(m));
    }
    void ShowMessage(const QString&) override {}
    bool Confirm(const QString&) override { return true; }
    std::optional<QString> OpenFileName(const FileRequest&) override { return std::nullopt; }
    std::optional<QString> SaveFileName(const FileRequest&) override { return std::nullopt; }
};

std::vector<TPolePanelu> ConnectedRows() {
    std::vector<TPolePanelu> elements = MakeElements(1'000'000);
    for (size_t i = 0; i < elements.size(); ++i) {
        TPolePanelu& e = elements[i];
        e = TPolePanelu{};
        e.X = int(i % 1000) + 500;
        e.Y = int(i / 1000) * 3 + 100;
        e.NAME = "KOL_sLSPS";
        e.Cont_LS = e.Cont_PS = true;
    }
    return elements;
}

std::string StationPath() {
    static const std::string path = [] {
        const std::string p = BenchDir() + "/vedivez-check-bench.reru";
        std::ofstream(p, std::ios::binary) << EncodeStation(ConnectedRows(), 4000, 4000);
        return p;
    }();
    return path;
}

struct Window {
    std::unique_ptr<TPanelVAD> window;
    Window() {
        window = std::make_unique<TPanelVAD>(std::make_unique<NoPrompts>());
        window->resize(1920, 1080);
        window->show();
        QApplication::processEvents();
        window->SetWidthValue(4000);
        window->SetHeightValue(4000);
        window->Panel().ReplaceElements(ConnectedRows());
        // The view on the stations's first rows.
        window->View().CentreOn(QPoint(520 * 47, 110 * 47));
    }
    void Frame() {
        window->View().RenderIfChanged(1);
        QApplication::processEvents();
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button) {
        SurfaceWidget* s = window->View().SurfaceControl();
        QMouseEvent e(type, p, s->mapToGlobal(p), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                      Qt::NoModifier);
        QApplication::sendEvent(s, &e);
    }
    void Click(QPoint p) {
        Send(QEvent::MouseMove, p, Qt::NoButton);
        Send(QEvent::MouseButtonPress, p, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, p, Qt::LeftButton);
    }
};

// Placements in a row of the station, each followed by its frame; the tile alternates so
// that every placement changes the panel and its findings.
double Placements(benchmark::State& state, Window& w) {
    w.Frame();
    w.Frame();
    double best = 1e9;
    int step = 0;
    for (auto _ : state) {
        w.window->Panel().SelectedName = step % 2 ? "KOL_sLSPS" : "KOL_sSDSH";
        const QPoint cell((510 + step % 20) * 47 + 20, 103 * 47 + 20);
        ++step;
        QElapsedTimer t;
        t.start();
        w.Click(cell);
        w.Frame();
        const double s = t.nsecsElapsed() / 1e9;
        best = std::min(best, s);
        state.SetIterationTime(s);
    }
    return best;
}

double placementOff = 0;

void BM_Placement_CheckOff_1M(benchmark::State& state) {
    Window w;
    placementOff = Placements(state, w);
    state.counters["placement_ms"] = placementOff * 1e3;
}
BENCHMARK(BM_Placement_CheckOff_1M)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_Placement_CheckOn_1M(benchmark::State& state) {
    Window w;
    w.window->Action(QStringLiteral("MP_KontrolaSpojeni"))->trigger();
    const double on = Placements(state, w);
    state.counters["placement_ms"] = on * 1e3;
    state.counters["findings"] = double(w.window->Checks().Check().Count());
    if (placementOff > 0)
        state.counters["vs_off"] = on / placementOff;
}
BENCHMARK(BM_Placement_CheckOn_1M)->UseManualTime()->Iterations(100)->Unit(benchmark::kMillisecond);

void BM_TurnCheckOn_1M(benchmark::State& state) {
    double bestOn = 1e9, bestLint = 1e9;
    for (auto _ : state) {
        QElapsedTimer lint;
        lint.start();
        QProcess tool;
        tool.start(QStringLiteral(VEDIVEZ_TOOL_EXE),
                   {QStringLiteral("lint"), QString::fromStdString(StationPath())});
        tool.waitForFinished(-1);
        bestLint = std::min(bestLint, lint.nsecsElapsed() / 1e9);

        Window w;
        w.Frame();
        QElapsedTimer on;
        on.start();
        w.window->Action(QStringLiteral("MP_KontrolaSpojeni"))->trigger();
        w.Frame();
        const double s = on.nsecsElapsed() / 1e9;
        bestOn = std::min(bestOn, s);
        state.SetIterationTime(s);
        state.counters["findings"] = double(w.window->Checks().Check().Count());
    }
    state.counters["check_on_ms"] = bestOn * 1e3;
    state.counters["tool_lint_ms"] = bestLint * 1e3;
    state.counters["vs_tool_lint"] = bestOn / bestLint;
}
BENCHMARK(BM_TurnCheckOn_1M)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::remove(StationPath().c_str());
    return 0;
}

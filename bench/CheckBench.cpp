// The connection check in the main window, offscreen at 1920 x 1080, on a 4000 x 4000 panel
// of 1,000,000 elements (a thousand rows of a thousand cells of straight track, so the
// station is connected but for the rows' ends):
// - a placement with its frame while the check is on, against the same with it off;
// - turning the check on (the whole panel checked, the first frame with the marks drawn),
//   against `vedivez-tool lint` of the same station's file;
// - a million identical records stacked in one cell between two buffer stops: turning the
//   check on (time and the memory it keeps), and a click on that cell with the check on
//   against the same click with it off.
#include "BenchSupport.h"
#include "BenchWindow.h"

#include "app/CheckController.h"
#include "panel/StationFile.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <unistd.h>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

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

// The window with the big station, its view on the station's first rows.
struct Window : BenchWindow {
    Window() {
        window->Doc().SetSize(4000, 4000);
        window->Panel().ReplaceElements(ConnectedRows());
        View().CentreOn(QPoint(520 * 47, 110 * 47));
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
BENCHMARK(BM_Placement_CheckOff_1M)
    ->UseManualTime()
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

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

// A million identical straight tracks in cell (10, 10), met by a buffer stop on either side.
std::vector<TPolePanelu> OneCrowdedCell() {
    std::vector<TPolePanelu> out;
    TPolePanelu left;
    left.X = 9;
    left.Y = 10;
    left.NAME = "KOZ_sPS";
    out.push_back(left);
    TPolePanelu right = left;
    right.X = 11;
    right.NAME = "KOZ_sLS";
    out.push_back(right);
    TPolePanelu track = left;
    track.X = 10;
    track.NAME = "KOL_sLSPS";
    track.Cont_LS = track.Cont_PS = true;
    out.resize(out.size() + 1'000'000, track);
    return out;
}

struct CrowdedWindow : BenchWindow {
    CrowdedWindow() {
        window->Doc().SetSize(100, 100);
        window->Panel().ReplaceElements(OneCrowdedCell());
        View().CentreOn(QPoint(10 * 47, 10 * 47));
    }
};

// The process's resident memory in MiB.
double ResidentMiB() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return double(resident) * double(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_CrowdedCell_TurnCheckOn(benchmark::State& state) {
    double best = 1e9, kept = 0;
    for (auto _ : state) {
        CrowdedWindow w;
        w.Frame();
        const double before = ResidentMiB();
        QElapsedTimer on;
        on.start();
        w.window->Action(QStringLiteral("MP_KontrolaSpojeni"))->trigger();
        w.Frame();
        const double s = on.nsecsElapsed() / 1e9;
        kept = ResidentMiB() - before;
        best = std::min(best, s);
        state.SetIterationTime(s);
        state.counters["findings"] = double(w.window->Checks().Check().Count());
    }
    state.counters["check_on_ms"] = best * 1e3;
    state.counters["kept_MiB"] = kept;
}
BENCHMARK(BM_CrowdedCell_TurnCheckOn)
    ->UseManualTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

// Clicks on the crowded cell, each replacing its first record (the tile alternates) and
// followed by its frame.
double CrowdedClicks(benchmark::State& state, CrowdedWindow& w) {
    w.Frame();
    double best = 1e9;
    int step = 0;
    for (auto _ : state) {
        w.window->Panel().SelectedName = step++ % 2 ? "KOL_sLSPS" : "KOL_sSDSH";
        QElapsedTimer t;
        t.start();
        w.Click(w.Cell(10, 10));
        w.Frame();
        const double s = t.nsecsElapsed() / 1e9;
        best = std::min(best, s);
        state.SetIterationTime(s);
    }
    return best;
}

double crowdedClickOff = 0;

void BM_CrowdedCell_Click_CheckOff(benchmark::State& state) {
    CrowdedWindow w;
    crowdedClickOff = CrowdedClicks(state, w);
    state.counters["click_ms"] = crowdedClickOff * 1e3;
}
BENCHMARK(BM_CrowdedCell_Click_CheckOff)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

void BM_CrowdedCell_Click_CheckOn(benchmark::State& state) {
    CrowdedWindow w;
    w.window->Action(QStringLiteral("MP_KontrolaSpojeni"))->trigger();
    const double on = CrowdedClicks(state, w);
    state.counters["click_ms"] = on * 1e3;
    if (crowdedClickOff > 0)
        state.counters["vs_off"] = on / crowdedClickOff;
}
BENCHMARK(BM_CrowdedCell_Click_CheckOn)
    ->UseManualTime()
    ->Iterations(6)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv, [] { std::remove(StationPath().c_str()); });
}

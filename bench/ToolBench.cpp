// The headless tool's station checks and print export on a 4000 x 4000-cell panel of a
// million elements. The lint is measured against loading the same file in the same run
// (in process, and as `vedivez-tool lint` against `vedivez-tool check`); the export's peak
// memory is the child process's maximum resident size, next to that of `check`.
#include "BenchSupport.h"

#include "export/PanelExport.h"
#include "panel/HeadlessPanel.h"
#include "panel/StationFile.h"
#include "panel/StationLint.h"
#include "panel/TileCatalogue.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

constexpr int kSide = 1000; // a block of kSide x kSide elements
constexpr int kPanel = 4000;

// Connected station rows: a buffer stop at each end, plain track, boundaries and switch
// pairs in between (a switch to the lower right and, one row down, the one it meets), so
// the check does its full work and finds little. Corner flags vary as in a real panel.
std::vector<TPolePanelu> ConnectedRows() {
    std::vector<TPolePanelu> out;
    out.reserve(size_t(kSide) * kSide);
    for (int r = 0; r < kSide; ++r)
        for (int c = 0; c < kSide; ++c) {
            TPolePanelu e;
            e.X = c;
            e.Y = r;
            if (c == 0)
                e.NAME = "KOZ_sPS";
            else if (c == kSide - 1)
                e.NAME = "KOZ_sLS";
            else if (c % 10 == 3 && r % 2 == 0)
                e.NAME = "VYH_sLSPS_sLSPD";
            else if (c % 10 == 4 && r % 2 == 1)
                e.NAME = "VYH_sLSPS_sLHPS";
            else if (c % 10 == 7)
                e.NAME = "HKO_sLSPS";
            else
                e.NAME = "KOL_sLSPS";
            e.Cont_LS = e.Cont_PS = true;
            e.Cont_PD = c % 10 == 3;
            out.push_back(std::move(e));
        }
    return out;
}

// The heaviest drawing: every catalogue tile in turn, each with all four corner flags.
std::vector<TPolePanelu> EveryTileWithMarks() {
    const auto& items = TileCatalogue();
    std::vector<TPolePanelu> out;
    out.reserve(size_t(kSide) * kSide);
    for (int i = 0; i < kSide * kSide; ++i) {
        TPolePanelu e;
        e.X = i % kSide;
        e.Y = i / kSide;
        e.NAME = items[size_t(i) % items.size()].name;
        e.Cont_LH = e.Cont_LD = e.Cont_PH = e.Cont_PD = true;
        out.push_back(std::move(e));
    }
    return out;
}

// Writes a station of the elements on the 4000 x 4000 panel into the benchmark folder.
std::string WriteStation(const char* name, const std::vector<TPolePanelu>& elements) {
    const std::string path = BenchDir() + name;
    std::ofstream(path, std::ios::binary) << EncodeStation(elements, kPanel, kPanel);
    return path;
}

// A million identical elements stacked in one cell between the two buffer stops that meet
// them: the lint reports the cell once, as one duplicate, and the stops ask the crowded cell
// for its track.
std::vector<TPolePanelu> OneCrowdedCell() {
    std::vector<TPolePanelu> out;
    out.reserve(size_t(kSide) * kSide + 2);
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
    out.resize(out.size() + size_t(kSide) * kSide, track);
    return out;
}

const char* const kConnectedFile = "/vedivez-bench-tool.reru";
const char* const kHeavyFile = "/vedivez-bench-tool-heavy.reru";
const char* const kCrowdedFile = "/vedivez-bench-tool-crowded.reru";

const std::string& StationPath() {
    static const std::string path = WriteStation(kConnectedFile, ConnectedRows());
    return path;
}

const std::string& HeavyStationPath() {
    static const std::string path = WriteStation(kHeavyFile, EveryTileWithMarks());
    return path;
}

const std::string& CrowdedStationPath() {
    static const std::string path = WriteStation(kCrowdedFile, OneCrowdedCell());
    return path;
}

// Runs the tool with standard output and error going to /dev/null; returns the wall time
// and the child's peak resident size in MiB.
struct ChildRun {
    double seconds = 0;
    double peakMiB = 0;
    int status = -1;
};

ChildRun RunTool(std::vector<std::string> args) {
    args.insert(args.begin(), VEDIVEZ_TOOL_EXE);
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    ChildRun run;
    struct rusage usage {};
    run.seconds = Seconds([&] {
        const pid_t pid = fork();
        if (pid == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::wait4(pid, &run.status, 0, &usage);
    });
    run.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return run;
}

void BM_LintVsLoad(benchmark::State& state) {
    const QString path = QString::fromStdString(StationPath());
    double bestLoad = 1e9, bestLint = 1e9;
    size_t findings = 0;
    for (auto _ : state) {
        HeadlessPanel p;
        const double load = Seconds([&] { p.document.Load(path); });
        const double lint = Seconds([&] { findings = LintStation(p.panel).size(); });
        bestLoad = std::min(bestLoad, load);
        bestLint = std::min(bestLint, lint);
        state.SetIterationTime(load + lint);
        if (p.panel.Elements().size() != size_t(kSide) * kSide)
            state.SkipWithError("wrong element count");
    }
    state.counters["load_s"] = bestLoad;
    state.counters["lint_s"] = bestLint;
    state.counters["findings"] = double(findings);
    // Loading and checking against loading alone: the bound is 2.
    state.counters["load_and_lint_vs_load"] = (bestLoad + bestLint) / bestLoad;
}
BENCHMARK(BM_LintVsLoad)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// On the connected rows (few findings), on every tile in turn, where nearly every element
// has open ends and the lint prints over a million lines, and on a million elements in one
// cell, which must be taken in one walk of the cell. The bound is 2 for each.
void BM_LintToolVsCheckTool(benchmark::State& state) {
    const std::string path = state.range(0) == 0   ? StationPath()
                             : state.range(0) == 1 ? HeavyStationPath()
                                                   : CrowdedStationPath();
    double bestCheck = 1e9, bestLint = 1e9;
    for (auto _ : state) {
        const ChildRun check = RunTool({"check", path});
        const ChildRun lint = RunTool({"lint", path});
        if (!WIFEXITED(check.status) || WEXITSTATUS(check.status) != 0 || !WIFEXITED(lint.status) ||
            WEXITSTATUS(lint.status) > 1)
            state.SkipWithError("the tool failed");
        bestCheck = std::min(bestCheck, check.seconds);
        bestLint = std::min(bestLint, lint.seconds);
        state.SetIterationTime(lint.seconds);
    }
    state.counters["check_s"] = bestCheck;
    state.counters["lint_s"] = bestLint;
    state.counters["lint_vs_check"] = bestLint / bestCheck;
}
BENCHMARK(BM_LintToolVsCheckTool)
    ->ArgName("station")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Peak memory of exporting the whole 4000 x 4000-cell panel (188000 x 188000 surface
// pixels; a raster of it would take 132 GiB), against `check` of the same file: the
// connected station rows, and every tile with all its corner marks.
void BM_ExportPeakMemory(benchmark::State& state) {
    const std::string path = state.range(1) ? HeavyStationPath() : StationPath();
    const bool svg = state.range(0) == 1;
    const std::string out =
        BenchDir() + (svg ? "/vedivez-bench-export.svg" : "/vedivez-bench-export.pdf");
    ChildRun check, run;
    for (auto _ : state) {
        check = RunTool({"check", path});
        run = RunTool({"export", path, out, "--area", "panel"});
        if (!WIFEXITED(run.status) || WEXITSTATUS(run.status) != 0)
            state.SkipWithError("export failed");
        state.SetIterationTime(run.seconds);
    }
    std::ifstream file(out, std::ios::binary | std::ios::ate);
    state.counters["file_MB"] = double(file.tellg()) / 1e6;
    state.counters["export_s"] = run.seconds;
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["check_peak_MiB"] = check.peakMiB;
    state.counters["peak_vs_check"] = run.peakMiB / check.peakMiB;
    state.counters["peak_vs_1GiB"] = run.peakMiB / 1024.0;
    ::unlink(out.c_str());
}
BENCHMARK(BM_ExportPeakMemory)
    ->ArgNames({"svg", "every_tile"})
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Args({1, 1})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The pages of the print preview of a station of 1,000,000 elements (every tile with its
// corner marks, fitted to one A4 page) against the 2 s the preview may take to open: drawn
// at a printer's 1200 dpi as the preview draws them (pictures of 200 dpi), and as printing
// and the PDF export draw them (shapes), for comparison.
void BM_PreviewPages_1M(benchmark::State& state) {
    HeadlessPanel p;
    p.document.Load(HeavyStationPath());
    const bool shapes = state.range(0) == 1;
    double seconds = 0;
    for (auto _ : state) {
        PanelExporter exporter(p.panel, ExportOptions{});
        exporter.rasterDpi = shapes ? 0 : 200;
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QPdfWriter writer(&out);
        writer.setResolution(1200);
        writer.setPageLayout(exporter.OptionsLayout());
        const auto start = std::chrono::steady_clock::now();
        QPainter painter(&writer);
        exporter.PaintPages(painter, writer, QStringLiteral("bench"));
        painter.end();
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
    }
    state.counters["pages_s"] = seconds;
    state.counters["vs_2s_target"] = seconds / 2;
}
BENCHMARK(BM_PreviewPages_1M)
    ->ArgName("shapes")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Page labels need fonts, and fonts need a GUI application (offscreen: no display).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The station files are written on first use; remove whichever were.
    for (const char* name : {kConnectedFile, kHeavyFile, kCrowdedFile})
        ::unlink((BenchDir() + name).c_str());
    return 0;
}

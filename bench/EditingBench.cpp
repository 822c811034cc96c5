// Editing cost must not grow with the panel: 10,000 placements and one 4,000-cell row fill
// on a panel holding a million elements, against the same edits on an empty panel.
#include "BenchSupport.h"

#include "panel/HeadlessPanel.h"

#include <algorithm>
#include <random>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

// The edits land beside the existing block (columns from 5000), so on both panels they
// append new elements; they are removed again untimed afterwards.
double TimedEdits(PanelState& panel, std::mt19937& rng) {
    const double t = Seconds([&] {
        for (int i = 0; i < 10'000; ++i) {
            const int col = 5000 + int(rng() % 2000), row = int(rng() % 1000);
            panel.PlaceElementAt(col * 47 + 3, row * 47 + 3, false);
        }
        panel.FillRow(4000 + 3999, 1500, 3999);
    });
    while (panel.Elements().size() > 0 && panel.Elements().back().X >= 4000)
        panel.RemoveElement(panel.Elements().size() - 1);
    return t;
}

void BM_EditingBigVersusEmpty(benchmark::State& state) {
    HeadlessPanel empty, big;
    big.panel.ReplaceElements(MakeElements(1'000'000));
    std::mt19937 rngEmpty(7), rngBig(7);
    double bestEmpty = 1e9, bestBig = 1e9;
    for (auto _ : state) {
        bestEmpty = std::min(bestEmpty, TimedEdits(empty.panel, rngEmpty));
        const double t = TimedEdits(big.panel, rngBig);
        bestBig = std::min(bestBig, t);
        state.SetIterationTime(t);
    }
    state.counters["empty_ms"] = bestEmpty * 1e3;
    state.counters["big_ms"] = bestBig * 1e3;
    state.counters["big_vs_empty"] = bestBig / bestEmpty;
}
BENCHMARK(BM_EditingBigVersusEmpty)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

#pragma once

#include "panel/TPolePanelu.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <string>
#include <vector>

namespace vedivez::bench {

// Wall-clock seconds taken by `f`.
template <typename F> double Seconds(F&& f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// `count` elements on a square block of cells, flags varied, names from the catalogue.
std::vector<TPolePanelu> MakeElements(int count);

// Folder for benchmark files: $VEDIVEZ_BENCH_DIR, else /tmp.
std::string BenchDir();

} // namespace vedivez::bench

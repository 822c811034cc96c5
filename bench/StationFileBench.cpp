// Loading and saving a station file of a million elements, against a plain chunked read
// and a plain write (with the same flush to disk) of the same bytes.
#include "BenchSupport.h"

#include "panel/HeadlessPanel.h"
#include "panel/StationFile.h"

#include <QString>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace vedivez;
using namespace vedivez::bench;

namespace {

constexpr int kElements = 1'000'000;

std::string StationPath() {
    return BenchDir() + "/vedivez-bench-station.reru";
}

const std::string& StationBytes() {
    static const std::string bytes = EncodeStation(MakeElements(kElements), 1000, 1000);
    return bytes;
}

void PlainWrite(const std::string& path, const std::string& data, bool flush) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    if (flush)
        ::fsync(fd);
    ::close(fd);
}

size_t PlainRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::string buffer(size_t(1) << 20, '\0');
    size_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += size_t(n);
    ::close(fd);
    return total;
}

void BM_LoadStation(benchmark::State& state) {
    const std::string path = StationPath();
    PlainWrite(path, StationBytes(), false);
    double bestLoad = 1e9, bestRead = 1e9;
    for (auto _ : state) {
        bestRead = std::min(bestRead, Seconds([&] { benchmark::DoNotOptimize(PlainRead(path)); }));
        HeadlessPanel p;
        const double t = Seconds([&] { p.document.Load(QString::fromStdString(path)); });
        bestLoad = std::min(bestLoad, t);
        state.SetIterationTime(t);
        if (p.panel.Elements().size() != size_t(kElements))
            state.SkipWithError("wrong element count");
    }
    const double mb = double(StationBytes().size()) / 1e6;
    state.counters["MB"] = mb;
    state.counters["load_MBps"] = mb / bestLoad;
    state.counters["read_MBps"] = mb / bestRead;
    state.counters["load_vs_read"] = bestLoad / bestRead;
    ::unlink(path.c_str());
}
BENCHMARK(BM_LoadStation)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SaveStation(benchmark::State& state) {
    const std::string path = StationPath();
    const std::string plainPath = path + ".plain";
    HeadlessPanel p;
    p.panel.ReplaceElements(MakeElements(kElements));
    double bestSave = 1e9, bestWrite = 1e9, bestWriteNoFlush = 1e9;
    for (auto _ : state) {
        bestWrite =
            std::min(bestWrite, Seconds([&] { PlainWrite(plainPath, StationBytes(), true); }));
        bestWriteNoFlush = std::min(bestWriteNoFlush,
                                    Seconds([&] { PlainWrite(plainPath, StationBytes(), false); }));
        const double t = Seconds([&] { p.document.Save(QString::fromStdString(path)); });
        bestSave = std::min(bestSave, t);
        state.SetIterationTime(t);
    }
    const double mb = double(StationBytes().size()) / 1e6;
    state.counters["MB"] = mb;
    state.counters["save_MBps"] = mb / bestSave;
    state.counters["write_MBps"] = mb / bestWrite;
    state.counters["save_vs_write"] = bestSave / bestWrite;
    state.counters["save_vs_unflushed_write"] = bestSave / bestWriteNoFlush;
    ::unlink(path.c_str());
    ::unlink(plainPath.c_str());
}
BENCHMARK(BM_SaveStation)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

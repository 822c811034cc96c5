#pragma once

#include "panel/CellIndex.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace vedivez {

// Builds a CellIndex on a worker thread while a reader is still producing the elements, so
// that indexing a big file overlaps with parsing it. Cells arrive in batches, in list order.
class CellIndexBuilder {
public:
    using Cells = std::vector<std::pair<int32_t, int32_t>>;

    explicit CellIndexBuilder(size_t expectedCount = 0);
    ~CellIndexBuilder();
    CellIndexBuilder(const CellIndexBuilder&) = delete;
    CellIndexBuilder& operator=(const CellIndexBuilder&) = delete;

    // The cells of the next elements in list order.
    void Add(Cells cells);
    // Waits for the worker and hands over the index of every cell added.
    CellIndex Finish();

private:
    void Run();
    void Stop();

    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Cells> queue_;
    bool closed_ = false;
    CellIndex index_;
    uint32_t next_ = 0;
    std::thread worker_;
};

} // namespace vedivez

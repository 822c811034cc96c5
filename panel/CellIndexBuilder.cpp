#include "panel/CellIndexBuilder.h"

namespace vedivez {

CellIndexBuilder::CellIndexBuilder(size_t expectedCount) {
    // The table is sized (and its pages touched) on the worker too, off the reader's path.
    worker_ = std::thread([this, expectedCount] {
        index_.Reserve(expectedCount);
        Run();
    });
}

CellIndexBuilder::~CellIndexBuilder() {
    Stop();
}

void CellIndexBuilder::Add(Cells cells) {
    if (cells.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(std::move(cells));
    }
    wake_.notify_one();
}

void CellIndexBuilder::Run() {
    for (;;) {
        Cells batch;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [this] { return closed_ || !queue_.empty(); });
            if (queue_.empty())
                return; // closed and drained
            batch = std::move(queue_.front());
            queue_.pop_front();
        }
        for (const auto& [col, row] : batch)
            index_.Add(col, row, next_++);
    }
}

void CellIndexBuilder::Stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    wake_.notify_one();
    if (worker_.joinable())
        worker_.join();
}

CellIndex CellIndexBuilder::Finish() {
    Stop();
    return std::move(index_);
}

} // namespace vedivez

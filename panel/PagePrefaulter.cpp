#include "panel/PagePrefaulter.h"

#include <algorithm>
#include <sys/mman.h>
#include <unistd.h>

namespace vedivez {

std::unique_ptr<PagePrefaulter> PagePrefaulter::For(const void* data, size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
    if (bytes >= (size_t(8) << 20)) {
        const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
        const uintptr_t from = (uintptr_t(data) + page - 1) & ~(page - 1);
        const uintptr_t to = (uintptr_t(data) + bytes) & ~(page - 1);
        if (to > from)
            return std::make_unique<PagePrefaulter>(from, to);
    }
#endif
    return nullptr;
}

PagePrefaulter::PagePrefaulter(uintptr_t from, uintptr_t to)
    : to_(to), filled_(from), thread_([this, from] { Run(from); }) {}

PagePrefaulter::~PagePrefaulter() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

void PagePrefaulter::Filled(const void* upTo) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        filled_ = std::max(filled_, uintptr_t(upTo));
    }
    wake_.notify_one();
}

void PagePrefaulter::Run(uintptr_t mapped) {
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    while (mapped < to_) {
        uintptr_t target;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return done_ || std::min(to_, filled_ + kAhead) > mapped; });
            if (done_)
                return;
            target = std::min(to_, filled_ + kAhead) & ~(page - 1);
        }
        if (target <= mapped)
            continue;
#if defined(MADV_POPULATE_WRITE)
        (void)::madvise(reinterpret_cast<void*>(mapped), target - mapped, MADV_POPULATE_WRITE);
#endif
        mapped = target;
    }
}

} // namespace vedivez

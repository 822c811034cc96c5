#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

namespace vedivez {

// Maps the pages of a freshly reserved buffer on a helper thread, a window ahead of the part
// filled so far, so that the thread filling it does not stop at every new page; a big
// buffer of which little gets filled maps no more than the window. Mapping only fills in
// page tables and never touches the memory's contents, so it cannot race the writes. Where
// the system cannot map ahead it does nothing.
class PagePrefaulter {
public:
    // A prefaulter for the `bytes` bytes at `data`, or null where it would not pay (a buffer
    // of a few megabytes) or the system cannot map ahead.
    static std::unique_ptr<PagePrefaulter> For(const void* data, size_t bytes);

    PagePrefaulter(uintptr_t from, uintptr_t to);
    ~PagePrefaulter();
    PagePrefaulter(const PagePrefaulter&) = delete;
    PagePrefaulter& operator=(const PagePrefaulter&) = delete;

    // The buffer is filled up to this address.
    void Filled(const void* upTo);

private:
    static constexpr uintptr_t kAhead = uintptr_t(64) << 20;
    void Run(uintptr_t mapped);

    const uintptr_t to_;
    uintptr_t filled_;
    bool done_ = false;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread thread_;
};

} // namespace vedivez

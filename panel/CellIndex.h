#pragma once

#include "panel/CellKey.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vedivez {

// Maps a cell to the list index of the first element (in list order) that lies in it, so
// lookups by cell cost the same on an empty panel and on one with a million elements.
// Cells holding several elements (only a loaded file can produce them) keep the full,
// sorted set of their indices on the side, so removing the first one reveals the next.
class CellIndex {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    // Index of the first element in the cell, or kNone.
    uint32_t First(int32_t col, int32_t row) const;

    // Starts loading the cell's slot into the cache ahead of a lookup.
    void Prefetch(int32_t col, int32_t row) const {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[Hash(CellKey(col, row)) & mask_]);
    }

    // Calls fn(index) for every element of the cell, in list order.
    template <typename F> void ForEachInCell(int32_t col, int32_t row, F&& fn) const {
        const uint32_t first = First(col, row);
        if (first == kNone)
            return;
        if (!shared_.empty()) {
            auto it = shared_.find(CellKey(col, row));
            if (it != shared_.end()) {
                for (uint32_t i : it->second)
                    fn(i);
                return;
            }
        }
        fn(first);
    }

    void Add(int32_t col, int32_t row, uint32_t index);
    void Remove(int32_t col, int32_t row, uint32_t index);
    // The element at `from` now lives at `to` (swap-remove moved it).
    void Move(int32_t col, int32_t row, uint32_t from, uint32_t to);
    void Clear();
    void Reserve(size_t count);
    // Gives back a table sized for far more cells than it holds.
    void ShrinkToFit();
    // Replaces the content with cells[i] -> i for every i, inserting in table order so that
    // building the index of a million elements does not miss the cache once per element.
    void Build(const std::vector<std::pair<int32_t, int32_t>>& cells);
    size_t CellCount() const { return size_; }

private:
    static uint64_t Hash(uint64_t key);
    size_t Probe(uint64_t key) const; // slot holding key, or the empty slot where it belongs
    void Grow();
    void EraseSlot(size_t slot);
    // A table size (a power of two) that holds `count` cells at most half full.
    static size_t SlotsFor(size_t count);
    // Moves every cell into a table of `slots` slots.
    void Rehash(size_t slots);

    // Open addressing with linear probing; an empty slot has value kNone. Key and value
    // share a slot so a probe touches one cache line.
    struct Slot {
        uint64_t key;
        uint32_t value;
    };
    std::vector<Slot> slots_;
    size_t size_ = 0;
    size_t mask_ = 0;
    // Cells with two or more elements: all their indices, ascending.
    std::unordered_map<uint64_t, std::vector<uint32_t>> shared_;
};

} // namespace vedivez

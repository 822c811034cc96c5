#include "panel/CellIndex.h"

#include <algorithm>
#include <cassert>

namespace vedivez {

uint64_t CellIndex::Hash(uint64_t key) {
    // splitmix64 finaliser: neighbouring cells spread over the whole table.
    key += 0x9E3779B97F4A7C15ull;
    key = (key ^ (key >> 30)) * 0xBF58476D1CE4E5B9ull;
    key = (key ^ (key >> 27)) * 0x94D049BB133111EBull;
    return key ^ (key >> 31);
}

size_t CellIndex::Probe(uint64_t key) const {
    size_t slot = Hash(key) & mask_;
    while (slots_[slot].value != kNone && slots_[slot].key != key)
        slot = (slot + 1) & mask_;
    return slot;
}

uint32_t CellIndex::First(int32_t col, int32_t row) const {
    if (size_ == 0)
        return kNone;
    return slots_[Probe(CellKey(col, row))].value;
}

size_t CellIndex::SlotsFor(size_t count) {
    size_t wanted = 16;
    while (wanted < count * 2)
        wanted *= 2;
    return wanted;
}

void CellIndex::Rehash(size_t slots) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(slots, Slot{0, kNone});
    mask_ = slots - 1;
    for (const Slot& s : old)
        if (s.value != kNone)
            slots_[Probe(s.key)] = s;
}

void CellIndex::Reserve(size_t count) {
    const size_t wanted = SlotsFor(count);
    if (wanted > slots_.size())
        Rehash(wanted);
}

void CellIndex::ShrinkToFit() {
    const size_t wanted = SlotsFor(size_);
    if (slots_.size() > wanted * 2)
        Rehash(wanted);
}

void CellIndex::Grow() {
    // Keep the load factor at or below one half so probe chains stay short.
    if ((size_ + 1) * 2 > slots_.size())
        Reserve(std::max<size_t>(size_ + 1, slots_.size()));
}

void CellIndex::Add(int32_t col, int32_t row, uint32_t index) {
    Grow();
    const uint64_t key = CellKey(col, row);
    const size_t slot = Probe(key);
    if (slots_[slot].value == kNone) {
        slots_[slot] = Slot{key, index};
        ++size_;
        return;
    }
    auto [it, created] = shared_.try_emplace(key);
    std::vector<uint32_t>& all = it->second;
    if (created)
        all.push_back(slots_[slot].value);
    all.insert(std::lower_bound(all.begin(), all.end(), index), index);
    slots_[slot].value = all.front();
}

void CellIndex::EraseSlot(size_t slot) {
    // Backward-shift deletion: pull later members of the probe chain into the hole so that
    // lookups never need tombstones.
    size_t hole = slot;
    size_t next = (hole + 1) & mask_;
    while (slots_[next].value != kNone) {
        const size_t home = Hash(slots_[next].key) & mask_;
        // Move the entry if its home slot does not lie cyclically in (hole, next].
        const bool stays =
            hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!stays) {
            slots_[hole] = slots_[next];
            hole = next;
        }
        next = (next + 1) & mask_;
    }
    slots_[hole].value = kNone;
    --size_;
}

void CellIndex::Remove(int32_t col, int32_t row, uint32_t index) {
    if (size_ == 0)
        return;
    const uint64_t key = CellKey(col, row);
    const size_t slot = Probe(key);
    if (slots_[slot].value == kNone)
        return;
    auto it = shared_.find(key);
    if (it == shared_.end()) {
        if (slots_[slot].value == index)
            EraseSlot(slot);
        return;
    }
    std::vector<uint32_t>& all = it->second;
    auto pos = std::lower_bound(all.begin(), all.end(), index);
    if (pos != all.end() && *pos == index)
        all.erase(pos);
    slots_[slot].value = all.front();
    if (all.size() == 1)
        shared_.erase(it);
}

void CellIndex::Move(int32_t col, int32_t row, uint32_t from, uint32_t to) {
    if (from == to)
        return;
    const uint64_t key = CellKey(col, row);
    const size_t slot = Probe(key);
    assert(slots_[slot].value != kNone);
    auto it = shared_.find(key);
    if (it == shared_.end()) {
        slots_[slot].value = to;
        return;
    }
    std::vector<uint32_t>& all = it->second;
    auto pos = std::lower_bound(all.begin(), all.end(), from);
    if (pos != all.end() && *pos == from)
        all.erase(pos);
    all.insert(std::lower_bound(all.begin(), all.end(), to), to);
    slots_[slot].value = all.front();
}

void CellIndex::Clear() {
    // Give the memory back: an emptied panel should not keep a table sized for the old one.
    std::vector<Slot>().swap(slots_);
    mask_ = 0;
    size_ = 0;
    shared_.clear();
}

void CellIndex::Build(const std::vector<std::pair<int32_t, int32_t>>& cells) {
    Clear();
    Reserve(cells.size());
    if (cells.empty())
        return;
    // Partition the elements by the high bits of their home slot (a stable counting sort,
    // so each cell's indices stay ascending), then insert partition by partition: each
    // partition's inserts stay within a small, cache-resident stretch of the table.
    int bits = 0;
    while ((size_t(1) << bits) < slots_.size())
        ++bits;
    const int shift = bits > 11 ? bits - 11 : 0;
    const size_t buckets = (slots_.size() >> shift) + 1;
    std::vector<uint32_t> start(buckets + 1, 0);
    std::vector<uint32_t> home(cells.size());
    for (size_t i = 0; i < cells.size(); ++i) {
        home[i] = uint32_t(Hash(CellKey(cells[i].first, cells[i].second)) & mask_);
        ++start[(home[i] >> shift) + 1];
    }
    for (size_t b = 1; b <= buckets; ++b)
        start[b] += start[b - 1];
    // The partitioned copy carries the keys themselves: reading them back through the
    // original order would miss the cache as often as unordered inserts do.
    struct Entry {
        uint64_t key;
        uint32_t index;
        uint32_t home;
    };
    std::vector<Entry> sorted(cells.size());
    for (size_t i = 0; i < cells.size(); ++i)
        sorted[start[home[i] >> shift]++] =
            Entry{CellKey(cells[i].first, cells[i].second), uint32_t(i), home[i]};
    for (const Entry& e : sorted) {
        size_t slot = e.home;
        while (slots_[slot].value != kNone && slots_[slot].key != e.key)
            slot = (slot + 1) & mask_;
        if (slots_[slot].value == kNone) {
            slots_[slot] = Slot{e.key, e.index};
            ++size_;
        } else {
            Add(CellKeyCol(e.key), CellKeyRow(e.key), e.index);
        }
    }
}

} // namespace vedivez

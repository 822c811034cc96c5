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
    while (values_[slot] != kNone && keys_[slot] != key)
        slot = (slot + 1) & mask_;
    return slot;
}

uint32_t CellIndex::First(int32_t col, int32_t row) const {
    if (size_ == 0)
        return kNone;
    return values_[Probe(Key(col, row))];
}

void CellIndex::Reserve(size_t count) {
    size_t wanted = 16;
    while (wanted < count * 2)
        wanted *= 2;
    if (wanted <= keys_.size())
        return;
    std::vector<uint64_t> oldKeys = std::move(keys_);
    std::vector<uint32_t> oldValues = std::move(values_);
    keys_.assign(wanted, 0);
    values_.assign(wanted, kNone);
    mask_ = wanted - 1;
    for (size_t i = 0; i < oldKeys.size(); ++i) {
        if (oldValues[i] == kNone)
            continue;
        const size_t slot = Probe(oldKeys[i]);
        keys_[slot] = oldKeys[i];
        values_[slot] = oldValues[i];
    }
}

void CellIndex::Grow() {
    // Keep the load factor at or below one half so probe chains stay short.
    if ((size_ + 1) * 2 > keys_.size())
        Reserve(std::max<size_t>(size_ + 1, keys_.size()));
}

void CellIndex::Add(int32_t col, int32_t row, uint32_t index) {
    Grow();
    const uint64_t key = Key(col, row);
    const size_t slot = Probe(key);
    if (values_[slot] == kNone) {
        keys_[slot] = key;
        values_[slot] = index;
        ++size_;
        return;
    }
    auto [it, created] = shared_.try_emplace(key);
    std::vector<uint32_t>& all = it->second;
    if (created)
        all.push_back(values_[slot]);
    all.insert(std::lower_bound(all.begin(), all.end(), index), index);
    values_[slot] = all.front();
}

void CellIndex::EraseSlot(size_t slot) {
    // Backward-shift deletion: pull later members of the probe chain into the hole so that
    // lookups never need tombstones.
    size_t hole = slot;
    size_t next = (hole + 1) & mask_;
    while (values_[next] != kNone) {
        const size_t home = Hash(keys_[next]) & mask_;
        // Move the entry if its home slot does not lie cyclically in (hole, next].
        const bool stays = hole <= next ? (home > hole && home <= next) : (home > hole || home <= next);
        if (!stays) {
            keys_[hole] = keys_[next];
            values_[hole] = values_[next];
            hole = next;
        }
        next = (next + 1) & mask_;
    }
    values_[hole] = kNone;
    --size_;
}

void CellIndex::Remove(int32_t col, int32_t row, uint32_t index) {
    if (size_ == 0)
        return;
    const uint64_t key = Key(col, row);
    const size_t slot = Probe(key);
    if (values_[slot] == kNone)
        return;
    auto it = shared_.find(key);
    if (it == shared_.end()) {
        if (values_[slot] == index)
            EraseSlot(slot);
        return;
    }
    std::vector<uint32_t>& all = it->second;
    auto pos = std::lower_bound(all.begin(), all.end(), index);
    if (pos != all.end() && *pos == index)
        all.erase(pos);
    values_[slot] = all.front();
    if (all.size() == 1)
        shared_.erase(it);
}

void CellIndex::Move(int32_t col, int32_t row, uint32_t from, uint32_t to) {
    if (from == to)
        return;
    const uint64_t key = Key(col, row);
    const size_t slot = Probe(key);
    assert(values_[slot] != kNone);
    auto it = shared_.find(key);
    if (it == shared_.end()) {
        values_[slot] = to;
        return;
    }
    std::vector<uint32_t>& all = it->second;
    auto pos = std::lower_bound(all.begin(), all.end(), from);
    if (pos != all.end() && *pos == from)
        all.erase(pos);
    all.insert(std::lower_bound(all.begin(), all.end(), to), to);
    values_[slot] = all.front();
}

void CellIndex::Clear() {
    // Give the memory back: an emptied panel should not keep a table sized for the old one.
    std::vector<uint64_t>().swap(keys_);
    std::vector<uint32_t>().swap(values_);
    mask_ = 0;
    size_ = 0;
    shared_.clear();
}

} // namespace vedivez

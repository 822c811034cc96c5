#include "panel/CrowdedCells.h"

#include "panel/CellKey.h"
#include "panel/PanelState.h"
#include "panel/StationLint.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace vedivez {

const CrowdedCells::Crowd* CrowdedCells::Find(int32_t col, int32_t row) const {
    if (crowds_.empty())
        return nullptr;
    const auto it = crowds_.find(CellKey(col, row));
    return it == crowds_.end() ? nullptr : &it->second;
}

void CrowdedCells::Add(Crowd& crowd, const std::string& name, uint32_t count) {
    auto it = std::lower_bound(crowd.groups.begin(), crowd.groups.end(), name,
                               [](const Group& g, const std::string& n) { return g.name < n; });
    if (it == crowd.groups.end() || it->name != name)
        it = crowd.groups.insert(it, Group{name, 0, uint16_t(LintNameMask(name))});
    it->count += count;
    crowd.count += count;
    crowd.mask |= it->mask;
}

void CrowdedCells::Build(const PanelState& panel) {
    crowds_.clear();
    const std::vector<TPolePanelu>& elements = panel.Elements();
    if (panel.OccupiedCellCount() == elements.size())
        return;
    // Each crowd's names are counted first, unsorted: runs of one name in one cell (a
    // record repeated line after line) cost a comparison each, and a crowd of many names
    // finds them through a map of its own. The names are views of the list's own.
    struct Counting {
        std::vector<std::pair<std::string_view, uint32_t>> names;
        std::unordered_map<std::string_view, size_t> where; // once there are many names
    };
    std::unordered_map<uint64_t, Counting> counting;
    constexpr size_t kScanned = 16;
    auto count = [](Counting& c, std::string_view name) -> size_t {
        if (c.where.empty()) {
            for (size_t g = 0; g < c.names.size(); ++g)
                if (c.names[g].first == name)
                    return g;
            if (c.names.size() < kScanned) {
                c.names.emplace_back(name, 0);
                return c.names.size() - 1;
            }
            for (size_t g = 0; g < c.names.size(); ++g)
                c.where.emplace(c.names[g].first, g);
        }
        const auto [it, created] = c.where.try_emplace(name, c.names.size());
        if (created)
            c.names.emplace_back(name, 0);
        return it->second;
    };
    uint64_t lastKey = 0;
    Counting* last = nullptr;
    std::optional<size_t> lastGroup;
    for (size_t i = 0; i < elements.size(); ++i) {
        const TPolePanelu& e = elements[i];
        const std::optional<size_t> first = panel.FindElementAt(e.X, e.Y);
        if (!first || *first == i)
            continue;
        const uint64_t key = CellKey(e.X, e.Y);
        if (!last || key != lastKey) {
            const auto [it, created] = counting.try_emplace(key);
            last = &it->second;
            lastKey = key;
            // The cell's first element comes before every other in the list.
            if (created)
                ++last->names[count(*last, elements[*first].NAME)].second;
            lastGroup.reset();
        }
        if (!lastGroup || last->names[*lastGroup].first != e.NAME)
            lastGroup = count(*last, e.NAME);
        ++last->names[*lastGroup].second;
    }
    crowds_.reserve(counting.size());
    for (auto& [key, c] : counting) {
        Crowd& crowd = crowds_[key];
        std::sort(c.names.begin(), c.names.end());
        crowd.groups.reserve(c.names.size());
        for (const auto& [name, n] : c.names) {
            crowd.groups.push_back(
                Group{std::string(name), n, uint16_t(LintNameMask(std::string(name)))});
            crowd.count += n;
            crowd.mask |= crowd.groups.back().mask;
        }
    }
}

void CrowdedCells::Leaving(const PanelState& panel, size_t index) {
    const TPolePanelu& e = panel.Elements()[index];
    const auto it = crowds_.find(CellKey(e.X, e.Y));
    if (it == crowds_.end())
        return;
    Crowd& crowd = it->second;
    const auto g =
        std::lower_bound(crowd.groups.begin(), crowd.groups.end(), e.NAME,
                         [](const Group& a, const std::string& n) { return a.name < n; });
    if (g == crowd.groups.end() || g->name != e.NAME)
        return;
    --crowd.count;
    if (crowd.count <= 1) {
        crowds_.erase(it);
        return;
    }
    if (--g->count > 0)
        return;
    crowd.groups.erase(g);
    crowd.mask = 0;
    for (const Group& other : crowd.groups)
        crowd.mask |= other.mask;
}

void CrowdedCells::Arrived(const PanelState& panel, size_t index) {
    const TPolePanelu& e = panel.Elements()[index];
    const auto it = crowds_.find(CellKey(e.X, e.Y));
    if (it != crowds_.end()) {
        Add(it->second, e.NAME, 1);
        return;
    }
    // Without a crowd the cell held at most one element before this one arrived.
    std::vector<size_t> here;
    panel.ForEachElementAt(e.X, e.Y, [&](size_t i) { here.push_back(i); });
    if (here.size() < 2)
        return;
    Crowd& crowd = crowds_[CellKey(e.X, e.Y)];
    for (size_t i : here)
        Add(crowd, panel.Elements()[i].NAME, 1);
}

} // namespace vedivez

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace vedivez {

class PanelState;

// The cells that hold several elements, each with the distinct names of its elements and
// how many carry each: what the lint needs of such a cell, without walking its elements.
// Built in one walk of the list and then kept up to date element by element, so a view that
// keeps findings checks a cell of a million records again as fast as a cell of one.
class CrowdedCells {
public:
    struct Group {
        std::string name;
        uint32_t count = 0;
        uint16_t mask = 0; // LintNameMask of the name
    };
    struct Crowd {
        std::vector<Group> groups; // by name, byte order
        uint32_t count = 0;        // elements in the cell
        uint16_t mask = 0;         // the points any of them reaches
    };

    // Finds every crowded cell of the panel: one walk of the list.
    void Build(const PanelState& panel);
    void Clear() { crowds_.clear(); }
    // The crowd of a cell, or null for a cell of at most one element.
    const Crowd* Find(int32_t col, int32_t row) const;

    // Element `index` is about to leave its cell (its record is still in the list).
    void Leaving(const PanelState& panel, size_t index);
    // Element `index` has just arrived in its cell (the list and its index are up to date).
    void Arrived(const PanelState& panel, size_t index);

private:
    static void Add(Crowd& crowd, const std::string& name, uint32_t count);

    std::unordered_map<uint64_t, Crowd> crowds_;
};

} // namespace vedivez

#include "panel/StationLint.h"

#include "panel/PanelState.h"
#include "panel/Point.h"
#include "panel/TileCatalogue.h"
#include "surface/Cp1250.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace vedivez {

namespace {

constexpr uint32_t kKnownTile = 1u << 8;
constexpr uint32_t kKnownImage = 1u << 9;

// The masks of all catalogue names, by their name's small letters, as image lookups find them.
const std::unordered_map<std::string, uint32_t>& CatalogueMasks() {
    static const std::unordered_map<std::string, uint32_t> masks = [] {
        std::unordered_map<std::string, uint32_t> m;
        for (const TileBitmap& item : TileCatalogue()) {
            uint32_t mask = kKnownImage;
            if (item.width == kTileSize)
                mask |= kKnownTile | PointsInName(item.name);
            m[Cp1250LowerCase(item.name)] = mask;
        }
        return m;
    }();
    return masks;
}

// Name masks of one run, looked up once per distinct name; a panel uses a handful of names
// over and over, so the last few are kept at hand before the map is asked.
class MaskCache {
public:
    uint32_t Of(const std::string& name) {
        for (const Recent& r : recent_)
            if (r.valid && r.name == name)
                return r.mask;
        auto it = byName_.find(name);
        if (it == byName_.end())
            it = byName_.emplace(name, LintNameMask(name)).first;
        Recent& slot = recent_[next_++ % recent_.size()];
        slot = {name, it->second, true};
        return it->second;
    }

private:
    struct Recent {
        std::string name;
        uint32_t mask = 0;
        bool valid = false;
    };
    std::array<Recent, 8> recent_;
    size_t next_ = 0;
    std::unordered_map<std::string, uint32_t> byName_;
};

// The places where a point meets other cells: for an edge midpoint the one cell across the
// edge, for a corner the diagonal cell (where the track runs on, so it is asked first) and
// the two side cells, which can join it in a junction; with the partner's point code.
struct Partner {
    int dc;
    int dr;
    size_t point;
};
struct Partners {
    std::array<Partner, 3> cells;
    size_t count;
};

Partners PartnersOf(size_t p) {
    const int ex = kPointFacts[p].dx, ey = kPointFacts[p].dy;
    auto at = [](int dx, int dy) { return size_t(PointAt(dx, dy)); };
    if (ex == 0 || ey == 0)
        return {{{{ex, ey, at(-ex, -ey)}}}, 1};
    return {{{{ex, ey, at(-ex, -ey)}, {ex, 0, at(-ex, ey)}, {0, ey, at(ex, -ey)}}}, 3};
}

// Appends to one buffer; a broken station can have a finding for every element.
class Message {
public:
    explicit Message(std::string& text) : text_(text) {}
    Message& operator<<(std::string_view s) {
        text_ += s;
        return *this;
    }
    Message& operator<<(int64_t v) {
        char buffer[24];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
        text_.append(buffer, r.ptr);
        return *this;
    }
    // "col,row"
    Message& Cell(int64_t col, int64_t row) { return *this << col << "," << row; }

private:
    std::string& text_;
};

const char* SideName(int ex, int ey) {
    if (ex < 0)
        return "the cell to the left";
    if (ex > 0)
        return "the cell to the right";
    return ey < 0 ? "the cell above" : "the cell below";
}

const std::array<Partners, kPointCount>& AllPartners() {
    static const std::array<Partners, kPointCount> all = [] {
        std::array<Partners, kPointCount> out{};
        for (size_t p = 0; p < out.size(); ++p)
            out[p] = PartnersOf(p);
        return out;
    }();
    return all;
}

// The findings of the elements of one name in cell (col, row), whose name has `mask`:
// outside the panel, an unknown name, and every point of its track that nothing meets.
// `reaches(c, r, point)` tells whether track of cell (c, r), inside the panel, reaches that
// point; `add(point, kind, figures)` receives each finding, in the check's order.
template <typename Add, typename Reaches>
void NameFindings(int64_t col, int64_t row, uint32_t mask, int64_t cols, int64_t rows, Add&& add,
                  Reaches&& reaches) {
    auto inside = [&](int64_t c, int64_t r) { return c >= 0 && c < cols && r >= 0 && r < rows; };
    const bool in = inside(col, row);
    if (!in)
        add(-1, LintKind::OutsidePanel, std::array<int64_t, 2>{cols, rows});
    if (!(mask & kKnownImage))
        add(-1, LintKind::UnknownName, std::array<int64_t, 2>{});
    if (!in || !(mask & kKnownTile))
        return;
    const std::array<Partners, kPointCount>& allPartners = AllPartners();
    for (size_t p = 0; p < kPointCount; ++p) {
        if (!((mask >> p) & 1u))
            continue;
        const Partners& partners = allPartners[p];
        bool met = false;
        for (size_t k = 0; k < partners.count && !met; ++k) {
            const Partner& q = partners.cells[k];
            const int64_t c = col + q.dc, r = row + q.dr;
            met = inside(c, r) && reaches(c, r, q.point);
        }
        if (met)
            continue;
        const Partner& across = partners.cells[0];
        const bool leaves = !inside(col + across.dc, row + across.dr);
        add(int(p), leaves ? LintKind::LeavesPanel : LintKind::OpenEnd, std::array<int64_t, 2>{});
    }
}

// The findings of a cell of several elements whose first in list order is `first`: one
// duplicate naming how many the cell holds, and those of each distinct name once, sorted.
template <typename Reaches>
void CrowdFindings(const PanelState& panel, const CrowdedCells::Crowd& crowd, size_t first,
                   std::vector<LintFinding>& out, Reaches&& reaches) {
    const TPolePanelu& e = panel.Elements()[first];
    const size_t from = out.size();
    out.push_back({e.X, e.Y, e.NAME, -1, LintKind::Duplicate, first, {int64_t(crowd.count), 0}});
    for (const CrowdedCells::Group& g : crowd.groups)
        NameFindings(
            e.X, e.Y, g.mask, panel.PanelCols, panel.PanelRows,
            [&](int point, LintKind kind, std::array<int64_t, 2> figures) {
                out.push_back({e.X, e.Y, g.name, point, kind, first, figures});
            },
            reaches);
    std::sort(out.begin() + std::ptrdiff_t(from), out.end(), LintOrder);
}

} // namespace

void AppendLintMessage(std::string& out, const LintFinding& f) {
    Message m(out);
    switch (f.kind) {
    case LintKind::OutsidePanel:
        m << "lies outside the panel of " << f.figures[0] << " x " << f.figures[1]
          << " cells; it is kept in the file but never shown";
        return;
    case LintKind::Duplicate:
        m << "cell holds " << f.figures[0] << " elements; the editor edits only the first";
        return;
    case LintKind::UnknownName:
        m << "no tile has this name";
        return;
    case LintKind::LeavesPanel:
    case LintKind::OpenEnd:
        break;
    }
    if (f.point < 0 || size_t(f.point) >= kPointCount)
        return;
    const std::string_view code = kPointFacts[size_t(f.point)].code;
    if (f.kind == LintKind::LeavesPanel) {
        m << "track at " << code << " leaves the panel";
        return;
    }
    const Partners& partners = AllPartners()[size_t(f.point)];
    const Partner& across = partners.cells[0];
    const int64_t dc = int64_t(f.col) + across.dc, dr = int64_t(f.row) + across.dr;
    if (partners.count == 1) {
        m << "open track end at " << code << ": " << SideName(across.dc, across.dr) << " (";
        m.Cell(dc, dr) << ") has no track at " << kPointFacts[across.point].code;
    } else {
        m << "open track end at " << code << ": none of the cells (";
        m.Cell(dc, dr) << "), (";
        m.Cell(dc, f.row) << ") and (";
        m.Cell(f.col, dr) << ") has track at that corner";
    }
}

std::string LintMessage(const LintFinding& finding) {
    std::string text;
    AppendLintMessage(text, finding);
    return text;
}

const char* LintKindName(LintKind kind) {
    switch (kind) {
    case LintKind::OpenEnd:
        return "open-end";
    case LintKind::LeavesPanel:
        return "leaves-panel";
    case LintKind::OutsidePanel:
        return "outside-panel";
    case LintKind::Duplicate:
        return "duplicate";
    case LintKind::UnknownName:
        return "unknown-name";
    }
    return "unknown";
}

LintSeverity LintSeverityOf(LintKind kind) {
    return kind == LintKind::LeavesPanel ? LintSeverity::Note : LintSeverity::Problem;
}

const char* LintSeverityName(LintSeverity severity) {
    return severity == LintSeverity::Note ? "note" : "problem";
}

uint32_t LintNameMask(const std::string& name) {
    const auto& masks = CatalogueMasks();
    const auto it = masks.find(Cp1250LowerCase(name));
    return it == masks.end() ? 0 : it->second;
}

std::vector<LintFinding> LintStation(const PanelState& panel, const CrowdedCells* crowds) {
    const std::vector<TPolePanelu>& elements = panel.Elements();
    const int32_t cols = panel.PanelCols, rows = panel.PanelRows;
    std::vector<uint16_t> masks(elements.size());
    MaskCache cache;
    for (size_t i = 0; i < elements.size(); ++i)
        masks[i] = uint16_t(cache.Of(elements[i].NAME));

    auto inside = [&](int64_t c, int64_t r) { return c >= 0 && c < cols && r >= 0 && r < rows; };

    // When every element has a cell of its own, no element can be a duplicate, and a
    // neighbour found next to an element in the list is the only element of its cell:
    // station files list rows of cells in order, so that saves most lookups across edges.
    const bool shared = panel.OccupiedCellCount() != elements.size();
    // Cells of several elements are taken as a whole: the points all its elements reach
    // together, and its findings once for each name. The first element of such a cell is
    // marked in its mask, so cells of one element are answered from the mask alone.
    constexpr uint16_t kCrowded = 1u << 15;
    CrowdedCells built;
    if (shared && !crowds) {
        built.Build(panel);
        crowds = &built;
    }
    if (shared)
        for (size_t i = 0; i < elements.size(); ++i) {
            const std::optional<size_t> first = panel.FindElementAt(elements[i].X, elements[i].Y);
            if (first && *first != i)
                masks[*first] |= kCrowded;
        }

    // Whether any element of the cell reaches the point.
    auto reaches = [&](int32_t c, int32_t r, size_t point) {
        const std::optional<size_t> first = panel.FindElementAt(c, r);
        if (!first)
            return false;
        uint32_t mask = masks[*first];
        if (mask & kCrowded)
            if (const CrowdedCells::Crowd* crowd = crowds->Find(c, r))
                mask = crowd->mask;
        return bool((mask >> point) & 1u);
    };

    std::vector<LintFinding> out;
    auto listNeighbourAt = [&](size_t i, int64_t c, int64_t r) -> const uint16_t* {
        if (shared)
            return nullptr;
        if (i > 0 && elements[i - 1].X == c && elements[i - 1].Y == r)
            return &masks[i - 1];
        if (i + 1 < elements.size() && elements[i + 1].X == c && elements[i + 1].Y == r)
            return &masks[i + 1];
        return nullptr;
    };
    // Only asked for cells inside the panel, whose numbers fit 32 bits.
    auto reachesFrom = [&](size_t i, int64_t c, int64_t r, size_t point) {
        if (const uint16_t* m = listNeighbourAt(i, c, r))
            return bool((*m >> point) & 1u);
        return reaches(int32_t(c), int32_t(r), point);
    };
    const std::array<Partners, kPointCount>& allPartners = AllPartners();

    // Loading a cell's slot of the index misses the cache on a big panel; asking for the
    // partner cells of an element some way ahead lets those loads overlap.
    constexpr size_t kAhead = 16;
    auto prefetch = [&](size_t i) {
        const TPolePanelu& e = elements[i];
        for (size_t p = 0; p < kPointCount; ++p) {
            if (!((masks[i] >> p) & 1u))
                continue;
            const Partners& partners = allPartners[p];
            for (size_t k = 0; k < partners.count; ++k) {
                const int64_t c = int64_t(e.X) + partners.cells[k].dc;
                const int64_t r = int64_t(e.Y) + partners.cells[k].dr;
                if (inside(c, r) && !listNeighbourAt(i, c, r))
                    panel.PrefetchCell(int32_t(c), int32_t(r));
            }
        }
    };

    for (size_t i = 0; i < elements.size(); ++i) {
        if (i + kAhead < elements.size())
            prefetch(i + kAhead);
        const TPolePanelu& e = elements[i];
        if (shared) {
            const std::optional<size_t> first = panel.FindElementAt(e.X, e.Y);
            if (first && (masks[*first] & kCrowded)) {
                // The whole cell when its first element comes; nothing for the others.
                if (*first == i)
                    if (const CrowdedCells::Crowd* crowd = crowds->Find(e.X, e.Y))
                        CrowdFindings(panel, *crowd, i, out,
                                      [&](int64_t c, int64_t r, size_t point) {
                                          return reaches(int32_t(c), int32_t(r), point);
                                      });
                continue;
            }
        }
        NameFindings(
            e.X, e.Y, masks[i], cols, rows,
            [&](int point, LintKind kind, std::array<int64_t, 2> figures) {
                out.push_back({e.X, e.Y, e.NAME, point, kind, i, figures});
            },
            [&](int64_t c, int64_t r, size_t point) { return reachesFrom(i, c, r, point); });
    }
    // Findings come out cell by cell, each in sorted order, so a station listed row by row
    // (as saved files are) needs no sorting at all.
    if (!std::is_sorted(out.begin(), out.end(), LintOrder))
        std::sort(out.begin(), out.end(), LintOrder);
    return out;
}

bool LintOrder(const LintFinding& a, const LintFinding& b) {
    if (a.row != b.row)
        return a.row < b.row;
    if (a.col != b.col)
        return a.col < b.col;
    if (a.point != b.point)
        return a.point < b.point;
    if (a.kind != b.kind)
        return int(a.kind) < int(b.kind);
    if (const int byName = a.name.compare(b.name); byName != 0)
        return byName < 0;
    return a.element < b.element;
}

std::vector<LintFinding> LintCells(const PanelState& panel, const CrowdedCells& crowds,
                                   const std::vector<std::pair<int32_t, int32_t>>& cells) {
    const std::vector<TPolePanelu>& elements = panel.Elements();
    const int64_t cols = panel.PanelCols, rows = panel.PanelRows;
    MaskCache cache;
    // The points the elements of a cell reach together: its crowd's, or its one element's.
    auto reaches = [&](int64_t c, int64_t r, size_t point) {
        const std::optional<size_t> first = panel.FindElementAt(int32_t(c), int32_t(r));
        if (!first)
            return false;
        const CrowdedCells::Crowd* crowd = crowds.Find(int32_t(c), int32_t(r));
        const uint32_t mask = crowd ? crowd->mask : cache.Of(elements[*first].NAME);
        return bool((mask >> point) & 1u);
    };
    std::vector<LintFinding> out;
    for (const auto& [col, row] : cells) {
        const std::optional<size_t> first = panel.FindElementAt(col, row);
        if (!first)
            continue;
        if (const CrowdedCells::Crowd* crowd = crowds.Find(col, row)) {
            CrowdFindings(panel, *crowd, *first, out, reaches);
            continue;
        }
        const TPolePanelu& e = elements[*first];
        NameFindings(
            col, row, cache.Of(e.NAME), cols, rows,
            [&](int point, LintKind kind, std::array<int64_t, 2> figures) {
                out.push_back({e.X, e.Y, e.NAME, point, kind, *first, figures});
            },
            reaches);
    }
    std::sort(out.begin(), out.end(), LintOrder);
    return out;
}

} // namespace vedivez

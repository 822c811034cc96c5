#include "panel/StationLint.h"

#include "panel/PanelState.h"
#include "panel/TileCatalogue.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <sys/mman.h>
#include <tuple>
#include <unistd.h>
#include <unordered_map>

namespace vedivez {

namespace {

// A point code with its direction from the cell's centre (each -1, 0 or +1).
struct PointDir {
    const char* code;
    int ex;
    int ey;
};

constexpr std::array<PointDir, 8> kPointDirs = {{
    {"LH", -1, -1},
    {"LS", -1, 0},
    {"LD", -1, 1},
    {"SH", 0, -1},
    {"SD", 0, 1},
    {"PH", 1, -1},
    {"PS", 1, 0},
    {"PD", 1, 1},
}};

constexpr uint32_t kKnownTile = 1u << 8;
constexpr uint32_t kKnownImage = 1u << 9;

// Index of the point in direction (ex, ey); only called with one of the eight directions.
size_t PointAt(int ex, int ey) {
    for (size_t i = 0; i < kPointDirs.size(); ++i)
        if (kPointDirs[i].ex == ex && kPointDirs[i].ey == ey)
            return i;
    return 0;
}

// Image lookups ignore the case of ASCII letters only, so the lint does the same.
std::string Folded(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return out;
}

// The masks of all catalogue names, by folded name.
const std::unordered_map<std::string, uint32_t>& CatalogueMasks() {
    static const std::unordered_map<std::string, uint32_t> masks = [] {
        std::unordered_map<std::string, uint32_t> m;
        for (const TileBitmap& item : TileCatalogue()) {
            const std::string folded = Folded(item.name);
            uint32_t mask = kKnownImage;
            if (item.width == kTileSize) {
                mask |= kKnownTile;
                for (size_t p = 0; p < kPointDirs.size(); ++p)
                    if (folded.find(kPointDirs[p].code) != std::string::npos)
                        mask |= 1u << p;
            }
            m[folded] = mask;
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

// The cells that hold several elements, found in one walk of the list: the points all the
// elements of such a cell reach together, and each element's place in its cell in list
// order. The first element of a crowded cell is marked in its mask, so cells of one
// element are answered from the mask alone.
class SharedCells {
public:
    static constexpr uint16_t kCrowded = 1u << 15;

    struct Place {
        uint32_t rank = 1;  // 1 for the first element of the cell in list order
        uint32_t count = 1; // elements in the cell
    };

    void Collect(const PanelState& panel, std::vector<uint16_t>& masks) {
        const std::vector<TPolePanelu>& elements = panel.Elements();
        ranks_.assign(elements.size(), 1);
        for (size_t i = 0; i < elements.size(); ++i) {
            const std::optional<size_t> first = panel.FindElementAt(elements[i].X, elements[i].Y);
            if (!first || *first == i)
                continue;
            auto [it, created] = cells_.try_emplace(*first, Cell{masks[*first], 1});
            it->second.mask |= masks[i];
            ranks_[i] = ++it->second.count;
            masks[*first] |= kCrowded;
        }
    }

    // The points the cell whose first element is `first` reaches, with every element in it.
    uint16_t MaskOf(size_t first, const std::vector<uint16_t>& masks) const {
        if (!(masks[first] & kCrowded))
            return masks[first];
        return cells_.at(first).mask;
    }

    // Where element `i`, which lies in the cell whose first element is `first`, stands.
    Place PlaceOf(size_t i, size_t first) const {
        const auto it = cells_.find(first);
        return {ranks_.empty() ? 1 : ranks_[i], it == cells_.end() ? 1 : it->second.count};
    }

private:
    struct Cell {
        uint16_t mask;
        uint32_t count;
    };
    std::unordered_map<size_t, Cell> cells_; // by the list index of the cell's first element
    std::vector<uint32_t> ranks_;
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
    const int ex = kPointDirs[p].ex, ey = kPointDirs[p].ey;
    if (ex == 0 || ey == 0)
        return {{{{ex, ey, PointAt(-ex, -ey)}}}, 1};
    return {{{{ex, ey, PointAt(-ex, -ey)}, {ex, 0, PointAt(-ex, ey)}, {0, ey, PointAt(ex, -ey)}}},
            3};
}

// Appends to one buffer; a broken station can have a finding for every element.
class Message {
public:
    explicit Message(std::string& text) : text_(text) {}
    Message& operator<<(const char* s) {
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

const std::array<Partners, 8>& AllPartners() {
    static const std::array<Partners, 8> all = [] {
        std::array<Partners, 8> out{};
        for (size_t p = 0; p < out.size(); ++p)
            out[p] = PartnersOf(p);
        return out;
    }();
    return all;
}

// Maps fresh memory in one request instead of one page fault per page as it is first
// written, which costs a big list of findings more than filling it; in huge pages where the
// system allows them, so that even the mapping takes few steps.
void PopulatePages(void* data, size_t bytes) {
#if defined(MADV_POPULATE_WRITE)
    if (bytes < (size_t(8) << 20))
        return;
    const uintptr_t page = uintptr_t(::sysconf(_SC_PAGESIZE));
    const uintptr_t from = (uintptr_t(data) + page - 1) & ~(page - 1);
    const uintptr_t to = (uintptr_t(data) + bytes) & ~(page - 1);
    if (to <= from)
        return;
#if defined(MADV_HUGEPAGE)
    (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
    (void)::madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)data;
    (void)bytes;
#endif
}

// The findings of one element in cell (col, row) whose name has `mask`: outside the panel,
// a duplicate (its place in the cell and the cell's count, when it is not the cell's
// first), an unknown name, and every point of its track that nothing meets. `reaches(c, r,
// point)` tells whether track of cell (c, r), inside the panel, reaches that point; `add`
// receives each finding, point by point in order.
template <typename Add, typename Reaches>
void ElementFindings(int64_t col, int64_t row, uint32_t mask,
                     const std::optional<std::array<int64_t, 2>>& duplicate, int64_t cols,
                     int64_t rows, Add&& add, Reaches&& reaches) {
    auto inside = [&](int64_t c, int64_t r) { return c >= 0 && c < cols && r >= 0 && r < rows; };
    const bool in = inside(col, row);
    if (!in)
        add(-1, LintKind::OutsidePanel, {cols, rows});
    if (duplicate)
        add(-1, LintKind::Duplicate, *duplicate);
    if (!(mask & kKnownImage))
        add(-1, LintKind::UnknownName, {});
    if (!in || !(mask & kKnownTile))
        return;
    const std::array<Partners, 8>& allPartners = AllPartners();
    for (size_t p = 0; p < kPointDirs.size(); ++p) {
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
        add(int(p), leaves ? LintKind::LeavesPanel : LintKind::OpenEnd, {});
    }
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
        m << "element " << f.figures[0] << " of " << f.figures[1]
          << " in this cell; the editor edits only the first in list order";
        return;
    case LintKind::UnknownName:
        m << "no tile has this name";
        return;
    case LintKind::LeavesPanel:
    case LintKind::OpenEnd:
        break;
    }
    if (f.point < 0 || size_t(f.point) >= kPointDirs.size())
        return;
    const char* code = kPointDirs[size_t(f.point)].code;
    if (f.kind == LintKind::LeavesPanel) {
        m << "track at " << code << " leaves the panel";
        return;
    }
    const Partners& partners = AllPartners()[size_t(f.point)];
    const Partner& across = partners.cells[0];
    const int64_t dc = int64_t(f.col) + across.dc, dr = int64_t(f.row) + across.dr;
    if (partners.count == 1) {
        m << "open track end at " << code << ": " << SideName(across.dc, across.dr) << " (";
        m.Cell(dc, dr) << ") has no track at " << kPointDirs[across.point].code;
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

const std::vector<std::string>& LintPointCodes() {
    static const std::vector<std::string> codes = [] {
        std::vector<std::string> out;
        for (const PointDir& p : kPointDirs)
            out.emplace_back(p.code);
        return out;
    }();
    return codes;
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

uint32_t LintNameMask(const std::string& name) {
    const auto& masks = CatalogueMasks();
    const auto it = masks.find(Folded(name));
    return it == masks.end() ? 0 : it->second;
}

std::vector<LintFinding> LintStation(const PanelState& panel) {
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
    // Cells of several elements, each walked once: the points all its elements reach
    // together, and every element's place among them. Asking a crowded cell element by
    // element would cost its size squared.
    SharedCells crowd;
    if (shared)
        crowd.Collect(panel, masks);

    // Whether any element of the cell reaches the point.
    auto reaches = [&](int32_t c, int32_t r, size_t point) {
        const std::optional<size_t> first = panel.FindElementAt(c, r);
        if (!first)
            return false;
        return bool((crowd.MaskOf(*first, masks) >> point) & 1u);
    };

    std::vector<LintFinding> out;
    if (shared) {
        // Every element after the first of its cell is a finding; room for them all at once
        // spares a million-element cell the list's repeated growth.
        out.reserve(elements.size() - panel.OccupiedCellCount());
        PopulatePages(out.data(), out.capacity() * sizeof(LintFinding));
    }
    auto add = [&](size_t i, int point, LintKind kind, std::array<int64_t, 2> figures = {}) {
        const TPolePanelu& e = elements[i];
        out.push_back({e.X, e.Y, e.NAME, point, kind, i, figures});
    };

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
    const std::array<Partners, 8>& allPartners = AllPartners();

    // Loading a cell's slot of the index misses the cache on a big panel; asking for the
    // partner cells of an element some way ahead lets those loads overlap.
    constexpr size_t kAhead = 16;
    auto prefetch = [&](size_t i) {
        const TPolePanelu& e = elements[i];
        for (size_t p = 0; p < kPointDirs.size(); ++p) {
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
        const auto first = shared ? panel.FindElementAt(e.X, e.Y) : std::optional<size_t>(i);
        std::optional<std::array<int64_t, 2>> duplicate;
        if (first && *first != i) {
            const SharedCells::Place place = crowd.PlaceOf(i, *first);
            duplicate = {int64_t(place.rank), int64_t(place.count)};
        }
        ElementFindings(
            e.X, e.Y, masks[i], duplicate, cols, rows,
            [&](int point, LintKind kind, std::array<int64_t, 2> figures) {
                add(i, point, kind, figures);
            },
            [&](int64_t c, int64_t r, size_t point) { return reachesFrom(i, c, r, point); });
    }
    // Findings come out element by element, each in sorted order, so a station listed row
    // by row (as saved files are) needs no sorting at all.
    if (!std::is_sorted(out.begin(), out.end(), LintOrder))
        std::sort(out.begin(), out.end(), LintOrder);
    return out;
}

bool LintOrder(const LintFinding& a, const LintFinding& b) {
    return std::make_tuple(a.row, a.col, a.point, int(a.kind), a.element) <
           std::make_tuple(b.row, b.col, b.point, int(b.kind), b.element);
}

std::vector<LintFinding> LintCells(const PanelState& panel,
                                   const std::vector<std::pair<int32_t, int32_t>>& cells) {
    const std::vector<TPolePanelu>& elements = panel.Elements();
    const int64_t cols = panel.PanelCols, rows = panel.PanelRows;
    MaskCache cache;
    // The points all elements of a cell reach together, for the cells asked about and their
    // neighbours.
    std::unordered_map<uint64_t, uint32_t> unions;
    auto reaches = [&](int64_t c, int64_t r, size_t point) {
        const uint64_t key = (uint64_t(uint32_t(int32_t(c))) << 32) | uint32_t(int32_t(r));
        auto it = unions.find(key);
        if (it == unions.end()) {
            uint32_t mask = 0;
            panel.ForEachElementAt(int32_t(c), int32_t(r),
                                   [&](size_t j) { mask |= cache.Of(elements[j].NAME); });
            it = unions.emplace(key, mask).first;
        }
        return bool((it->second >> point) & 1u);
    };
    std::vector<LintFinding> out;
    for (const auto& [col, row] : cells) {
        std::vector<size_t> here;
        panel.ForEachElementAt(col, row, [&](size_t i) { here.push_back(i); });
        for (size_t k = 0; k < here.size(); ++k) {
            const size_t i = here[k];
            const TPolePanelu& e = elements[i];
            std::optional<std::array<int64_t, 2>> duplicate;
            if (k > 0)
                duplicate = {int64_t(k + 1), int64_t(here.size())};
            ElementFindings(
                col, row, cache.Of(e.NAME), duplicate, cols, rows,
                [&](int point, LintKind kind, std::array<int64_t, 2> figures) {
                    out.push_back({e.X, e.Y, e.NAME, point, kind, i, figures});
                },
                reaches);
        }
    }
    std::sort(out.begin(), out.end(), LintOrder);
    return out;
}

} // namespace vedivez

#include "panel/ConnectionCheck.h"

#include "surface/Cp1250.h"

#include <algorithm>

namespace vedivez {

ConnectionCheck::ConnectionCheck(PanelState& panel) : panel_(panel) {
    panel_.AddListener(this);
}

ConnectionCheck::~ConnectionCheck() {
    panel_.RemoveListener(this);
}

uint64_t ConnectionCheck::Key(int64_t col, int64_t row) {
    // Row-major, with negative numbers before positive ones.
    return (uint64_t(uint32_t(int32_t(row)) ^ 0x80000000u) << 32) |
           (uint32_t(int32_t(col)) ^ 0x80000000u);
}

void ConnectionCheck::SetActive(bool on) {
    if (on == active_)
        return;
    active_ = on;
    if (!on) {
        // Nothing is followed while off: turning on again checks everything.
        byCell_.clear();
        dirty_.clear();
        count_ = 0;
        all_ = true;
    }
    ++revision_;
}

void ConnectionCheck::CellChanged(int32_t col, int32_t row) {
    if (!active_ || all_)
        return;
    // A cell's findings depend on its neighbours' tracks: the eight around it are checked
    // again too.
    for (int64_t r = int64_t(row) - 1; r <= int64_t(row) + 1; ++r)
        for (int64_t c = int64_t(col) - 1; c <= int64_t(col) + 1; ++c)
            if (r >= INT32_MIN && r <= INT32_MAX && c >= INT32_MIN && c <= INT32_MAX)
                dirty_.insert(Key(c, r));
}

void ConnectionCheck::AllChanged() {
    all_ = true;
    dirty_.clear();
}

void ConnectionCheck::Update() {
    if (!active_)
        return;
    if (panel_.PanelCols != cols_ || panel_.PanelRows != rows_)
        all_ = true;
    if (all_)
        CheckAll();
    else if (!dirty_.empty())
        CheckCells();
}

void ConnectionCheck::CheckAll() {
    byCell_.clear();
    count_ = 0;
    const std::vector<LintFinding> findings = LintStation(panel_);
    // Sorted by row and column already: each cell's run goes in at the map's end.
    auto hint = byCell_.end();
    for (size_t i = 0; i < findings.size();) {
        size_t j = i;
        while (j < findings.size() && findings[j].row == findings[i].row &&
               findings[j].col == findings[i].col)
            ++j;
        hint = byCell_.emplace_hint(
            hint, Key(findings[i].col, findings[i].row),
            std::vector<LintFinding>(findings.begin() + long(i), findings.begin() + long(j)));
        count_ += j - i;
        i = j;
    }
    all_ = false;
    dirty_.clear();
    cols_ = panel_.PanelCols;
    rows_ = panel_.PanelRows;
    ++revision_;
}

void ConnectionCheck::CheckCells() {
    std::vector<std::pair<int32_t, int32_t>> cells;
    cells.reserve(dirty_.size());
    for (uint64_t key : dirty_) {
        const int32_t row = int32_t(uint32_t(key >> 32) ^ 0x80000000u);
        const int32_t col = int32_t(uint32_t(key) ^ 0x80000000u);
        cells.emplace_back(col, row);
        const auto it = byCell_.find(key);
        if (it != byCell_.end()) {
            count_ -= it->second.size();
            byCell_.erase(it);
        }
    }
    dirty_.clear();
    for (LintFinding& f : LintCells(panel_, cells)) {
        byCell_[Key(f.col, f.row)].push_back(std::move(f));
        ++count_;
    }
    ++revision_;
}

size_t ConnectionCheck::Count() {
    Update();
    return count_;
}

std::vector<const LintFinding*> ConnectionCheck::In(int64_t c0, int64_t c1, int64_t r0,
                                                    int64_t r1) {
    Update();
    std::vector<const LintFinding*> out;
    c0 = std::max<int64_t>(c0, INT32_MIN);
    c1 = std::min<int64_t>(c1, INT32_MAX);
    r0 = std::max<int64_t>(r0, INT32_MIN);
    r1 = std::min<int64_t>(r1, INT32_MAX);
    if (c0 > c1 || r0 > r1 || byCell_.empty())
        return out;
    for (int64_t r = r0; r <= r1; ++r) {
        const uint64_t last = Key(c1, r);
        for (auto it = byCell_.lower_bound(Key(c0, r)); it != byCell_.end() && it->first <= last;
             ++it)
            for (const LintFinding& f : it->second)
                out.push_back(&f);
        // Skip the rows without findings at once.
        const auto next = byCell_.upper_bound(last);
        if (next == byCell_.end())
            break;
        const int64_t nextRow = int64_t(int32_t(uint32_t(next->first >> 32) ^ 0x80000000u));
        if (nextRow > r + 1)
            r = nextRow - 1;
    }
    return out;
}

std::optional<std::pair<LintFinding, ConnectionCheck::Place>>
ConnectionCheck::Step(const Place& from, bool forward) {
    Update();
    if (byCell_.empty())
        return std::nullopt;
    const uint64_t key = Key(from.col, from.row);
    auto it = byCell_.find(key);
    if (forward) {
        // The next finding of the same cell, else the first of the next cell, else round.
        const int64_t rank = int64_t(from.rank) + 1;
        if (it != byCell_.end() && rank >= 0 && rank < int64_t(it->second.size()))
            return std::pair{it->second[size_t(rank)], Place{from.col, from.row, int32_t(rank)}};
        auto next = byCell_.upper_bound(key);
        if (next == byCell_.end())
            next = byCell_.begin();
        const LintFinding& f = next->second.front();
        return std::pair{f, Place{f.col, f.row, 0}};
    }
    if (it != byCell_.end() && from.rank > 0) {
        const int32_t rank = std::min<int32_t>(from.rank, int32_t(it->second.size())) - 1;
        return std::pair{it->second[size_t(rank)], Place{from.col, from.row, rank}};
    }
    auto previous = byCell_.lower_bound(key);
    if (previous == byCell_.begin())
        previous = byCell_.end();
    --previous;
    const LintFinding& f = previous->second.back();
    return std::pair{f, Place{f.col, f.row, int32_t(previous->second.size()) - 1}};
}

QString FindingMessageCs(const LintFinding& f) {
    const auto& codes = LintPointCodes();
    const QString point = f.point >= 0 && size_t(f.point) < codes.size()
                              ? QString::fromStdString(codes[size_t(f.point)])
                              : QString();
    switch (f.kind) {
    case LintKind::OpenEnd:
        return QString::fromUtf8("Otevřený konec koleje v bodě %1").arg(point);
    case LintKind::LeavesPanel:
        return QString::fromUtf8("Kolej v bodě %1 vede mimo panel").arg(point);
    case LintKind::OutsidePanel:
        return QString::fromUtf8("Prvek leží mimo panel o %1 × %2 políčkách; v souboru zůstává, "
                                 "ale není vidět")
            .arg(f.figures[0])
            .arg(f.figures[1]);
    case LintKind::Duplicate:
        return QString::fromUtf8("Prvek %1 z %2 v tomto políčku; editor upravuje jen první")
            .arg(f.figures[0])
            .arg(f.figures[1]);
    case LintKind::UnknownName:
        return QString::fromUtf8("Prvek „%1“ nemá obrázek: takový název neexistuje")
            .arg(FromCp1250(MessageExcerpt(f.name)));
    }
    return {};
}

} // namespace vedivez

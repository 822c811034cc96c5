#include "panel/ConnectionCheck.h"

#include "panel/CellKey.h"
#include "panel/Point.h"
#include "surface/Cp1250.h"

#include <algorithm>

namespace vedivez {

ConnectionCheck::ConnectionCheck(PanelState& panel) : panel_(panel) {
    QObject::connect(&panel_, &PanelState::cellChanged, &receiver_,
                     [this](int32_t col, int32_t row) { CellChanged(col, row); });
    QObject::connect(&panel_, &PanelState::allChanged, &receiver_, [this] { AllChanged(); });
    QObject::connect(&panel_, &PanelState::elementLeaving, &receiver_,
                     [this](size_t index) { ElementLeaving(index); });
    QObject::connect(&panel_, &PanelState::elementArrived, &receiver_,
                     [this](size_t index) { ElementArrived(index); });
}

void ConnectionCheck::SetActive(bool on) {
    if (on == active_)
        return;
    active_ = on;
    if (!on) {
        // Nothing is followed while off: turning on again checks everything.
        byCell_.clear();
        problemCells_.clear();
        crowds_.Clear();
        dirty_.clear();
        count_ = problems_ = 0;
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
                dirty_.insert(CellKey(int32_t(c), int32_t(r)));
}

void ConnectionCheck::AllChanged() {
    all_ = true;
    dirty_.clear();
}

void ConnectionCheck::ElementLeaving(size_t index) {
    if (Following())
        crowds_.Leaving(panel_, index);
}

void ConnectionCheck::ElementArrived(size_t index) {
    if (Following())
        crowds_.Arrived(panel_, index);
}

void ConnectionCheck::Keep(uint64_t key, std::vector<LintFinding> findings) {
    Kept& kept = byCell_[key];
    size_t problems = 0;
    for (LintFinding& f : findings) {
        problems += LintSeverityOf(f.kind) == LintSeverity::Problem;
        kept.findings.push_back(std::move(f));
    }
    kept.problems += problems;
    count_ += findings.size();
    problems_ += problems;
    if (kept.problems > 0)
        problemCells_.insert(key);
}

void ConnectionCheck::Drop(uint64_t key) {
    const auto it = byCell_.find(key);
    if (it == byCell_.end())
        return;
    count_ -= it->second.findings.size();
    problems_ -= it->second.problems;
    problemCells_.erase(key);
    byCell_.erase(it);
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
    problemCells_.clear();
    count_ = problems_ = 0;
    crowds_.Build(panel_);
    std::vector<LintFinding> findings = LintStation(panel_, &crowds_);
    // Sorted by row and column already: each cell's run goes in at the maps' ends.
    auto hint = byCell_.end();
    auto problemHint = problemCells_.end();
    for (size_t i = 0; i < findings.size();) {
        size_t j = i;
        Kept kept;
        for (; j < findings.size() && findings[j].row == findings[i].row &&
               findings[j].col == findings[i].col;
             ++j)
            kept.problems += LintSeverityOf(findings[j].kind) == LintSeverity::Problem;
        kept.findings.assign(std::make_move_iterator(findings.begin() + long(i)),
                             std::make_move_iterator(findings.begin() + long(j)));
        const uint64_t key = CellKey(findings[i].col, findings[i].row);
        count_ += j - i;
        problems_ += kept.problems;
        if (kept.problems > 0)
            problemHint = problemCells_.emplace_hint(problemHint, key);
        hint = byCell_.emplace_hint(hint, key, std::move(kept));
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
        cells.emplace_back(CellKeyCol(key), CellKeyRow(key));
        Drop(key);
    }
    dirty_.clear();
    std::vector<LintFinding> findings = LintCells(panel_, crowds_, cells);
    for (size_t i = 0; i < findings.size();) {
        size_t j = i;
        while (j < findings.size() && findings[j].row == findings[i].row &&
               findings[j].col == findings[i].col)
            ++j;
        Keep(CellKey(findings[i].col, findings[i].row),
             std::vector<LintFinding>(std::make_move_iterator(findings.begin() + long(i)),
                                      std::make_move_iterator(findings.begin() + long(j))));
        i = j;
    }
    ++revision_;
}

std::vector<const LintFinding*> ConnectionCheck::In(int64_t c0, int64_t c1, int64_t r0,
                                                    int64_t r1) const {
    std::vector<const LintFinding*> out;
    c0 = std::max<int64_t>(c0, INT32_MIN);
    c1 = std::min<int64_t>(c1, INT32_MAX);
    r0 = std::max<int64_t>(r0, INT32_MIN);
    r1 = std::min<int64_t>(r1, INT32_MAX);
    if (c0 > c1 || r0 > r1 || byCell_.empty())
        return out;
    for (int64_t r = r0; r <= r1; ++r) {
        const uint64_t last = CellKey(int32_t(c1), int32_t(r));
        for (auto it = byCell_.lower_bound(CellKey(int32_t(c0), int32_t(r)));
             it != byCell_.end() && it->first <= last; ++it)
            for (const LintFinding& f : it->second.findings)
                out.push_back(&f);
        // Skip the rows without findings at once.
        const auto next = byCell_.upper_bound(last);
        if (next == byCell_.end())
            break;
        const int64_t nextRow = CellKeyRow(next->first);
        if (nextRow > r + 1)
            r = nextRow - 1;
    }
    return out;
}

std::optional<std::pair<LintFinding, ConnectionCheck::Place>>
ConnectionCheck::Step(const Place& from, bool forward) const {
    if (problemCells_.empty())
        return std::nullopt;
    auto isProblem = [](const LintFinding& f) {
        return LintSeverityOf(f.kind) == LintSeverity::Problem;
    };
    auto at = [](const LintFinding& f, size_t rank) {
        return std::pair{f, Place{f.col, f.row, int32_t(rank)}};
    };
    const uint64_t key = CellKey(from.col, from.row);
    const auto it = byCell_.find(key);
    if (forward) {
        // The next problem of the same cell, else the first of the next cell, else round.
        if (it != byCell_.end()) {
            const std::vector<LintFinding>& here = it->second.findings;
            for (int64_t rank = std::max<int64_t>(int64_t(from.rank) + 1, 0);
                 rank < int64_t(here.size()); ++rank)
                if (isProblem(here[size_t(rank)]))
                    return at(here[size_t(rank)], size_t(rank));
        }
        auto next = problemCells_.upper_bound(key);
        if (next == problemCells_.end())
            next = problemCells_.begin();
        const std::vector<LintFinding>& cell = byCell_.at(*next).findings;
        for (size_t rank = 0; rank < cell.size(); ++rank)
            if (isProblem(cell[rank]))
                return at(cell[rank], rank);
        return std::nullopt;
    }
    if (it != byCell_.end()) {
        const std::vector<LintFinding>& here = it->second.findings;
        for (int64_t rank = std::min<int64_t>(from.rank, int64_t(here.size())) - 1; rank >= 0;
             --rank)
            if (isProblem(here[size_t(rank)]))
                return at(here[size_t(rank)], size_t(rank));
    }
    auto previous = problemCells_.lower_bound(key);
    if (previous == problemCells_.begin())
        previous = problemCells_.end();
    --previous;
    const std::vector<LintFinding>& cell = byCell_.at(*previous).findings;
    for (size_t rank = cell.size(); rank-- > 0;)
        if (isProblem(cell[rank]))
            return at(cell[rank], rank);
    return std::nullopt;
}

QString FindingMessageCs(const LintFinding& f) {
    QString point;
    if (f.point >= 0 && size_t(f.point) < kPointCount) {
        const std::string_view code = kPointFacts[size_t(f.point)].code;
        point = QString::fromLatin1(code.data(), qsizetype(code.size()));
    }
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
        // Czech counts: 2 to 4 prvky, 5 and more prvků (a crowd holds at least two).
        return QString::fromUtf8("Políčko obsahuje %1 %2; editor upravuje jen první")
            .arg(f.figures[0])
            .arg(QString::fromUtf8(f.figures[0] <= 4 ? "prvky" : "prvků"));
    case LintKind::UnknownName:
        return QString::fromUtf8("Prvek „%1“ nemá obrázek: takový název neexistuje")
            .arg(FromCp1250(MessageExcerpt(f.name)));
    }
    return {};
}

} // namespace vedivez

#pragma once

#include "panel/PanelState.h"
#include "panel/StationLint.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <unordered_set>
#include <vector>

namespace vedivez {

// The station check kept alongside the panel while the window shows it: the findings of
// vedivez-tool lint, by cell in the check's order (row, column, point). After an edit only
// the edited cells and their eight neighbours are checked again; a load or a shift checks
// everything. While it is off it does no work at all. Notes are kept and shown with the
// problems, but counted and walked apart from them. Edits only note what they touched: the
// findings are brought up to date by Update(), which whoever reads them runs first.
class ConnectionCheck  {
public:
    explicit ConnectionCheck(PanelState& panel);
    ConnectionCheck(const ConnectionCheck&) = delete;
    ConnectionCheck& operator=(const ConnectionCheck&) = delete;

    // Turning the check on checks the whole panel (once, until it is turned off again).
    void SetActive(bool on);
    bool Active() const { return active_; }

    // Brings the findings up to date with the panel.
    void Update();
    // How many findings there are, notes included.
    size_t Count() const { return count_; }
    // How many of them are problems.
    size_t Problems() const { return problems_; }
    // Changes whenever the findings may have changed, for views that keep their marks.
    uint64_t Revision() const { return revision_; }

    // The findings of the cells in columns c0 .. c1 and rows r0 .. r1, in the check's order.
    std::vector<const LintFinding*> In(int64_t c0, int64_t c1, int64_t r0, int64_t r1) const;

    // A place in the check's order: a cell, and how far into its findings (-1: before the
    // first, INT32_MAX: after the last).
    struct Place {
        int32_t col = 0;
        int32_t row = 0;
        int32_t rank = -1;
    };
    // The problem after (or before) the place, going round from the last to the first;
    // with its own place. Notes are passed over. Nothing when there are no problems.
    std::optional<std::pair<LintFinding, Place>> Step(const Place& from, bool forward) const;

private:
    // The panel's change signals.
    void CellChanged(int32_t col, int32_t row);
    void AllChanged();
    void ElementLeaving(size_t index);
    void ElementArrived(size_t index);
    void CheckAll();
    void CheckCells();
    // Files a cell's findings (in the check's order) under its key.
    void Keep(uint64_t key, std::vector<LintFinding> findings);
    // Takes a cell's findings out again.
    void Drop(uint64_t key);
    // Whether the cells' crowds follow the panel's edits now.
    bool Following() const { return active_ && !all_; }

    PanelState& panel_;
    bool active_ = false;
    bool all_ = true; // everything is to be checked again
    std::unordered_set<uint64_t> dirty_;
    // Findings by cell, in row-major order of the cells; each cell's in the check's order.
    struct Kept {
        std::vector<LintFinding> findings;
        size_t problems = 0;
    };
    std::map<uint64_t, Kept> byCell_;
    // The cells with at least one problem, in the same order.
    std::set<uint64_t> problemCells_;
    CrowdedCells crowds_;
    size_t count_ = 0;
    size_t problems_ = 0;
    uint64_t revision_ = 1;
    // The panel size the findings were made for: a new size changes what lies inside.
    int32_t cols_ = 0, rows_ = 0;
    // The receiver of the panel's signals; declared last, so the first to go.
    QObject receiver_;
};

// A finding in the editor's words: "Otevřený konec koleje v bodě PH".
QString FindingMessageCs(const LintFinding& finding);

} // namespace vedivez

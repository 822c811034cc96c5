#include "panel/PanelState.h"

#include "panel/DocumentTexts.h"
#include "panel/PanelWindow.h"

namespace vedivez {

PanelState::PanelState(PanelWindow& window) : window_(window) {}

std::optional<size_t> PanelState::FindElementAt(int32_t col, int32_t row) const {
    const uint32_t i = index_.First(col, row);
    if (i == CellIndex::kNone)
        return std::nullopt;
    return i;
}

void PanelState::PlaceInCell(int32_t col, int32_t row, const PositionFlags& flags) {
    size_t i;
    if (auto found = FindElementAt(col, row)) {
        i = *found;
        emit elementLeaving(i);
    } else {
        i = elements_.size();
        elements_.emplace_back();
        index_.Add(col, row, static_cast<uint32_t>(i));
    }
    ++generation_;
    TPolePanelu& e = elements_[i];
    e.NAME = SelectedName;
    e.X = col;
    e.Y = row;
    for (Point p : kAllPoints)
        e.Flag(p) = flags.Flag(p);
    emit elementArrived(i);
    emit cellChanged(col, row);
}

void PanelState::PlaceElementAt(int32_t px, int32_t py, bool remove) {
    const int32_t col = ColumnAt(px);
    const int32_t row = RowAt(py);
    if (remove) {
        if (auto found = FindElementAt(col, row)) {
            RemoveElement(*found);
            return;
        }
    }
    PlaceInCell(col, row, window_.PositionBoxes());
}

void PanelState::RemoveElement(size_t index) {
    if (index >= elements_.size())
        return;
    ++generation_;
    const size_t last = elements_.size() - 1;
    const int32_t col = elements_[index].X, row = elements_[index].Y;
    emit elementLeaving(index);
    if (index != last)
        emit elementLeaving(last);
    index_.Remove(col, row, static_cast<uint32_t>(index));
    std::optional<std::pair<int32_t, int32_t>> moved;
    if (index != last) {
        index_.Move(elements_[last].X, elements_[last].Y, static_cast<uint32_t>(last),
                    static_cast<uint32_t>(index));
        moved.emplace(elements_[last].X, elements_[last].Y);
        elements_[index] = std::move(elements_[last]);
    }
    elements_.pop_back();
    if (moved)
        emit elementArrived(index);
    emit cellChanged(col, row);
    // The last element took the freed place in the list: where its cell holds several
    // elements, their order in the list changed.
    if (moved && *moved != std::pair{col, row})
        emit cellChanged(moved->first, moved->second);
}

void PanelState::ClearElements() {
    ++generation_;
    elements_.clear();
    index_.Clear();
    emit allChanged();
}

void PanelState::FillRow(int32_t lastCol, int32_t row, int32_t count) {
    if (count <= 0)
        return;
    // The cells are addressed directly rather than through a pixel point two pixels inside
    // each cell: that point always lies in the cell, and this way no column can overflow
    // the pixel range.
    const int64_t first = int64_t(lastCol) - count;
    // The whole run is known up front, so the index slots of the cells a few steps ahead
    // are fetched while the current cell is placed.
    constexpr int64_t kAhead = 8;
    for (int64_t col = first; col < first + kAhead && col <= lastCol; ++col)
        index_.Prefetch(static_cast<int32_t>(col), row);
    for (int64_t col = first; col <= lastCol; ++col) {
        if (col + kAhead <= lastCol)
            index_.Prefetch(static_cast<int32_t>(col + kAhead), row);
        PlaceInCell(static_cast<int32_t>(col), row, window_.PositionBoxes());
    }
}

bool PanelState::ShiftAll(int32_t dx, int32_t dy) {
    if (elements_.empty())
        return false;
    for (const TPolePanelu& e : elements_) {
        const int64_t x = int64_t(e.X) + dx;
        const int64_t y = int64_t(e.Y) + dy;
        // The message says that a shift never pushes a tile off the panel; tiles left
        // beyond a panel made smaller keep only the outer bound.
        if (x < 0 || x > PanelCols || y < 0 || y > PanelRows ||
            (InsidePanel(e.X, e.Y) && !InsidePanel(x, y))) {
            window_.ShowMessage(ShiftRefusedMessage());
            return false;
        }
    }
    if (dx == 0 && dy == 0)
        return true;
    ++generation_;
    for (TPolePanelu& e : elements_) {
        e.X += dx;
        e.Y += dy;
    }
    RebuildIndex();
    emit allChanged();
    return true;
}

void PanelState::AppendElement(TPolePanelu element) {
    ++generation_;
    const auto i = static_cast<uint32_t>(elements_.size());
    index_.Add(element.X, element.Y, i);
    const int32_t col = element.X, row = element.Y;
    elements_.push_back(std::move(element));
    emit elementArrived(i);
    emit cellChanged(col, row);
}

void PanelState::ReplaceElements(std::vector<TPolePanelu> elements) {
    ++generation_;
    elements_ = std::move(elements);
    RebuildIndex();
    emit allChanged();
}

void PanelState::ReplaceElements(std::vector<TPolePanelu> elements, CellIndex index) {
    ++generation_;
    elements_ = std::move(elements);
    index_ = std::move(index);
    emit allChanged();
}

void PanelState::RebuildIndex() {
    std::vector<std::pair<int32_t, int32_t>> cells;
    cells.reserve(elements_.size());
    for (const TPolePanelu& e : elements_)
        cells.emplace_back(e.X, e.Y);
    index_.Build(cells);
}

} // namespace vedivez

#pragma once

#include "panel/CellIndex.h"
#include "panel/TPolePanelu.h"

#include <QObject>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vedivez {

class PanelWindow;

// The one open station panel: its element list with the editing operations, and the few
// values that the window, the renderer and the file code share (panel and cell size,
// selected tile, snapped cursor, drag cells, preview opacity). The document (Document) owns
// it and makes the edits that change what a save writes.
class PanelState : public QObject {
    Q_OBJECT
public:
    explicit PanelState(PanelWindow& window);

    std::string SelectedName = "KOL_sLSPS";
    int32_t PanelCols = 150;
    int32_t PanelRows = 50;
    int32_t CellWidth = 47;
    int32_t CellHeight = 47;
    int32_t CursorX = 0;
    int32_t CursorY = 0;
    bool CursorInside = true;
    int32_t PreviewAlpha = 100;
    int32_t DragStartCol = 0;
    int32_t DragStartRow = 0;
    int32_t DragEndCol = 0;
    int32_t DragEndRow = 0;

    const std::vector<TPolePanelu>& Elements() const { return elements_; }

    // Changes whenever the element list may have changed; views that keep something drawn
    // from the list compare it to know when to draw again.
    uint64_t Generation() const { return generation_; }

    // Calls fn(index) for every element of the cell, in list order.
    template <typename F> void ForEachElementAt(int32_t col, int32_t row, F&& fn) const {
        index_.ForEachInCell(col, row, std::forward<F>(fn));
    }

    // Starts loading the cell's entry of the cell index into the cache, for walks that
    // know which cells they will look up next.
    void PrefetchCell(int32_t col, int32_t row) const { index_.Prefetch(col, row); }

    // Number of distinct cells that hold elements; equal to the element count exactly when
    // no cell holds two.
    size_t OccupiedCellCount() const { return index_.CellCount(); }

    // Index of the first element (in list order) in the cell, if any.
    std::optional<size_t> FindElementAt(int32_t col, int32_t row) const;

    // Places the selected tile in the cell under the surface pixel (px, py), replacing the
    // element already there in its slot. With `remove` set, removes that cell's element
    // instead; a removal request on an empty cell places like a placement does.
    void PlaceElementAt(int32_t px, int32_t py, bool remove);

    // Removes the element at `index` by moving the last element into its slot.
    void RemoveElement(size_t index);

    void ClearElements();

    // Places the selected tile in the cells lastCol - count ... lastCol of one row.
    void FillRow(int32_t lastCol, int32_t row, int32_t count);

    // Moves every element by (dx, dy) cells, or refuses with a message when any element
    // would leave 0..PanelCols x 0..PanelRows (both bounds inclusive), or when an element
    // inside the panel would end up outside it. Elements already beyond a smaller panel
    // may stay beyond it or come back in. Returns whether the shift was allowed.
    bool ShiftAll(int32_t dx, int32_t dy);

    // Appends a record as it is, without the one-element-per-cell test (file loading).
    void AppendElement(TPolePanelu element);

    // Replaces the whole list (file loading applies a fully read file in one step).
    void ReplaceElements(std::vector<TPolePanelu> elements);
    // The same with an index already built for exactly these elements.
    void ReplaceElements(std::vector<TPolePanelu> elements, CellIndex index);

    // Whether the cell is one of the panel's columns 0 .. PanelCols - 1 and rows
    // 0 .. PanelRows - 1.
    bool InsidePanel(int64_t col, int64_t row) const {
        return col >= 0 && col < PanelCols && row >= 0 && row < PanelRows;
    }

    // Cell under a surface pixel, as integer division truncating toward zero.
    int32_t ColumnAt(int32_t px) const { return px / CellWidth; }
    int32_t RowAt(int32_t py) const { return py / CellHeight; }
    // The cursor's cell.
    int32_t CursorCol() const { return ColumnAt(CursorX); }
    int32_t CursorRow() const { return RowAt(CursorY); }

signals:
    // Every change to the element list as it happens, for views that keep something per
    // cell and bring up to date only what an edit touched. (News an object tells is a Qt
    // signal here and throughout the editor; a std::function member is kept only for what an
    // object is given to do: a provider of frame inputs, a hook before painting, a menu
    // item's handler, a sink for errors.)
    // The elements of this cell changed (placed, replaced or removed).
    void cellChanged(int32_t col, int32_t row);
    // Any cell may have changed (a load, a shift, emptying the list).
    void allChanged();
    // Element `index` is about to leave its cell or its place in the list (replaced,
    // removed, or moved to another place); its record is still as it was.
    void elementLeaving(size_t index);
    // Element `index` has just taken its place (placed, appended, or moved there); the list
    // and the cell index are up to date.
    void elementArrived(size_t index);

private:
    void PlaceInCell(int32_t col, int32_t row, const PositionFlags& flags);
    void RebuildIndex();

    PanelWindow& window_;
    std::vector<TPolePanelu> elements_;
    CellIndex index_;
    uint64_t generation_ = 0;
};

} // namespace vedivez

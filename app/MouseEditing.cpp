#include "app/MouseEditing.h"

#include "panel/Document.h"

#include <QCheckBox>
#include <QLabel>
#include <algorithm>

namespace vedivez {

namespace {

const QString kIdleText = QStringLiteral("0x0");

} // namespace

MouseEditing::MouseEditing(Document& document, QCheckBox* dragBox, QLabel* startLabel,
                           QLabel* endLabel)
    : document_(document), panel_(document.Panel()), dragBox_(dragBox), startLabel_(startLabel),
      endLabel_(endLabel) {}

void MouseEditing::X_PlochaEnter() {
    panel_.CursorInside = true;
}

void MouseEditing::X_PlochaExit() {
    panel_.CursorInside = false;
}

QString MouseEditing::PositionText() const {
    return QString::number(panel_.CursorX) + QLatin1Char('x') + QString::number(panel_.CursorY);
}

void MouseEditing::TrackCursor(int x, int y) {
    panel_.CursorX = panel_.ColumnAt(x) * panel_.CellWidth;
    panel_.CursorY = panel_.RowAt(y) * panel_.CellHeight;
    if (dragBox_->isChecked())
        endLabel_->setText(PositionText());
}

void MouseEditing::BeginDrag() {
    dragBox_->setChecked(true);
    startLabel_->setText(PositionText());
    panel_.DragStartCol = panel_.CursorCol();
    panel_.DragStartRow = panel_.CursorRow();
}

bool MouseEditing::OnPanel(int x, int y) const {
    // The cell of a pixel truncates toward zero, so a pixel just left of or above the panel
    // would count as column or row 0: the pixel itself is tested.
    return x >= 0 && y >= 0 && panel_.InsidePanel(panel_.ColumnAt(x), panel_.RowAt(y));
}

void MouseEditing::X_PlochaMouseUp(Qt::MouseButton button, int x, int y) {
    // The edit at the release point comes first; the drag's run, which may cover the same
    // cell again, follows in EndDrag. A release beyond the panel (the pointer stays captured
    // while a button is held) edits nothing there.
    if (OnPanel(x, y)) {
        if (button == Qt::LeftButton)
            document_.PlaceElementAt(x, y, false);
        else if (button == Qt::RightButton)
            document_.PlaceElementAt(x, y, true);
    }
    EndDrag(button);
}

void MouseEditing::EndDrag(Qt::MouseButton button) {
    panel_.DragEndCol = panel_.CursorCol();
    panel_.DragEndRow = panel_.CursorRow();
    // Only the placing button lays a row: a right-button drag is a removal gesture, and a
    // middle-button one does nothing, so both change at most their release cell.
    if (button == Qt::LeftButton && panel_.DragStartRow == panel_.DragEndRow &&
        panel_.DragStartCol < panel_.DragEndCol)
        FillDraggedRun();
    dragBox_->setChecked(false);
    startLabel_->setText(kIdleText);
    endLabel_->setText(kIdleText);
}

void MouseEditing::FillDraggedRun() {
    // A drag that runs on beyond the panel's edge, however far (at a small scale one pixel
    // of overshoot is several cells), fills up to the panel's last column.
    const int32_t row = panel_.DragEndRow;
    const int64_t first = std::max<int64_t>(panel_.DragStartCol, 0);
    const int64_t last = std::min<int64_t>(panel_.DragEndCol, int64_t(panel_.PanelCols) - 1);
    if (first > last || !panel_.InsidePanel(first, row))
        return;
    if (first < last) {
        document_.FillRow(int32_t(last), row, int32_t(last - first));
        return;
    }
    // Only the start cell of the run lies on the panel.
    document_.PlaceElementAt(int32_t(first) * panel_.CellWidth + 2, row * panel_.CellHeight + 2,
                             false);
}

void MouseEditing::Zpt1Click() {
    document_.ShiftAll(-1, 0);
}

void MouseEditing::Posunoutve1Click() {
    document_.ShiftAll(1, 0);
}

void MouseEditing::PosunoutveV1Click() {
    document_.ShiftAll(0, 1);
}

void MouseEditing::Posunoutve2Click() {
    document_.ShiftAll(0, -1);
}

} // namespace vedivez

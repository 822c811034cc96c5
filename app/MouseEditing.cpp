#include "app/MouseEditing.h"

#include "panel/PanelState.h"

#include <QCheckBox>
#include <QLabel>

namespace vedivez {

namespace {

const QString kIdleText = QStringLiteral("0x0");

} // namespace

MouseEditing::MouseEditing(PanelState& panel, QCheckBox* dragBox, QLabel* startLabel,
                           QLabel* endLabel)
    : panel_(panel), dragBox_(dragBox), startLabel_(startLabel), endLabel_(endLabel) {}

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
    panel_.CursorX = (x / panel_.CellWidth) * panel_.CellWidth;
    panel_.CursorY = (y / panel_.CellHeight) * panel_.CellHeight;
    if (dragBox_->isChecked())
        endLabel_->setText(PositionText());
}

void MouseEditing::BeginDrag() {
    dragBox_->setChecked(true);
    startLabel_->setText(PositionText());
    panel_.DragStartCol = panel_.CursorX / panel_.CellWidth;
    panel_.DragStartRow = panel_.CursorY / panel_.CellHeight;
}

void MouseEditing::X_PlochaMouseUp(Qt::MouseButton button, int x, int y) {
    // The edit at the release point comes first; the drag's run, which may cover the same
    // cell again, follows in EndDrag.
    if (button == Qt::LeftButton)
        panel_.PlaceElementAt(x, y, false);
    else if (button == Qt::RightButton)
        panel_.PlaceElementAt(x, y, true);
    EndDrag();
}

void MouseEditing::EndDrag() {
    panel_.DragEndCol = panel_.CursorX / panel_.CellWidth;
    panel_.DragEndRow = panel_.CursorY / panel_.CellHeight;
    if (panel_.DragStartRow == panel_.DragEndRow && panel_.DragStartCol < panel_.DragEndCol)
        panel_.FillRow(panel_.DragEndCol, panel_.DragEndRow,
                       panel_.DragEndCol - panel_.DragStartCol);
    dragBox_->setChecked(false);
    startLabel_->setText(kIdleText);
    endLabel_->setText(kIdleText);
}

void MouseEditing::Zpt1Click() {
    panel_.ShiftAll(-1, 0);
}

void MouseEditing::Posunoutve1Click() {
    panel_.ShiftAll(1, 0);
}

void MouseEditing::PosunoutveV1Click() {
    panel_.ShiftAll(0, 1);
}

void MouseEditing::Posunoutve2Click() {
    panel_.ShiftAll(0, -1);
}

} // namespace vedivez

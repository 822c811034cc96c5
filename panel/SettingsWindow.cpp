#include "panel/SettingsWindow.h"

#include "panel/DocumentTexts.h"

#include <algorithm>

namespace vedivez {

SettingsWindow::SettingsWindow()
    : statusPath(NoFileText()), documentState(StateNew()),
      caption(AppTitle() + QString::fromUtf8(" - Nová stanice")) {
    // A new window checks the left-middle and right-middle boxes of the initial tile.
    boxes.LS = true;
    boxes.PS = true;
}

void SettingsWindow::SetValue(int& field, int value) {
    const int clamped = std::clamp(value, kMinCells, kMaxCells);
    if (clamped == field)
        return;
    field = clamped;
    ++sizeChanges;
    if (onSizeChanged)
        onSizeChanged();
}

} // namespace vedivez

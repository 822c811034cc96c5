#include "panel/SettingsWindow.h"

namespace vedivez {

SettingsWindow::SettingsWindow() {
    // A new window checks the left-middle and right-middle boxes of the initial tile.
    boxes.LS = true;
    boxes.PS = true;
}

} // namespace vedivez

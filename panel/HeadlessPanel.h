#pragma once

#include "panel/PanelState.h"
#include "panel/SettingsWindow.h"

namespace vedivez {

// A panel with a settings window wired as the editor wires its real one: a changed size
// value sets the panel's column and row counts.
struct HeadlessPanel {
    HeadlessPanel() {
        window.onSizeChanged = [this] {
            panel.PanelCols = window.WidthValue();
            panel.PanelRows = window.HeightValue();
        };
    }
    HeadlessPanel(const HeadlessPanel&) = delete;
    HeadlessPanel& operator=(const HeadlessPanel&) = delete;

    SettingsWindow window;
    PanelState panel{window};
};

} // namespace vedivez

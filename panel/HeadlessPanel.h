#pragma once

#include "panel/Document.h"
#include "panel/SettingsWindow.h"

namespace vedivez {

// A document with a settings window in place of the editor's, for runs without a window.
struct HeadlessPanel {
    HeadlessPanel() = default;
    HeadlessPanel(const HeadlessPanel&) = delete;
    HeadlessPanel& operator=(const HeadlessPanel&) = delete;

    SettingsWindow window;
    Document document{window};
    PanelState& panel = document.Panel();
};

} // namespace vedivez

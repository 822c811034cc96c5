#pragma once

#include "panel/PanelWindow.h"

#include <QStringList>

namespace vedivez {

// The window's side of the panel held as plain settings, for runs without a window (the
// headless tool, tests): the position boxes and the messages shown.
class SettingsWindow : public PanelWindow {
public:
    SettingsWindow();

    PositionFlags boxes;
    QStringList messages;

    PositionFlags PositionBoxes() const override { return boxes; }
    void ShowMessage(const QString& text) override { messages.append(text); }
};

} // namespace vedivez

#pragma once

#include "panel/TPolePanelu.h"

#include <QString>

namespace vedivez {

// What the editing operations need from the main window: the position check boxes and a
// plain OK message box. Tests fake it.
class PanelWindow {
public:
    virtual ~PanelWindow() = default;
    virtual PositionFlags PositionBoxes() const = 0;
    virtual void ShowMessage(const QString& text) = 0;
};

} // namespace vedivez

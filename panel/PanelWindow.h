#pragma once

#include "panel/TPolePanelu.h"

#include <QString>

namespace vedivez {

// What the editing operations need from the main window: the position check boxes, the
// document state word in the status bar, and a plain OK message box. Tests fake it.
class PanelWindow {
public:
    virtual ~PanelWindow() = default;
    virtual PositionFlags PositionBoxes() const = 0;
    virtual void SetDocumentState(const QString& word) = 0;
    virtual void ShowMessage(const QString& text) = 0;
};

// What loading and saving a station file need from the main window: the two panel-size
// values (whose setter clamps and announces a change), the path panel of the status bar,
// the document state word and the caption.
class StationWindow {
public:
    virtual ~StationWindow() = default;
    virtual int HeightValue() const = 0;
    virtual void SetHeightValue(int value) = 0;
    virtual int WidthValue() const = 0;
    virtual void SetWidthValue(int value) = 0;
    virtual void SetStatusPath(const QString& path) = 0;
    virtual void SetDocumentState(const QString& word) = 0;
    virtual void SetCaption(const QString& caption) = 0;
};

} // namespace vedivez

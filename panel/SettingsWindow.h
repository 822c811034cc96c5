#pragma once

#include "panel/PanelWindow.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace vedivez {

// The window's side of the panel held as plain settings, for runs without a window (the
// headless tool, tests): position boxes, the two panel-size values with the spin edits'
// 10..4000 clamp and change notification, status texts, caption and shown messages.
class SettingsWindow : public PanelWindow, public StationWindow {
public:
    static constexpr int kMinCells = 10;
    static constexpr int kMaxCells = 4000;

    SettingsWindow();

    // Called after a panel-size value changed (not when a set value equals the old one).
    std::function<void()> onSizeChanged;

    PositionFlags boxes;
    QString statusPath;
    QString documentState;
    QString caption;
    QStringList messages;
    int sizeChanges = 0;

    PositionFlags PositionBoxes() const override { return boxes; }
    void SetDocumentState(const QString& word) override { documentState = word; }
    void ShowMessage(const QString& text) override { messages.append(text); }
    int HeightValue() const override { return height_; }
    void SetHeightValue(int value) override { SetValue(height_, value); }
    int WidthValue() const override { return width_; }
    void SetWidthValue(int value) override { SetValue(width_, value); }
    void SetStatusPath(const QString& path) override { statusPath = path; }
    void SetCaption(const QString& text) override { caption = text; }

private:
    void SetValue(int& field, int value);

    int height_ = 50;
    int width_ = 150;
};

} // namespace vedivez

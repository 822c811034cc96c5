#pragma once

#include <QObject>

class QAction;
class QPushButton;
class QWidget;

namespace vedivez {

class ErrorHandler;
class MainMenu;

// The four tool panels around the drawing area (top bar, palette, left panel, status bar):
// their check items in "Zobrazit › Panely nástrojů", "Skrýt všechny" (F2) and "Zobrazit
// všechny" (F3), and the close buttons of the first three. An item's mark is whether its
// panel is shown.
class ToolPanels : public QObject {
public:
    // The panels, and the close buttons of the top bar, the palette and the left panel.
    struct Panels {
        QWidget* topBar;
        QWidget* palette;
        QWidget* left;
        QWidget* statusBar;
        QPushButton* closeTopBar;
        QPushButton* closePalette;
        QPushButton* closeLeft;
    };
    ToolPanels(const Panels& panels, ErrorHandler& errors);

    // The menu's check items, once the menu exists.
    void Attach(const MainMenu& menu);

    void MP_HorniListaClick();
    void MP_SortimentClick();
    void MP_LevyPanelClick();
    void MP_StatusPanelClick();
    void MP_SkrytVsechnyPanelyClick();
    void MP_ZobrazitVsechnyPanelyClick();
    void B_ZavritPanelNastrojuClick();
    void B_ZavritPanelSortimentClick();
    void Button1Click();

private:
    enum Panel { kTopBar, kPalette, kLeft, kStatusBar, kCount };
    // Shows the panel as its item's mark says.
    void Follow(Panel panel);
    // Hides the panel and takes its item's mark away.
    void Close(Panel panel);

    QWidget* panels_[kCount];
    QAction* items_[kCount] = {};
};

} // namespace vedivez

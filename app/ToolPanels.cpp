#include "app/ToolPanels.h"

#include "app/ErrorHandler.h"
#include "app/MainMenu.h"

#include <QAction>
#include <QPushButton>
#include <QWidget>

namespace vedivez {

namespace {

// The panels' check items, in the order of the panels.
const char* const kItems[] = {"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel"};

} // namespace

ToolPanels::ToolPanels(const Panels& panels, ErrorHandler& errors)
    : panels_{panels.topBar, panels.palette, panels.left, panels.statusBar} {
    const std::pair<QPushButton*, void (ToolPanels::*)()> closers[] = {
        {panels.closeTopBar, &ToolPanels::B_ZavritPanelNastrojuClick},
        {panels.closePalette, &ToolPanels::B_ZavritPanelSortimentClick},
        {panels.closeLeft, &ToolPanels::Button1Click}};
    for (const auto& [button, handler] : closers)
        connect(button, &QPushButton::clicked, this, [this, &errors, handler] {
            errors.Guard([this, handler] { (this->*handler)(); });
        });
}

void ToolPanels::Attach(const MainMenu& menu) {
    for (int i = 0; i < kCount; ++i)
        items_[i] = menu.Action(QString::fromLatin1(kItems[i]));
}

void ToolPanels::Follow(Panel panel) {
    panels_[panel]->setVisible(items_[panel]->isChecked());
}

void ToolPanels::Close(Panel panel) {
    panels_[panel]->hide();
    items_[panel]->setChecked(false);
}

void ToolPanels::MP_HorniListaClick() {
    Follow(kTopBar);
}

void ToolPanels::MP_SortimentClick() {
    Follow(kPalette);
}

void ToolPanels::MP_LevyPanelClick() {
    Follow(kLeft);
}

void ToolPanels::MP_StatusPanelClick() {
    Follow(kStatusBar);
}

void ToolPanels::MP_SkrytVsechnyPanelyClick() {
    for (QAction* item : items_)
        item->setChecked(false);
    for (Panel panel : {kTopBar, kPalette, kLeft, kStatusBar})
        panels_[panel]->hide();
}

void ToolPanels::MP_ZobrazitVsechnyPanelyClick() {
    for (QAction* item : items_)
        item->setChecked(true);
    // In the order the window has always shown them.
    for (Panel panel : {kPalette, kTopBar, kLeft, kStatusBar})
        panels_[panel]->show();
}

void ToolPanels::B_ZavritPanelNastrojuClick() {
    Close(kTopBar);
}

void ToolPanels::B_ZavritPanelSortimentClick() {
    Close(kPalette);
}

void ToolPanels::Button1Click() {
    Close(kLeft);
}

} // namespace vedivez

#pragma once

#include "app/MainMenu.h"

#include <vector>

namespace vedivez {

class CheckController;
class FileCommands;
class MouseEditing;
class PrintController;
class TPanelVAD;
class ToolPanels;
class ZoomController;

// Whose handlers the main menu's items call.
struct MenuTargets {
    TPanelVAD& window;
    FileCommands& files;
    MouseEditing& mouse;
    ToolPanels& panels;
    ZoomController& zoom;
    CheckController& check;
    PrintController& print;
};

// The rows of the main menu MM_Menu, in the order the menus show them.
std::vector<MainMenu::Item> MainMenuTable(const MenuTargets& targets);

} // namespace vedivez

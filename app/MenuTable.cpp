#include "app/MenuTable.h"

#include "app/CheckController.h"
#include "app/FileCommands.h"
#include "app/MainWindow.h"
#include "app/MouseEditing.h"
#include "app/PrintController.h"
#include "app/ToolPanels.h"
#include "app/ZoomController.h"

#include <functional>

namespace vedivez {

namespace {

// A handler that calls a member function of a target.
template <typename T> std::function<void()> Call(T& target, void (T::*handler)()) {
    return [&target, handler] { (target.*handler)(); };
}

} // namespace

std::vector<MainMenu::Item> MainMenuTable(const MenuTargets& to) {
    const QString soubor = QStringLiteral("Soubor");
    const QString upravy = QString::fromUtf8("Úpravy");
    const QString nastaveni = QString::fromUtf8("Nastavení");
    const QString zobrazit = QStringLiteral("Zobrazit");
    const QString napoveda = QString::fromUtf8("Nápověda");
    using K = QKeySequence;
    const K none;
    auto on = [&](void (TPanelVAD::*handler)()) { return Call(to.window, handler); };
    auto mouse = [&](void (MouseEditing::*handler)()) { return Call(to.mouse, handler); };
    auto file = [&](void (FileCommands::*handler)()) { return Call(to.files, handler); };
    auto panels = [&](void (ToolPanels::*handler)()) { return Call(to.panels, handler); };
    auto checks = [&](void (CheckController::*handler)()) { return Call(to.check, handler); };
    auto zoom = [&](void (ZoomController::*handler)()) { return Call(to.zoom, handler); };
    auto print = [&](void (PrintController::*handler)()) { return Call(to.print, handler); };
    // Without a handler a check item only turns its mark over: the view options, which the
    // next frame follows. Items without a handler otherwise do nothing.
    const std::function<void()> noAction;
    // The rows: an item directly in its menu, an item of the submenu opened last, a submenu,
    // a separator.
    auto item = [](const QString& menu, const char* component, const char* caption, K key,
                   std::function<void()> handler, bool enabled = true, bool checkable = false,
                   const char* picture = "") {
        return MainMenu::Item{
            menu, {},      false,     QString::fromLatin1(component), QString::fromUtf8(caption),
            key,  enabled, checkable, QString::fromLatin1(picture),   std::move(handler)};
    };
    auto sub = [&](const QString& menu, const char* component, const char* caption, K key,
                   std::function<void()> handler, bool checkable = false) {
        MainMenu::Item row =
            item(menu, component, caption, key, std::move(handler), true, checkable);
        row.inSubmenu = true;
        return row;
    };
    auto submenu = [](const QString& menu, const char* caption) {
        MainMenu::Item row;
        row.menu = menu;
        row.submenu = QString::fromUtf8(caption);
        return row;
    };
    auto named = [](MainMenu::Item row, const char* component) {
        row.component = QString::fromLatin1(component);
        return row;
    };
    auto also = [](MainMenu::Item row, K key) {
        row.moreShortcuts << key;
        return row;
    };
    auto unmarked = [](MainMenu::Item row) {
        row.startsChecked = false;
        return row;
    };
    auto separator = [](const QString& menu, bool inSubmenu = false) {
        MainMenu::Item row;
        row.menu = menu;
        row.inSubmenu = inSubmenu;
        return row;
    };
    const bool enabled = true, disabled = false, check = true;
    // clang-format off
    std::vector<MainMenu::Item> items = {
        item(soubor, "MP_Novy", "Nový", K(Qt::CTRL | Qt::Key_N), file(&FileCommands::MP_NovyClick), enabled, false, ":/app/new.xpm"),
        item(soubor, "MP_Otevreni", "Otevřít", K(Qt::CTRL | Qt::Key_O), file(&FileCommands::MP_OtevreniClick), enabled, false, ":/app/open.xpm"),
        item(soubor, "MP_Ulozeni", "Uložit", K(Qt::CTRL | Qt::Key_S), file(&FileCommands::MP_UlozeniClick), enabled, false, ":/app/save.xpm"),
        item(soubor, "MP_UlozitJako", "Uložit jako ...", K(Qt::CTRL | Qt::SHIFT | Qt::Key_S), file(&FileCommands::MP_UlozitJakoClick), enabled, false, ":/app/saveas.xpm"),
        named(submenu(soubor, "Naposledy otevřené"), "MP_NaposledyOtevrene"),
        separator(soubor),
        item(soubor, "MP_Tisk", "Tisk...", K(Qt::CTRL | Qt::Key_P), print(&PrintController::Print)),
        item(soubor, "MP_NahledTisku", "Náhled tisku...", none, print(&PrintController::Preview)),
        item(soubor, "MP_Exportovat", "Exportovat...", K(Qt::CTRL | Qt::Key_E), print(&PrintController::Export)),
        separator(soubor),
        item(soubor, "Konec1", "Konec", none, on(&TPanelVAD::Konec1Click)),
        item(upravy, "Zpt2", "Zpět", K(Qt::CTRL | Qt::Key_Z), noAction, disabled, false, ":/app/undo.xpm"),
        separator(upravy),
        submenu(upravy, "Posunout všechny prvky"),
        sub(upravy, "Zpt1", "Posunout vše <", K(Qt::CTRL | Qt::Key_Left), mouse(&MouseEditing::Zpt1Click)),
        sub(upravy, "Posunoutve1", "Posunout vše >", K(Qt::CTRL | Qt::Key_Right), mouse(&MouseEditing::Posunoutve1Click)),
        sub(upravy, "PosunoutveV1", "Posunout vše V", K(Qt::CTRL | Qt::Key_Down), mouse(&MouseEditing::PosunoutveV1Click)),
        sub(upravy, "Posunoutve2", "Posunout vše ^", K(Qt::CTRL | Qt::Key_Up), mouse(&MouseEditing::Posunoutve2Click)),
        separator(upravy, true),
        sub(upravy, "MP_PosunoutVseO", "Posunout vše o ...", none, on(&TPanelVAD::MP_PosunoutVseOClick)),
        item(nastaveni, "OStanici1", "O Stanici", none, on(&TPanelVAD::OStanici1Click), disabled),
        submenu(zobrazit, "Panel VAD"),
        sub(zobrazit, "MP_InfoVykreslovani", "<Informace o vykreslování>", none, noAction, check),
        sub(zobrazit, "MP_Nahled", "Náhled vkládaného prvku", none, noAction, check),
        sub(zobrazit, "MP_PolickoPodKurzorem", "Políčko pod kurzorem", none, noAction, check),
        sub(zobrazit, "MP_Mrizka", "Mřížka", K(Qt::CTRL | Qt::Key_G), noAction, check),
        submenu(zobrazit, "Panely nástrojů"),
        sub(zobrazit, "MP_HorniLista", "Horní lišta", none, panels(&ToolPanels::MP_HorniListaClick), check),
        sub(zobrazit, "MP_Sortiment", "Sortiment prvků", none, panels(&ToolPanels::MP_SortimentClick), check),
        sub(zobrazit, "MP_LevyPanel", "Levý panel podrobností", none, panels(&ToolPanels::MP_LevyPanelClick), check),
        sub(zobrazit, "MP_StatusPanel", "Status panel", none, panels(&ToolPanels::MP_StatusPanelClick), check),
        separator(zobrazit, true),
        sub(zobrazit, "MP_SkrytVsechnyPanely", "Skrýt všechny", K(Qt::Key_F2), panels(&ToolPanels::MP_SkrytVsechnyPanelyClick)),
        sub(zobrazit, "MP_ZobrazitVsechnyPanely", "Zobrazit všechny", K(Qt::Key_F3), panels(&ToolPanels::MP_ZobrazitVsechnyPanelyClick)),
        separator(zobrazit),
        named(submenu(zobrazit, "Měřítko"), "MP_Meritko"),
        also(sub(zobrazit, "MP_Priblizit", "Přiblížit", K(Qt::CTRL | Qt::Key_Plus), zoom(&ZoomController::ZoomIn)), K(Qt::CTRL | Qt::Key_Equal)),
        sub(zobrazit, "MP_Oddalit", "Oddálit", K(Qt::CTRL | Qt::Key_Minus), zoom(&ZoomController::ZoomOut)),
        sub(zobrazit, "MP_SkutecnaVelikost", "Skutečná velikost", K(Qt::CTRL | Qt::Key_1), zoom(&ZoomController::ActualSize)),
        sub(zobrazit, "MP_CelyPanel", "Celý panel", K(Qt::CTRL | Qt::Key_0), zoom(&ZoomController::WholePanel)),
        unmarked(item(zobrazit, "MP_KontrolaSpojeni", "Kontrola spojení", K(Qt::CTRL | Qt::Key_K), checks(&CheckController::Toggle), enabled, check)),
        item(zobrazit, "MP_DalsiProblem", "Další problém", K(Qt::Key_F4), checks(&CheckController::Next)),
        item(zobrazit, "MP_PredchoziProblem", "Předchozí problém", K(Qt::SHIFT | Qt::Key_F4), checks(&CheckController::Previous)),
        item(napoveda, "Manul1", "Manuál", none, on(&TPanelVAD::Manul1Click)),
        item(napoveda, "Oprogramu1", "O programu", none, on(&TPanelVAD::Oprogramu1Click)),
    };
    // clang-format on
    return items;
}

} // namespace vedivez

#include "AppTestSupport.h"
#include "panel/Version.h"

#include "app/BevelPanel.h"
#include "app/Palette.h"
#include "panel/DocumentTexts.h"
#include "surface/AppFonts.h"

#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QWheelEvent>

namespace vedivez::test {
namespace {

using MainWindowTest = WindowTest;

TEST_F(MainWindowTest, StartsWithItsCaptionStatusTextsAndPanelSize) {
    EXPECT_EQ(window->objectName(), QStringLiteral("PanelVAD"));
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf8("VediVEZ v" VEDIVEZ_VERSION " - Nová stanice"));
    EXPECT_EQ(window->StatusText(0), QString::fromUtf8("(žádný soubor)"));
    EXPECT_EQ(window->StatusText(1), QString::fromUtf8("Nový"));
    EXPECT_EQ(Panel().PanelCols, 150);
    EXPECT_EQ(Panel().PanelRows, 50);
    // The surface is sized from the spin edits at once, so every cell can be reached.
    EXPECT_EQ(Surface()->width(), 150 * 47);
    EXPECT_EQ(Surface()->height(), 50 * 47);
    EXPECT_EQ(Find<QSpinBox>("SE_PolickaVyska")->value(), 50);
    EXPECT_EQ(Find<QSpinBox>("SE_PolickaSirka")->value(), 150);
    for (const char* name : {"SE_PolickaVyska", "SE_PolickaSirka"}) {
        EXPECT_EQ(Find<QSpinBox>(name)->minimum(), 10) << name;
        EXPECT_EQ(Find<QSpinBox>(name)->maximum(), 4000) << name;
    }
    EXPECT_EQ(QFontInfo(window->font()).pixelSize(), 11);
    EXPECT_EQ(window->font().family(), UiFontFamily());
}

TEST_F(MainWindowTest, ToolBarButtonsStandWhereTheyBelong) {
    const struct {
        const char* name;
        int left;
        bool enabled;
        bool picture;
        const char* tip;
    } buttons[] = {
        {"BB_Novy", 5, true, true, "Nový (Ctrl+N)"},
        {"BB_Ulozit", 31, true, true, "Uložit (Ctrl+S)"},
        {"BB_UlozitJako", 57, true, true, "Uložit jako (Ctrl+Shift+S)"},
        {"BB_Otevrit", 84, true, true, "Otevřít (Ctrl+O)"},
        {"BB_Zpet", 123, false, true, ""},
        {"BitBtn5", 150, true, false, ""},
    };
    for (const auto& b : buttons) {
        auto* button = Find<QPushButton>(b.name);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(b.left, 4, 23, 23)) << b.name;
        EXPECT_EQ(button->isEnabled(), b.enabled) << b.name;
        EXPECT_EQ(!button->icon().isNull(), b.picture) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.tip)) << b.name;
        EXPECT_EQ(button->parentWidget()->objectName(), QStringLiteral("P_HorniLista"));
    }
    auto* label = Find<QLabel>("L_ZvolenaSoucast");
    EXPECT_FALSE(label->isVisible());
    EXPECT_EQ(label->text(), QStringLiteral("KOL_sLSPS"));
    EXPECT_EQ(label->pos(), QPoint(184, 10));
}

TEST_F(MainWindowTest, PanelsAndCloseButtonsHaveTheirFixedSizes) {
    EXPECT_EQ(Find<QWidget>("P_HorniLista")->height(), 33);
    EXPECT_EQ(Find<QWidget>("P_Sortiment")->height(), 92);
    EXPECT_EQ(Find<QWidget>("P_Levy")->width(), 145);
    EXPECT_EQ(Find<QWidget>("ZB_Zapati")->height(), 19);
    EXPECT_EQ(Find<QScrollBar>("SB_Vodorovny")->height(), 17);
    EXPECT_EQ(Find<QScrollBar>("SB_Svisly")->width(), 17);
    for (const char* name : {"B_ZavritPanelNastroju", "B_ZavritPanelSortiment", "Button1"}) {
        auto* button = Find<QPushButton>(name);
        EXPECT_EQ(button->size(), QSize(17, 17)) << name;
        EXPECT_EQ(button->text(), QStringLiteral("x")) << name;
        EXPECT_TRUE(button->font().bold()) << name;
        EXPECT_EQ(button->y(), 2) << name;
    }
    EXPECT_EQ(Find<QPushButton>("Button1")->x(), 125);
    // The drawing area takes what the panels leave, below the palette and right of the left
    // panel, and the surface sits in the viewport at its top-left corner.
    QWidget* area = Find<QWidget>("P_PodkladPlochy");
    QWidget* left = Find<QWidget>("P_Levy");
    EXPECT_EQ(area->x(), left->x() + left->width());
    EXPECT_EQ(Surface()->parentWidget()->objectName(), QStringLiteral("P_Plocha"));
    EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
}

// Resizing the window lays out the status bar and the close buttons from the new width.
TEST_F(MainWindowTest, ResizeStepsFollowTheWindowWidth) {
    for (int width : {700, 1000, 1500}) {
        window->resize(width, 700);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->StatusWidth(0), width - 100) << width;
        EXPECT_EQ(window->StatusWidth(1), 100) << width;
        QWidget* top = Find<QWidget>("P_HorniLista");
        EXPECT_EQ(Find<QPushButton>("B_ZavritPanelNastroju")->x(), top->width() - 17 - 1);
        QWidget* palette = Find<QWidget>("P_Sortiment");
        EXPECT_EQ(Find<QPushButton>("B_ZavritPanelSortiment")->x(), palette->width() - 17 - 1);
    }
}

struct MenuRow {
    const char* menu;
    const char* submenu; // "" when the item is directly in the menu
    const char* component;
    const char* caption;
    QKeySequence shortcut;
    bool enabled;
    bool checked;
};

TEST_F(MainWindowTest, MenuItemsHaveTheirCaptionsShortcutsAndStates) {
    using K = QKeySequence;
    const MenuRow rows[] = {
        {"Soubor", "", "MP_Novy", "Nový", K(Qt::CTRL | Qt::Key_N), true, false},
        {"Soubor", "", "MP_Otevreni", "Otevřít", K(Qt::CTRL | Qt::Key_O), true, false},
        {"Soubor", "", "MP_Ulozeni", "Uložit", K(Qt::CTRL | Qt::Key_S), true, false},
        {"Soubor", "", "MP_UlozitJako", "Uložit jako ...", K(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         true, false},
        {"Soubor", "", "Konec1", "Konec", K(), true, false},
        {"Úpravy", "", "Zpt2", "Zpět", K(Qt::CTRL | Qt::Key_Z), false, false},
        {"Úpravy", "Posunout všechny prvky", "Zpt1", "Posunout vše <", K(Qt::CTRL | Qt::Key_Left),
         true, false},
        {"Úpravy", "Posunout všechny prvky", "Posunoutve1", "Posunout vše >",
         K(Qt::CTRL | Qt::Key_Right), true, false},
        {"Úpravy", "Posunout všechny prvky", "PosunoutveV1", "Posunout vše V",
         K(Qt::CTRL | Qt::Key_Down), true, false},
        {"Úpravy", "Posunout všechny prvky", "Posunoutve2", "Posunout vše ^",
         K(Qt::CTRL | Qt::Key_Up), true, false},
        {"Úpravy", "Posunout všechny prvky", "MP_PosunoutVseO", "Posunout vše o ...", K(), true,
         false},
        {"Nastavení", "", "OStanici1", "O Stanici", K(), false, false},
        {"Zobrazit", "Panel VAD", "MP_InfoVykreslovani", "<Informace o vykreslování>", K(), true,
         true},
        {"Zobrazit", "Panel VAD", "MP_Nahled", "Náhled vkládaného prvku", K(), true, true},
        {"Zobrazit", "Panel VAD", "MP_PolickoPodKurzorem", "Políčko pod kurzorem", K(), true, true},
        {"Zobrazit", "Panel VAD", "MP_Mrizka", "Mřížka", K(Qt::CTRL | Qt::Key_G), true, true},
        {"Zobrazit", "Panely nástrojů", "MP_HorniLista", "Horní lišta", K(), true, true},
        {"Zobrazit", "Panely nástrojů", "MP_Sortiment", "Sortiment prvků", K(), true, true},
        {"Zobrazit", "Panely nástrojů", "MP_LevyPanel", "Levý panel podrobností", K(), true, true},
        {"Zobrazit", "Panely nástrojů", "MP_StatusPanel", "Status panel", K(), true, true},
        {"Zobrazit", "Panely nástrojů", "MP_SkrytVsechnyPanely", "Skrýt všechny", K(Qt::Key_F2),
         true, false},
        {"Zobrazit", "Panely nástrojů", "MP_ZobrazitVsechnyPanely", "Zobrazit všechny",
         K(Qt::Key_F3), true, false},
        {"Nápověda", "", "Manul1", "Manuál", K(), true, false},
        {"Nápověda", "", "Oprogramu1", "O programu", K(), true, false},
    };
    auto* bar = Find<QMenuBar>("MM_Menu");
    ASSERT_NE(bar, nullptr);
    QStringList menus;
    for (QAction* a : bar->actions())
        menus << a->text();
    EXPECT_EQ(menus,
              (QStringList{"Soubor", QString::fromUtf8("Úpravy"), QString::fromUtf8("Nastavení"),
                           "Zobrazit", QString::fromUtf8("Nápověda")}));
    for (const MenuRow& row : rows) {
        QAction* action = window->Action(QString::fromLatin1(row.component));
        ASSERT_NE(action, nullptr) << row.component;
        EXPECT_EQ(action->text(), QString::fromUtf8(row.caption)) << row.component;
        EXPECT_EQ(action->shortcut(), row.shortcut) << row.component;
        EXPECT_EQ(action->isEnabled(), row.enabled) << row.component;
        EXPECT_EQ(action->isChecked(), row.checked) << row.component;
        // Its place: the submenu (if any) and the top-level menu that hold it.
        auto* holder = qobject_cast<QMenu*>(action->parent());
        ASSERT_NE(holder, nullptr) << row.component;
        if (*row.submenu) {
            EXPECT_EQ(holder->title(), QString::fromUtf8(row.submenu)) << row.component;
            holder = qobject_cast<QMenu*>(holder->parent());
            ASSERT_NE(holder, nullptr) << row.component;
        }
        EXPECT_EQ(holder->title(), QString::fromUtf8(row.menu)) << row.component;
    }
    for (const char* pictured : {"MP_Novy", "MP_Otevreni", "MP_Ulozeni", "MP_UlozitJako", "Zpt2"})
        EXPECT_FALSE(window->Action(QString::fromLatin1(pictured))->icon().isNull()) << pictured;
}

// A check item of "Panely nástrojů" turns its mark over and shows its panel to match.
TEST_F(MainWindowTest, ToolPanelItemsToggleTheirPanels) {
    const std::pair<const char*, const char*> items[] = {{"MP_HorniLista", "P_HorniLista"},
                                                         {"MP_Sortiment", "P_Sortiment"},
                                                         {"MP_LevyPanel", "P_Levy"},
                                                         {"MP_StatusPanel", "ZB_Zapati"}};
    for (const auto& [item, panel] : items) {
        Trigger(item);
        EXPECT_FALSE(window->Action(QString::fromLatin1(item))->isChecked()) << item;
        EXPECT_FALSE(Find<QWidget>(panel)->isVisible()) << panel;
        Trigger(item);
        EXPECT_TRUE(window->Action(QString::fromLatin1(item))->isChecked()) << item;
        EXPECT_TRUE(Find<QWidget>(panel)->isVisible()) << panel;
    }
}

TEST_F(MainWindowTest, F2HidesAllPanelsAndF3RestoresThem) {
    const char* panels[] = {"P_HorniLista", "P_Sortiment", "P_Levy", "ZB_Zapati"};
    const char* items[] = {"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel"};
    const int viewportBefore = window->View().ViewportWidget()->height();
    QTest::keyClick(window.get(), Qt::Key_F2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(Find<QWidget>(panels[i])->isVisible()) << panels[i];
        EXPECT_FALSE(window->Action(QString::fromLatin1(items[i]))->isChecked()) << items[i];
    }
    QCoreApplication::processEvents();
    // The viewport grows into the room and the scroll bar's range follows it.
    const int viewportAfter = window->View().ViewportWidget()->height();
    EXPECT_GT(viewportAfter, viewportBefore);
    EXPECT_EQ(Find<QScrollBar>("SB_Svisly")->maximum(), Surface()->height() - viewportAfter);
    QTest::keyClick(window.get(), Qt::Key_F3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Find<QWidget>(panels[i])->isVisible()) << panels[i];
        EXPECT_TRUE(window->Action(QString::fromLatin1(items[i]))->isChecked()) << items[i];
    }
}

TEST_F(MainWindowTest, CloseButtonsHideTheirPanelAndClearTheMark) {
    const struct {
        const char* button;
        const char* panel;
        const char* item;
    } rows[] = {{"B_ZavritPanelNastroju", "P_HorniLista", "MP_HorniLista"},
                {"B_ZavritPanelSortiment", "P_Sortiment", "MP_Sortiment"},
                {"Button1", "P_Levy", "MP_LevyPanel"}};
    for (const auto& r : rows) {
        QTest::mouseClick(Find<QPushButton>(r.button), Qt::LeftButton);
        EXPECT_FALSE(Find<QWidget>(r.panel)->isVisible()) << r.panel;
        QAction* item = window->Action(QString::fromLatin1(r.item));
        EXPECT_FALSE(item->isChecked()) << r.item;
        // Choosing the item shows the panel again.
        item->trigger();
        EXPECT_TRUE(Find<QWidget>(r.panel)->isVisible()) << r.panel;
        EXPECT_TRUE(item->isChecked()) << r.item;
    }
}

// The scroll bars are enabled exactly when the surface exceeds the viewport that way.
TEST_F(MainWindowTest, ScrollBarsFollowSurfaceAndViewport) {
    auto* horizontal = Find<QScrollBar>("SB_Vodorovny");
    auto* vertical = Find<QScrollBar>("SB_Svisly");
    QWidget* viewport = window->View().ViewportWidget();
    ASSERT_TRUE(horizontal->isEnabled());
    EXPECT_EQ(horizontal->maximum(), Surface()->width() - viewport->width());
    EXPECT_EQ(vertical->maximum(), Surface()->height() - viewport->height());
    EXPECT_EQ(horizontal->minimum(), 0);
    EXPECT_EQ(horizontal->singleStep(), 1);

    // Scrolling moves the surface; pointer coordinates stay surface pixels.
    horizontal->setValue(500);
    vertical->setValue(300);
    EXPECT_EQ(Surface()->pos(), QPoint(-500, -300));
    EXPECT_EQ(window->View().VisibleRect().topLeft(), QPoint(500, 300));

    // A surface narrower than the viewport disables the bar and pins the left edge at 0.
    Find<QSpinBox>("SE_PolickaSirka")->setValue(10);
    EXPECT_EQ(Surface()->width(), 470);
    EXPECT_FALSE(horizontal->isEnabled());
    EXPECT_EQ(Surface()->x(), 0);
    EXPECT_TRUE(vertical->isEnabled());
    EXPECT_EQ(Surface()->y(), -300);
    Find<QSpinBox>("SE_PolickaVyska")->setValue(10);
    EXPECT_FALSE(vertical->isEnabled());
    EXPECT_EQ(Surface()->pos(), QPoint(0, 0));
    EXPECT_EQ(Panel().PanelCols, 10);
    EXPECT_EQ(Panel().PanelRows, 10);
}

TEST_F(MainWindowTest, ElementsBeyondASmallerPanelStayInTheList) {
    window->View().HorizontalBar()->setValue(100 * 47 - 200);
    Click(Cell(100, 2));
    ASSERT_EQ(Panel().Elements().size(), 1u);
    Find<QSpinBox>("SE_PolickaSirka")->setValue(10);
    EXPECT_EQ(Panel().PanelCols, 10);
    ASSERT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(Panel().Elements()[0].X, 100);
}

// Every allowed panel size gets a surface: only the visible part has pixels behind it.
TEST_F(MainWindowTest, LargestPanelScrollsToItsLastCell) {
    Find<QSpinBox>("SE_PolickaSirka")->setValue(4000);
    Find<QSpinBox>("SE_PolickaVyska")->setValue(4000);
    EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
    EXPECT_EQ(Surface()->size(), QSize(188000, 188000));
    auto* horizontal = Find<QScrollBar>("SB_Vodorovny");
    auto* vertical = Find<QScrollBar>("SB_Svisly");
    horizontal->setValue(horizontal->maximum());
    vertical->setValue(vertical->maximum());
    const QRect visible = window->View().VisibleRect();
    EXPECT_EQ(visible.right(), 188000 - 1);
    EXPECT_EQ(visible.bottom(), 188000 - 1);
    EXPECT_EQ(window->View().FrameSurface().BackBuffer().size(), visible.size());
    Click(Cell(3999, 3999));
    ASSERT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(Panel().Elements()[0].X, 3999);
    EXPECT_EQ(Panel().Elements()[0].Y, 3999);
    EXPECT_TRUE(window->Frames().RenderIfChanged(1));
    // The tile's black pixels reach the buffer at its cell.
    const QImage& buffer = window->View().FrameSurface().BackBuffer();
    const QPoint centre = QPoint(3999 * 47 + 24, 3999 * 47 + 24) - visible.topLeft();
    EXPECT_EQ(buffer.pixel(centre) & 0xFFFFFF, 0u);
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

using WindowLayoutTest = WindowTest;

// Where a widget lies in the window's client area.
QRect InClient(QWidget* w, QWidget* client) {
    return QRect(w->mapTo(client, QPoint(0, 0)), w->size());
}

// The left panel is a strip of width 145 at the left edge on every page: below the palette
// beside the drawing area, and on "Ostatní" from the top bar to the status bar beside the
// palette that fills the rest, however it was shown again.
TEST_F(WindowLayoutTest, LeftPanelIsAStripAtTheLeftOnEveryPage) {
    QTabWidget* pages = window->PaletteControls().Pages();
    QWidget* client = window->centralWidget();
    QWidget* top = Find<QWidget>("P_HorniLista");
    QWidget* palette = Find<QWidget>("P_Sortiment");
    QWidget* left = Find<QWidget>("P_Levy");
    QWidget* status = Find<QWidget>("ZB_Zapati");
    const std::pair<const char*, std::function<void()>> showings[] = {
        {"F2 then F3",
         [&] {
             Trigger("MP_SkrytVsechnyPanely");
             Trigger("MP_ZobrazitVsechnyPanely");
         }},
        {"the menu item twice",
         [&] {
             Trigger("MP_LevyPanel");
             Trigger("MP_LevyPanel");
         }},
    };
    for (int page : {pages->count() - 1, 0, 2}) {
        pages->setCurrentIndex(page);
        const bool other = page == pages->count() - 1;
        for (const auto& [how, show] : showings) {
            show();
            QCoreApplication::processEvents();
            const std::string what = std::string(how) + " on page " + std::to_string(page);
            ASSERT_TRUE(left->isVisible()) << what;
            const QRect l = InClient(left, client);
            const QRect p = InClient(palette, client);
            const int below = other ? top->y() + top->height() : p.bottom() + 1;
            EXPECT_EQ(l, QRect(0, below, 145, status->y() - below)) << what;
            const QRect palettePlace =
                other ? QRect(145, below, client->width() - 145, status->y() - below)
                      : QRect(0, top->y() + top->height(), client->width(), 92);
            EXPECT_EQ(p, palettePlace) << what;
        }
    }
}

// The bevelled panels hold their child 2 pixels in, inside the bevel.
TEST_F(WindowLayoutTest, PanelsHoldTheirContentInsideTheBevel) {
    const std::pair<const char*, const char*> panels[] = {{"P_Sortiment", "PC_Sortiment"},
                                                          {"P_Levy", "PC_Nastaveni"},
                                                          {"P_PodkladPlochy", "P_Plocha"}};
    for (const auto& [panel, child] : panels) {
        QWidget* outer = Find<QWidget>(panel);
        QWidget* inner = Find<QWidget>(child);
        ASSERT_EQ(inner->parentWidget(), outer) << child;
        EXPECT_EQ(inner->pos(), QPoint(2, 2)) << child;
        if (QString::fromLatin1(child) != QStringLiteral("P_Plocha")) {
            EXPECT_EQ(inner->geometry(), outer->rect().adjusted(2, 2, -2, -2)) << child;
        }
    }
}

TEST_F(WindowLayoutTest, StatusPanelsEndAtTheWindowsRightEdge) {
    for (int width : {640, 904, 1333}) {
        window->resize(width, 600);
        QCoreApplication::processEvents();
        auto* first = Find<QLabel>("ZB_Zapati_Panel0");
        auto* second = Find<QLabel>("ZB_Zapati_Panel1");
        EXPECT_EQ(first->x(), 0) << width;
        EXPECT_EQ(second->x(), first->x() + first->width()) << width;
        EXPECT_EQ(second->x() + second->width(), window->width()) << width;
        EXPECT_EQ(Find<QWidget>("ZB_Zapati")->width(), window->width()) << width;
    }
}

// Ctrl and an arrow shift the panel whatever has the keyboard focus in the window, the size
// fields on "Ostatní" included, where the keys would otherwise move the text cursor.
TEST_F(WindowLayoutTest, ShiftKeysWorkFromEveryFocusInTheWindow) {
    Click(Cell(5, 5));
    QTabWidget* pages = window->PaletteControls().Pages();
    int tried = 0;
    for (int page : {0, pages->count() - 1}) {
        pages->setCurrentIndex(page);
        QCoreApplication::processEvents();
        for (QWidget* w : window->findChildren<QWidget*>()) {
            if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || !w->isEnabled() ||
                w->focusProxy())
                continue;
            w->setFocus();
            QCoreApplication::processEvents();
            if (QApplication::focusWidget() != w)
                continue;
            ++tried;
            const std::string what =
                w->objectName().toStdString() + " (" + w->metaObject()->className() + ")";
            const QString before =
                qobject_cast<QLineEdit*>(w) ? qobject_cast<QLineEdit*>(w)->text() : QString();
            QTest::keyClick(w, Qt::Key_Right, Qt::ControlModifier);
            EXPECT_EQ(Panel().Elements().at(0).X, 6) << what;
            QTest::keyClick(w, Qt::Key_Down, Qt::ControlModifier);
            EXPECT_EQ(Panel().Elements().at(0).Y, 6) << what;
            QTest::keyClick(w, Qt::Key_Left, Qt::ControlModifier);
            EXPECT_EQ(Panel().Elements().at(0).X, 5) << what;
            QTest::keyClick(w, Qt::Key_Up, Qt::ControlModifier);
            EXPECT_EQ(Panel().Elements().at(0).Y, 5) << what;
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                EXPECT_EQ(edit->text(), before) << what;
            }
        }
    }
    // The two size fields at least, the surface and the buttons and boxes.
    EXPECT_GE(tried, 5);
    EXPECT_EQ(Panel().PanelCols, 150);
    EXPECT_EQ(Panel().PanelRows, 50);
}

// The wheel over a tab row scrolls nothing and turns no page: a page change would select
// that page's first tile (or hide the panel on "Ostatní").
TEST_F(WindowLayoutTest, WheelOverTheTabsTurnsNoPage) {
    QTabWidget* pages = window->PaletteControls().Pages();
    window->PaletteControls().SelectTile(window->PaletteControls().Picture("KOL_sSDSH"));
    for (QTabWidget* tabs : {pages, Find<QTabWidget>("PC_Nastaveni")}) {
        QTabBar* bar = tabs->tabBar();
        const QPoint at = bar->tabRect(0).center();
        for (int delta : {-120, 120, -360, 360}) {
            QWheelEvent wheel(at, bar->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(bar, &wheel);
            EXPECT_EQ(tabs->currentIndex(), 0) << delta;
        }
    }
    EXPECT_EQ(Panel().SelectedName, "KOL_sSDSH");
    // Clicks still turn pages.
    QTest::mouseClick(pages->tabBar(), Qt::LeftButton, {}, pages->tabBar()->tabRect(1).center());
    EXPECT_EQ(pages->currentIndex(), 1);
}

} // namespace
} // namespace vedivez::test

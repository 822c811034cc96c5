#include "app/MainWindow.h"

#include "app/BevelPanel.h"
#include "app/CheckController.h"
#include "app/ErrorHandler.h"
#include "app/FileCommands.h"
#include "app/FrameDriver.h"
#include "app/MainMenu.h"
#include "app/MouseEditing.h"
#include "app/Palette.h"
#include "app/PanelNavigation.h"
#include "app/PointerTracking.h"
#include "app/Prompts.h"
#include "app/RecentFiles.h"
#include "app/SurfaceWidget.h"
#include "app/Viewport.h"
#include "app/WindowShortcuts.h"
#include "app/ZoomController.h"
#include "dialogs/U_About.h"
#include "dialogs/U_AboutVUVOzaz.h"
#include "dialogs/U_Manual.h"
#include "dialogs/U_PocetPolicek.h"
#include "panel/DocumentTexts.h"
#include "panel/TileImages.h"
#include "surface/AppFonts.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>

// The tool-bar and menu pictures live in a resource of this static library; the linker
// keeps them only when something refers to them.
static void InitialiseAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace vedivez {

namespace {

constexpr int kMinCells = 10;
constexpr int kMaxCells = 4000;

QPushButton* ToolButton(const QString& name, const QString& picture, int left, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setGeometry(left, 4, 23, 23);
    if (!picture.isEmpty()) {
        button->setIcon(QIcon(picture));
        button->setIconSize(QSize(16, 16));
    }
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

// The tool bar's file buttons; each does what its menu item does.
struct FileButton {
    const char* name;
    const char* picture;
    int left;
    const char* item;
};
constexpr FileButton kFileButtons[] = {{"BB_Novy", ":/app/new.xpm", 5, "MP_Novy"},
                                       {"BB_Ulozit", ":/app/save.xpm", 31, "MP_Ulozeni"},
                                       {"BB_UlozitJako", ":/app/saveas.xpm", 57, "MP_UlozitJako"},
                                       {"BB_Otevrit", ":/app/open.xpm", 84, "MP_Otevreni"}};

QSpinBox* CellCountEdit(const QString& name, int value, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setRange(kMinCells, kMaxCells);
    edit->setValue(value);
    return edit;
}

} // namespace

TPanelVAD::TPanelVAD(std::unique_ptr<Prompts> prompts, QWidget* parent)
    : QMainWindow(parent),
      prompts_(prompts ? std::move(prompts) : std::make_unique<DialogPrompts>(this)),
      errors_(std::make_unique<ErrorHandler>(*prompts_)), document_(*this),
      images_(MakeTileImageList()) {
    InitialiseAppResources();
    setObjectName(QStringLiteral("PanelVAD"));
    setFont(UiFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setGeometry(245, 117, 904, 561);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    grid_ = new QGridLayout(client);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(0);

    BuildToolBar();
    palette_ = std::make_unique<Palette>(Panel(), *errors_, client);
    view_ = std::make_unique<Viewport>(client);
    mouse_ = std::make_unique<MouseEditing>(document_, palette_->DragBox(), palette_->DragStart(),
                                            palette_->DragEnd());
    BuildSizeSettings();
    BuildStatusBar();

    grid_->addWidget(topBar_, 0, 0, 1, 2);
    grid_->addWidget(view_->Area(), 2, 1);
    grid_->addWidget(statusBar_, 3, 0, 1, 2);
    grid_->setRowStretch(2, 1);
    grid_->setColumnStretch(1, 1);
    SetPaletteFillsWindow(false);

    palette_->showDrawingArea = [this](bool shown) {
        view_->Area()->setVisible(shown);
        SetPaletteFillsWindow(!shown);
    };
    palette_->onSelected = [this](const QString& name) { selectedLabel_->setText(name); };
    check_ = std::make_unique<CheckController>(Panel(), *view_);
    frames_ = std::make_unique<FrameDriver>(Panel(), *view_, *check_, images_, *errors_);
    zoom_ = std::make_unique<ZoomController>(*view_);
    BuildMenu();
    // The view options are read at every tick: their actions are looked up once.
    QAction* info = Action(QStringLiteral("MP_InfoVykreslovani"));
    QAction* preview = Action(QStringLiteral("MP_Nahled"));
    QAction* cursorCell = Action(QStringLiteral("MP_PolickoPodKurzorem"));
    QAction* grid = Action(QStringLiteral("MP_Mrizka"));
    frames_->frameInputs = [this, info, preview, cursorCell, grid] {
        FrameInputs inputs;
        inputs.options.Info = info->isChecked();
        inputs.options.Preview = preview->isChecked();
        inputs.options.CursorCell = cursorCell->isChecked();
        inputs.options.Grid = grid->isChecked();
        inputs.boxes = palette_->PositionBoxes();
        return inputs;
    };
    ConnectSurface();
    // The shift commands shift whatever has the focus, the size fields included.
    std::vector<QKeySequence> shiftKeys;
    for (const char* item : {"Zpt1", "Posunoutve1", "PosunoutveV1", "Posunoutve2"})
        shiftKeys.push_back(Action(QString::fromLatin1(item))->shortcut());
    shiftKeys_ = std::make_unique<WindowShortcuts>(this, std::move(shiftKeys));
    navigation_ = std::make_unique<PanelNavigation>(Panel(), *view_, this);
    connect(palette_->CloseButton(), &QPushButton::clicked, this,
            [this] { errors_->Guard([this] { B_ZavritPanelSortimentClick(); }); });
    connect(palette_->LeftCloseButton(), &QPushButton::clicked, this,
            [this] { errors_->Guard([this] { Button1Click(); }); });

    connect(&document_, &Document::stateChanged, this, [this] { ShowDocumentState(); });
    connect(&document_, &Document::sizeChanged, this,
            [this] { errors_->Guard([this] { ShowPanelSize(); }); });
    ShowDocumentState();
    // The surface takes the panel's size right away, so every cell of the panel can be
    // scrolled to from the start.
    ShowPanelSize();
    FormResize();
    CreateSecondaryWindows();
}

void TPanelVAD::CreateSecondaryWindows() {
    shiftDialog_ = new TZ_PosunPolicek(document_, this);
    stationDialog_ = new TAboutStation(this);
    manual_ = new TManual(this);
    about_ = new TAboutVUVOzaz(this);
}

TPanelVAD::~TPanelVAD() {
    // The widgets go first, while the collaborators their last events reach (focus leaving
    // the surface, for one) still exist.
    delete takeCentralWidget();
}

void TPanelVAD::BuildToolBar() {
    topBar_ = new BevelPanel(QStringLiteral("P_HorniLista"), BevelPanel::Style::Double);
    topBar_->setFixedHeight(33);
    for (const FileButton& b : kFileButtons) {
        QPushButton* button = ToolButton(QString::fromLatin1(b.name),
                                         QString::fromLatin1(b.picture), b.left, topBar_);
        const QString item = QString::fromLatin1(b.item);
        connect(button, &QPushButton::clicked, this, [this, item] { Action(item)->trigger(); });
    }
    ToolButton(QStringLiteral("BB_Zpet"), QStringLiteral(":/app/undo.xpm"), 123, topBar_)
        ->setEnabled(false);
    ToolButton(QStringLiteral("BitBtn5"), QString(), 150, topBar_);
    selectedLabel_ = new QLabel(QStringLiteral("KOL_sLSPS"), topBar_);
    selectedLabel_->setObjectName(QStringLiteral("L_ZvolenaSoucast"));
    selectedLabel_->move(184, 10);
    selectedLabel_->hide();
    topClose_ = PanelCloseButton(QStringLiteral("B_ZavritPanelNastroju"), topBar_);
    connect(topClose_, &QPushButton::clicked, this,
            [this] { errors_->Guard([this] { B_ZavritPanelNastrojuClick(); }); });
}

void TPanelVAD::BuildSizeSettings() {
    auto* group = new QGroupBox(QString::fromUtf8(" Počet políček "), palette_->OtherPage());
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(8, 4, 185, 58);
    auto* heightLabel = new QLabel(QString::fromUtf8("Výška"), group);
    heightLabel->setObjectName(QStringLiteral("Label2"));
    heightLabel->move(8, 22);
    heightEdit_ = CellCountEdit(QStringLiteral("SE_PolickaVyska"), 50, group);
    heightEdit_->setGeometry(40, 18, 57, 22);
    auto* widthLabel = new QLabel(QString::fromUtf8("Šířka"), group);
    widthLabel->setObjectName(QStringLiteral("Label3"));
    widthLabel->move(104, 22);
    widthEdit_ = CellCountEdit(QStringLiteral("SE_PolickaSirka"), 150, group);
    widthEdit_->setGeometry(136, 18, 57, 22);
    group->setGeometry(8, 4, 270, 58);
    auto* apply = new QPushButton(QStringLiteral("Nastavit"), group);
    apply->setObjectName(QStringLiteral("B_Nastavit"));
    apply->setGeometry(200, 17, 62, 25);
    for (QSpinBox* edit : {heightEdit_, widthEdit_})
        connect(edit, &QSpinBox::valueChanged, this,
                [this] { errors_->Guard([this] { SizeEdited(); }); });
}

void TPanelVAD::BuildStatusBar() {
    // The two panels are placed by hand: their widths follow the window (FormResize), and a
    // layout would make those widths the window's minimum size.
    statusBar_ = new QWidget;
    statusBar_->setObjectName(QStringLiteral("ZB_Zapati"));
    statusBar_->setFixedHeight(19);
    const int widths[2] = {500, 150};
    for (int i = 0; i < 2; ++i) {
        status_[i] = new QLabel(statusBar_);
        status_[i]->setObjectName(QStringLiteral("ZB_Zapati_Panel%1").arg(i));
        // A path is text, whatever characters the file's name holds.
        status_[i]->setTextFormat(Qt::PlainText);
        status_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status_[i]->setContentsMargins(2, 0, 2, 0);
        status_[i]->setGeometry(0, 2, widths[i], 17);
    }
    status_[1]->setAlignment(Qt::AlignCenter);
    SetStatusWidths(500, 150);
}

void TPanelVAD::SetStatusWidths(int first, int second) {
    // The second panel follows the first directly, so at the window's width less 100 it
    // ends at the window's right edge.
    status_[0]->setGeometry(0, 2, first, 17);
    status_[1]->setGeometry(first, 2, second, 17);
}

void TPanelVAD::BuildMenu() {
    const QString soubor = QStringLiteral("Soubor");
    const QString upravy = QString::fromUtf8("Úpravy");
    const QString nastaveni = QString::fromUtf8("Nastavení");
    const QString zobrazit = QStringLiteral("Zobrazit");
    const QString napoveda = QString::fromUtf8("Nápověda");
    using K = QKeySequence;
    const K none;
    auto on = [this](void (TPanelVAD::*handler)()) {
        return std::function<void()>([this, handler] { (this->*handler)(); });
    };
    auto mouse = [this](void (MouseEditing::*handler)()) {
        return std::function<void()>([this, handler] { (mouse_.get()->*handler)(); });
    };
    auto file = [this](void (FileCommands::*handler)()) {
        return std::function<void()>([this, handler] { (files_.get()->*handler)(); });
    };
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
    auto checks = [this](void (CheckController::*handler)()) {
        return std::function<void()>([this, handler] { (check_.get()->*handler)(); });
    };
    auto zoom = [this](void (ZoomController::*handler)()) {
        return std::function<void()>([this, handler] { (zoom_.get()->*handler)(); });
    };
    auto separator = [](const QString& menu, bool inSubmenu = false) {
        MainMenu::Item row;
        row.menu = menu;
        row.inSubmenu = inSubmenu;
        return row;
    };
    const bool enabled = true, disabled = false, check = true;
    // clang-format off
    const std::vector<MainMenu::Item> items = {
        item(soubor, "MP_Novy", "Nový", K(Qt::CTRL | Qt::Key_N), file(&FileCommands::MP_NovyClick), enabled, false, ":/app/new.xpm"),
        item(soubor, "MP_Otevreni", "Otevřít", K(Qt::CTRL | Qt::Key_O), file(&FileCommands::MP_OtevreniClick), enabled, false, ":/app/open.xpm"),
        item(soubor, "MP_Ulozeni", "Uložit", K(Qt::CTRL | Qt::Key_S), file(&FileCommands::MP_UlozeniClick), enabled, false, ":/app/save.xpm"),
        item(soubor, "MP_UlozitJako", "Uložit jako ...", K(Qt::CTRL | Qt::SHIFT | Qt::Key_S), file(&FileCommands::MP_UlozitJakoClick), enabled, false, ":/app/saveas.xpm"),
        named(submenu(soubor, "Naposledy otevřené"), "MP_NaposledyOtevrene"),
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
        sub(zobrazit, "MP_HorniLista", "Horní lišta", none, on(&TPanelVAD::MP_HorniListaClick), check),
        sub(zobrazit, "MP_Sortiment", "Sortiment prvků", none, on(&TPanelVAD::MP_SortimentClick), check),
        sub(zobrazit, "MP_LevyPanel", "Levý panel podrobností", none, on(&TPanelVAD::MP_LevyPanelClick), check),
        sub(zobrazit, "MP_StatusPanel", "Status panel", none, on(&TPanelVAD::MP_StatusPanelClick), check),
        separator(zobrazit, true),
        sub(zobrazit, "MP_SkrytVsechnyPanely", "Skrýt všechny", K(Qt::Key_F2), on(&TPanelVAD::MP_SkrytVsechnyPanelyClick)),
        sub(zobrazit, "MP_ZobrazitVsechnyPanely", "Zobrazit všechny", K(Qt::Key_F3), on(&TPanelVAD::MP_ZobrazitVsechnyPanelyClick)),
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
    menu_ = std::make_unique<MainMenu>(items, *errors_, this);
    setMenuBar(menu_->Bar());
    recent_ = std::make_unique<RecentFiles>(menu_->Submenu(QStringLiteral("MP_NaposledyOtevrene")));
    files_ = std::make_unique<FileCommands>(document_, *prompts_, *frames_, *recent_);
    recent_->chosen = [this](const std::string& path) {
        errors_->Guard([&] { files_->OpenRecent(path); });
    };
    // Each file button tells what it does and its key, as its menu item has them.
    for (const FileButton& b : kFileButtons) {
        const QAction* action = Action(QString::fromLatin1(b.item));
        auto* button = topBar_->findChild<QPushButton*>(QString::fromLatin1(b.name));
        QString caption = action->text();
        if (caption.endsWith(QStringLiteral(" ...")))
            caption.chop(4);
        button->setToolTip(QStringLiteral("%1 (%2)").arg(
            caption, action->shortcut().toString(QKeySequence::NativeText)));
    }
    zoom_->Attach(menu_->Submenu(QStringLiteral("MP_Meritko")));
    check_->Attach(Action(QStringLiteral("MP_KontrolaSpojeni")));
}

void TPanelVAD::ConnectSurface() {
    SurfaceWidget* surface = view_->SurfaceControl();
    // Mouse editing works in panel pixels at every scale; the view maps the pointer there.
    connect(surface, &SurfaceWidget::pointerMoved, this, [this](int x, int y) {
        errors_->Guard([&] {
            const QPoint p = view_->ToPanel(QPoint(x, y));
            mouse_->X_PlochaMouseMove(p.x(), p.y());
        });
    });
    connect(surface, &SurfaceWidget::buttonPressed, this,
            [this] { errors_->Guard([&] { mouse_->X_PlochaMouseDown(); }); });
    connect(surface, &SurfaceWidget::buttonReleased, this,
            [this](Qt::MouseButton button, int x, int y) {
                errors_->Guard([&] {
                    const QPoint p = view_->ToPanel(QPoint(x, y));
                    mouse_->X_PlochaMouseUp(button, p.x(), p.y());
                });
            });
    connect(surface, &SurfaceWidget::focusEntered, this, [this] { mouse_->X_PlochaEnter(); });
    connect(surface, &SurfaceWidget::focusLeft, this, [this] { mouse_->X_PlochaExit(); });
    pointer_ = std::make_unique<PointerTracking>(Panel(), *view_, *mouse_, *errors_);
}

QAction* TPanelVAD::Action(const QString& component) const {
    return menu_ ? menu_->Action(component) : nullptr;
}

QString TPanelVAD::StatusText(int panel) const {
    return status_[panel]->text();
}

int TPanelVAD::StatusWidth(int panel) const {
    return status_[panel]->width();
}

PositionFlags TPanelVAD::PositionBoxes() const {
    return palette_->PositionBoxes();
}

void TPanelVAD::ShowMessage(const QString& text) {
    prompts_->ShowMessage(text);
}

void TPanelVAD::SizeEdited() {
    document_.Resize(widthEdit_->value(), heightEdit_->value());
}

void TPanelVAD::ShowDocumentState() {
    status_[0]->setText(document_.ShownPath());
    status_[1]->setText(document_.StateWord());
    setWindowTitle(document_.Caption());
}

void TPanelVAD::SetPaletteFillsWindow(bool fills) {
    // The left panel is a strip at the left edge in both arrangements: below the palette
    // beside the drawing area, or from the top bar to the status bar beside the palette.
    BevelPanel* sortiment = palette_->PalettePanel();
    BevelPanel* left = palette_->LeftPanel();
    grid_->removeWidget(sortiment);
    grid_->removeWidget(left);
    if (fills) {
        sortiment->setMinimumHeight(0);
        sortiment->setMaximumHeight(QWIDGETSIZE_MAX);
        grid_->addWidget(left, 1, 0, 2, 1);
        grid_->addWidget(sortiment, 1, 1, 2, 1);
    } else {
        sortiment->setFixedHeight(92);
        grid_->addWidget(sortiment, 1, 0, 1, 2);
        grid_->addWidget(left, 2, 0);
    }
}

void TPanelVAD::ShowPanelSize() {
    const int cols = document_.Cols();
    const int rows = document_.Rows();
    {
        // Showing the document's size is no edit of it.
        const QSignalBlocker blockHeight(heightEdit_), blockWidth(widthEdit_);
        heightEdit_->setValue(rows);
        widthEdit_->setValue(cols);
    }
    view_->SetSurfaceSize(cols * Panel().CellWidth, rows * Panel().CellHeight);
    view_->NastaveniPosuvniku();
}

void TPanelVAD::FormResize() {
    view_->NastaveniPosuvniku();
    const int client = width();
    SetStatusWidths(std::max(0, client - 100), 100);
    topClose_->move(client - topClose_->width() - 1, topClose_->y());
    QPushButton* close = palette_->CloseButton();
    close->move(client - close->width() - 1, close->y());
}

void TPanelVAD::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    errors_->Guard([this] { FormResize(); });
}

void TPanelVAD::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        errors_->Guard([this] { frames_->Start(); });
    }
}

void TPanelVAD::SetChecked(const char* component, bool checked) {
    Action(QString::fromLatin1(component))->setChecked(checked);
}

void TPanelVAD::MP_HorniListaClick() {
    topBar_->setVisible(Action(QStringLiteral("MP_HorniLista"))->isChecked());
}

void TPanelVAD::MP_SortimentClick() {
    palette_->PalettePanel()->setVisible(Action(QStringLiteral("MP_Sortiment"))->isChecked());
}

void TPanelVAD::MP_LevyPanelClick() {
    palette_->LeftPanel()->setVisible(Action(QStringLiteral("MP_LevyPanel"))->isChecked());
}

void TPanelVAD::MP_StatusPanelClick() {
    statusBar_->setVisible(Action(QStringLiteral("MP_StatusPanel"))->isChecked());
}

void TPanelVAD::MP_SkrytVsechnyPanelyClick() {
    for (const char* item : {"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel"})
        SetChecked(item, false);
    topBar_->hide();
    palette_->PalettePanel()->hide();
    palette_->LeftPanel()->hide();
    statusBar_->hide();
}

void TPanelVAD::MP_ZobrazitVsechnyPanelyClick() {
    for (const char* item : {"MP_HorniLista", "MP_Sortiment", "MP_LevyPanel", "MP_StatusPanel"})
        SetChecked(item, true);
    palette_->PalettePanel()->show();
    topBar_->show();
    palette_->LeftPanel()->show();
    statusBar_->show();
}

void TPanelVAD::B_ZavritPanelNastrojuClick() {
    topBar_->hide();
    SetChecked("MP_HorniLista", false);
}

void TPanelVAD::B_ZavritPanelSortimentClick() {
    palette_->PalettePanel()->hide();
    SetChecked("MP_Sortiment", false);
}

void TPanelVAD::Button1Click() {
    palette_->LeftPanel()->hide();
    SetChecked("MP_LevyPanel", false);
}

} // namespace vedivez

namespace vedivez {

void TPanelVAD::Konec1Click() {
    close();
}

void TPanelVAD::closeEvent(QCloseEvent* event) {
    // However the window is closed, unsaved changes are asked about first.
    bool close = false;
    errors_->Guard([&] { close = files_->ConfirmDiscard(); });
    if (close)
        event->accept();
    else
        event->ignore();
}

void TPanelVAD::MP_PosunoutVseOClick() {
    shiftDialog_->exec();
}

void TPanelVAD::OStanici1Click() {
    stationDialog_->exec();
}

void TPanelVAD::Manul1Click() {
    manual_->exec();
}

void TPanelVAD::Oprogramu1Click() {
    about_->exec();
}

} // namespace vedivez

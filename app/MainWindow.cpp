#include "app/MainWindow.h"

#include "app/BevelPanel.h"
#include "app/CheckController.h"
#include "app/ErrorHandler.h"
#include "app/FileCommands.h"
#include "app/FrameDriver.h"
#include "app/MainMenu.h"
#include "app/MenuTable.h"
#include "app/MouseEditing.h"
#include "app/Palette.h"
#include "app/PanelNavigation.h"
#include "app/PanelSizeControls.h"
#include "app/PointerTracking.h"
#include "app/PrintController.h"
#include "app/RecentFiles.h"
#include "app/StatusBar.h"
#include "app/SurfaceWidget.h"
#include "app/ToolPanels.h"
#include "app/TopBar.h"
#include "app/Viewport.h"
#include "app/WindowShortcuts.h"
#include "app/ZoomController.h"
#include "dialogs/U_About.h"
#include "dialogs/U_AboutVUVOzaz.h"
#include "dialogs/U_Manual.h"
#include "dialogs/U_PocetPolicek.h"
#include "panel/TileImages.h"
#include "surface/AppFonts.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

// The tool-bar and menu pictures live in a resource of this static library; the linker
// keeps them only when something refers to them.
static void InitialiseAppResources() {
    Q_INIT_RESOURCE(app);
}

namespace vedivez {

MainWindowParts::MainWindowParts(std::unique_ptr<Prompts> prompts)
    : prompts_(std::move(prompts)), document_(*this), images_(MakeTileImageList()) {}

MainWindowParts::~MainWindowParts() = default;

PositionFlags MainWindowParts::PositionBoxes() const {
    return palette_->PositionBoxes();
}

void MainWindowParts::ShowMessage(const QString& text) {
    prompts_->ShowMessage(text);
}

TPanelVAD::TPanelVAD(std::unique_ptr<Prompts> prompts, QWidget* parent)
    : MainWindowParts(std::move(prompts)), QMainWindow(parent) {
    if (!prompts_)
        prompts_ = std::make_unique<DialogPrompts>(this);
    errors_ = std::make_unique<ErrorHandler>(*prompts_);
    InitialiseAppResources();
    setObjectName(QStringLiteral("PanelVAD"));
    setWindowTitle(document_.Caption());
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

    topBar_ = std::make_unique<TopBar>();
    palette_ = std::make_unique<Palette>(Panel(), *errors_, client);
    view_ = std::make_unique<Viewport>(client);
    mouse_ = std::make_unique<MouseEditing>(document_, palette_->DragBox(), palette_->DragStart(),
                                            palette_->DragEnd());
    sizeControls_ = std::make_unique<PanelSizeControls>(document_, *errors_, palette_->OtherPage());
    statusBar_ = std::make_unique<StatusBar>(document_);

    grid_->addWidget(topBar_->Panel(), 0, 0, 1, 2);
    grid_->addWidget(view_->Area(), 2, 1);
    grid_->addWidget(statusBar_->Widget(), 3, 0, 1, 2);
    grid_->setRowStretch(2, 1);
    grid_->setColumnStretch(1, 1);
    SetPaletteFillsWindow(false);

    connect(palette_.get(), &Palette::drawingAreaShown, this, [this](bool shown) {
        view_->Area()->setVisible(shown);
        SetPaletteFillsWindow(!shown);
    });
    connect(palette_.get(), &Palette::tileSelected, topBar_->SelectedLabel(), &QLabel::setText);
    toolPanels_ = std::make_unique<ToolPanels>(
        ToolPanels::Panels{topBar_->Panel(), palette_->PalettePanel(), palette_->LeftPanel(),
                           statusBar_->Widget(), topBar_->CloseButton(), palette_->CloseButton(),
                           palette_->LeftCloseButton()},
        *errors_);
    check_ = std::make_unique<CheckController>(Panel(), *view_);
    frames_ = std::make_unique<FrameDriver>(Panel(), *view_, *check_, images_, *errors_);
    zoom_ = std::make_unique<ZoomController>(*view_);
    BuildMenu();
    ConnectFrameInputs();
    ConnectSurface();
    // The shift commands shift whatever has the focus, the size fields included.
    std::vector<QKeySequence> shiftKeys;
    for (const char* item : {"Zpt1", "Posunoutve1", "PosunoutveV1", "Posunoutve2"})
        shiftKeys.push_back(Action(QString::fromLatin1(item))->shortcut());
    shiftKeys_ = std::make_unique<WindowShortcuts>(this, std::move(shiftKeys));
    navigation_ = std::make_unique<PanelNavigation>(Panel(), *view_, this);

    connect(&document_, &Document::stateChanged, this,
            [this] { setWindowTitle(document_.Caption()); });
    // The surface takes the panel's size right away, so every cell of the panel can be
    // scrolled to from the start, and follows it from then on.
    connect(&document_, &Document::sizeChanged, this,
            [this] { errors_->Guard([this] { FollowPanelSize(); }); });
    FollowPanelSize();
    FormResize();
    shiftDialog_ = new TZ_PosunPolicek(document_, this);
    stationDialog_ = new TAboutStation(this);
    manual_ = new TManual(this);
    about_ = new TAboutVUVOzaz(this);
}

TPanelVAD::~TPanelVAD() = default;

void TPanelVAD::BuildMenu() {
    recent_ = std::make_unique<RecentFiles>();
    files_ = std::make_unique<FileCommands>(document_, *prompts_, *frames_, *recent_);
    print_ = std::make_unique<PrintController>(document_, *prompts_, *frames_, *view_, this);
    print_->check = &check_->Check();
    Viewport* view = view_.get();
    print_->viewCellPixels = [view] {
        const int cell = view->Zoom().CellSize();
        return cell > 0 ? cell : 12;
    };
    menu_ = std::make_unique<MainMenu>(
        MainMenuTable({*this, *files_, *mouse_, *toolPanels_, *zoom_, *check_, *print_}), *errors_,
        this);
    setMenuBar(menu_->Bar());
    recent_->Attach(menu_->Submenu(QStringLiteral("MP_NaposledyOtevrene")));
    FileCommands* files = files_.get();
    ErrorHandler* errors = errors_.get();
    connect(recent_.get(), &RecentFiles::chosen, recent_.get(),
            [files, errors](const std::string& path) {
                errors->Guard([&] { files->OpenRecent(path); });
            });
    topBar_->Attach(*menu_);
    toolPanels_->Attach(*menu_);
    zoom_->Attach(menu_->Submenu(QStringLiteral("MP_Meritko")));
    check_->Attach(Action(QStringLiteral("MP_KontrolaSpojeni")));
}

void TPanelVAD::ConnectFrameInputs() {
    // The view options are read at every frame: their actions are looked up once.
    const QAction* info = Action(QStringLiteral("MP_InfoVykreslovani"));
    const QAction* preview = Action(QStringLiteral("MP_Nahled"));
    const QAction* cursorCell = Action(QStringLiteral("MP_PolickoPodKurzorem"));
    const QAction* grid = Action(QStringLiteral("MP_Mrizka"));
    const Palette* palette = palette_.get();
    frames_->frameInputs = [info, preview, cursorCell, grid, palette] {
        FrameInputs inputs;
        inputs.options.Info = info->isChecked();
        inputs.options.Preview = preview->isChecked();
        inputs.options.CursorCell = cursorCell->isChecked();
        inputs.options.Grid = grid->isChecked();
        inputs.boxes = palette->PositionBoxes();
        return inputs;
    };
}

void TPanelVAD::ConnectSurface() {
    SurfaceWidget* surface = view_->SurfaceControl();
    // The handlers reach the collaborators directly, not through the window: the surface's
    // last events come while the window is being taken apart.
    MouseEditing* mouse = mouse_.get();
    ErrorHandler* errors = errors_.get();
    Viewport* view = view_.get();
    // Mouse editing works in panel pixels at every scale; the view maps the pointer there.
    connect(surface, &SurfaceWidget::pointerMoved, surface, [=](int x, int y) {
        errors->Guard([&] {
            const QPoint p = view->ToPanel(QPoint(x, y));
            mouse->X_PlochaMouseMove(p.x(), p.y());
        });
    });
    connect(surface, &SurfaceWidget::buttonPressed, surface,
            [=] { errors->Guard([&] { mouse->X_PlochaMouseDown(); }); });
    connect(surface, &SurfaceWidget::buttonReleased, surface,
            [=](Qt::MouseButton button, int x, int y) {
                errors->Guard([&] {
                    const QPoint p = view->ToPanel(QPoint(x, y));
                    mouse->X_PlochaMouseUp(button, p.x(), p.y());
                });
            });
    connect(surface, &SurfaceWidget::focusEntered, surface, [=] { mouse->X_PlochaEnter(); });
    connect(surface, &SurfaceWidget::focusLeft, surface, [=] { mouse->X_PlochaExit(); });
    pointer_ = std::make_unique<PointerTracking>(Panel(), *view_, *mouse_, *errors_);
}

QAction* TPanelVAD::Action(const QString& component) const {
    return menu_ ? menu_->Action(component) : nullptr;
}

QString TPanelVAD::StatusText(int panel) const {
    return statusBar_->Panel(panel)->text();
}

int TPanelVAD::StatusWidth(int panel) const {
    return statusBar_->Panel(panel)->width();
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

void TPanelVAD::FollowPanelSize() {
    // A surface that cannot be made is reported; the document keeps the size it was given.
    view_->SetSurfaceSize(document_.Cols() * Panel().CellWidth,
                          document_.Rows() * Panel().CellHeight);
    view_->NastaveniPosuvniku();
}

void TPanelVAD::FormResize() {
    view_->NastaveniPosuvniku();
    const int client = width();
    statusBar_->SetWidths(std::max(0, client - 100), 100);
    for (QPushButton* close : {topBar_->CloseButton(), palette_->CloseButton()})
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

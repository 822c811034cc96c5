#include "app/MainWindow.h"

#include "app/BevelPanel.h"
#include "app/ErrorHandler.h"
#include "app/MainMenu.h"
#include "app/MouseEditing.h"
#include "app/Palette.h"
#include "app/PanelView.h"
#include "app/Prompts.h"
#include "app/SurfaceWidget.h"
#include "panel/DocumentTexts.h"
#include "panel/TileImages.h"
#include "surface/AppFonts.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

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
      errors_(std::make_unique<ErrorHandler>(*prompts_)), panel_(*this),
      images_(MakeTileImageList()) {
    InitialiseAppResources();
    setObjectName(QStringLiteral("PanelVAD"));
    setWindowTitle(AppTitle() + QStringLiteral(" - Nová stanice"));
    setFont(UiFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    setPalette(colours);
    setGeometry(245, 117, 904, 561);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    setCentralWidget(client);
    column_ = new QVBoxLayout(client);
    column_->setContentsMargins(0, 0, 0, 0);
    column_->setSpacing(0);

    BuildToolBar();
    palette_ = std::make_unique<Palette>(panel_, *errors_, client);
    view_ = std::make_unique<PanelView>(panel_, images_, *errors_, client);
    mouse_ = std::make_unique<MouseEditing>(panel_, palette_->DragBox(), palette_->DragStart(),
                                            palette_->DragEnd());
    BuildSizeSettings();
    BuildStatusBar();

    column_->addWidget(topBar_);
    column_->addWidget(palette_->PalettePanel());
    middle_ = new QHBoxLayout;
    middle_->setSpacing(0);
    middle_->addWidget(palette_->LeftPanel());
    middle_->addWidget(view_->Area(), 1);
    column_->addLayout(middle_, 1);
    column_->addWidget(statusBar_);
    SetPaletteFillsWindow(false);

    palette_->showDrawingArea = [this](bool shown) {
        view_->Area()->setVisible(shown);
        SetPaletteFillsWindow(!shown);
    };
    palette_->onSelected = [this](const QString& name) { selectedLabel_->setText(name); };
    view_->frameInputs = [this] {
        FrameInputs inputs;
        inputs.options.Info = Action(QStringLiteral("MP_InfoVykreslovani"))->isChecked();
        inputs.options.Preview = Action(QStringLiteral("MP_Nahled"))->isChecked();
        inputs.options.CursorCell = Action(QStringLiteral("MP_PolickoPodKurzorem"))->isChecked();
        inputs.options.Grid = Action(QStringLiteral("MP_Mrizka"))->isChecked();
        inputs.boxes = palette_->PositionBoxes();
        return inputs;
    };
    BuildMenu();
    ConnectSurface();
    connect(palette_->CloseButton(), &QPushButton::clicked, this,
            [this] { errors_->Guard([this] { B_ZavritPanelSortimentClick(); }); });
    connect(palette_->LeftCloseButton(), &QPushButton::clicked, this,
            [this] { errors_->Guard([this] { Button1Click(); }); });

    // The surface takes the panel's size from the spin edits right away, so every cell of
    // the panel can be scrolled to from the start.
    ApplyPanelSize();
    FormResize();
}

TPanelVAD::~TPanelVAD() {
    // The widgets go first, while the collaborators their last events reach (focus leaving
    // the surface, for one) still exist.
    delete takeCentralWidget();
}

void TPanelVAD::BuildToolBar() {
    topBar_ = new BevelPanel(QStringLiteral("P_HorniLista"), BevelPanel::Style::Double);
    topBar_->setFixedHeight(33);
    ToolButton(QStringLiteral("BB_Novy"), QStringLiteral(":/app/new.xpm"), 5, topBar_);
    ToolButton(QStringLiteral("BB_Ulozit"), QStringLiteral(":/app/save.xpm"), 31, topBar_);
    ToolButton(QStringLiteral("BB_UlozitJako"), QStringLiteral(":/app/saveas.xpm"), 57, topBar_);
    ToolButton(QStringLiteral("BB_Otevrit"), QStringLiteral(":/app/open.xpm"), 84, topBar_);
    ToolButton(QStringLiteral("BB_Zpet"), QStringLiteral(":/app/undo.xpm"), 123, topBar_)
        ->setEnabled(false);
    ToolButton(QStringLiteral("BitBtn5"), QString(), 150, topBar_);
    selectedLabel_ = new QLabel(QStringLiteral("KOL_sLSPS"), topBar_);
    selectedLabel_->setObjectName(QStringLiteral("L_ZvolenaSoucast"));
    selectedLabel_->move(184, 10);
    selectedLabel_->hide();
    topClose_ = new QPushButton(QStringLiteral("x"), topBar_);
    topClose_->setObjectName(QStringLiteral("B_ZavritPanelNastroju"));
    QFont bold = topClose_->font();
    bold.setBold(true);
    topClose_->setFont(bold);
    topClose_->setGeometry(0, 2, 17, 17);
    topClose_->setFocusPolicy(Qt::TabFocus);
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
    connect(heightEdit_, &QSpinBox::valueChanged, this,
            [this] { errors_->Guard([this] { SE_PolickaVyskaChange(); }); });
    connect(widthEdit_, &QSpinBox::valueChanged, this,
            [this] { errors_->Guard([this] { SE_PolickaSirkaChange(); }); });
}

void TPanelVAD::BuildStatusBar() {
    // The two panels are placed by hand: their widths follow the window (FormResize), and a
    // layout would make those widths the window's minimum size.
    statusBar_ = new QWidget;
    statusBar_->setObjectName(QStringLiteral("ZB_Zapati"));
    statusBar_->setFixedHeight(19);
    const QString texts[2] = {NoFileText(), StateNew()};
    const int widths[2] = {500, 150};
    for (int i = 0; i < 2; ++i) {
        status_[i] = new QLabel(texts[i], statusBar_);
        status_[i]->setObjectName(QStringLiteral("ZB_Zapati_Panel%1").arg(i));
        status_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        status_[i]->setContentsMargins(2, 0, 2, 0);
        status_[i]->setGeometry(0, 2, widths[i], 17);
    }
    status_[1]->setAlignment(Qt::AlignCenter);
    SetStatusWidths(500, 150);
}

void TPanelVAD::SetStatusWidths(int first, int second) {
    status_[0]->setGeometry(0, 2, first, 17);
    status_[1]->setGeometry(first + 2, 2, second, 17);
}

void TPanelVAD::BuildMenu() {
    const QString soubor = QStringLiteral("Soubor");
    const QString upravy = QString::fromUtf8("Úpravy");
    const QString nastaveni = QString::fromUtf8("Nastavení");
    const QString zobrazit = QStringLiteral("Zobrazit");
    const QString napoveda = QString::fromUtf8("Nápověda");
    using K = QKeySequence;
    auto on = [this](void (TPanelVAD::*handler)()) {
        return std::function<void()>([this, handler] { (this->*handler)(); });
    };
    auto mouse = [this](void (MouseEditing::*handler)()) {
        return std::function<void()>([this, handler] { (mouse_.get()->*handler)(); });
    };
    auto nothing = std::function<void()>();
    // Toggling a view option only turns its check mark over; the next frame follows it.
    auto viewOption = nothing;
    const std::vector<MainMenu::Item> items = {
        {soubor,
         {},
         false,
         "MP_Novy",
         QString::fromUtf8("Nový"),
         K(Qt::CTRL | Qt::Key_N),
         true,
         false,
         ":/app/new.xpm",
         nothing},
        {soubor,
         {},
         false,
         "MP_Otevreni",
         QString::fromUtf8("Otevřít"),
         K(Qt::CTRL | Qt::Key_O),
         true,
         false,
         ":/app/open.xpm",
         nothing},
        {soubor,
         {},
         false,
         "MP_Ulozeni",
         QString::fromUtf8("Uložit"),
         K(Qt::CTRL | Qt::Key_S),
         true,
         false,
         ":/app/save.xpm",
         nothing},
        {soubor,
         {},
         false,
         "MP_UlozitJako",
         QString::fromUtf8("Uložit jako ..."),
         K(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         true,
         false,
         ":/app/saveas.xpm",
         nothing},
        {soubor, {}, false, {}, {}, {}, true, false, {}, nothing},
        {soubor, {}, false, "Konec1", QStringLiteral("Konec"), {}, true, false, {}, nothing},
        {upravy,
         {},
         false,
         "Zpt2",
         QString::fromUtf8("Zpět"),
         K(Qt::CTRL | Qt::Key_Z),
         false,
         false,
         ":/app/undo.xpm",
         nothing},
        {upravy, {}, false, {}, {}, {}, true, false, {}, nothing},
        {upravy,
         QString::fromUtf8("Posunout všechny prvky"),
         false,
         {},
         {},
         {},
         true,
         false,
         {},
         nothing},
        {upravy,
         {},
         true,
         "Zpt1",
         QString::fromUtf8("Posunout vše <"),
         K(Qt::CTRL | Qt::Key_Left),
         true,
         false,
         {},
         mouse(&MouseEditing::Zpt1Click)},
        {upravy,
         {},
         true,
         "Posunoutve1",
         QString::fromUtf8("Posunout vše >"),
         K(Qt::CTRL | Qt::Key_Right),
         true,
         false,
         {},
         mouse(&MouseEditing::Posunoutve1Click)},
        {upravy,
         {},
         true,
         "PosunoutveV1",
         QString::fromUtf8("Posunout vše V"),
         K(Qt::CTRL | Qt::Key_Down),
         true,
         false,
         {},
         mouse(&MouseEditing::PosunoutveV1Click)},
        {upravy,
         {},
         true,
         "Posunoutve2",
         QString::fromUtf8("Posunout vše ^"),
         K(Qt::CTRL | Qt::Key_Up),
         true,
         false,
         {},
         mouse(&MouseEditing::Posunoutve2Click)},
        {upravy, {}, true, {}, {}, {}, true, false, {}, nothing},
        {upravy,
         {},
         true,
         "MP_PosunoutVseO",
         QString::fromUtf8("Posunout vše o ..."),
         {},
         true,
         false,
         {},
         nothing},
        {nastaveni,
         {},
         false,
         "OStanici1",
         QStringLiteral("O Stanici"),
         {},
         false,
         false,
         {},
         nothing},
        {zobrazit, QStringLiteral("Panel VAD"), false, {}, {}, {}, true, false, {}, nothing},
        {zobrazit,
         {},
         true,
         "MP_InfoVykreslovani",
         QString::fromUtf8("<Informace o vykreslování>"),
         {},
         true,
         true,
         {},
         viewOption},
        {zobrazit,
         {},
         true,
         "MP_Nahled",
         QString::fromUtf8("Náhled vkládaného prvku"),
         {},
         true,
         true,
         {},
         viewOption},
        {zobrazit,
         {},
         true,
         "MP_PolickoPodKurzorem",
         QString::fromUtf8("Políčko pod kurzorem"),
         {},
         true,
         true,
         {},
         viewOption},
        {zobrazit,
         {},
         true,
         "MP_Mrizka",
         QString::fromUtf8("Mřížka"),
         K(Qt::CTRL | Qt::Key_G),
         true,
         true,
         {},
         viewOption},
        {zobrazit,
         QString::fromUtf8("Panely nástrojů"),
         false,
         {},
         {},
         {},
         true,
         false,
         {},
         nothing},
        {zobrazit,
         {},
         true,
         "MP_HorniLista",
         QString::fromUtf8("Horní lišta"),
         {},
         true,
         true,
         {},
         on(&TPanelVAD::MP_HorniListaClick)},
        {zobrazit,
         {},
         true,
         "MP_Sortiment",
         QString::fromUtf8("Sortiment prvků"),
         {},
         true,
         true,
         {},
         on(&TPanelVAD::MP_SortimentClick)},
        {zobrazit,
         {},
         true,
         "MP_LevyPanel",
         QString::fromUtf8("Levý panel podrobností"),
         {},
         true,
         true,
         {},
         on(&TPanelVAD::MP_LevyPanelClick)},
        {zobrazit,
         {},
         true,
         "MP_StatusPanel",
         QStringLiteral("Status panel"),
         {},
         true,
         true,
         {},
         on(&TPanelVAD::MP_StatusPanelClick)},
        {zobrazit, {}, true, {}, {}, {}, true, false, {}, nothing},
        {zobrazit,
         {},
         true,
         "MP_SkrytVsechnyPanely",
         QString::fromUtf8("Skrýt všechny"),
         K(Qt::Key_F2),
         true,
         false,
         {},
         on(&TPanelVAD::MP_SkrytVsechnyPanelyClick)},
        {zobrazit,
         {},
         true,
         "MP_ZobrazitVsechnyPanely",
         QString::fromUtf8("Zobrazit všechny"),
         K(Qt::Key_F3),
         true,
         false,
         {},
         on(&TPanelVAD::MP_ZobrazitVsechnyPanelyClick)},
        {napoveda, {}, false, "Manul1", QString::fromUtf8("Manuál"), {}, true, false, {}, nothing},
        {napoveda,
         {},
         false,
         "Oprogramu1",
         QStringLiteral("O programu"),
         {},
         true,
         false,
         {},
         nothing},
    };
    menu_ = std::make_unique<MainMenu>(items, *errors_, this);
    setMenuBar(menu_->Bar());
}

void TPanelVAD::ConnectSurface() {
    SurfaceWidget* surface = view_->SurfaceControl();
    connect(surface, &SurfaceWidget::pointerMoved, this,
            [this](int x, int y) { errors_->Guard([&] { mouse_->X_PlochaMouseMove(x, y); }); });
    connect(surface, &SurfaceWidget::buttonPressed, this,
            [this] { errors_->Guard([&] { mouse_->X_PlochaMouseDown(); }); });
    connect(surface, &SurfaceWidget::buttonReleased, this,
            [this](Qt::MouseButton button, int x, int y) {
                errors_->Guard([&] { mouse_->X_PlochaMouseUp(button, x, y); });
            });
    connect(surface, &SurfaceWidget::focusEntered, this, [this] { mouse_->X_PlochaEnter(); });
    connect(surface, &SurfaceWidget::focusLeft, this, [this] { mouse_->X_PlochaExit(); });
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

void TPanelVAD::SetDocumentState(const QString& word) {
    status_[1]->setText(word);
}

void TPanelVAD::ShowMessage(const QString& text) {
    prompts_->ShowMessage(text);
}

int TPanelVAD::HeightValue() const {
    return heightEdit_->value();
}

void TPanelVAD::SetHeightValue(int value) {
    heightEdit_->setValue(value);
}

int TPanelVAD::WidthValue() const {
    return widthEdit_->value();
}

void TPanelVAD::SetWidthValue(int value) {
    widthEdit_->setValue(value);
}

void TPanelVAD::SetStatusPath(const QString& path) {
    status_[0]->setText(path);
}

void TPanelVAD::SetCaption(const QString& caption) {
    setWindowTitle(caption);
}

void TPanelVAD::SetPaletteFillsWindow(bool fills) {
    BevelPanel* sortiment = palette_->PalettePanel();
    if (fills) {
        sortiment->setMinimumHeight(0);
        sortiment->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        sortiment->setFixedHeight(92);
    }
    column_->setStretchFactor(sortiment, fills ? 1 : 0);
    column_->setStretchFactor(middle_, fills ? 0 : 1);
}

void TPanelVAD::ApplyPanelSize() {
    const int cols = widthEdit_->value();
    const int rows = heightEdit_->value();
    // A failure to make the surface stops here, leaving the panel's size as it was.
    view_->SetSurfaceSize(cols * panel_.CellWidth, rows * panel_.CellHeight);
    panel_.PanelCols = cols;
    panel_.PanelRows = rows;
    view_->NastaveniPosuvniku();
}

void TPanelVAD::SE_PolickaSirkaChange() {
    ApplyPanelSize();
}

void TPanelVAD::SE_PolickaVyskaChange() {
    ApplyPanelSize();
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
        errors_->Guard([this] { view_->Start(); });
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

#pragma once

#include "app/Prompts.h"
#include "panel/Document.h"
#include "panel/PanelWindow.h"
#include "surface/ImageList.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QGridLayout;

namespace vedivez {

class CheckController;
class ErrorHandler;
class FileCommands;
class FrameDriver;
class MainMenu;
class PrintController;
class MouseEditing;
class Palette;
class PanelNavigation;
class PanelSizeControls;
class PointerTracking;
class RecentFiles;
class StatusBar;
class TAboutStation;
class TAboutVUVOzaz;
class TManual;
class TZ_PosunPolicek;
class ToolPanels;
class TopBar;
class Viewport;
class WindowShortcuts;
class ZoomController;

// What the main window owns besides its widgets: the document and the collaborators, each
// held here and nowhere else. As the window's first base class they are made before its
// first widget and go after its last one, so no widget or dialog, and no event of one going
// away (the focus leaving the surface as the window closes), meets any of them gone. Towards
// the document's edits this is the window they talk to.
class MainWindowParts : public PanelWindow {
protected:
    explicit MainWindowParts(std::unique_ptr<Prompts> prompts);
    ~MainWindowParts() override;

    PositionFlags PositionBoxes() const override;
    void ShowMessage(const QString& text) override;

    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<ErrorHandler> errors_;
    Document document_;
    ImageList images_; // X_ImageContainer
    std::unique_ptr<TopBar> topBar_;
    std::unique_ptr<Palette> palette_;
    std::unique_ptr<Viewport> view_;
    std::unique_ptr<MouseEditing> mouse_;
    std::unique_ptr<PanelSizeControls> sizeControls_;
    std::unique_ptr<StatusBar> statusBar_;
    std::unique_ptr<ToolPanels> toolPanels_;
    std::unique_ptr<CheckController> check_;
    std::unique_ptr<FrameDriver> frames_;
    std::unique_ptr<ZoomController> zoom_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<PrintController> print_;
    std::unique_ptr<PointerTracking> pointer_;
    std::unique_ptr<WindowShortcuts> shiftKeys_;
    std::unique_ptr<PanelNavigation> navigation_;
};

// The main window PanelVAD: menu, tool bar, palette, left panel, drawing area and status
// bar, assembled from the collaborators it owns. (Not a Q_OBJECT: moc wants the QObject
// base first, and the parts must come before it.)
class TPanelVAD : private MainWindowParts, public QMainWindow {
public:
    // Without prompts the real message boxes and file dialogs are used.
    explicit TPanelVAD(std::unique_ptr<Prompts> prompts = nullptr, QWidget* parent = nullptr);
    ~TPanelVAD() override;

    Document& Doc() { return document_; }
    PanelState& Panel() { return document_.Panel(); }
    Viewport& View() { return *view_; }
    FrameDriver& Frames() { return *frames_; }
    Palette& PaletteControls() { return *palette_; }
    FileCommands& Files() { return *files_; }
    // Print, preview and export; its `selection` is the print area "Výběr" when set.
    PrintController& Printing() { return *print_; }
    RecentFiles& Recent() { return *recent_; }
    ZoomController& Zoom() { return *zoom_; }
    CheckController& Checks() { return *check_; }
    PanelNavigation& Navigation() { return *navigation_; }
    ErrorHandler& Errors() { return *errors_; }
    QAction* Action(const QString& component) const;
    QString StatusText(int panel) const;
    int StatusWidth(int panel) const;

    // Handlers of the window's own menu items.
    void Konec1Click();
    void MP_PosunoutVseOClick();
    void OStanici1Click();
    void Manul1Click();
    void Oprogramu1Click();

    // The four secondary windows, created hidden with the main window.
    TZ_PosunPolicek* ShiftDialog() const { return shiftDialog_; }
    TAboutStation* StationDialog() const { return stationDialog_; }
    TManual* ManualWindow() const { return manual_; }
    TAboutVUVOzaz* AboutWindow() const { return about_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void ConnectSurface();
    // The frame's view options and corner boxes, from the menu and the palette.
    void ConnectFrameInputs();
    // Between the top bar and the status bar: the palette at its height with the left panel
    // and drawing area below it, or the palette alone filling the space.
    void SetPaletteFillsWindow(bool fills);
    // The surface has the document's panel size.
    void FollowPanelSize();
    void FormResize();

    // Top bar, palette, left panel beside the drawing area, status bar.
    QGridLayout* grid_ = nullptr;
    TZ_PosunPolicek* shiftDialog_ = nullptr;
    TAboutStation* stationDialog_ = nullptr;
    TManual* manual_ = nullptr;
    TAboutVUVOzaz* about_ = nullptr;
    bool shownOnce_ = false;
};

} // namespace vedivez

#pragma once

#include "app/Prompts.h"
#include "panel/Document.h"
#include "panel/PanelWindow.h"
#include "surface/ImageList.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QLabel;
class QPushButton;
class QSpinBox;
class QGridLayout;

namespace vedivez {

class BevelPanel;
class CheckController;
class ErrorHandler;
class FileCommands;
class FrameDriver;
class TAboutStation;
class TAboutVUVOzaz;
class TManual;
class TZ_PosunPolicek;
class MainMenu;
class MouseEditing;
class Palette;
class PanelNavigation;
class PointerTracking;
class Prompts;
class RecentFiles;
class Viewport;
class WindowShortcuts;
class ZoomController;

// The main window PanelVAD: menu, tool bar, palette, left panel, drawing area and status
// bar. It owns the document and hands each concern to its collaborator; towards the panel's
// edits it is the window they talk to.
class TPanelVAD : public QMainWindow, public PanelWindow {
    Q_OBJECT
public:
    // Without prompts the real message boxes and file dialogs are used.
    explicit TPanelVAD(std::unique_ptr<Prompts> prompts = nullptr, QWidget* parent = nullptr);
    ~TPanelVAD() override;

    Document& Doc() { return document_; }
    PanelState& Panel() { return document_.Panel(); }
    Viewport& View() { return *view_; }
    FrameDriver& Frames() { return *frames_; }
    Palette& PaletteControls() { return *palette_; }
    MouseEditing& Mouse() { return *mouse_; }
    FileCommands& Files() { return *files_; }
    RecentFiles& Recent() { return *recent_; }
    ZoomController& Zoom() { return *zoom_; }
    CheckController& Checks() { return *check_; }
    PanelNavigation& Navigation() { return *navigation_; }
    ErrorHandler& Errors() { return *errors_; }
    Prompts& Prompt() { return *prompts_; }
    QAction* Action(const QString& component) const;
    QString StatusText(int panel) const;
    int StatusWidth(int panel) const;

    // PanelWindow
    PositionFlags PositionBoxes() const override;
    void ShowMessage(const QString& text) override;

    // Handlers of the window's own controls.
    void FormResize();
    void MP_HorniListaClick();
    void MP_SortimentClick();
    void MP_LevyPanelClick();
    void MP_StatusPanelClick();
    void MP_SkrytVsechnyPanelyClick();
    void MP_ZobrazitVsechnyPanelyClick();
    void B_ZavritPanelNastrojuClick();
    void B_ZavritPanelSortimentClick();
    void Button1Click();
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
    void BuildToolBar();
    void BuildSizeSettings();
    void BuildStatusBar();
    void SetStatusWidths(int first, int second);
    void BuildMenu();
    void ConnectSurface();
    // Between the top bar and the status bar: the palette at its height with the left panel
    // and drawing area below it, or the palette alone filling the space.
    void SetPaletteFillsWindow(bool fills);
    // The size fields and the surface show the document's panel size.
    void ShowPanelSize();
    // The status bar and the caption show the document's file and state.
    void ShowDocumentState();
    void SetChecked(const char* component, bool checked);
    void CreateSecondaryWindows();
    // A panel-size change typed by the user is an edit of the document.
    void SizeEdited();

    std::unique_ptr<Prompts> prompts_;
    std::unique_ptr<ErrorHandler> errors_;
    Document document_;
    ImageList images_; // X_ImageContainer
    std::unique_ptr<Viewport> view_;
    std::unique_ptr<Palette> palette_;
    std::unique_ptr<MouseEditing> mouse_;
    std::unique_ptr<MainMenu> menu_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<FileCommands> files_;
    std::unique_ptr<ZoomController> zoom_;
    std::unique_ptr<CheckController> check_;
    std::unique_ptr<FrameDriver> frames_;
    std::unique_ptr<PointerTracking> pointer_;
    std::unique_ptr<WindowShortcuts> shiftKeys_;
    std::unique_ptr<PanelNavigation> navigation_;
    TZ_PosunPolicek* shiftDialog_ = nullptr;
    TAboutStation* stationDialog_ = nullptr;
    TManual* manual_ = nullptr;
    TAboutVUVOzaz* about_ = nullptr;
    // Top bar, palette, left panel beside the drawing area, status bar.
    QGridLayout* grid_ = nullptr;
    BevelPanel* topBar_ = nullptr;
    QPushButton* topClose_ = nullptr;
    QLabel* selectedLabel_ = nullptr;
    QSpinBox* heightEdit_ = nullptr;
    QSpinBox* widthEdit_ = nullptr;
    QWidget* statusBar_ = nullptr;
    QLabel* status_[2] = {};
    bool shownOnce_ = false;
};

} // namespace vedivez

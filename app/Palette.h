#pragma once

#include "panel/TPolePanelu.h"

#include <QLabel>
#include <QString>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QFrame;
class QPushButton;
class QTabWidget;
class QWidget;

namespace vedivez {

class BevelPanel;
class ErrorHandler;
class PanelState;

// A clickable tile picture of the palette, named after its tile, with white transparent.
class TilePicture : public QLabel {
    Q_OBJECT
public:
    TilePicture(const QString& name, const QImage& picture, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// The element palette (the pages of tile pictures with their selection frames, in
// P_Sortiment) and the left panel P_Levy with the corner-division boxes around a copy of the
// selected tile and the drag display.
class Palette : public QObject {
    Q_OBJECT
public:
    Palette(PanelState& panel, ErrorHandler& errors, QWidget* window);

    BevelPanel* PalettePanel() const { return sortiment_; }     // P_Sortiment
    BevelPanel* LeftPanel() const { return left_; }             // P_Levy
    QTabWidget* Pages() const { return pages_; }                // PC_Sortiment
    QWidget* OtherPage() const { return other_; }               // SH_OSTATNI
    QPushButton* CloseButton() const { return close_; }         // B_ZavritPanelSortiment
    QPushButton* LeftCloseButton() const { return leftClose_; } // Button1
    QCheckBox* DragBox() const { return dragBox_; }
    QLabel* DragStart() const { return dragStart_; }
    QLabel* DragEnd() const { return dragEnd_; }
    TilePicture* Picture(const QString& name) const;

    void SelectTile(TilePicture* picture);
    // The boxes of the point codes found in the name, ignoring case (PointsInName).
    static PositionFlags TileNameFlags(const std::string& name);
    void ApplyTileFlags();
    void PC_SortimentChange(int index);
    void ResetPaletteSelection();

    // The state of the eight position boxes.
    PositionFlags PositionBoxes() const;

signals:
    // A page change shows or hides the drawing area; the window lets the palette fill the
    // space between the top bar and the status bar while the area is hidden.
    void drawingAreaShown(bool shown);
    // A tile was selected (the top bar's hidden label shows its name).
    void tileSelected(const QString& name);

private:
    void BuildPages(ErrorHandler& errors);
    void BuildLeftPanel();

    PanelState& panel_;
    BevelPanel* sortiment_;
    BevelPanel* left_;
    QTabWidget* pages_;
    QWidget* other_ = nullptr;
    QPushButton* close_;
    QPushButton* leftClose_;
    std::vector<QFrame*> frames_;
    std::map<QString, TilePicture*> pictures_;
    // The first picture of each tile page, by page index.
    std::map<int, TilePicture*> firstOfPage_;
    QLabel* chosen_ = nullptr; // ZvolenaKolej
    // LH, LS, LD, SH, SD, PH, PS, PD
    QCheckBox* boxes_[8] = {};
    QCheckBox* dragBox_ = nullptr;
    QLabel* dragStart_ = nullptr;
    QLabel* dragEnd_ = nullptr;
};

} // namespace vedivez

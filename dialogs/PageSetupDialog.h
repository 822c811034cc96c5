#pragma once

#include "export/PageSetup.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QRadioButton;

namespace vedivez {

// "Vzhled stránky": the area, the scale, the paper and the look of a print or an export. It
// only collects the choice; what it gives (page count, printed cell size) is worked out by
// the caller's `summary` each time the choice changes.
class PageSetupDialog : public QDialog {
public:
    using Summary = std::function<QString(const PageSetup&)>;
    // Paper, turn and scale are asked for pages only, the cell size in pixels for a picture.
    PageSetupDialog(const PageSetup& initial, bool hasSelection, PageSetup::Output output,
                    Summary summary, QWidget* parent = nullptr);

    PageSetup Setup() const;

private:
    void Update();

    Summary summary_;
    QComboBox* area_;
    QRadioButton* fit_;
    QRadioButton* scaled_;
    QDoubleSpinBox* cellMm_;
    QComboBox* paper_;
    QComboBox* turn_;
    QComboBox* look_;
    QComboBox* pictureCell_;
    QLabel* result_;
};

} // namespace vedivez

#pragma once

#include <QDialog>

namespace vedivez {

// Common frame of the editor's secondary windows: a fixed-size tool window with the
// button-face background and the interface font, created once and only shown and hidden,
// optionally centred on its parent each time it is shown. Escape closes it, as it closes any
// small modal window (the About window has no button of its own).
class TToolDialog : public QDialog {
    Q_OBJECT

public:
    enum class Placement { CentreOnParent, Stored };

    TToolDialog(const QString& objectName, const QString& caption, QSize clientSize,
                Placement placement, QWidget* parent = nullptr);

    void setVisible(bool visible) override;

private:
    void CentreOnParent();

    Placement placement_;
    bool shownBefore_ = false;
};

} // namespace vedivez

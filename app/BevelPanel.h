#pragma once

#include <QFrame>

class QPushButton;

namespace vedivez {

// A panel of the main window: a lowered outer and a raised inner one-pixel bevel around a
// button-face area, or the plain raised frame of a default panel.
class BevelPanel : public QFrame {
public:
    enum class Style { Double, Plain };
    explicit BevelPanel(const QString& name, Style style, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Style style_;
};

// The small bold "x" button that closes a tool panel, 17 x 17 at the panel's top.
QPushButton* PanelCloseButton(const QString& name, QWidget* parent);

} // namespace vedivez

#pragma once

#include <QFrame>

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

} // namespace vedivez

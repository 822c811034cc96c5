#pragma once

class QLabel;
class QWidget;

namespace vedivez {

class Document;

// The status bar ZB_Zapati: the document's file in the first panel, its state word in the
// second, both following the document.
class StatusBar {
public:
    explicit StatusBar(const Document& document);

    QWidget* Widget() const { return bar_; }
    QLabel* Panel(int index) const { return panels_[index]; }
    // The second panel follows the first directly.
    void SetWidths(int first, int second);

private:
    void Show(const Document& document);

    QWidget* bar_;
    QLabel* panels_[2] = {};
};

} // namespace vedivez

#pragma once

class QSpinBox;
class QWidget;

namespace vedivez {

class Document;
class ErrorHandler;

// The panel-size fields of the palette's other page (" Počet políček ": Výška, Šířka and the
// "Nastavit" button). They show the document's panel size; a value the user sets there is a
// resize of the document.
class PanelSizeControls {
public:
    PanelSizeControls(Document& document, ErrorHandler& errors, QWidget* page);

private:
    // Shows the document's size; showing it is no edit of it.
    void Show();
    // The user set a value: the document takes the size both fields show.
    void Edited();

    Document& document_;
    QSpinBox* height_; // SE_PolickaVyska
    QSpinBox* width_;  // SE_PolickaSirka
};

} // namespace vedivez

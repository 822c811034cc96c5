#pragma once

#include "dialogs/ToolDialog.h"

class QPushButton;

namespace vedivez {

class Document;
class TSpinEdit;

// The shift dialog: four arrow buttons around a count of 0..9 cells; each click moves every
// element of the panel by that many cells, and the dialog stays open for further clicks.
class TZ_PosunPolicek : public TToolDialog {
    Q_OBJECT

public:
    explicit TZ_PosunPolicek(Document& document, QWidget* parent = nullptr);

public slots:
    void BB_NahoruClick();
    void BB_DoluClick();
    void BB_DolevaClick();
    void BB_DopravaClick();
    void SE_PocetChange();

private:
    // n from the count edit, taken after the clicked button has the focus.
    int ShiftCount(QPushButton* clicked);
    void Shift(QPushButton* clicked, int dx, int dy);

    Document& document_;
    QPushButton* BB_Nahoru;
    QPushButton* BB_Dolu;
    QPushButton* BB_Doprava;
    QPushButton* BB_Doleva;
    TSpinEdit* SE_Pocet;
};

} // namespace vedivez

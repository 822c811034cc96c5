#pragma once

#include "dialogs/ToolDialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace vedivez {

// The station information form (name, author, version, release date). Nothing reads the
// edits yet; the window exists so that its menu item has something to open.
class TAboutStation : public TToolDialog {
    Q_OBJECT

public:
    explicit TAboutStation(QWidget* parent = nullptr);

public slots:
    void Button1Click();

private:
    QLineEdit* E_Stanice;
    QLineEdit* E_Autor;
    QLineEdit* E_Verze;
    QLineEdit* E_Vydano;
    QPushButton* Button1;
};

} // namespace vedivez

#pragma once

#include "dialogs/ToolDialog.h"

class QFrame;
class QPlainTextEdit;
class QPushButton;

namespace vedivez {

// The manual window: the help text in an editable memo above a bottom strip with the close
// button. Whatever the user types into the memo stays until the program ends.
class TManual : public TToolDialog {
    Q_OBJECT

public:
    explicit TManual(QWidget* parent = nullptr);

public slots:
    void Button1Click();

private:
    QPlainTextEdit* ME_Napoveda;
    QFrame* P_Spodek;
    QPushButton* Button1;
};

} // namespace vedivez

#pragma once

class QLabel;
class QPushButton;

namespace vedivez {

class BevelPanel;
class MainMenu;

// The top bar P_HorniLista: the four file buttons, the disabled undo button, the button
// beside it, the hidden label naming the selected tile and the bar's close button.
class TopBar {
public:
    TopBar();

    BevelPanel* Panel() const { return panel_; }
    QPushButton* CloseButton() const { return close_; } // B_ZavritPanelNastroju
    QLabel* SelectedLabel() const { return selected_; } // L_ZvolenaSoucast

    // Each file button does what its menu item does, and tells what that is and its key.
    void Attach(const MainMenu& menu);

private:
    BevelPanel* panel_;
    QLabel* selected_;
    QPushButton* close_;
};

} // namespace vedivez

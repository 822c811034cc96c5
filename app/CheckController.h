#pragma once

#include "panel/ConnectionCheck.h"

#include <QObject>
#include <optional>

class QAction;
class QWidget;

namespace vedivez {

class PanelState;
class PanelView;
class Prompts;

// The connection check in the window: "Kontrola spojení" turns the marks on the panel on and
// off and shows the number of findings in its caption; "Další problém" and "Předchozí
// problém" go from finding to finding in the check's order, starting after the cursor's
// cell, centring the cell, putting the cursor on it and naming the finding in a tooltip.
class CheckController : public QObject {
public:
    CheckController(PanelState& panel, PanelView& view, Prompts& prompts);

    // The menu's check item, once the menu exists.
    void Attach(QAction* toggle);

    ConnectionCheck& Check() { return check_; }

    void Toggle();   // the check item was chosen: follow its mark
    void Next();     // Další problém
    void Previous(); // Předchozí problém
    // Brings the findings and the item's caption up to date; the frame calls it.
    void Refresh();

    // "Kontrola spojení (12)" while on, "Kontrola spojení" while off.
    static QString Caption(bool on, size_t count);

private:
    void Go(bool forward);

    PanelState& panel_;
    PanelView& view_;
    Prompts& prompts_;
    ConnectionCheck check_;
    QAction* toggle_ = nullptr;
    // The finding shown last, so that repeated steps walk through the findings of one cell.
    std::optional<ConnectionCheck::Place> shown_;
    size_t captionCount_ = SIZE_MAX;
};

} // namespace vedivez

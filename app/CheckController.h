#pragma once

#include "panel/ConnectionCheck.h"

#include <QObject>
#include <QPoint>
#include <optional>
#include <utility>

class QAction;
class QWidget;

namespace vedivez {

class PanelState;
class Viewport;

// The connection check in the window: "Kontrola spojení" turns the marks on the panel on and
// off and shows the number of problems in its caption; "Další problém" and "Předchozí
// problém" go from problem to problem in the check's order (passing over the notes),
// starting after the cursor's cell, centring the cell, putting the cursor on it and naming
// the cell and the problem in a tooltip. Without problems a tooltip says so; the focus stays
// where it was.
class CheckController : public QObject {
public:
    CheckController(PanelState& panel, Viewport& view);

    // The menu's check item, once the menu exists.
    void Attach(QAction* toggle);

    ConnectionCheck& Check() { return check_; }

    void Toggle();   // the check item was chosen: follow its mark
    void Next();     // Další problém
    void Previous(); // Předchozí problém
    // Brings the findings and the item's caption up to date; each frame starts with it.
    void Refresh();

    // "Kontrola spojení (12)" while on, "Kontrola spojení" while off.
    static QString Caption(bool on, size_t count);

private:
    void Go(bool forward);
    // Shows a tooltip over the middle of the view.
    void SayInView(const QString& text);

    PanelState& panel_;
    Viewport& view_;
    ConnectionCheck check_;
    QAction* toggle_ = nullptr;
    // The finding shown last, so that repeated steps walk through the findings of one cell,
    // and where the cursor stood once it was shown: while it stays there, the next step
    // goes on from that finding.
    std::optional<ConnectionCheck::Place> shown_;
    QPoint shownCursor_;
    // Whether the caption shows the check on and with which count; nothing before the first.
    std::optional<std::pair<bool, size_t>> caption_;
};

} // namespace vedivez

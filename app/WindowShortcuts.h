#pragma once

#include <QKeySequence>
#include <QObject>
#include <vector>

class QWidget;

namespace vedivez {

// Decides between a window's command keys and an edit box with the focus in that window, for
// as long as it exists.
// With `Winner::Window` the command runs whatever has the focus: an edit box would otherwise
// take Ctrl+Left and Ctrl+Right for moving its text cursor, and the command would never run.
// With `Winner::EditBox` an edit box with the focus keeps the keys (a size field steps with
// Page Up), and everywhere else they run the command.
class WindowShortcuts : public QObject {
public:
    enum class Winner { Window, EditBox };
    WindowShortcuts(QWidget* window, std::vector<QKeySequence> keys,
                    Winner winner = Winner::Window);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::vector<QKeySequence> keys_;
    Winner winner_;
};

} // namespace vedivez

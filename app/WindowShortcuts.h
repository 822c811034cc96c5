#pragma once

#include <QKeySequence>
#include <QObject>
#include <vector>

class QWidget;

namespace vedivez {

// Keys of the window's commands that win over whatever has the focus in that window: an
// edit box would otherwise take Ctrl+Left and Ctrl+Right for moving its text cursor, and the
// command would never run.
class WindowShortcuts : public QObject {
public:
    WindowShortcuts(QWidget* window, std::vector<QKeySequence> keys);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::vector<QKeySequence> keys_;
};

} // namespace vedivez

#pragma once

#include <QLineEdit>

namespace vedivez {

// A line edit whose length limit restrains only what the user types or pastes, as an edit
// control's text limit does: a longer text set by the program is shown whole, and while the
// text is too long it can still be shortened but not lengthened.
class TTypingLimitEdit : public QLineEdit {
    Q_OBJECT

public:
    TTypingLimitEdit(int limit, const QString& text, QWidget* parent = nullptr);

    int TypingLimit() const { return limit_; }

private:
    int limit_;
};

} // namespace vedivez

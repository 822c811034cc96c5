#pragma once

#include <QLineEdit>

class QFocusEvent;
class QKeyEvent;
class QResizeEvent;
class QToolButton;

namespace vedivez {

// A number edit with up and down buttons whose text may leave its range while the user types
// (so "25" can be typed into a 0..9 edit); the value is brought into the range when the edit
// loses the keyboard focus or when ClampToRange is called.
class TSpinEdit : public QLineEdit {
    Q_OBJECT

public:
    TSpinEdit(int minimum, int maximum, int value, QWidget* parent = nullptr);

    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    // The text read as an integer, or the minimum when it is not one; not clamped.
    int Value() const;
    // Sets the value clamped into the range.
    void SetValue(int value);
    // Rewrites the text as the clamped value when it is out of range or not a plain number.
    void ClampToRange();

    QToolButton* UpButton() const { return up_; }
    QToolButton* DownButton() const { return down_; }

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Step(int delta);

    int minimum_;
    int maximum_;
    QToolButton* up_;
    QToolButton* down_;
};

} // namespace vedivez

#include "dialogs/SpinEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <algorithm>

namespace vedivez {

namespace {

constexpr int kButtonWidth = 13;

QToolButton* MakeStepButton(Qt::ArrowType arrow, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoRepeat(true);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

} // namespace

TSpinEdit::TSpinEdit(int minimum, int maximum, int value, QWidget* parent)
    : QLineEdit(parent), minimum_(minimum), maximum_(maximum),
      up_(MakeStepButton(Qt::UpArrow, this)), down_(MakeStepButton(Qt::DownArrow, this)) {
    // Digits with an optional sign, nine at most so that every accepted text fits an int.
    setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?\\d{0,9}")), this));
    setTextMargins(0, 0, kButtonWidth, 0);
    connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
    SetValue(value);
}

int TSpinEdit::Value() const {
    bool ok = false;
    const int value = text().toInt(&ok);
    return ok ? value : minimum_;
}

void TSpinEdit::SetValue(int value) {
    const QString wanted = QString::number(std::clamp(value, minimum_, maximum_));
    if (text() != wanted)
        setText(wanted);
}

void TSpinEdit::ClampToRange() {
    SetValue(Value());
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
    ClampToRange();
    QLineEdit::focusOutEvent(event);
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        Step(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
    QLineEdit::resizeEvent(event);
    // The two buttons share the edit's inner right edge, one above the other.
    const int frame = 2;
    const int inner = height() - 2 * frame;
    const int x = width() - frame - kButtonWidth;
    up_->setGeometry(x, frame, kButtonWidth, inner / 2);
    down_->setGeometry(x, frame + inner / 2, kButtonWidth, inner - inner / 2);
}

void TSpinEdit::Step(int delta) {
    const int current = std::clamp(Value(), minimum_, maximum_);
    SetValue(current + delta);
    selectAll();
}

} // namespace vedivez

#include "dialogs/TypingLimitEdit.h"

#include <QValidator>
#include <algorithm>

namespace vedivez {

namespace {

// Cuts the newly inserted part of an edit so that the whole text keeps within the limit.
// It compares each proposed text with the last accepted one (kept up to date from the
// edit's change signal), since QLineEdit has already applied the edit when it asks.
class TypingLimitValidator : public QValidator {
public:
    TypingLimitValidator(int limit, QLineEdit* edit)
        : QValidator(edit), limit_(limit), accepted_(edit->text()) {
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { accepted_ = text; });
    }

    State validate(QString& input, int& pos) const override {
        if (input.size() <= limit_ || input.size() < accepted_.size())
            return Acceptable;
        // The insertion ends at the cursor; the text behind the cursor was there before.
        const qsizetype suffix = std::min(input.size() - pos, accepted_.size());
        qsizetype prefix = 0;
        const qsizetype prefixMax = std::min<qsizetype>(pos, accepted_.size() - suffix);
        while (prefix < prefixMax && input[prefix] == accepted_[prefix])
            ++prefix;
        const qsizetype room = std::max<qsizetype>(0, limit_ - prefix - suffix);
        const qsizetype inserted = std::min(room, pos - prefix);
        QString cut = input.left(prefix + inserted) + input.right(suffix);
        if (cut == accepted_)
            return Invalid;
        input = cut;
        pos = int(prefix + inserted);
        return Acceptable;
    }

private:
    int limit_;
    QString accepted_;
};

} // namespace

TTypingLimitEdit::TTypingLimitEdit(int limit, const QString& text, QWidget* parent)
    : QLineEdit(parent), limit_(limit) {
    // The text goes in before the validator, which would otherwise cut it too.
    setText(text);
    setValidator(new TypingLimitValidator(limit, this));
}

} // namespace vedivez

#include "DialogTestHelpers.h"

#include "dialogs/U_About.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace vedivez {
namespace {

using test::Child;

class StationDialogTest : public ::testing::Test {
protected:
    void SetUp() override { test::ShowActive(dialog); }

    QLineEdit* Edit(const char* name) { return Child<QLineEdit>(dialog, name); }

    // Puts the cursor at the end of an edit and types there.
    void TypeAtEnd(const char* name, const QString& text) {
        QLineEdit* edit = Edit(name);
        QTest::mouseClick(edit, Qt::LeftButton);
        edit->end(false);
        QTest::keyClicks(edit, text);
    }

    TAboutStation dialog;
};

TEST_F(StationDialogTest, HasItsLabelsEditsAndButtonAtTheirPlaces) {
    const struct {
        const char* edit;
        QRect geometry;
        const char* label;
        QPoint labelAt;
        const char* initial;
    } rows[] = {
        {"E_Stanice", {64, 16, 337, 21}, "Stanice", {8, 19}, ""},
        {"E_Autor", {64, 40, 337, 21}, "Autor", {8, 43}, ""},
        {"E_Verze", {64, 64, 89, 21}, "Verze", {8, 67}, ""},
        {"E_Vydano", {64, 88, 89, 21}, "Vydáno", {8, 91}, "DD.MM.RRRR"},
    };
    QWidget* expectedNext = nullptr;
    for (const auto& row : rows) {
        QLineEdit* edit = Edit(row.edit);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->geometry(), row.geometry) << row.edit;
        EXPECT_EQ(edit->text(), QString::fromUtf8(row.initial)) << row.edit;
        if (expectedNext) {
            EXPECT_EQ(expectedNext, edit) << "tab order before " << row.edit;
        }
        expectedNext = edit->nextInFocusChain();
        bool labelFound = false;
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() == QString::fromUtf8(row.label)) {
                labelFound = true;
                EXPECT_EQ(label->pos(), row.labelAt) << row.label;
                EXPECT_GE(label->width(), label->sizeHint().width()) << "clipped " << row.label;
            }
        }
        EXPECT_TRUE(labelFound) << row.label;
    }
    auto* ok = Child<QPushButton>(dialog, "Button1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(325, 84, 75, 25));
    EXPECT_EQ(expectedNext, ok);
}

TEST_F(StationDialogTest, LimitsRestrainTypingOnly) {
    const struct {
        const char* edit;
        int limit;
    } limits[] = {{"E_Stanice", 50}, {"E_Autor", 50}, {"E_Verze", 10}, {"E_Vydano", 8}};
    for (const auto& l : limits) {
        QLineEdit* edit = Edit(l.edit);
        edit->clear();
        TypeAtEnd(l.edit, QString(l.limit + 5, QLatin1Char('x')));
        EXPECT_EQ(edit->text().size(), l.limit) << l.edit;
        // A paste is cut to what still fits.
        edit->clear();
        TypeAtEnd(l.edit, QStringLiteral("ab"));
        edit->setCursorPosition(1);
        edit->insert(QString(l.limit, QLatin1Char('y')));
        EXPECT_EQ(edit->text(), "a" + QString(l.limit - 2, QLatin1Char('y')) + "b") << l.edit;
    }
}

TEST_F(StationDialogTest, OverlongDatePlaceholderCanBeShortenedButNotLengthened) {
    QLineEdit* date = Edit("E_Vydano");
    TypeAtEnd("E_Vydano", QStringLiteral("1"));
    EXPECT_EQ(date->text(), "DD.MM.RRRR");
    QTest::keyClick(date, Qt::Key_Backspace);
    EXPECT_EQ(date->text(), "DD.MM.RRR");
    QTest::keyClicks(date, QStringLiteral("7"));
    EXPECT_EQ(date->text(), "DD.MM.RRR");
    date->clear();
    QTest::keyClicks(date, QStringLiteral("01.01.20"));
    EXPECT_EQ(date->text(), "01.01.20");
    QTest::keyClicks(date, QStringLiteral("14"));
    EXPECT_EQ(date->text(), "01.01.20");
}

TEST_F(StationDialogTest, ReplacingPartOfTheOverlongTextKeepsItWithinTheLimit) {
    QLineEdit* date = Edit("E_Vydano");
    QTest::mouseClick(date, Qt::LeftButton);
    date->setSelection(6, 4); // "RRRR"
    QTest::keyClicks(date, QStringLiteral("2"));
    EXPECT_EQ(date->text(), "DD.MM.2");
    date->setSelection(0, 0);
    date->setCursorPosition(0);
    QTest::keyClicks(date, QStringLiteral("ab"));
    EXPECT_EQ(date->text(), "aDD.MM.2"); // only one of the two letters fits
}

TEST_F(StationDialogTest, OkClosesAndTheTextStaysForTheNextOpening) {
    TypeAtEnd("E_Stanice", QStringLiteral("Horni Lhota"));
    QTest::mouseClick(Child<QPushButton>(dialog, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    test::ShowActive(dialog);
    EXPECT_EQ(Edit("E_Stanice")->text(), "Horni Lhota");
    EXPECT_EQ(Edit("E_Vydano")->text(), "DD.MM.RRRR");
}

} // namespace
} // namespace vedivez

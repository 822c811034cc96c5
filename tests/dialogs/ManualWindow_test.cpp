#include "DialogTestHelpers.h"

#include "dialogs/U_Manual.h"

#include <QFrame>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>

namespace vedivez {
namespace {

using test::Child;

class ManualWindowTest : public ::testing::Test {
protected:
    void SetUp() override { test::ShowActive(manual); }

    QPlainTextEdit* Memo() { return Child<QPlainTextEdit>(manual, "ME_Napoveda"); }
    QStringList Lines() { return Memo()->toPlainText().split(QLatin1Char('\n')); }

    TManual manual;
};

TEST_F(ManualWindowTest, HoldsExactlyTheThirtyOneLinesOfHelp) {
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 31);
    EXPECT_EQ(Memo()->blockCount(), 31);
    EXPECT_EQ(lines[0], "6.7.2014 - EDITOR VAD verze 0.4");
    EXPECT_EQ(lines[17], "ZKRATKY:");
    EXPECT_EQ(lines[26], QString(45, QLatin1Char('=')));
    EXPECT_EQ(lines[27], "1.7.2014");
    EXPECT_EQ(lines[28], QString::fromUtf8("Start vývoje."));
    EXPECT_EQ(lines[14],
              QString::fromUtf8("Program v této vývojové verzi umožn'uje pouze sestavení, "
                                "uložení a načtení reliéfu, popř. změnu velikosti "
                                "panelu, posun všech prvků "));
    EXPECT_EQ(lines[23], QString::fromUtf8(" - Ctrl+N = Nový soubor (v případě neuložených změn "
                                           "zobrazuje výzvu k potvrzení vyčištění programu)"));
    const QList<int> empty = {2, 6, 8, 11, 14, 17, 26, 30, 31};
    const QList<int> trailingSpace = {9, 12, 15};
    for (int n = 1; n <= 31; ++n) {
        const QString& line = lines[n - 1];
        EXPECT_EQ(line.isEmpty(), empty.contains(n)) << "line " << n;
        if (line.isEmpty())
            continue;
        EXPECT_EQ(line.endsWith(QLatin1Char(' ')), trailingSpace.contains(n)) << "line " << n;
        EXPECT_FALSE(line.endsWith(QStringLiteral("  "))) << "line " << n;
        EXPECT_EQ(line.startsWith(QLatin1Char(' ')), n >= 19 && n <= 25) << "line " << n;
        if (n >= 19 && n <= 25) {
            EXPECT_TRUE(line.startsWith(QStringLiteral(" - "))) << "line " << n;
        }
    }
}

TEST_F(ManualWindowTest, MemoWrapsWithoutScrollBarsAboveTheBottomStrip) {
    QPlainTextEdit* memo = Memo();
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_FALSE(memo->isReadOnly());
    EXPECT_EQ(memo->geometry(), QRect(0, 0, 655, 397 - 33));
    auto* strip = Child<QFrame>(manual, "P_Spodek");
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->geometry(), QRect(0, 364, 655, 33));
    auto* close = Child<QPushButton>(manual, "Button1");
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->parentWidget(), strip);
    EXPECT_EQ(close->geometry(), QRect(290, 4, 75, 25));
    EXPECT_EQ(close->text(), QString::fromUtf8("Zavřít"));
    // The long third line is wrapped onto more than one row.
    const QTextBlock third = memo->document()->findBlockByNumber(2);
    ASSERT_TRUE(third.isValid());
    EXPECT_GT(third.layout()->lineCount(), 1);
}

TEST_F(ManualWindowTest, TypedTextStaysWhenTheManualOpensAgain) {
    QPlainTextEdit* memo = Memo();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    memo->moveCursor(QTextCursor::Start);
    QTest::keyClicks(memo, QStringLiteral("Pozn. "));
    QTest::mouseClick(Child<QPushButton>(manual, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(manual.isVisible());
    test::ShowActive(manual);
    EXPECT_EQ(Lines().first(), "Pozn. 6.7.2014 - EDITOR VAD verze 0.4");
    EXPECT_EQ(Lines().size(), 31);
}

} // namespace
} // namespace vedivez

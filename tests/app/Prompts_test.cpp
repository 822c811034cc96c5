// The real boxes and file dialogs of the editor, driven while their modal loops run.

#include "AppTestSupport.h"

#include "panel/DocumentTexts.h"
#include "support/TestSupport.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace vedivez::test {
namespace {

// Runs `act` on the modal window once the dialog under test has opened (polling, as its
// exec() starts after the call), then lets the dialog's own loop finish.
template <typename Window> void WhenOpen(std::function<void(Window*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(window);
    });
    timer->start();
}

void PressKey(QWidget* box, Qt::Key key) {
    QWidget* target = box->focusWidget() ? box->focusWidget() : box;
    QTest::keyClick(target, key);
}

// No single key throws work away: Enter takes the default No, Escape answers No, only Yes
// (clicked or its mnemonic) says yes.
TEST(DialogPromptsTest, QuestionDefaultsToNo) {
    DialogPrompts prompts(nullptr);
    const struct {
        const char* what;
        std::function<void(QMessageBox*)> answer;
        bool expected;
    } cases[] = {
        {"Enter", [](QMessageBox* b) { PressKey(b, Qt::Key_Return); }, false},
        {"keypad Enter", [](QMessageBox* b) { PressKey(b, Qt::Key_Enter); }, false},
        {"Escape", [](QMessageBox* b) { PressKey(b, Qt::Key_Escape); }, false},
        {"Space on the focused button", [](QMessageBox* b) { PressKey(b, Qt::Key_Space); }, false},
        {"Yes clicked",
         [](QMessageBox* b) {
             for (QAbstractButton* button : b->buttons())
                 if (b->buttonRole(button) == QMessageBox::YesRole)
                     button->click();
         },
         true},
        {"Alt+Y", [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Y, Qt::AltModifier); }, true},
    };
    for (const auto& c : cases) {
        QString defaultText;
        WhenOpen<QMessageBox>([&](QMessageBox* box) {
            defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
            c.answer(box);
        });
        EXPECT_EQ(prompts.Confirm(QString::fromUtf8("Zahodit neuložené změny?")), c.expected)
            << c.what;
        EXPECT_EQ(defaultText, QStringLiteral("&No")) << c.what;
    }
}

// Texts from file names and file content are shown as they are, never as markup; an
// error's line stands below its message; every box is wide enough for its title.
TEST(DialogPromptsTest, BoxesShowTextAsTextAndFitTheirTitle) {
    DialogPrompts prompts(nullptr);
    const QString names[] = {QStringLiteral("<i>Brno.reru"), QStringLiteral("<b>Brno</b>.reru"),
                             QStringLiteral("<img src=\"a.png\">.reru"),
                             QStringLiteral("A &amp; B.reru")};
    for (const QString& name : names) {
        for (int kind = 0; kind < 3; ++kind) {
            QString shown, informative;
            int width = 0, labelWidth = 0, needed = 0;
            WhenOpen<QMessageBox>([&](QMessageBox* box) {
                auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                shown = label->text();
                // Shown as plain text the label needs room for every character typed,
                // the angle brackets included.
                labelWidth = label->sizeHint().width();
                needed = label->fontMetrics().horizontalAdvance(name);
                informative = box->informativeText();
                width = box->width();
                PressKey(box, Qt::Key_Escape);
            });
            QString title;
            if (kind == 0) {
                prompts.ShowError(name, QString::fromUtf8("Chyba je na řádku 8."));
                title = AppTitle();
            } else if (kind == 1) {
                prompts.ShowMessage(name);
                title = AppTitle();
            } else {
                prompts.Confirm(name);
                title = QStringLiteral("Confirm");
            }
            const std::string what = name.toStdString() + " in box " + std::to_string(kind);
            EXPECT_EQ(shown, name) << what;
            EXPECT_GE(labelWidth, needed) << what;
            EXPECT_EQ(informative,
                      kind == 0 ? QString::fromUtf8("Chyba je na řádku 8.") : QString())
                << what;
            // A title bar needs its text and about a hundred pixels for its icon and
            // buttons.
            QFont bold = QApplication::font("QMdiSubWindowTitleBar");
            bold.setBold(true);
            EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 100) << what;
        }
    }
}

// A folder typed into a file dialog is entered, as in any file dialog; the dialog adds no
// extension of its own, so the name comes back as typed.
TEST(DialogPromptsTest, FileDialogsEnterATypedFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Brno hl.n")));
    DialogPrompts prompts(nullptr);
    for (bool save : {true, false}) {
        QString enteredFolder;
        bool stayedOpen = false;
        WhenOpen<QFileDialog>([&](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(QStringLiteral("Brno hl.n"));
            QTest::keyClick(name, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            enteredFolder = dialog->directory().absolutePath();
            name->setText(QStringLiteral("stanice"));
            QTest::keyClick(name, Qt::Key_Return);
        });
        const Prompts::FileRequest request{
            save ? QStringLiteral("Ulozit") : QStringLiteral("Otevrit"),
            QStringLiteral("Stanice VediVEZ (*.reru)"), dir.filePath(QStringLiteral("x"))};
        const std::optional<QString> chosen =
            save ? prompts.SaveFileName(request) : prompts.OpenFileName(request);
        EXPECT_TRUE(stayedOpen) << save;
        EXPECT_EQ(enteredFolder, QDir(dir.filePath(QStringLiteral("Brno hl.n"))).absolutePath())
            << save;
        ASSERT_TRUE(chosen.has_value()) << save;
        EXPECT_EQ(*chosen, dir.filePath(QStringLiteral("Brno hl.n/stanice"))) << save;
    }
}

} // namespace
} // namespace vedivez::test

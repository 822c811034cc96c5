#include "AppTestSupport.h"

#include "app/ErrorHandler.h"
#include "dialogs/U_About.h"
#include "dialogs/U_AboutVUVOzaz.h"
#include "dialogs/U_Manual.h"
#include "dialogs/U_PocetPolicek.h"
#include "panel/DocumentTexts.h"
#include "panel/PanelErrors.h"

#include <QPushButton>
#include <QTimer>

namespace vedivez::test {
namespace {

using SecondaryWindowsTest = WindowTest;

TEST_F(SecondaryWindowsTest, AreCreatedHiddenInOrderAfterTheMainWindow) {
    QStringList names;
    for (QObject* child : window->children())
        if (auto* dialog = qobject_cast<QDialog*>(child))
            names << dialog->objectName();
    EXPECT_EQ(names, (QStringList{"Z_PosunPolicek", "AboutStation", "Manual", "AboutVUVOzaz"}));
    for (QDialog* d : window->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(d->isVisible()) << d->objectName().toStdString();
    EXPECT_FALSE(window->Action(QStringLiteral("OStanici1"))->isEnabled());
}

// Each menu item shows its window modally; what was on screen meanwhile is recorded and the
// window closed again from inside its modal run.
TEST_F(SecondaryWindowsTest, MenuItemsShowTheirWindowsModally) {
    const std::pair<const char*, QDialog*> rows[] = {
        {"MP_PosunoutVseO", window->ShiftDialog()},
        {"Manul1", window->ManualWindow()},
        {"Oprogramu1", window->AboutWindow()},
    };
    for (const auto& [item, dialog] : rows) {
        bool shownModal = false;
        QTimer::singleShot(0, dialog, [&, dialog = dialog] {
            shownModal = dialog->isVisible() && dialog->isModal();
            dialog->reject();
        });
        Trigger(item);
        EXPECT_TRUE(shownModal) << item;
        EXPECT_FALSE(dialog->isVisible()) << item;
    }
    // The station information window exists behind its disabled item: the item does
    // nothing, its handler would show the window.
    Trigger("OStanici1");
    EXPECT_FALSE(window->StationDialog()->isVisible());
    bool shownModal = false;
    QTimer::singleShot(0, window->StationDialog(), [&] {
        shownModal = window->StationDialog()->isModal() && window->StationDialog()->isVisible();
        window->StationDialog()->reject();
    });
    window->OStanici1Click();
    EXPECT_TRUE(shownModal);
}

// A shift made in the dialog reaches the panel at once, and a refused one shows its message
// through the main window while the dialog stays open.
TEST_F(SecondaryWindowsTest, ShiftDialogShiftsThePanelBehindIt) {
    Click(Cell(2, 2));
    window->Frames().RenderIfChanged(1);
    const uint64_t generation = Panel().Generation();
    bool stillOpen = false;
    bool redrawn = false;
    TZ_PosunPolicek* dialog = window->ShiftDialog();
    QTimer::singleShot(0, dialog, [&] {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BB_Doprava")),
                          Qt::LeftButton);
        redrawn = window->Frames().RenderIfChanged(1);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BB_Nahoru")),
                          Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BB_Nahoru")),
                          Qt::LeftButton);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BB_Nahoru")),
                          Qt::LeftButton);
        stillOpen = dialog->isVisible();
        dialog->reject();
    });
    Trigger("MP_PosunoutVseO");
    EXPECT_NE(Panel().Generation(), generation);
    EXPECT_TRUE(redrawn);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(Panel().Elements()[0].X, 3);
    EXPECT_EQ(Panel().Elements()[0].Y, 0);
    EXPECT_EQ(log->messages, QStringList{ShiftRefusedMessage()});
}

// A failure that escapes an event handler reaches the application's handler, which shows
// it with the full-stop rule; the loop goes on.
class Thrower : public QObject {
public:
    explicit Thrower(std::string message) : message_(std::move(message)) {}
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User)
            throw UserError(message_);
        return QObject::event(e);
    }

private:
    std::string message_;
};

TEST_F(SecondaryWindowsTest, EscapedFailuresReachTheErrorHandler) {
    if (!qobject_cast<Application*>(qApp))
        GTEST_SKIP() << "needs the editor's application";
    const std::pair<std::string, QString> cases[] = {
        {"File not found", "File not found."}, {"Konec.", "Konec."},
        {"I/O error 5", "I/O error 5."},       {"(x)", "(x)"},
        {"Disk full!", "Disk full!"},          {"Chyba \xe8", QString::fromUtf8("Chyba č.")},
    };
    for (const auto& [thrown, shown] : cases) {
        Thrower thrower(thrown);
        QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
        QCoreApplication::sendPostedEvents(&thrower);
        ASSERT_FALSE(log->errors.isEmpty()) << thrown;
        EXPECT_EQ(log->errors.takeLast(), shown) << thrown;
    }
    // The event loop is still fine: a placement after the failures works.
    Click(Cell(1, 1));
    EXPECT_EQ(Panel().Elements().size(), 1u);
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// A failure while drawing or on a timer tick opens no box there and then: it is shown once,
// from the event loop, however often it recurs.
struct SurfaceErrorForTest : std::runtime_error {
    using std::runtime_error::runtime_error;
};

TEST(ErrorHandlerFrames, FailuresInFramesAreShownOnceLater) {
    auto log = std::make_shared<ScriptedPrompts::Log>();
    ScriptedPrompts prompts(log);
    ErrorHandler errors(prompts);
    for (int tick = 0; tick < 5; ++tick)
        errors.GuardFrame([] { throw SurfaceErrorForTest("Surface cannot be made"); });
    EXPECT_TRUE(log->errors.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(log->errors, QStringList{QStringLiteral("Surface cannot be made.")});
    errors.GuardFrame([] { throw std::bad_alloc(); });
    QCoreApplication::processEvents();
    EXPECT_EQ(log->errors.size(), 2);
    EXPECT_EQ(log->errors.last(), QStringLiteral("Out of memory."));
    // An ordinary handler's failure is shown at once.
    errors.Guard([] { throw UserError("File not found"); });
    EXPECT_EQ(log->errors.last(), QStringLiteral("File not found."));
}

} // namespace
} // namespace vedivez::test

namespace vedivez::test {
namespace {

// Messages found in one pass of the frame code share one box, one a line, at most ten; a
// message already shown is not shown again.
TEST(ErrorHandlerFrames, MessagesOfOnePassShareOneBox) {
    auto log = std::make_shared<ScriptedPrompts::Log>();
    ScriptedPrompts prompts(log);
    ErrorHandler errors(prompts);
    auto names = [](int from, int to) {
        QStringList lines;
        for (int i = from; i < to; ++i)
            lines << QStringLiteral("Image 'X%1' not found.").arg(i);
        return lines;
    };
    const struct {
        int from, to; // tile names reported in one pass
        QString shown;
    } passes[] = {
        {0, 1, names(0, 1).join('\n')},
        {1, 4, names(1, 4).join('\n')},
        {4, 16, names(4, 14).join('\n') + QString::fromUtf8("\n…")},
        {0, 16, QString()}, // all shown before: no box
    };
    for (const auto& p : passes) {
        log->errors.clear();
        for (int i = p.from; i < p.to; ++i)
            errors.ReportOnce("Image 'X" + std::to_string(i) + "' not found");
        EXPECT_TRUE(log->errors.isEmpty());
        QCoreApplication::processEvents();
        const QStringList expected = p.shown.isEmpty() ? QStringList() : QStringList{p.shown};
        EXPECT_EQ(log->errors, expected) << p.from;
    }
}

} // namespace
} // namespace vedivez::test

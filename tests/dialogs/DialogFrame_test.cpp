#include "DialogTestHelpers.h"

#include "dialogs/U_About.h"
#include "dialogs/U_AboutVUVOzaz.h"
#include "dialogs/U_Manual.h"
#include "dialogs/U_PocetPolicek.h"
#include "panel/HeadlessPanel.h"
#include "surface/AppFonts.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>

namespace vedivez {
namespace {

struct FrameCase {
    const char* objectName;
    const char* caption;
    QSize client;
    bool centred;
    const char* firstFocus; // the component with the focus when the window opens
};

class DialogFrameTest : public ::testing::TestWithParam<FrameCase> {
protected:
    std::unique_ptr<QDialog> Make(QWidget* parent) {
        const QString name = QString::fromLatin1(GetParam().objectName);
        if (name == "Z_PosunPolicek")
            return std::make_unique<TZ_PosunPolicek>(hp.document, parent);
        if (name == "AboutStation")
            return std::make_unique<TAboutStation>(parent);
        if (name == "Manual")
            return std::make_unique<TManual>(parent);
        return std::make_unique<TAboutVUVOzaz>(parent);
    }

    HeadlessPanel hp;
};

TEST_P(DialogFrameTest, IsAFixedToolWindowWithButtonFaceAndInterfaceFont) {
    const FrameCase& c = GetParam();
    auto dialog = Make(nullptr);
    EXPECT_EQ(dialog->objectName(), c.objectName);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(dialog->windowType(), Qt::Tool);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(dialog->minimumSize(), c.client);
    EXPECT_EQ(dialog->maximumSize(), c.client);
    EXPECT_EQ(dialog->font().pixelSize(), 11);
    EXPECT_EQ(dialog->font().family(), UiFontFamily());
    EXPECT_EQ(dialog->palette().color(QPalette::Window), dialog->palette().color(QPalette::Button));
    EXPECT_FALSE(dialog->isVisible()) << "created hidden";
    test::ShowActive(*dialog);
    EXPECT_EQ(dialog->size(), c.client);
    if (c.firstFocus) {
        ASSERT_NE(dialog->focusWidget(), nullptr);
        EXPECT_EQ(dialog->focusWidget()->objectName(), c.firstFocus);
    }
    // Escape closes these windows, whatever of theirs has the focus, and they open again.
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    test::ShowActive(*dialog);
    EXPECT_TRUE(dialog->isVisible());
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_P(DialogFrameTest, OpensCentredOnTheMainWindowOrAtItsStoredPlace) {
    const FrameCase& c = GetParam();
    QMainWindow main;
    main.setGeometry(200, 150, 900, 700);
    main.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&main));
    auto dialog = Make(&main);
    for (int opening = 0; opening < 2; ++opening) {
        test::ShowActive(*dialog);
        if (c.centred) {
            const QPoint offset = dialog->frameGeometry().center() - main.frameGeometry().center();
            // Before the first showing the frame can only be guessed from the main window's.
            const QSize mainFrame = main.frameGeometry().size() - main.size();
            const int slack = opening == 0 ? (mainFrame.width() + mainFrame.height()) / 2 + 2 : 2;
            EXPECT_LE(offset.manhattanLength(), slack) << "opening " << opening;
        } else {
            // First at its stored place, then where the user left it.
            EXPECT_EQ(dialog->frameGeometry().topLeft(),
                      opening == 0 ? QPoint(423, 276) : QPoint(10, 10));
        }
        dialog->close();
        // The user drags it elsewhere; a centred window is centred again next time.
        dialog->move(10, 10);
    }
}

TEST_P(DialogFrameTest, RunsModallyUntilClosedAndCanRunAgain) {
    QMainWindow main;
    main.show();
    auto dialog = Make(&main);
    for (int opening = 0; opening < 2; ++opening) {
        bool wasModal = false;
        QTimer::singleShot(0, dialog.get(), [&] {
            wasModal = dialog->isVisible() && QApplication::activeModalWidget() == dialog.get();
            dialog->close();
        });
        dialog->exec();
        EXPECT_TRUE(wasModal) << "opening " << opening;
        EXPECT_FALSE(dialog->isVisible());
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllWindows, DialogFrameTest,
    ::testing::Values(FrameCase{"Z_PosunPolicek", "Posunout vše", {135, 113}, true, "BB_Nahoru"},
                      FrameCase{"AboutStation", "O stanci", {407, 118}, true, "E_Stanice"},
                      FrameCase{"Manual", "VediVEZ - Nápověda", {655, 397}, false, "ME_Napoveda"},
                      FrameCase{"AboutVUVOzaz", "O programu", {377, 254}, true, nullptr}),
    [](const ::testing::TestParamInfo<FrameCase>& info) {
        return std::string(info.param.objectName);
    });

} // namespace
} // namespace vedivez

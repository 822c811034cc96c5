#include "AppTestSupport.h"
#include "panel/Version.h"

#include "app/FileCommands.h"
#include "panel/DocumentTexts.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>

namespace vedivez::test {
namespace {

const QString kDiscard = QString::fromUtf8("Zahodit neuložené změny?");

class FileCommandsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString PathOf(const QString& name) const { return dir.filePath(name); }
    // The status bar and caption, which every command must leave consistent.
    struct Shown {
        QString path, state, caption;
        int cols, rows;
        size_t elements;
        bool operator==(const Shown&) const = default;
    };
    Shown Now() const {
        return {window->StatusText(0), window->StatusText(1), window->windowTitle(),
                Panel().PanelCols,     Panel().PanelRows,     Panel().Elements().size()};
    }
    // A small station file of two elements in a 20 x 12 panel.
    QString WriteStation(const QString& name) const {
        const QString path = PathOf(name);
        WriteBytes(path, "SET_Vyska;12\r\nSET_Sirka;20\r\n"
                         "PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
                         "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n"
                         "PRUSVITKA;X=2;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
                         "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n");
        return path;
    }
    void Answer(std::optional<QString> file) { log->fileAnswers.push_back(std::move(file)); }
    void Confirm(bool yes) { log->confirmAnswers.push_back(yes); }
    void ExpectNewStation(const char* what) const {
        EXPECT_TRUE(Panel().Elements().empty()) << what;
        EXPECT_EQ(window->StatusText(0), NoFileText()) << what;
        EXPECT_EQ(window->StatusText(1), StateNew()) << what;
        EXPECT_EQ(window->windowTitle(),
                  QString::fromUtf8("VediVEZ v" VEDIVEZ_VERSION " - Nová stanice"))
            << what;
        EXPECT_EQ(Panel().PanelRows, 50) << what;
        EXPECT_EQ(Panel().PanelCols, 100) << what;
        EXPECT_EQ(Surface()->width(), 4700) << what;
    }

    QTemporaryDir dir;
};

TEST_F(FileCommandsTest, NewResetsWithoutAskingUnlessChangesWouldBeLost) {
    // Empty list, or any state word but "Upraveno": no question.
    using State = Document::State;
    for (const State state : {State::New, State::Saved, State::Loaded, State::Modified}) {
        window->Doc().SetState(state);
        Trigger("MP_Novy");
        EXPECT_TRUE(log->questions.isEmpty()) << Document::StateWord(state).toStdString();
        ExpectNewStation("empty list");
    }
    for (const State state : {State::New, State::Saved, State::Loaded}) {
        Click(Cell(1, 1));
        window->Doc().SetState(state);
        Trigger("MP_Novy");
        EXPECT_TRUE(log->questions.isEmpty()) << Document::StateWord(state).toStdString();
        ExpectNewStation("not modified");
    }
}

TEST_F(FileCommandsTest, NewAsksAfterAnEditAndNoKeepsEverything) {
    Find<QSpinBox>("SE_PolickaSirka")->setValue(130);
    Click(Cell(2, 2));
    const Shown before = Now();
    for (bool viaShortcut : {false, true}) {
        Confirm(false);
        if (viaShortcut)
            QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        else
            QTest::mouseClick(Find<QPushButton>("BB_Novy"), Qt::LeftButton);
        EXPECT_EQ(Now(), before);
    }
    EXPECT_EQ(log->questions, (QStringList{kDiscard, kDiscard}));
    Confirm(true);
    Trigger("MP_Novy");
    ExpectNewStation("after Yes");
}

// New sets 50 x 100 through the spin edits; when the panel has that size already, the
// surface is left alone.
TEST_F(FileCommandsTest, NewSetsTheSizeEvenWhenItIsAlreadyThere) {
    Trigger("MP_Novy");
    ExpectNewStation("first");
    const QRect visible = window->View().VisibleRect();
    Trigger("MP_Novy");
    ExpectNewStation("second");
    EXPECT_EQ(window->View().VisibleRect(), visible);
}

TEST_F(FileCommandsTest, FirstSaveAsksForANameLaterSavesGoThere) {
    Click(Cell(3, 4));
    const QString path = PathOf("stanice.reru");
    Answer(path);
    Trigger("MP_Ulozeni");
    EXPECT_EQ(log->saveDialogs, 1);
    EXPECT_EQ(window->StatusText(0), path);
    EXPECT_EQ(window->StatusText(1), StateSaved());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - stanice.reru"));
    EXPECT_NE(ReadBytes(path).find("PRUSVITKA;X=3;Y=4;NAME=KOL_sLSPS"), std::string::npos);
    // The next Save writes the same file without a dialog or a question.
    Click(Cell(5, 4));
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(log->saveDialogs, 1);
    EXPECT_TRUE(log->questions.isEmpty());
    EXPECT_EQ(window->StatusText(1), StateSaved());
    EXPECT_NE(ReadBytes(path).find("PRUSVITKA;X=5;Y=4"), std::string::npos);
}

TEST_F(FileCommandsTest, SaveAsAlwaysAsksAndItsPathIsUsedNext) {
    Click(Cell(1, 1));
    Answer(PathOf("a.reru"));
    Trigger("MP_UlozitJako");
    Answer(PathOf("b.reru"));
    QTest::mouseClick(Find<QPushButton>("BB_UlozitJako"), Qt::LeftButton);
    EXPECT_EQ(log->saveDialogs, 2);
    EXPECT_EQ(window->StatusText(0), PathOf("b.reru"));
    // Each dialog opens with the name last chosen in it.
    ASSERT_EQ(log->requests.size(), 2u);
    EXPECT_EQ(log->requests[0].initialName, QString());
    EXPECT_EQ(log->requests[1].initialName, PathOf("a.reru"));
    Click(Cell(2, 1));
    QTest::mouseClick(Find<QPushButton>("BB_Ulozit"), Qt::LeftButton);
    EXPECT_EQ(log->saveDialogs, 2);
    EXPECT_NE(ReadBytes(PathOf("b.reru")).find("X=2;Y=1"), std::string::npos);
    EXPECT_EQ(ReadBytes(PathOf("a.reru")).find("X=2;Y=1"), std::string::npos);
}

TEST_F(FileCommandsTest, CancelledDialogsChangeNothing) {
    Click(Cell(1, 1));
    const Shown before = Now();
    for (const char* item : {"MP_Ulozeni", "MP_UlozitJako", "MP_Otevreni"}) {
        Answer(std::nullopt);
        if (QString::fromLatin1(item) == QStringLiteral("MP_Otevreni"))
            Confirm(true);
        Trigger(item);
        EXPECT_EQ(Now(), before) << item;
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFile) {
    const QString path = WriteStation("nadrazi.reru");
    Answer(path);
    QTest::keyClick(window.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(log->openDialogs, 1);
    EXPECT_EQ(Now(),
              (Shown{path, StateLoaded(),
                     QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - nadrazi.reru"), 20, 12, 2}));
    EXPECT_EQ(Find<QSpinBox>("SE_PolickaSirka")->value(), 20);
    EXPECT_EQ(Surface()->size(), QSize(20 * 47, 12 * 47));
    // The loaded size is not a change of the user's.
    EXPECT_EQ(window->StatusText(1), StateLoaded());
    // After a load and deletions only, the list changed: New asks while elements remain and
    // not once the list is empty.
    Click(Cell(1, 1), Qt::RightButton);
    Trigger("MP_Novy");
    EXPECT_EQ(log->questions, QStringList{kDiscard});
    Click(Cell(2, 1), Qt::RightButton);
    ASSERT_TRUE(Panel().Elements().empty());
    Trigger("MP_Novy");
    EXPECT_EQ(log->questions, QStringList{kDiscard});
    ExpectNewStation("after deleting everything");
}

// Opening replaces the panel, so it asks as New does; any answer but Yes keeps everything and
// shows no dialog.
TEST_F(FileCommandsTest, OpenAsksBeforeThrowingChangesAway) {
    const QString path = WriteStation("nadrazi.reru");
    Click(Cell(6, 6));
    const Shown before = Now();
    Confirm(false);
    Trigger("MP_Otevreni");
    EXPECT_EQ(log->questions, QStringList{kDiscard});
    EXPECT_EQ(log->openDialogs, 0);
    EXPECT_EQ(Now(), before);
    Confirm(true);
    Answer(path);
    Trigger("MP_Otevreni");
    EXPECT_EQ(log->openDialogs, 1);
    EXPECT_EQ(window->StatusText(0), path);
}

struct FailureCase {
    const char* what;
    const char* item;
    std::function<QString(const QTemporaryDir&)> answer;
    QString message;
    QString detail;
};

// A failed load or save shows the error box and leaves panel, status bar and caption as
// they were.
TEST_F(FileCommandsTest, FailuresAreReportedAndChangeNothing) {
    WriteBytes(dir.filePath("spatny.reru"), "SET_Vyska;50\r\nSET_Sirka;abc\r\n");
    WriteBytes(dir.filePath("osmy.reru"), "SET_Vyska;50\r\n\r\nSET_Stanice;x\r\n\n\n\r\n"
                                          "SET_Sirka;40\r\nPRUSVITKA;X=1;Y=zz\r\n");
    // A load error names its line below the message; errors without a line have no second
    // text.
    const QString line = QString::fromUtf8("Chyba je na řádku %1.");
    const FailureCase cases[] = {
        {"open a missing file", "MP_Otevreni",
         [](const QTemporaryDir& d) { return d.filePath("chybi.reru"); },
         QStringLiteral("File not found."), QString()},
        {"open a bad number", "MP_Otevreni",
         [](const QTemporaryDir& d) { return d.filePath("spatny.reru"); },
         QStringLiteral("'abc' is not a valid integer value."), line.arg(2)},
        {"open a bad number after blank lines", "MP_Otevreni",
         [](const QTemporaryDir& d) { return d.filePath("osmy.reru"); },
         QStringLiteral("'zz' is not a valid integer value."), line.arg(8)},
        {"save into a missing folder", "MP_UlozitJako",
         [](const QTemporaryDir& d) { return d.filePath("neni/tu.reru"); },
         QStringLiteral("Invalid filename."), QString()},
    };
    Click(Cell(4, 4));
    window->Doc().SetState(Document::State::Saved);
    for (const FailureCase& c : cases) {
        log->errors.clear();
        log->errorDetails.clear();
        const Shown before = Now();
        Answer(c.answer(dir));
        Trigger(c.item);
        EXPECT_EQ(log->errors, QStringList{c.message}) << c.what;
        EXPECT_EQ(log->errorDetails, QStringList{c.detail}) << c.what;
        EXPECT_EQ(Now(), before) << c.what;
        EXPECT_FALSE(window->Frames().Paused()) << c.what << ": frames go on after a failure";
    }
}

TEST_F(FileCommandsTest, SaveThroughTheDialogAsksBeforeReplacingAFile) {
    const QString path = WriteStation("stary.reru");
    const std::string old = ReadBytes(path);
    Click(Cell(8, 8));
    const Shown before = Now();
    for (const char* item : {"MP_UlozitJako", "MP_Ulozeni"}) {
        Answer(path);
        Confirm(false);
        Trigger(item);
        EXPECT_EQ(ReadBytes(path), old) << item;
        EXPECT_EQ(Now(), before) << item;
    }
    ASSERT_EQ(log->questions.size(), 2);
    EXPECT_TRUE(log->questions[0].contains(QStringLiteral("stary.reru")));
    // The extension is added before the check: "stary" is the same existing file.
    Answer(PathOf("stary"));
    Confirm(true);
    Trigger("MP_UlozitJako");
    EXPECT_EQ(log->questions.size(), 3);
    EXPECT_NE(ReadBytes(path), old);
    EXPECT_EQ(window->StatusText(0), path);
    // A plain Save to the current file does not ask.
    Trigger("MP_Ulozeni");
    EXPECT_EQ(log->questions.size(), 3);
}

// Only a name that does not end in ".reru" (any letter case) gets the extension: station
// names hold dots ("Brno hl.n", "Ústí n. L").
TEST_F(FileCommandsTest, NamesWithoutTheStationExtensionGetLowerCaseReru) {
    const std::pair<QString, QString> cases[] = {
        {"plan", "plan.reru"},           {"plan.", "plan.reru"},
        {"plan.reru", "plan.reru"},      {"PLAN.RERU", "PLAN.RERU"},
        {"Plan.Reru", "Plan.Reru"},      {"plan.txt", "plan.txt.reru"},
        {"Brno hl.n", "Brno hl.n.reru"}, {"Ústí n. L", "Ústí n. L.reru"},
        {"v1.2.reru", "v1.2.reru"}};
    for (const auto& [typed, saved] : cases) {
        Answer(PathOf(typed));
        Trigger("MP_UlozitJako");
        EXPECT_EQ(window->StatusText(0), PathOf(saved)) << typed.toStdString();
        EXPECT_TRUE(QFile::exists(PathOf(saved))) << typed.toStdString();
    }
    ASSERT_FALSE(log->requests.empty());
    EXPECT_EQ(log->requests[0].component, QStringLiteral("Ulozit"));
    EXPECT_EQ(log->requests[0].filter, QStringLiteral("Stanice VediVEZ (*.reru)"));
    Answer(std::nullopt);
    Trigger("MP_Otevreni");
    EXPECT_EQ(log->requests.back().filter, QStringLiteral("Stanice VediVEZ (*.reru)"));
    EXPECT_EQ(log->requests.back().component, QStringLiteral("Otevrit"));
}

// Open reads the name as typed when it exists, else with the extension, whose letter case
// may differ on disk.
TEST_F(FileCommandsTest, OpenFindsTheStationFileOfATypedName) {
    const struct {
        const char* onDisk;
        const char* typed;
        const char* opened; // nullptr: "File not found" for the name with ".reru"
    } cases[] = {
        {"VELKE.RERU", "VELKE", "VELKE.RERU"},
        {"male.Reru", "male", "male.Reru"},
        {"plan.reru", "plan", "plan.reru"},
        {"Brno hl.n.reru", "Brno hl.n", "Brno hl.n.reru"},
        {"bez_pripony", "bez_pripony", "bez_pripony"},
        {"[a*].RERU", "[a*]", "[a*].RERU"},
        {"jiny.RERU", "JINY", nullptr},
        {"kratky.reru", "kratky.re", nullptr},
    };
    for (const auto& c : cases) {
        const QString onDisk = PathOf(QString::fromUtf8(c.onDisk));
        WriteBytes(onDisk, "SET_Sirka;77\r\n");
        window->Doc().SetState(Document::State::Saved);
        log->errors.clear();
        Answer(PathOf(QString::fromUtf8(c.typed)));
        Trigger("MP_Otevreni");
        if (c.opened) {
            EXPECT_TRUE(log->errors.isEmpty()) << c.typed;
            EXPECT_EQ(window->StatusText(0), PathOf(QString::fromUtf8(c.opened))) << c.typed;
        } else {
            EXPECT_EQ(log->errors, QStringList{"File not found."}) << c.typed;
        }
        QFile::remove(onDisk);
    }
}

// Every change to what a save would write marks the document; New and loading do not.
TEST_F(FileCommandsTest, EveryEditMarksTheDocumentModified) {
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"placing", [&] { Click(Cell(3, 3)); }},
        {"removing", [&] { Click(Cell(3, 3), Qt::RightButton); }},
        {"shifting", [&] { Trigger("Posunoutve1"); }},
        {"typing a width",
         [&] {
             QLineEdit* edit = Find<QSpinBox>("SE_PolickaSirka")->findChild<QLineEdit*>();
             edit->selectAll();
             QTest::keyClicks(edit, "123");
         }},
    };
    Click(Cell(9, 9));
    for (const auto& [what, edit] : edits) {
        window->Doc().SetState(Document::State::Saved);
        edit();
        EXPECT_EQ(window->StatusText(1), StateModified()) << what;
    }
    EXPECT_EQ(Panel().PanelCols, 123);
    // A refused shift changes nothing.
    Panel().ClearElements();
    Click(Cell(0, 2));
    window->Doc().SetState(Document::State::Saved);
    Trigger("Zpt1");
    EXPECT_EQ(log->messages, QStringList{ShiftRefusedMessage()});
    EXPECT_EQ(window->StatusText(1), StateSaved());
}

TEST_F(FileCommandsTest, ClosingWithUnsavedChangesAsks) {
    EXPECT_TRUE(window->close()) << "nothing to lose";
    window->show();
    Click(Cell(1, 1));
    for (const char* how : {"close", "Konec"}) {
        Confirm(false);
        if (QString::fromLatin1(how) == QStringLiteral("Konec"))
            Trigger("Konec1");
        else
            window->close();
        EXPECT_TRUE(window->isVisible()) << how;
        EXPECT_EQ(Panel().Elements().size(), 1u) << how;
    }
    EXPECT_EQ(log->questions, (QStringList{kDiscard, kDiscard}));
    Confirm(true);
    Trigger("Konec1");
    EXPECT_FALSE(window->isVisible());
}

TEST_F(FileCommandsTest, UndoHasNoAction) {
    Click(Cell(1, 1));
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Panel().Elements().size(), 1u);
    EXPECT_FALSE(Find<QPushButton>("BB_Zpet")->isEnabled());
    QTest::mouseClick(Find<QPushButton>("BitBtn5"), Qt::LeftButton);
    EXPECT_EQ(Panel().Elements().size(), 1u);
    EXPECT_TRUE(log->questions.isEmpty());
    EXPECT_EQ(log->saveDialogs + log->openDialogs, 0);
}

// Frames stop while a file dialog is open and go on behind the question.
TEST_F(FileCommandsTest, FramesPauseForFileDialogsOnly) {
    std::vector<bool> pausedInDialog, pausedInQuestion;
    log->duringFileDialog = [&] { pausedInDialog.push_back(window->Frames().Paused()); };
    log->duringQuestion = [&] { pausedInQuestion.push_back(window->Frames().Paused()); };
    Click(Cell(1, 1));
    Confirm(true);
    Answer(std::nullopt);
    Trigger("MP_Otevreni");
    Answer(std::nullopt);
    Trigger("MP_UlozitJako");
    EXPECT_EQ(pausedInDialog, (std::vector<bool>{true, true}));
    EXPECT_EQ(pausedInQuestion, (std::vector<bool>{false}));
    EXPECT_FALSE(window->Frames().Paused());
}

// Names are text: a file named like markup shows in the status bar and the question as
// typed, never formatted.
TEST_F(FileCommandsTest, FileNamesThatLookLikeMarkupStayText) {
    auto* status = Find<QLabel>("ZB_Zapati_Panel0");
    for (const char* name :
         {"<i>Brno.reru", "<b>Brno hl.n.reru", "<img src=a.png>.reru", "A &amp; B.reru"}) {
        const QString path = PathOf(QString::fromLatin1(name));
        Answer(path);
        Trigger("MP_UlozitJako");
        ASSERT_EQ(window->StatusText(0), path) << name;
        // As plain text the label needs the room of every character of the path.
        status->resize(status->sizeHint());
        EXPECT_GE(status->sizeHint().width(), status->fontMetrics().horizontalAdvance(path))
            << name;
        EXPECT_EQ(status->textFormat(), Qt::PlainText) << name;
        // Saving onto it again asks with the name as it is.
        Answer(path);
        Confirm(false);
        Trigger("MP_UlozitJako");
        ASSERT_FALSE(log->questions.isEmpty()) << name;
        EXPECT_TRUE(log->questions.last().contains(QString::fromLatin1(name))) << name;
    }
}

} // namespace
} // namespace vedivez::test

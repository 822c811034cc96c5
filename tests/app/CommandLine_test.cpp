// The editor's command line `vedivez [FILE]`: how it is read, what the built program answers
// for help, version and wrong use, and opening FILE in the window at start.

#include "AppTestSupport.h"

#include "app/CommandLine.h"
#include "app/FileCommands.h"
#include "app/ProgramIcon.h"
#include "app/RecentFiles.h"
#include "panel/DocumentTexts.h"
#include "panel/FileAccess.h"
#include "panel/Version.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <dirent.h>
#include <sstream>
#include <unistd.h>

namespace vedivez::test {
namespace {

using Action = EditorCommandLine::Action;

TEST(EditorCommandLineTest, ReadsNothingOneFileOrAskedInformation) {
    const struct {
        std::vector<std::string> args;
        Action action;
        std::string file;
    } cases[] = {
        {{}, Action::Run, {}},
        {{"station.reru"}, Action::Run, "station.reru"},
        {{"/home/a b/STANICE.RERU"}, Action::Run, "/home/a b/STANICE.RERU"},
        {{"--", "-odd.reru"}, Action::Run, "-odd.reru"},
        {{"--", "--help"}, Action::Run, "--help"},
        {{"--help"}, Action::Help, {}},
        {{"-h"}, Action::Help, {}},
        {{"station.reru", "--help"}, Action::Help, {}},
        {{"--version", "--help"}, Action::Help, {}},
        {{"--version"}, Action::Version, {}},
        {{"a.reru", "b.reru"}, Action::Usage, {}},
        {{"-x"}, Action::Usage, {}},
        {{"--open", "a.reru"}, Action::Usage, {}},
        {{""}, Action::Usage, {}},
        {{"-"}, Action::Usage, {}},
        {{"a.reru", "--", "b.reru"}, Action::Usage, {}},
        // A name in Windows-1250, as a folder of old stations holds it: the bytes as given.
        {{"/st/P\370erov \232ance.reru"}, Action::Run, "/st/P\370erov \232ance.reru"},
    };
    for (const auto& c : cases) {
        const EditorCommandLine command = ParseEditorCommandLine(c.args);
        std::string what;
        for (const std::string& arg : c.args)
            what += arg + " ";
        EXPECT_EQ(command.action, c.action) << what;
        EXPECT_EQ(command.file, c.file) << what;
        EXPECT_EQ(command.problem.isEmpty(), c.action != Action::Usage) << what;
    }
}

TEST(EditorCommandLineTest, AnswersGoToTheirStreamWithTheirExitCode) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* out;
        const char* err;
    } cases[] = {
        {{"--version"}, 0, "vedivez (VediVEZ) " VEDIVEZ_VERSION "\n", ""},
        {{"-x"}, 2, "", "vedivez: unknown option '-x'\nUsage: vedivez [FILE]\n"},
        {{"a", "b"}, 2, "", "vedivez: one station file at most, not 2\nUsage: vedivez [FILE]\n"},
        {{"station.reru"}, -1, "", ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(AnswerEditorCommandLine(ParseEditorCommandLine(c.args), out, err), c.exitCode);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(err.str().rfind(c.err, 0), 0u) << err.str();
    }
}

// The built editor, run to its end.
struct EditorRun {
    int exitCode;
    std::string out, err;
};
EditorRun RunEditor(const QStringList& args, bool withDisplay) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (withDisplay)
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    else
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VEDIVEZ_EDITOR_EXE), args);
    if (!p.waitForFinished(30000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "the editor did not end: " << args.join(' ').toStdString();
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardOutput().toStdString(), p.readAllStandardError().toStdString()};
}

TEST(EditorProgramTest, HelpAndVersionNeedNoDisplay) {
    const EditorRun help = RunEditor({"--help"}, false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("Usage: vedivez [FILE]\n", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    const EditorRun version = RunEditor({"--version"}, false);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "vedivez (VediVEZ) " VEDIVEZ_VERSION "\n");
}

TEST(EditorProgramTest, WrongUseExitsWithTwoBeforeAnyWindow) {
    const struct {
        QStringList args;
        bool withDisplay;
    } cases[] = {
        {{"a.reru", "b.reru"}, false},
        {{"a.reru", "b.reru"}, true},
        {{"--frobnicate"}, true},
        // Qt takes its own options first: what is left is wrong.
        {{"-platform", "offscreen", "a.reru", "b.reru"}, true},
    };
    for (const auto& [args, withDisplay] : cases) {
        const EditorRun r = RunEditor(args, withDisplay);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Usage: vedivez [FILE]"), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find("-platform"), std::string::npos) << r.err;
    }
}

class StartFileTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        startFolder = QDir::currentPath();
    }
    void TearDown() override {
        QDir::setCurrent(startFolder);
        WindowTest::TearDown();
    }
    void ExpectNewEmptyPanel() const {
        EXPECT_TRUE(Panel().Elements().empty());
        EXPECT_EQ(window->StatusText(0), NoFileText());
        EXPECT_EQ(window->StatusText(1), StateNew());
        EXPECT_EQ(window->windowTitle(),
                  QString::fromUtf8("VediVEZ v" VEDIVEZ_VERSION " - Nová stanice"));
        EXPECT_EQ(Panel().PanelCols, 150);
        EXPECT_EQ(Panel().PanelRows, 50);
    }

    QTemporaryDir dir;
    QString startFolder;
};

TEST_F(StartFileTest, OpensTheFileAsOpenDoesWithItsFullPath) {
    WriteBytes(dir.filePath("stanice.reru"),
               "SET_Vyska;12\r\nSET_Sirka;20\r\n"
               "PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
               "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n");
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    OpenStartFile(*window, "stanice.reru");
    const QString full = QDir(dir.path()).absoluteFilePath(QStringLiteral("stanice.reru"));
    EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
    EXPECT_EQ(window->StatusText(0), full);
    EXPECT_EQ(window->StatusText(1), StateLoaded());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - stanice.reru"));
    EXPECT_EQ(Panel().PanelCols, 20);
    EXPECT_EQ(Panel().PanelRows, 12);
    EXPECT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(log->openDialogs, 0);
    EXPECT_TRUE(log->questions.isEmpty());
    // The Open dialog starts from it later, and Save writes back to it.
    EXPECT_EQ(window->Files().LastOpenName(), full);
    Trigger("MP_Ulozeni");
    EXPECT_EQ(log->saveDialogs, 0);
    EXPECT_EQ(ReadBytes(full).rfind("SET_Vyska;12\r\nSET_Sirka;20\r\nSET_Stanice;", 0), 0u);
}

TEST_F(StartFileTest, AFileThatDoesNotLoadShowsTheErrorAndLeavesTheNewPanel) {
    WriteBytes(dir.filePath("bad.reru"),
               "SET_Vyska;12\r\nPRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
               "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\nSET_Sirka;x\r\n");
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {dir.filePath("bad.reru"), QStringLiteral("'x' is not a valid integer value.")},
        {dir.filePath("missing.reru"), QStringLiteral("File not found.")},
        {dir.path(), QString()}, // a folder: whatever the reader says, it says it in the box
    };
    for (const auto& c : cases) {
        log->errors.clear();
        OpenStartFile(*window, c.path.toStdString());
        ASSERT_EQ(log->errors.size(), 1) << c.path.toStdString();
        if (!c.message.isEmpty()) {
            EXPECT_EQ(log->errors.first(), c.message);
        }
        ExpectNewEmptyPanel();
    }
}

// `vedivez FILE` with a name that is not UTF-8 (Windows-1250 here): the bytes reach the file
// system as they came, Save writes back to that very file, and the recent files keep it so
// that it opens again from there.
TEST_F(StartFileTest, ANameThatIsNotUtf8IsOpenedAndSavedAsItsBytes) {
    const std::string folder = QDir(dir.path()).canonicalPath().toStdString();
    const std::string name = "P\370erov \232ance.reru";
    const std::string path = folder + "/" + name;
    {
        const std::string station =
            "SET_Vyska;12\r\nSET_Sirka;20\r\n"
            "PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;"
            "Cont_LD=0;Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(station.data(), 1, station.size(), f);
        std::fclose(f);
    }
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder)));
    const EditorCommandLine command = ParseEditorCommandLine({name});
    OpenStartFile(*window, command.file);
    EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
    EXPECT_EQ(window->StatusText(0), PathForDisplay(path));
    EXPECT_EQ(Panel().Elements().size(), 1u);
    EXPECT_EQ(window->Recent().Files(), std::vector<std::string>{path});

    Click(Cell(3, 3));
    Trigger("MP_Ulozeni");
    EXPECT_EQ(log->saveDialogs, 0);
    EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
    std::vector<std::string> names;
    if (DIR* entries = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(entries))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        ::closedir(entries);
    }
    EXPECT_EQ(names, std::vector<std::string>{name}) << "saved under another name";

    Trigger("MP_Novy");
    ASSERT_EQ(Panel().Elements().size(), 0u);
    QMenu* recent = Find<QMenu>("MP_NaposledyOtevrene");
    ASSERT_EQ(recent->actions().size(), 1);
    recent->actions()[0]->trigger();
    EXPECT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();
    EXPECT_EQ(Panel().Elements().size(), 2u) << "the saved station did not open again";
    // QTemporaryDir cannot name the file to remove it.
    ::unlink(path.c_str());
}

// A relative name is taken from the working folder, its "." and ".." steps taken out as
// they read; the bytes of the names stay as they are.
TEST(EditorCommandLineTest, AbsolutePathsAreMadeFromTheWorkingFolder) {
    const std::string here = QDir::currentPath().toStdString();
    const std::pair<std::string, std::string> cases[] = {
        {"s.reru", here + "/s.reru"},
        {"./a/../b/./s\xe8.reru", here + "/b/s\xe8.reru"},
        {"/x//y/./z/../s.reru", "/x/y/s.reru"},
        {"/../s.reru", "/s.reru"},
        {"/", "/"},
    };
    for (const auto& [given, absolute] : cases)
        EXPECT_EQ(AbsolutePath(given), absolute) << given;
}

TEST_F(StartFileTest, EveryWindowShowsTheProgramIcon) {
    const QIcon icon = ProgramIcon();
    ASSERT_FALSE(icon.isNull());
    for (const int size : {16, 32, 48, 256})
        EXPECT_TRUE(icon.availableSizes().contains(QSize(size, size))) << size;
    // Drawn from the picture: the panel grey inside a cell, the blue grid on a cell edge and
    // the black main track (the picture's cells are 60 of its 256 units).
    const QImage picture = icon.pixmap(256).toImage();
    EXPECT_EQ(picture.pixel(38, 38) & 0xFFFFFF, 0x808080u);
    EXPECT_EQ(picture.pixel(68, 38) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(picture.pixel(38, 158) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(qAlpha(picture.pixel(1, 1)), 0);
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(window->windowIcon().pixmap(48).toImage(), icon.pixmap(48).toImage());
}

} // namespace
} // namespace vedivez::test

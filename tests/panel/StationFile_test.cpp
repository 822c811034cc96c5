#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
#include "panel/Version.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vedivez;
using vedivez::test::ReadBytes;
using vedivez::test::WriteBytes;

namespace {

const std::string kHeader = "SET_Stanice;<Nazev stanice>\r\n"
                            "SET_Autor;<Nazev stanice>\r\n"
                            "SET_Verze;<Nazev stanice>\r\n"
                            "SET_Popis;<Nazev stanice>\r\n";

const std::string kOneTrack =
    "SET_Vyska;50\r\nSET_Sirka;100\r\n" + kHeader +
    "PRUSVITKA;X=3;Y=5;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
    "Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n";

std::string Element(const std::string& x, const std::string& y, const std::string& name,
                    const std::string& flag = "0") {
    std::string line = "PRUSVITKA;X=" + x + ";Y=" + y + ";NAME=" + name;
    for (const char* k : {"LH", "LS", "LD", "SH", "SD", "PH", "PS", "PD"})
        line += std::string(";Cont_") + k + "=" + flag;
    return line;
}

// Counts a document's size notifications.
struct SizeChanges {
    explicit SizeChanges(Document& document) {
        QObject::connect(&document, &Document::sizeChanged, &receiver, [this] { ++count; });
    }
    int count = 0;
    QObject receiver;
};

class StationFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    HeadlessPanel h;
    SizeChanges sizeChanges{h.document};
    QString Path(const QString& name) const { return dir.filePath(name); }

    // Puts the window into a recognisable state that a failed operation must keep.
    void MarkWindow() { h.document.Bind("/old/station.reru", Document::State::Modified); }
    void ExpectWindowMarked() const {
        EXPECT_EQ(h.document.ShownPath(), QStringLiteral("/old/station.reru"));
        EXPECT_EQ(h.document.StateWord(), StateModified());
        EXPECT_EQ(h.document.Caption(), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - station.reru"));
    }
    void Load(const std::string& bytes) {
        WriteBytes(Path("in.reru"), bytes);
        h.document.Load(Path("in.reru"));
    }
};

} // namespace

TEST_F(StationFileTest, OneTrackPanelSavesExactly) {
    h.document.SetSize(100, h.document.Rows());
    h.panel.PlaceElementAt(3 * 47, 5 * 47, false);
    h.document.Save(Path("Brno.reru"));
    EXPECT_EQ(ReadBytes(Path("Brno.reru")), kOneTrack);
    EXPECT_EQ(h.document.ShownPath(), Path("Brno.reru"));
    EXPECT_EQ(h.document.Caption(), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - Brno.reru"));
    EXPECT_EQ(h.document.StateWord(), StateSaved());
}

TEST_F(StationFileTest, EmptyPanelSavesAsSixLinesWithWindowSizeValues) {
    h.document.SetSize(34, 12);
    h.document.Save(Path("e.reru"));
    EXPECT_EQ(ReadBytes(Path("e.reru")), "SET_Vyska;12\r\nSET_Sirka;34\r\n" + kHeader);
}

TEST_F(StationFileTest, SaveLoadRoundTripKeepsOrderFieldsAndSize) {
    h.document.SetSize(321, 77);
    const std::vector<TPolePanelu> elements = {
        {-2, 700, true, false, true, false, true, false, true, false, "FOREIGN_NAME"},
        {1, 1, false, true, false, true, false, true, false, true, "KOL_sLSPS"},
        {1, 1, true, true, true, true, true, true, true, true, "VYH_sLHPD_sSHPD"},
        {INT32_MIN, INT32_MAX, false, false, false, false, false, false, false, false, ""},
        {0, 0, false, false, false, false, false, false, false, false, "Stanice \x9E\xE8"},
    };
    h.panel.ReplaceElements(elements);
    h.document.Save(Path("r.reru"));

    HeadlessPanel other;
    other.document.Load(Path("r.reru"));
    EXPECT_EQ(other.panel.Elements(), elements);
    EXPECT_EQ(other.document.Rows(), 77);
    EXPECT_EQ(other.document.Cols(), 321);
    EXPECT_EQ(other.panel.PanelRows, 77);
    EXPECT_EQ(other.panel.PanelCols, 321);
    EXPECT_EQ(other.panel.FindElementAt(1, 1), 1u);
    EXPECT_EQ(other.document.StateWord(), StateLoaded());
    EXPECT_EQ(other.document.ShownPath(), Path("r.reru"));
    EXPECT_EQ(other.document.Caption(), QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - r.reru"));
}

TEST_F(StationFileTest, SavingReplacesWholeContent) {
    WriteBytes(Path("x.reru"), std::string(5000, 'Z'));
    h.document.Save(Path("x.reru"));
    EXPECT_EQ(ReadBytes(Path("x.reru")), "SET_Vyska;50\r\nSET_Sirka;150\r\n" + kHeader);
}

TEST_F(StationFileTest, LoadingReplacesPreviousPanel) {
    h.panel.PlaceElementAt(0, 0, false);
    Load(kOneTrack);
    ASSERT_EQ(h.panel.Elements().size(), 1u);
    EXPECT_EQ(h.panel.Elements()[0].X, 3);
    EXPECT_FALSE(h.panel.FindElementAt(0, 0));
}

TEST_F(StationFileTest, EmptyFileLoadsAsEmptyPanelKeepingSize) {
    h.document.SetSize(77, h.document.Rows());
    h.panel.PlaceElementAt(0, 0, false);
    const int changes = sizeChanges.count;
    Load("");
    EXPECT_TRUE(h.panel.Elements().empty());
    EXPECT_EQ(h.document.Cols(), 77);
    EXPECT_EQ(sizeChanges.count, changes);
    EXPECT_EQ(h.document.StateWord(), StateLoaded());
}

TEST_F(StationFileTest, SizeLinesClampAndOnlyChangesNotify) {
    const struct {
        std::string file;
        int height, width, changes;
    } cases[] = {
        {"SET_Vyska;20\r\nSET_Sirka;30\r\n", 20, 30, 2},
        {"SET_Vyska;5\r\nSET_Sirka;9999\r\n", 10, 4000, 2},
        {"SET_Vyska;50\r\nSET_Sirka;150\r\n", 50, 150, 0},                // equal values: no resize
        {"SET_Vyska;20\r\nSET_Vyska;30\r\nSET_Vyska;40\r\n", 40, 150, 3}, // each one applies
        {"SET_Vyska;50;x\r\n", 50, 150, 0},                               // extra fields ignored
        {"SET_Sirka;$20\r\n", 50, 32, 1},
    };
    for (const auto& c : cases) {
        HeadlessPanel fresh;
        const SizeChanges freshChanges(fresh.document);
        WriteBytes(Path("s.reru"), c.file);
        fresh.document.Load(Path("s.reru"));
        EXPECT_EQ(fresh.document.Rows(), c.height) << c.file;
        EXPECT_EQ(fresh.document.Cols(), c.width) << c.file;
        EXPECT_EQ(fresh.panel.PanelRows, c.height) << c.file;
        EXPECT_EQ(fresh.panel.PanelCols, c.width) << c.file;
        EXPECT_EQ(freshChanges.count, c.changes) << c.file;
        EXPECT_TRUE(fresh.panel.Elements().empty());
    }
}

// A big file of size lines and nothing else: the empty panel keeps no room for elements
// sized by the file, and repeats of a size line are not kept either; the sizes apply as
// they always did.
TEST_F(StationFileTest, AFileWithoutElementsKeepsNoRoomSizedByTheFile) {
    std::string bytes;
    for (int i = 0; i < 700'000; ++i)
        bytes += "SET_Vyska;50\r\n";
    bytes += "SET_Sirka;30\r\nSET_Vyska;20\r\n";
    WriteBytes(Path("sizes.reru"), bytes);
    StationContent content = ReadStationFile(Path("sizes.reru").toStdString());
    EXPECT_EQ(content.elements.capacity(), 0u);
    EXPECT_EQ(content.sizes.size(), 3u);
    h.document.Apply(std::move(content));
    EXPECT_EQ(h.document.Rows(), 20);
    EXPECT_EQ(h.document.Cols(), 30);
    EXPECT_EQ(sizeChanges.count, 2) << "50 is the height already";
}

TEST_F(StationFileTest, OtherLinesAreSkipped) {
    Load("\r\n" + kHeader +
         "set_vyska;3\r\nSET_VYSKA;3\r\nprusvitka;X=1\r\nNAZDAR;1;2\r\n"
         " SET_Vyska;3\r\n;SET_Vyska\r\n\r\n");
    EXPECT_TRUE(h.panel.Elements().empty());
    EXPECT_EQ(h.document.Rows(), 50);
    EXPECT_EQ(h.document.StateWord(), StateLoaded());
}

TEST_F(StationFileTest, ElementLinesAreReadByPositionNotKey) {
    Load(Element("-2", "700", "NOT_IN_CATALOGUE") + "\r\n" +
         "PRUSVITKA;A=7;BB9;NAMExKOL;Cont_XX=1;xxxxxxxxtrue;12345678TRUE;Cont_SH=0;Cont_SD=0;"
         "Cont_PH=0;Cont_PS=0;Cont_PD=0;extra;fields\r\n" +
         Element(" 5", "0", "", "1") + "\r\n");
    ASSERT_EQ(h.panel.Elements().size(), 3u);
    const TPolePanelu& a = h.panel.Elements()[0];
    EXPECT_EQ(a.X, -2);
    EXPECT_EQ(a.Y, 700);
    EXPECT_EQ(a.NAME, "NOT_IN_CATALOGUE");
    const TPolePanelu& b = h.panel.Elements()[1];
    EXPECT_EQ(b.X, 7);
    EXPECT_EQ(b.Y, 9);
    EXPECT_EQ(b.NAME, "KOL");
    EXPECT_TRUE(b.Cont_LH);
    EXPECT_TRUE(b.Cont_LS);
    EXPECT_TRUE(b.Cont_LD);
    EXPECT_FALSE(b.Cont_SH);
    const TPolePanelu& c = h.panel.Elements()[2];
    EXPECT_EQ(c.X, 5);
    EXPECT_EQ(c.NAME, "");
    EXPECT_TRUE(c.Cont_LH && c.Cont_LS && c.Cont_LD && c.Cont_SH && c.Cont_SD && c.Cont_PH &&
                c.Cont_PS && c.Cont_PD);
}

TEST_F(StationFileTest, FlagValuesAsAccepted) {
    const struct {
        const char* value;
        bool expected;
    } cases[] = {{"1", true},  {"true", true},   {"TRUE", true}, {"-1", true},
                 {"0", false}, {"False", false}, {"0.0", false}};
    for (const auto& c : cases) {
        HeadlessPanel fresh;
        WriteBytes(Path("f.reru"), Element("1", "1", "KOL_sLSPS", c.value) + "\r\n");
        fresh.document.Load(Path("f.reru"));
        ASSERT_EQ(fresh.panel.Elements().size(), 1u) << c.value;
        EXPECT_EQ(fresh.panel.Elements()[0].Cont_PD, c.expected) << c.value;
    }
}

TEST_F(StationFileTest, LineFramingVariants) {
    const std::string e1 = Element("1", "2", "A");
    const std::string e2 = Element("3", "4", "B");
    const struct {
        const char* what;
        std::string bytes;
        size_t count;
    } cases[] = {
        {"CR LF", e1 + "\r\n" + e2 + "\r\n", 2},
        {"LF only", e1 + "\n" + e2 + "\n", 2},
        {"no end on the last line", e1 + "\r\n" + e2, 2},
        {"lone CR is dropped, lines joined", e1 + "\r" + "\r\n" + e2, 2},
        {"Ctrl+Z ends the file", e1 + "\r\n\x1a" + e2 + "\r\n", 1},
        {"Ctrl+Z ends the current line", e1 + "\x1a" + "garbage;;;\r\n", 1},
        {"NUL ends the line's text", e1 + std::string(1, '\0') + "garbage\r\n" + e2, 2},
        {"blank lines between", "\r\n\n" + e1 + "\r\n\r\n" + e2 + "\r\n\r\n", 2},
    };
    for (const auto& c : cases) {
        HeadlessPanel fresh;
        WriteBytes(Path("l.reru"), c.bytes);
        fresh.document.Load(Path("l.reru"));
        ASSERT_EQ(fresh.panel.Elements().size(), c.count) << c.what;
        EXPECT_EQ(fresh.panel.Elements()[0].X, 1) << c.what;
        EXPECT_EQ(fresh.panel.Elements()[0].NAME, "A") << c.what;
        EXPECT_TRUE(fresh.panel.Elements()[0].Cont_PD == false) << c.what;
    }
}

TEST_F(StationFileTest, LoneCrInsideALineIsRemoved) {
    Load("PRUSVITKA;X=1\r2;Y=3;NAME=A\rB;Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;Cont_SD=0;"
         "Cont_PH=0;Cont_PS=0;Cont_PD=\r0\r\n");
    ASSERT_EQ(h.panel.Elements().size(), 1u);
    EXPECT_EQ(h.panel.Elements()[0].X, 12);
    EXPECT_EQ(h.panel.Elements()[0].NAME, "AB");
}

TEST_F(StationFileTest, VeryLongLineLoads) {
    const std::string name(3'000'000, 'N');
    Load(Element("1", "1", name) + "\r\n");
    ASSERT_EQ(h.panel.Elements().size(), 1u);
    EXPECT_EQ(h.panel.Elements()[0].NAME, name);
}

TEST_F(StationFileTest, LinesStraddlingReadChunksLoad) {
    // Many elements make the file larger than one read chunk.
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += Element(std::to_string(i), std::to_string(i % 7), "KOL_sLSPS") + "\r\n";
    ASSERT_GT(bytes.size(), size_t(1) << 21);
    Load(bytes);
    ASSERT_EQ(h.panel.Elements().size(), 20000u);
    for (int i = 0; i < 20000; i += 997) {
        EXPECT_EQ(h.panel.Elements()[size_t(i)].X, i);
        EXPECT_EQ(h.panel.Elements()[size_t(i)].Y, i % 7);
    }
}

TEST_F(StationFileTest, ConversionFailuresLeaveEverythingAsBefore) {
    const struct {
        std::string bytes;
        std::string message;
        int line;
    } cases[] = {
        {"SET_Vyska;abc\r\n", "'abc' is not a valid integer value", 1},
        {"SET_Vyska;20\r\nSET_Sirka;\r\n", "'' is not a valid integer value", 2},
        {"SET_Sirka\r\n", "'' is not a valid integer value", 1},
        {kOneTrack + "PRUSVITKA;X=3\r\n", "'' is not a valid integer value", 8},
        {Element("1", "1", "A") + "\r\n" + Element("5 ", "1", "A") + "\r\n",
         "'5 ' is not a valid integer value", 2},
        {Element("1", "1", "A", "yes") + "\r\n", "'yes' is not a valid boolean value", 1},
        {"SET_Vyska;20\n\n" + Element("1", "x", "A"), "'x' is not a valid integer value", 3},
        {"PRUSVITKA;X=1;Y=2;NAME=A;Cont_LH=0\r\n", "'' is not a valid boolean value", 1},
    };
    for (const auto& c : cases) {
        HeadlessPanel fresh;
        const SizeChanges freshChanges(fresh.document);
        fresh.panel.PlaceElementAt(0, 0, false);
        fresh.document.SetSize(fresh.document.Cols(), 33);
        fresh.document.Bind("/old/station.reru", Document::State::Modified);
        const QString caption = fresh.document.Caption();
        const auto before = fresh.panel.Elements();
        const int changes = freshChanges.count;
        WriteBytes(Path("bad.reru"), c.bytes);
        try {
            fresh.document.Load(Path("bad.reru"));
            ADD_FAILURE() << "loaded: " << c.bytes;
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), c.message);
            EXPECT_EQ(e.Line(), c.line) << c.bytes;
        }
        EXPECT_EQ(fresh.panel.Elements(), before);
        EXPECT_EQ(fresh.document.Rows(), 33);
        EXPECT_EQ(freshChanges.count, changes);
        EXPECT_EQ(fresh.panel.PanelRows, 33);
        EXPECT_EQ(fresh.document.ShownPath(), QStringLiteral("/old/station.reru"));
        EXPECT_EQ(fresh.document.StateWord(), StateModified());
        EXPECT_EQ(fresh.document.Caption(), caption);
    }
}

TEST_F(StationFileTest, OpenFailuresLeaveEverythingAsBefore) {
    const struct {
        QString path;
        const char* message;
    } cases[] = {
        {dir.filePath("missing.reru"), "File not found"},
        {dir.filePath("no-such-folder/x.reru"), "Invalid filename"},
        {QString(), "Invalid filename"},
        {dir.path(), "File access denied"},
    };
    h.panel.PlaceElementAt(0, 0, false);
    MarkWindow();
    for (const auto& c : cases) {
        try {
            h.document.Load(c.path);
            ADD_FAILURE() << c.path.toStdString();
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.path.toStdString();
            EXPECT_EQ(DisplayMessage(e.what()), std::string(c.message) + ".");
        }
        EXPECT_EQ(h.panel.Elements().size(), 1u);
        ExpectWindowMarked();
    }
}

TEST_F(StationFileTest, SaveFailuresLeaveFileAndWindowAsBefore) {
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    const struct {
        QString path;
        const char* message;
    } cases[] = {
        {dir.filePath("no-such-folder/x.reru"), "Invalid filename"},
        {QString(), "Invalid filename"},
        {dir.filePath("folder"), "File access denied"},
        {dir.filePath(QString(300, QLatin1Char('n'))), "Invalid filename"},
    };
    MarkWindow();
    for (const auto& c : cases) {
        try {
            h.document.Save(c.path);
            ADD_FAILURE() << c.path.toStdString();
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.path.toStdString();
        }
        ExpectWindowMarked();
    }
    // Nothing but the folder is left behind: no temporary files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("folder")});
}

TEST_F(StationFileTest, SaveThroughSymlinkReplacesTargetAndKeepsLinkAndPermissions) {
    WriteBytes(Path("real.reru"), "old");
    ASSERT_TRUE(QFile::setPermissions(Path("real.reru"), QFileDevice::ReadOwner |
                                                             QFileDevice::WriteOwner |
                                                             QFileDevice::ReadGroup));
    ASSERT_TRUE(QFile::link(Path("real.reru"), Path("link.reru")));
    h.document.Save(Path("link.reru"));
    EXPECT_EQ(QFileInfo(Path("link.reru")).symLinkTarget(), Path("real.reru"));
    EXPECT_EQ(ReadBytes(Path("real.reru")), "SET_Vyska;50\r\nSET_Sirka;150\r\n" + kHeader);
    EXPECT_EQ(QFile::permissions(Path("real.reru")) & 0x7777,
              (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
               QFileDevice::WriteUser | QFileDevice::ReadGroup) &
                  0x7777);
    EXPECT_EQ(h.document.ShownPath(), Path("link.reru"));
}

TEST_F(StationFileTest, SaveThroughRelativeAndDanglingSymlinks) {
    QDir(dir.path()).mkdir(QStringLiteral("sub"));
    ASSERT_TRUE(QFile::link(QStringLiteral("sub/target.reru"), Path("rel.reru")));
    h.document.Save(Path("rel.reru"));
    EXPECT_TRUE(QFileInfo(Path("rel.reru")).isSymLink());
    EXPECT_EQ(ReadBytes(Path("sub/target.reru")).substr(0, 12), "SET_Vyska;50");
}

namespace {

constexpr int kCouldNotDropRoot = 100;

// Runs `body` in a child process that has given up root for the unprivileged user nobody
// and returns the child's exit code (body's result), kCouldNotDropRoot when the child could
// not change its user, or -1 when there is no child or it did not exit normally.
int RunAsNobody(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        constexpr gid_t kNobodyGroup = 65534;
        constexpr uid_t kNobody = 65534;
        int code = kCouldNotDropRoot;
        if (::setgroups(0, nullptr) == 0 && ::setgid(kNobodyGroup) == 0 && ::setuid(kNobody) == 0 &&
            ::geteuid() == kNobody) {
            try {
                code = body();
            } catch (...) {
                code = kCouldNotDropRoot + 1;
            }
        }
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// Renaming over a file would replace it even when it is write-protected, so the save must
// refuse by itself. Root may write into any file, so as root the save is run by a child
// process that has become an ordinary user.
TEST_F(StationFileTest, WriteProtectedTargetIsRefused) {
    WriteBytes(Path("ro.reru"), "keep me");
    ASSERT_TRUE(QFile::setPermissions(
        Path("ro.reru"), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    MarkWindow();
    // 0: refused with the access message and the window untouched; 1: saved; 2: another
    // error; 3: refused, but the window changed.
    auto attempt = [this]() -> int {
        try {
            h.document.Save(Path("ro.reru"));
            return 1;
        } catch (const FileError& e) {
            if (std::string(e.what()) != "File access denied")
                return 2;
        }
        const bool kept = h.document.ShownPath() == QStringLiteral("/old/station.reru") &&
                          h.document.StateWord() == StateModified() &&
                          h.document.Caption() == QStringLiteral("VediVEZ v" VEDIVEZ_VERSION " - station.reru");
        return kept ? 0 : 3;
    };
    if (::geteuid() != 0) {
        EXPECT_EQ(attempt(), 0);
    } else {
        // The folder is the user's own temporary one; nobody must be able to work in it.
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
        const int code = RunAsNobody(attempt);
        if (code == kCouldNotDropRoot)
            GTEST_SKIP() << "could not become the user nobody in a child process";
        EXPECT_EQ(code, 0) << "0 refused, 1 saved, 2 other error, 3 window changed";
    }
    EXPECT_EQ(ReadBytes(Path("ro.reru")), "keep me");
    ExpectWindowMarked();
}

// Loading builds the cell index alongside the parse; with many duplicate cells spread over
// several read chunks it must still answer "first in list order" everywhere.
TEST_F(StationFileTest, LoadedIndexFindsFirstOfDuplicatesAcrossChunks) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i)
        bytes +=
            Element(std::to_string(i % 500), std::to_string(i % 7), "N" + std::to_string(i)) + "\n";
    Load(bytes);
    const auto& elements = h.panel.Elements();
    ASSERT_EQ(elements.size(), 40000u);
    for (int col = -1; col <= 500; col += 3)
        for (int row = -1; row <= 7; ++row) {
            std::optional<size_t> first;
            for (size_t i = 0; i < elements.size() && !first; ++i)
                if (elements[i].X == col && elements[i].Y == row)
                    first = i;
            ASSERT_EQ(h.panel.FindElementAt(col, row), first) << col << "," << row;
        }
    // Editing after the load keeps using the same index: removing the first element of cell
    // (0, 0) moves the last element into slot 0 and reveals the next copy, element 3500.
    h.panel.PlaceElementAt(0, 0, true);
    EXPECT_EQ(elements[0].NAME, "N39999");
    EXPECT_EQ(h.panel.FindElementAt(0, 0), 3500u);
    EXPECT_EQ(h.panel.FindElementAt(499, 1), 0u);
}

// Files saved in other encodings are read by the same rules as any file: a UTF-8 byte-order
// mark makes the first line a kind of its own, and UTF-16 puts a NUL after every letter, so
// no line has a kind the reader knows. This records what such files load as today.
TEST_F(StationFileTest, ByteOrderMarkAndUtf16AreReadByTheUsualRules) {
    const std::string text =
        "SET_Vyska;12\r\nSET_Sirka;20\r\n" + Element("1", "2", "KOL_sLSPS") + "\r\n";
    Load("\xEF\xBB\xBF" + text);
    EXPECT_EQ(h.document.Rows(), 50) << "the first line is ignored";
    EXPECT_EQ(h.document.Cols(), 20);
    EXPECT_EQ(h.panel.Elements().size(), 1u);

    for (const bool bigEndian : {false, true}) {
        std::string utf16 = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (char c : text)
            utf16 += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
        HeadlessPanel fresh;
        WriteBytes(Path("utf16.reru"), utf16);
        fresh.document.Load(Path("utf16.reru"));
        EXPECT_EQ(fresh.document.Rows(), 50) << bigEndian;
        EXPECT_EQ(fresh.document.Cols(), 150) << bigEndian;
        EXPECT_TRUE(fresh.panel.Elements().empty()) << bigEndian;
    }
}

// "Soubor › Naposledy otevřené": the stations last opened or saved, remembered in the
// settings (a folder of the test run, see AppTestMain.cpp).

#include "AppTestSupport.h"

#include "app/FileCommands.h"
#include "app/RecentFiles.h"
#include "panel/DocumentTexts.h"
#include "panel/FileAccess.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace vedivez::test {
namespace {

class RecentFilesTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QMenu* Submenu() const { return Find<QMenu>("MP_NaposledyOtevrene"); }
    std::vector<std::string> Remembered() const { return window->Recent().Files(); }
    QString Station(const QString& name) const {
        const QString path = dir.filePath(name);
        WriteBytes(path, "SET_Vyska;12\r\nSET_Sirka;20\r\n"
                         "PRUSVITKA;X=1;Y=1;NAME=KOL_sLSPS;Cont_LH=0;Cont_LS=-1;Cont_LD=0;"
                         "Cont_SH=0;Cont_SD=0;Cont_PH=0;Cont_PS=-1;Cont_PD=0\r\n");
        return path;
    }
    void OpenThroughTheDialog(const QString& path) {
        log->fileAnswers.push_back(path);
        Trigger("MP_Otevreni");
    }
    static std::string Bytes(const QString& path) { return NativePath(path); }

    QTemporaryDir dir;
};

// Most recent first, each file once, at most eight; opened and saved files alike. The list
// shows each path as it is, an "&" in it included, and a placeholder when it is empty.
TEST_F(RecentFilesTest, OpenedAndSavedFilesComeFirstOnceEachUpToEight) {
    // The submenu stands after "Uložit jako ..." and before a separator; print and export
    // follow it, and "Konec" stays last, below its separator.
    QMenu* file = TopMenu("Soubor");
    ASSERT_NE(file, nullptr);
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(Submenu()->menuAction());
    ASSERT_GT(at, 0);
    EXPECT_EQ(items[at - 1]->objectName(), QStringLiteral("MP_UlozitJako"));
    ASSERT_GT(items.size(), at + 2);
    EXPECT_TRUE(items[at + 1]->isSeparator());
    EXPECT_EQ(items.back()->objectName(), QStringLiteral("Konec1"));
    EXPECT_TRUE(items[items.size() - 2]->isSeparator());
    EXPECT_EQ(Submenu()->title(), QString::fromUtf8("Naposledy otevřené"));

    ASSERT_EQ(Submenu()->actions().size(), 1);
    EXPECT_FALSE(Submenu()->actions()[0]->isEnabled()) << "the placeholder of an empty list";

    std::vector<QString> opened;
    for (int i = 0; i < 10; ++i) {
        opened.push_back(Station(QStringLiteral("s%1.reru").arg(i)));
        OpenThroughTheDialog(opened.back());
    }
    OpenThroughTheDialog(opened[3]);
    const QString saved = dir.filePath(QStringLiteral("A & B.reru"));
    log->fileAnswers.push_back(saved);
    Trigger("MP_UlozitJako");
    ASSERT_TRUE(log->errors.isEmpty()) << log->errors.join('\n').toStdString();

    const std::vector<std::string> expected = {Bytes(saved),     Bytes(opened[3]), Bytes(opened[9]),
                                               Bytes(opened[8]), Bytes(opened[7]), Bytes(opened[6]),
                                               Bytes(opened[5]), Bytes(opened[4])};
    EXPECT_EQ(Remembered(), expected);
    const QList<QAction*> entries = Submenu()->actions();
    ASSERT_EQ(entries.size(), 8);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        EXPECT_TRUE(entries[i]->isEnabled()) << i;
        // The text as the menu draws it, without the item's key marks.
        EXPECT_TRUE(entries[i]->iconText().endsWith(PathForDisplay(expected[size_t(i)])))
            << entries[i]->iconText().toStdString();
    }
}

// Choosing an item opens the file as Open does, asking first about unsaved changes; a file
// that is gone is dropped from the list with a message, and nothing else changes.
TEST_F(RecentFilesTest, ChoosingAnItemOpensItOrDropsAMissingFile) {
    const QString first = Station(QStringLiteral("prvni.reru"));
    const QString second = Station(QStringLiteral("druha.reru"));
    OpenThroughTheDialog(first);
    OpenThroughTheDialog(second);
    Click(Cell(6, 6));
    const size_t edited = Panel().Elements().size();

    log->confirmAnswers = {false};
    Submenu()->actions()[1]->trigger();
    EXPECT_EQ(log->questions.size(), 1);
    EXPECT_EQ(window->StatusText(0), second);
    EXPECT_EQ(Panel().Elements().size(), edited);

    log->confirmAnswers = {true};
    Submenu()->actions()[1]->trigger();
    EXPECT_EQ(log->questions.size(), 2);
    EXPECT_EQ(window->StatusText(0), first);
    EXPECT_EQ(window->StatusText(1), StateLoaded());
    EXPECT_EQ(log->openDialogs, 2) << "no dialog for an item of the list";
    EXPECT_EQ(Remembered(), (std::vector<std::string>{Bytes(first), Bytes(second)}));

    ASSERT_TRUE(QFile::remove(second));
    Click(Cell(7, 7));
    const size_t before = Panel().Elements().size();
    Submenu()->actions()[1]->trigger();
    EXPECT_EQ(log->questions.size(), 2) << "nothing to ask about for a file that is gone";
    ASSERT_EQ(log->messages.size(), 1);
    EXPECT_TRUE(log->messages[0].contains(second)) << log->messages[0].toStdString();
    EXPECT_TRUE(log->errors.isEmpty());
    EXPECT_EQ(Remembered(), std::vector<std::string>{Bytes(first)});
    EXPECT_EQ(Submenu()->actions().size(), 1);
    EXPECT_EQ(window->StatusText(0), first);
    EXPECT_EQ(Panel().Elements().size(), before);
}

// Paths are remembered as bytes: a name that is not UTF-8 and names full of the settings
// file's own punctuation come back exactly, read from the file by another run.
TEST_F(RecentFilesTest, PathsComeBackByteForByteFromTheSettingsFile) {
    const std::vector<std::string> paths = {
        "/stanice/P\370erov \232ance.reru", // Windows-1250
        "/stanice/Brno hl.n.reru",          "/a,b;c=d/\"q\" \\ 'e' #f.reru",
        "/n\nl\r\t/@ByteArray(x).reru",     "/x/\x01\x7f\xc3\xff%41%.reru",
        "/[General]/k\xc3\xa9=v.reru",
    };
    for (const std::string& path : paths)
        window->Recent().Add(path);
    const std::vector<std::string> expected(paths.rbegin(), paths.rend());
    ASSERT_EQ(Remembered(), expected);

    // Another run reads the file afresh: a copy of it under another settings folder.
    const QString written =
        QSettings(QStringLiteral("VediVEZ"), QStringLiteral("VediVEZ")).fileName();
    const QString base = QFileInfo(written).dir().absolutePath().section(QLatin1Char('/'), 0, -2);
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkpath(QStringLiteral("VediVEZ")));
    ASSERT_TRUE(QFile::copy(written, other.filePath(QStringLiteral("VediVEZ/VediVEZ.conf"))));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, other.path());
    QMenu menu;
    const std::vector<std::string> read = RecentFiles(&menu).Files();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, base);
    EXPECT_EQ(read, expected);
    EXPECT_EQ(menu.actions().size(), qsizetype(expected.size()));
}

} // namespace
} // namespace vedivez::test

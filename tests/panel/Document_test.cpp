// The document: which operations make it modified, what they bind it to, and what they tell.

#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

namespace vedivez::test {
namespace {

using State = Document::State;

// The document's notifications, counted.
struct Told {
    explicit Told(Document& document) {
        QObject::connect(&document, &Document::stateChanged, &receiver, [this] { ++state; });
        QObject::connect(&document, &Document::sizeChanged, &receiver, [this] { ++size; });
        QObject::connect(&document, &Document::changed, &receiver, [this] { ++changed; });
    }
    int state = 0, size = 0, changed = 0;
    QObject receiver;
};

TEST(DocumentTest, EachOperationSetsTheStateTheFileAndTellsWhatChanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string before = dir.filePath(QStringLiteral("before.reru")).toStdString();
    const std::string other = dir.filePath(QStringLiteral("other.reru")).toStdString();
    WriteBytes(QString::fromStdString(other), "SET_Sirka;40\r\nPRUSVITKA;X=1;Y=1;NAME=A;"
                                              "Cont_LH=0;Cont_LS=0;Cont_LD=0;Cont_SH=0;"
                                              "Cont_SD=0;Cont_PH=0;Cont_PS=0;Cont_PD=0\r\n");
    const std::string missing = dir.filePath(QStringLiteral("none.reru")).toStdString();
    const std::string unwritable = dir.filePath(QStringLiteral("no/dir.reru")).toStdString();
    const int32_t c = 47; // pixels a cell

    const struct Case {
        const char* what;
        State start;
        std::function<void(Document&)> operation;
        State state;             // afterwards
        const std::string* file; // bound afterwards
        bool content;            // the elements or the size changed
        int sizeTold;            // sizeChanged notifications
        bool fails = false;
    } cases[] = {
        {"place", State::Saved, [&](Document& d) { d.PlaceElementAt(5 * c, 5 * c, false); },
         State::Modified, &before, true, 0},
        {"replace", State::Loaded, [&](Document& d) { d.PlaceElementAt(2 * c, 3 * c, false); },
         State::Modified, &before, true, 0},
        {"remove", State::Saved, [&](Document& d) { d.PlaceElementAt(2 * c, 3 * c, true); },
         State::Modified, &before, true, 0},
        {"remove on an empty cell", State::Saved,
         [&](Document& d) { d.PlaceElementAt(7 * c, 7 * c, true); }, State::Modified, &before, true,
         0},
        {"fill", State::Loaded, [](Document& d) { d.FillRow(9, 9, 3); }, State::Modified, &before,
         true, 0},
        {"fill nothing", State::Saved, [](Document& d) { d.FillRow(9, 9, 0); }, State::Saved,
         &before, false, 0},
        {"shift", State::Saved, [](Document& d) { d.ShiftAll(1, 0); }, State::Modified, &before,
         true, 0},
        {"shift refused", State::Saved, [](Document& d) { d.ShiftAll(-3, 0); }, State::Saved,
         &before, false, 0},
        {"shift by nothing", State::Loaded, [](Document& d) { d.ShiftAll(0, 0); }, State::Loaded,
         &before, false, 0},
        {"resize", State::Saved, [](Document& d) { d.Resize(151, 50); }, State::Modified, &before,
         true, 1},
        {"resize to a clamped size", State::Saved, [](Document& d) { d.Resize(150, 3); },
         State::Modified, &before, true, 1},
        {"resize to the same size", State::Saved, [](Document& d) { d.Resize(150, 50); },
         State::Saved, &before, false, 0},
        {"size set as a file sets it", State::Saved, [](Document& d) { d.SetSize(20, 30); },
         State::Saved, &before, true, 1},
        {"new", State::Modified, [](Document& d) { d.New(); }, State::New, nullptr, true, 1},
        {"load", State::Modified, [&](Document& d) { d.Load(other); }, State::Loaded, &other, true,
         1},
        {"failed load", State::Modified, [&](Document& d) { d.Load(missing); }, State::Modified,
         &before, false, 0, true},
        {"save", State::Modified, [&](Document& d) { d.Save(other); }, State::Saved, &other, false,
         0},
        {"save in place", State::Modified, [&](Document& d) { d.Save(before); }, State::Saved,
         &before, false, 0},
        {"failed save", State::Modified, [&](Document& d) { d.Save(unwritable); }, State::Modified,
         &before, false, 0, true},
    };
    for (const Case& k : cases) {
        HeadlessPanel h;
        h.document.PlaceElementAt(2 * c, 3 * c, false);
        h.document.PlaceElementAt(4 * c, 4 * c, false);
        h.document.Save(before);
        h.document.SetState(k.start);
        const Told told(h.document);
        const uint64_t generation = h.document.Generation();
        const std::vector<TPolePanelu> elements = h.panel.Elements();
        bool failed = false;
        try {
            k.operation(h.document);
        } catch (const FileError&) {
            failed = true;
        }
        EXPECT_EQ(failed, k.fails) << k.what;
        EXPECT_EQ(h.document.CurrentState(), k.state) << k.what;
        EXPECT_EQ(h.document.FilePath(), k.file ? *k.file : std::string()) << k.what;
        EXPECT_EQ(h.document.Modified(), k.state == State::Modified) << k.what;
        EXPECT_EQ(h.document.Generation() != generation, k.content) << k.what;
        EXPECT_EQ(told.changed, k.content ? 1 : 0) << k.what;
        EXPECT_EQ(told.size, k.sizeTold) << k.what;
        const bool rebound = k.state != k.start || (k.file ? *k.file : "") != before;
        EXPECT_EQ(told.state, rebound ? 1 : 0) << k.what;
        if (!k.content) {
            EXPECT_EQ(h.panel.Elements(), elements) << k.what;
        }
    }
}

// Modified means that closing would lose work: "Upraveno" with elements to lose.
TEST(DocumentTest, AnEmptyPanelIsNeverModified) {
    HeadlessPanel h;
    h.document.Resize(200, 60);
    EXPECT_EQ(h.document.StateWord(), StateModified());
    EXPECT_FALSE(h.document.Modified());
    h.document.PlaceElementAt(0, 0, false);
    EXPECT_TRUE(h.document.Modified());
    h.document.PlaceElementAt(0, 0, true);
    EXPECT_FALSE(h.document.Modified());
}

// The file is kept as the file system's bytes; the status bar and the caption show it as
// text, and a new station shows none.
TEST(DocumentTest, KeepsTheFileAsBytesAndShowsItAsText) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    HeadlessPanel h;
    EXPECT_EQ(h.document.ShownPath(), NoFileText());
    EXPECT_EQ(h.document.Caption(), AppTitle() + QString::fromUtf8(" - Nová stanice"));
    const std::string name = dir.path().toStdString() + "/P\xF8"
                                                        "erov.reru"; // Windows-1250
    h.document.Save(name);
    EXPECT_EQ(h.document.FilePath(), name);
    EXPECT_EQ(::access(name.c_str(), F_OK), 0);
    EXPECT_TRUE(h.document.ShownPath().endsWith(QStringLiteral("erov.reru")));
    EXPECT_TRUE(h.document.Caption().endsWith(QStringLiteral("erov.reru")));
    EXPECT_FALSE(h.document.Caption().contains(QLatin1Char('/')));
    h.document.New();
    EXPECT_EQ(h.document.FilePath(), std::string());
    EXPECT_EQ(h.document.ShownPath(), NoFileText());
    EXPECT_EQ(h.document.Rows(), 50);
    EXPECT_EQ(h.document.Cols(), 100);
}

} // namespace
} // namespace vedivez::test

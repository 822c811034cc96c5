// Save failures that really happen in the operating system: a full file system and a
// read-only one, each on a tiny tmpfs mounted for the test. Needs root (CI runs as root);
// elsewhere the tests are skipped with the reason.
#include "panel/AtomicFile.h"
#include "panel/AtomicFileDevice.h"
#include "panel/DocumentTexts.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"
#include "support/MountedTmpfs.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>

using namespace vedivez;
using vedivez::test::MountedTmpfs;
using vedivez::test::ReadBytes;
using vedivez::test::WriteBytes;

namespace {

void FillPanel(HeadlessPanel& h, int count) {
    std::vector<TPolePanelu> elements(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        elements[size_t(i)].X = i;
        elements[size_t(i)].NAME = "KOL_sLSPS";
    }
    h.panel.ReplaceElements(std::move(elements));
}

void MarkWindow(HeadlessPanel& h) {
    h.document.Bind("/old.reru", Document::State::Modified);
}

void ExpectWindowMarked(const HeadlessPanel& h) {
    EXPECT_EQ(h.document.ShownPath(), QStringLiteral("/old.reru"));
    EXPECT_EQ(h.document.StateWord(), StateModified());
    EXPECT_EQ(h.document.Caption(), AppTitle() + QStringLiteral(" - old.reru"));
}

} // namespace

TEST(StationFileMountTest, FullFileSystemKeepsOldFileAndLeavesNoTemporary) {
    MountedTmpfs fs("size=64k");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << fs.Error() << "); needs root";
    const std::string original = "SET_Vyska;50\r\nSET_Sirka;150\r\n";
    WriteBytes(fs.Path("station.reru"), original);

    HeadlessPanel h;
    FillPanel(h, 5000); // about 600 KB: far more than the file system holds
    MarkWindow(h);
    try {
        h.document.Save(fs.Path("station.reru"));
        FAIL() << "save succeeded on a full file system";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
        EXPECT_EQ(e.Code(), kDiskFull);
    }
    EXPECT_EQ(ReadBytes(fs.Path("station.reru")), original);
    EXPECT_EQ(fs.Entries(), QStringList{QStringLiteral("station.reru")});
    ExpectWindowMarked(h);

    // A panel that fits still saves there.
    HeadlessPanel small;
    small.document.Save(fs.Path("station.reru"));
    EXPECT_EQ(small.document.StateWord(), StateSaved());
}

TEST(StationFileMountTest, ReadOnlyFileSystemRefusesWithAccessDenied) {
    MountedTmpfs fs("size=64k");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << fs.Error() << "); needs root";
    const std::string original = "SET_Vyska;12\r\n";
    WriteBytes(fs.Path("station.reru"), original);
    ASSERT_TRUE(fs.RemountReadOnly());

    HeadlessPanel h;
    MarkWindow(h);
    for (const QString& name : {QStringLiteral("station.reru"), QStringLiteral("new.reru")}) {
        try {
            h.document.Save(fs.Path(name));
            ADD_FAILURE() << "save succeeded on a read-only file system";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "File access denied");
        }
    }
    EXPECT_EQ(ReadBytes(fs.Path("station.reru")), original);
    EXPECT_EQ(fs.Entries(), QStringList{QStringLiteral("station.reru")});
    ExpectWindowMarked(h);
}

// Qt's writers (pictures, PDF, SVG) write through a device over the same file: on a full
// disk the first failing write is what Commit reports, the old file stays and nothing is
// left, with the unnamed temporary and with the named one.
TEST(StationFileMountTest, DeviceOnAFullFileSystemReportsDiskFull) {
    MountedTmpfs fs("size=64k");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << fs.Error() << "); needs root";
    WriteBytes(fs.Path("p.png"), "old picture");
    const std::string target = fs.Path("p.png").toStdString();
    for (const auto mode :
         {AtomicFile::Temporary::UnnamedWherePossible, AtomicFile::Temporary::Named}) {
        AtomicFileDevice device(target, mode);
        // Two megabytes: more than the device gathers before it writes.
        const QByteArray block(4096, 'x');
        int refused = 0;
        for (int i = 0; i < 512; ++i)
            refused += device.write(block) < 0;
        EXPECT_GT(refused, 0);
        try {
            device.Commit();
            ADD_FAILURE() << "commit succeeded on a full file system";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "Disk full");
        }
    }
    EXPECT_EQ(ReadBytes(fs.Path("p.png")), "old picture");
    EXPECT_EQ(fs.Entries(), QStringList{QStringLiteral("p.png")});
}

TEST(StationFileMountTest, NamedTemporaryOnAFullFileSystemIsRemoved) {
    MountedTmpfs fs("size=64k");
    if (!fs.Mounted())
        GTEST_SKIP() << "cannot mount a tmpfs here (" << fs.Error() << "); needs root";
    WriteBytes(fs.Path("s.reru"), "old");
    try {
        AtomicFile file(fs.Path("s.reru").toStdString(), AtomicFile::Temporary::Named);
        file.Write(std::string(1 << 20, 'x'));
        file.Commit();
        FAIL() << "a megabyte fit into 64 KB";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
    EXPECT_EQ(ReadBytes(fs.Path("s.reru")), "old");
    EXPECT_EQ(fs.Entries(), QStringList{QStringLiteral("s.reru")});
}

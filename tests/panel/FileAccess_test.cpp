#include "panel/AtomicFile.h"
#include "panel/AtomicFileDevice.h"
#include "panel/FileAccess.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vedivez;

namespace {

// The error numbers that have a message of their own; every other number is an I/O error.
const std::map<int, std::string>& NumbersWithMessages() {
    static const std::map<int, std::string> table = {
        {ENOENT, "File not found"},
        {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"},
        {EINVAL, "Invalid filename"},
        {ELOOP, "Invalid filename"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EROFS, "File access denied"},
        {EISDIR, "File access denied"},
        {ETXTBSY, "File access denied"},
        {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},
    };
    return table;
}

} // namespace

TEST(FileAccessTest, EveryErrorNumberShowsItsMessageOrItsNumber) {
    for (int number = 1; number < 256; ++number) {
        const auto known = NumbersWithMessages().find(number);
        const std::string expected = known != NumbersWithMessages().end()
                                         ? known->second
                                         : "I/O error " + std::to_string(number);
        EXPECT_EQ(FileErrorFor(number).what(), expected) << "errno " << number;
    }
    // The numbers that equal a message code on Linux, named so a failure reads plainly.
    const std::pair<int, const char*> collisions[] = {
        {EIO, "I/O error 5"},        {ESRCH, "I/O error 3"},         {EINTR, "I/O error 4"},
        {ENETDOWN, "I/O error 100"}, {ENETUNREACH, "I/O error 101"}, {EISCONN, "I/O error 106"},
    };
    for (auto [number, text] : collisions)
        EXPECT_STREQ(FileErrorFor(number).what(), text);
}

TEST(FileAccessTest, MissingFolderAndLineAreKept) {
    EXPECT_STREQ(FileErrorFor(ENOENT, true).what(), "Invalid filename");
    EXPECT_EQ(FileErrorFor(EIO, false, 12).Line(), 12);
    EXPECT_EQ(FileErrorFor(EACCES, false, 3).Line(), 3);
    EXPECT_EQ(FileErrorFor(EIO).IoNumber(), EIO);
    EXPECT_EQ(FileErrorFor(EACCES).Code(), kAccessDenied);
}

// A real read failing with EIO, through the station loader as the editor calls it.
TEST(FileAccessTest, ReadFailingWithEioShowsIoError5) {
    HeadlessPanel h;
    h.document.Bind("/old.reru", Document::State::Modified);
    try {
        h.document.Load(QStringLiteral("/proc/self/mem"));
        FAIL() << "reading /proc/self/mem from address 0 succeeded";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "I/O error 5");
        EXPECT_EQ(e.Code(), kIoError);
        EXPECT_EQ(e.IoNumber(), EIO);
    }
    EXPECT_EQ(h.document.ShownPath(), QStringLiteral("/old.reru"));
}

namespace {

// Entries of a folder, hidden ones included.
QStringList Entries(const QTemporaryDir& dir) {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

// Makes a device node like /dev/null inside the test's folder; only root may.
bool MakeNullDevice(const std::string& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

} // namespace

// A FIFO, a device or a folder is refused before a byte is read, and at once: opening a
// FIFO must not wait for a writer, and /dev/zero must not be read until memory runs out.
TEST(FileAccessTest, ReadingRefusesAnythingButARegularFile) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath(QStringLiteral("station.fifo")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Should the FIFO be opened anyway, a writer comes after a while and closes at once, so
    // the test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescuer([&] {
        for (int i = 0; i < 200 && !done; ++i)
            ::usleep(10000);
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    for (const std::string& path :
         {fifo, std::string("/dev/zero"), std::string("/dev/null"), dir.path().toStdString()}) {
        bool consumed = false;
        try {
            ReadFileChunks(path, [&](std::string_view) {
                consumed = true;
                return false;
            });
            ADD_FAILURE() << path << " was read";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "File access denied") << path;
        }
        EXPECT_FALSE(consumed) << path;
    }
    done = true;
    rescuer.join();
}

// A save never swaps a FIFO or a device node for a plain file, also not through a link;
// the node stays what it was.
TEST(FileAccessTest, WritingRefusesToReplaceAnythingButARegularFile) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath(QStringLiteral("out.fifo")).toStdString();
    const std::string device = dir.filePath(QStringLiteral("null")).toStdString();
    const std::string link = dir.filePath(QStringLiteral("link.reru")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(::symlink(fifo.c_str(), link.c_str()), 0);
    std::vector<std::pair<std::string, mode_t>> nodes = {{fifo, S_IFIFO}, {link, S_IFIFO}};
    if (MakeNullDevice(device))
        nodes.emplace_back(device, S_IFCHR);
    else
        std::cout << "[ SKIPPED  ] the device node case: mknod needs root\n";
    for (const auto& [path, type] : nodes) {
        try {
            WriteFileAtomically(path, "SET_Vyska;12\r\n");
            ADD_FAILURE() << path << " was replaced";
        } catch (const FileError& e) {
            EXPECT_STREQ(e.what(), "File access denied") << path;
        }
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0) << path;
        EXPECT_EQ(st.st_mode & S_IFMT, type) << path;
    }
    EXPECT_EQ(size_t(Entries(dir).size()), nodes.size()) << "no temporary is left";
}

// The temporary file of a save has no name until the save succeeds, so a save that stops
// half-way (killed, or an error) leaves nothing in the folder. Where unnamed files are not
// available the temporary is a hidden file beside the target, removed on failure.
TEST(FileAccessTest, TemporaryFileIsUnnamedUntilTheRename) {
    QTemporaryDir dir;
    const std::string target = dir.filePath(QStringLiteral("s.reru")).toStdString();
    WriteFileAtomically(target, "old");
    std::string content = "old";
    for (const auto mode :
         {AtomicFile::Temporary::UnnamedWherePossible, AtomicFile::Temporary::Named}) {
        const bool unnamed = mode == AtomicFile::Temporary::UnnamedWherePossible;
        {
            AtomicFile file(target, mode);
            EXPECT_EQ(file.Unnamed(), unnamed);
            file.Write(std::string(3 << 20, 'x')); // several blocks reach the disk
            EXPECT_EQ(Entries(dir).size(), unnamed ? 1u : 2u);
        } // never committed
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("s.reru")});
        EXPECT_EQ(test::ReadBytes(QString::fromStdString(target)), content);

        AtomicFile file(target, mode);
        file.Write("new ");
        file.Write(unnamed ? "unnamed" : "named");
        file.Commit();
        content = unnamed ? "new unnamed" : "new named";
        EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("s.reru")});
        EXPECT_EQ(test::ReadBytes(QString::fromStdString(target)), content);
    }
}

// A process killed in the middle of writing: with the unnamed temporary nothing is left,
// and the target keeps its old content.
TEST(FileAccessTest, KilledSaveLeavesNothingBehind) {
    QTemporaryDir dir;
    const std::string target = dir.filePath(QStringLiteral("s.reru")).toStdString();
    WriteFileAtomically(target, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        AtomicFile file(target);
        file.Write(std::string(8 << 20, 'x'));
        ::kill(::getpid(), SIGKILL);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(Entries(dir), QStringList{QStringLiteral("s.reru")});
    EXPECT_EQ(test::ReadBytes(QString::fromStdString(target)), "old");
}

// A save into a folder removes the hidden temporaries that earlier saves left there when
// they were killed between naming the temporary and renaming it, and nothing else: only
// our names, regular files of ours with one link, untouched for over an hour, whose writer
// no longer runs.
TEST(FileAccessTest, SavesRemoveStaleTemporariesOfKilledSavesAndNothingElse) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    // Process ids stay below pid_max, so no process has that one.
    long dead = 0;
    std::ifstream("/proc/sys/kernel/pid_max") >> dead;
    ASSERT_GT(dead, 1);
    const std::string gone = std::to_string(dead), alive = std::to_string(::getpid());
    enum Kind { File, Folder, Link, TwoLinks };
    const struct {
        std::string name;
        int ageMinutes;
        Kind kind;
        bool removed;
    } entries[] = {
        {".s.reru.vedivez-" + gone + "-12345.tmp", 120, File, true},
        {".s.reru.vedivez-" + gone + "-7.tmp", 30 * 24 * 60, File, true},
        {".Brno hl.n.reru.vedivez-" + gone + "-8.tmp", 61, File, true},
        {".s.reru.12345678.tmp", 30 * 24 * 60, File, true}, // named as earlier versions did
        {".plan.PDF.1.tmp", 120, File, true},
        {".s.reru.vedivez-" + alive + "-1.tmp", 120, File, false}, // its writer runs
        {".s.reru.vedivez-" + gone + "-2.tmp", 50, File, false},   // too fresh
        {".notes.txt.12345678.tmp", 120, File, false},             // not a file we write
        {".s.reru.tmp", 120, File, false},
        {".s.reru.vedivez-x1-3.tmp", 120, File, false},
        {"s.reru.vedivez-" + gone + "-4.tmp", 120, File, false}, // not hidden
        {".d.reru.vedivez-" + gone + "-5.tmp", 120, Folder, false},
        {".l.reru.vedivez-" + gone + "-6.tmp", 120, Link, false},
        {".h.reru.vedivez-" + gone + "-9.tmp", 120, TwoLinks, false},
    };
    for (const auto& e : entries) {
        const std::string path = folder + "/" + e.name;
        switch (e.kind) {
        case File:
        case TwoLinks:
            test::WriteBytes(QString::fromStdString(path), "complete station");
            if (e.kind == TwoLinks) {
                ASSERT_EQ(::link(path.c_str(), (folder + "/kept-link").c_str()), 0);
            }
            break;
        case Folder:
            ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
            break;
        case Link:
            ASSERT_EQ(::symlink("s.reru", path.c_str()), 0);
            break;
        }
        const timespec when{::time(nullptr) - e.ageMinutes * 60, 0};
        const timespec times[2] = {when, when};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << e.name;
    }
    WriteFileAtomically(folder + "/other.reru", "saved");
    const QStringList left =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const auto& e : entries)
        EXPECT_EQ(left.contains(QString::fromStdString(e.name)), !e.removed) << e.name;
    EXPECT_TRUE(left.contains(QStringLiteral("other.reru")));
    EXPECT_TRUE(left.contains(QStringLiteral("kept-link")));
}

// A save to a new file links its content in under the file's own name: no temporary name
// ever shows in the folder. Replacing a file needs one for an instant; it names the writer.
TEST(FileAccessTest, ANewFileGetsItsNameWithoutATemporary) {
    QTemporaryDir dir;
    const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, dir.path().toUtf8().constData(), IN_CREATE | IN_MOVED_TO),
              0);
    auto created = [&] {
        std::vector<std::string> names;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = ::read(watch, buffer, sizeof buffer)) > 0;)
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                if (e->len > 0 && (e->mask & IN_CREATE))
                    names.emplace_back(e->name);
                p += sizeof(inotify_event) + e->len;
            }
        return names;
    };
    const std::string target = dir.filePath(QStringLiteral("s.reru")).toStdString();
    WriteFileAtomically(target, "new");
    EXPECT_EQ(created(), std::vector<std::string>{"s.reru"});
    WriteFileAtomically(target, "replaced");
    const std::vector<std::string> names = created();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].rfind(".s.reru.vedivez-" + std::to_string(::getpid()) + "-", 0), 0u)
        << names[0];
    EXPECT_EQ(test::ReadBytes(QString::fromStdString(target)), "replaced");
    ::close(watch);
}

// Whatever a write of the device throws stays in the device, also when it comes from inside
// libpng: the image writer reports a failure, Commit throws what the write threw, and the
// old file stays as it was.
TEST(FileAccessTest, DeviceKeepsAnyExceptionOfAWrite) {
    struct ThrowingDevice : AtomicFileDevice {
        using AtomicFileDevice::AtomicFileDevice;
        std::function<void()> fail;
        void Put(std::string_view) override { fail(); }
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.png"));
    test::WriteBytes(path, "old picture");
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    const struct {
        const char* what;
        std::function<void()> fail;
        std::function<bool(std::exception_ptr)> thrown;
    } cases[] = {
        {"out of memory", [] { throw std::bad_alloc(); },
         [](std::exception_ptr e) {
             try {
                 std::rethrow_exception(e);
             } catch (const std::bad_alloc&) {
                 return true;
             } catch (...) {
             }
             return false;
         }},
        {"no exception class at all", [] { throw 42; },
         [](std::exception_ptr e) {
             try {
                 std::rethrow_exception(e);
             } catch (int value) {
                 return value == 42;
             } catch (...) {
             }
             return false;
         }},
    };
    for (const auto& c : cases) {
        ThrowingDevice device(path.toStdString());
        device.fail = c.fail;
        QImageWriter writer(&device, "png");
        EXPECT_FALSE(writer.write(picture)) << c.what;
        std::exception_ptr thrown;
        try {
            device.Commit();
        } catch (...) {
            thrown = std::current_exception();
        }
        EXPECT_TRUE(thrown && c.thrown(thrown)) << c.what;
    }
    EXPECT_EQ(test::ReadBytes(path), "old picture");
}

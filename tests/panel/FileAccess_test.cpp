#include "panel/FileAccess.h"
#include "panel/HeadlessPanel.h"
#include "panel/PanelErrors.h"
#include "panel/StationFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <pthread.h>
#include <sys/stat.h>
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
    h.window.statusPath = QStringLiteral("/old.reru");
    try {
        LoadStation(QStringLiteral("/proc/self/mem"), h.panel, h.window);
        FAIL() << "reading /proc/self/mem from address 0 succeeded";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), "I/O error 5");
        EXPECT_EQ(e.Code(), kIoError);
        EXPECT_EQ(e.IoNumber(), EIO);
    }
    EXPECT_EQ(h.window.statusPath, QStringLiteral("/old.reru"));
}

namespace {

std::atomic<int> signalsCaught{0};
void CountSignal(int) {
    ++signalsCaught;
}

} // namespace

// Opening a FIFO for reading blocks until a writer comes; signals arriving meanwhile
// interrupt open() with EINTR, which must not end the read.
TEST(FileAccessTest, OpenInterruptedBySignalsIsRetried) {
    QTemporaryDir dir;
    const std::string fifo = dir.filePath(QStringLiteral("station.fifo")).toStdString();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    struct sigaction action {
    }, previous{};
    action.sa_handler = CountSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: the blocked open() returns EINTR
    ASSERT_EQ(::sigaction(SIGUSR1, &action, &previous), 0);
    signalsCaught = 0;

    const pthread_t reader = ::pthread_self();
    std::thread writer([&] {
        for (int i = 0; i < 10; ++i) {
            ::usleep(20000);
            ::pthread_kill(reader, SIGUSR1);
        }
        // Without blocking, so that a reader that already gave up cannot hang the test:
        // with no reader the open fails with ENXIO, and after two seconds we stop trying.
        int fd = -1;
        for (int attempt = 0; fd < 0 && attempt < 200; ++attempt) {
            fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd < 0)
                ::usleep(10000);
        }
        const char text[] = "SET_Vyska;12\r\n";
        if (fd >= 0) {
            (void)!::write(fd, text, sizeof text - 1);
            ::close(fd);
        }
    });
    std::string got;
    try {
        ReadFileChunks(QString::fromStdString(fifo), [&](std::string_view chunk) {
            got.append(chunk);
            return true;
        });
    } catch (const FileError& e) {
        ADD_FAILURE() << "read failed: " << e.what();
    }
    writer.join();
    ::sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(signalsCaught, 10);
    EXPECT_EQ(got, "SET_Vyska;12\r\n");
}

// Opening and saving hostile files through the window: the answer comes at once, in a short
// error box, and the window stays as it was.
#include "AppTestSupport.h"

#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace vedivez::test {
namespace {

class HostileFilesTest : public WindowTest {
protected:
    struct Shown {
        QString path, state, caption;
        size_t elements;
        bool operator==(const Shown&) const = default;
    };
    Shown Now() const {
        return {window->StatusText(0), window->StatusText(1), window->windowTitle(),
                Panel().Elements().size()};
    }
    // Chooses Open, lets it discard unsaved changes and answers the file dialog with `path`.
    void Open(const QString& path) {
        log->confirmAnswers.push_back(true);
        log->fileAnswers.push_back(path);
        Trigger("MP_Otevreni");
    }

    QTemporaryDir dir;
};

// A FIFO would make the window wait for a writer, /dev/zero would fill the memory: both are
// refused before a byte is read.
TEST_F(HostileFilesTest, OpeningAFifoOrADeviceIsRefusedAtOnce) {
    const QString fifo = dir.filePath(QStringLiteral("station.reru"));
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    // Through a link with the extension, which the dialog would otherwise add.
    const QString zero = dir.filePath(QStringLiteral("zero.reru"));
    ASSERT_EQ(::symlink("/dev/zero", zero.toLocal8Bit().constData()), 0);
    // Should the FIFO be opened anyway, a writer comes after a while and leaves at once, so
    // the test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescuer([&] {
        for (int i = 0; i < 300 && !done; ++i)
            ::usleep(10000);
        const int fd = ::open(fifo.toLocal8Bit().constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    Click(Cell(2, 2));
    const Shown before = Now();
    for (const QString& path : {fifo, zero}) {
        log->errors.clear();
        Open(path);
        EXPECT_EQ(log->errors, QStringList{QStringLiteral("File access denied.")})
            << path.toStdString();
        EXPECT_EQ(Now(), before) << path.toStdString();
    }
    done = true;
    rescuer.join();
}

// A value of ten million digits: the box quotes forty characters of it.
TEST_F(HostileFilesTest, HugeBadValueShowsAShortMessage) {
    const QString path = dir.filePath(QStringLiteral("big.reru"));
    WriteBytes(path, "SET_Vyska;" + std::string(10'000'000, '9') + "\r\n");
    const Shown before = Now();
    Open(path);
    EXPECT_EQ(log->errors,
              QStringList{QLatin1Char('\'') + QString(39, QLatin1Char('9')) + QChar(0x2026) +
                          QStringLiteral("' is not a valid integer value.")});
    EXPECT_EQ(Now(), before);
}

} // namespace
} // namespace vedivez::test

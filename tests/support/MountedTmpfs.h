#pragma once

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace vedivez::test {

// A small tmpfs mounted on a temporary folder for one test, to make a disk fill up or turn
// read-only for real. Mounting needs root; Mounted() says whether it worked and Error() why
// not, so tests can skip with the reason.
class MountedTmpfs {
public:
    explicit MountedTmpfs(const char* options) {
        if (!dir_.isValid())
            return;
        if (::mount("tmpfs", Folder().c_str(), "tmpfs", 0, options) == 0)
            mounted_ = true;
        else
            error_ = std::strerror(errno);
    }
    ~MountedTmpfs() {
        if (mounted_)
            ::umount2(Folder().c_str(), MNT_DETACH);
    }
    MountedTmpfs(const MountedTmpfs&) = delete;
    MountedTmpfs& operator=(const MountedTmpfs&) = delete;

    bool Mounted() const { return mounted_; }
    std::string Error() const { return error_; }
    std::string Folder() const { return dir_.path().toStdString(); }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    std::string NativePath(const std::string& name) const { return Folder() + "/" + name; }

    bool RemountReadOnly() {
        return ::mount(nullptr, Folder().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    QStringList Entries() const {
        return QDir(dir_.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    // Takes every free byte into the file `name`, so the next write of any size fails
    // with ENOSPC.
    void Fill(const std::string& name) {
        const int fd = ::open(NativePath(name).c_str(), O_WRONLY | O_CREAT, 0600);
        if (fd < 0)
            return;
        const std::string block(4096, 'f');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        while (::write(fd, block.data(), 1) > 0) {
        }
        ::close(fd);
    }

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    std::string error_;
};

} // namespace vedivez::test

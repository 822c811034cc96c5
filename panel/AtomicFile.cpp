#include "panel/AtomicFile.h"

#include "panel/FileAccess.h"
#include "panel/PanelErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vedivez {

namespace {

// Pieces are gathered up to this size before they go to the file: Qt's writers hand over
// a few bytes at a time.
constexpr size_t kBlock = size_t(1) << 20;

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the file that really gets replaced. A dangling link resolves to
// the path it names, so the save creates that file and the link starts working.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        std::string target(size_t(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0)
            ThrowFileError(errno, current);
        target.resize(size_t(n));
        current =
            (!target.empty() && target[0] == '/') ? target : ParentFolder(current) + "/" + target;
    }
    throw FileErrorFor(ELOOP);
}

// A fresh hidden name beside the target for the temporary file.
class TempNames {
public:
    explicit TempNames(const std::string& target)
        : prefix_(ParentFolder(target) + "/." + BaseName(target) + "."),
          random_(std::random_device{}()) {}
    std::string Next() { return prefix_ + std::to_string(random_() % 100000000u) + ".tmp"; }

private:
    std::string prefix_;
    std::mt19937 random_;
};

constexpr int kMaxNameAttempts = 100;

} // namespace

AtomicFile::AtomicFile(const std::string& nativePath, Temporary temporary) {
    if (nativePath.empty())
        throw FileError(kInvalidFilename);
    target_ = ResolveLinks(nativePath);

    struct stat existing {};
    exists_ = ::stat(target_.c_str(), &existing) == 0;
    if (exists_) {
        // Only a regular file is replaced: renaming over a device or a FIFO would swap the
        // node itself for a plain file (as root, /dev/null for one), and a folder is never
        // a station.
        if (!S_ISREG(existing.st_mode))
            throw FileError(kAccessDenied);
        // Renaming over a write-protected file would succeed; the user asked for it to be
        // protected, so a save into it fails as writing into it would.
        if (::access(target_.c_str(), W_OK) != 0)
            ThrowFileError(errno, target_);
        existingMode_ = existing.st_mode & 07777;
        existingUid_ = existing.st_uid;
        existingGid_ = existing.st_gid;
    }

    // The unnamed file gets its name through /proc in the end (linking by descriptor
    // needs a privilege), so without /proc the temporary is named from the start.
    bool supported = false;
    if (temporary == Temporary::UnnamedWherePossible && ::access("/proc/self/fd", F_OK) == 0)
        OpenUnnamed(supported);
    if (!supported)
        OpenNamed();

    if (exists_) {
        if (::geteuid() == 0)
            (void)::fchown(fd_, existingUid_, existingGid_);
        if (::fchmod(fd_, mode_t(existingMode_)) != 0)
            ThrowFileError(errno, target_);
    }
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0)
        ::close(fd_);
    if (!tempName_.empty())
        ::unlink(tempName_.c_str());
}

void AtomicFile::OpenUnnamed(bool& supported) {
    // A new file gets the usual bits less the umask; one that replaces a file starts private
    // and takes over that file's bits before anything is written.
    const int fd = OpenRetrying(ParentFolder(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                                exists_ ? 0600 : 0666);
    if (fd >= 0) {
        fd_ = fd;
        unnamed_ = supported = true;
        return;
    }
    // Kernels and file systems without unnamed files answer with one of these; every other
    // error (no folder, no permission, a read-only disk) is the save's own.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
        return;
    ThrowFileError(errno, target_);
}

void AtomicFile::OpenNamed() {
    TempNames names(target_);
    for (int attempt = 0; fd_ < 0; ++attempt) {
        std::string name = names.Next();
        const int fd = OpenRetrying(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                    exists_ ? 0600 : 0666);
        if (fd >= 0) {
            fd_ = fd;
            tempName_ = std::move(name);
        } else if (errno != EEXIST || attempt > kMaxNameAttempts) {
            // The folder is missing: the path itself is wrong, as for a direct create.
            ThrowFileError(errno, target_);
        }
    }
}

void AtomicFile::LinkUnnamed() {
    // The link is made through /proc, which needs no privilege, unlike AT_EMPTY_PATH.
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    TempNames names(target_);
    for (int attempt = 0;; ++attempt) {
        std::string name = names.Next();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            tempName_ = std::move(name);
            return;
        }
        if (errno != EEXIST || attempt > kMaxNameAttempts)
            ThrowFileError(errno, target_);
    }
}

void AtomicFile::WriteNow(std::string_view data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const size_t chunk = left < (size_t(1) << 30) ? left : (size_t(1) << 30);
        const ssize_t n = ::write(fd_, p, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowFileError(errno, target_);
        }
        if (n == 0)
            throw FileError(kDiskFull);
        p += n;
        left -= size_t(n);
    }
}

void AtomicFile::Flush() {
    if (buffer_.empty())
        return;
    WriteNow(buffer_);
    buffer_.clear();
}

void AtomicFile::Write(std::string_view data) {
    if (buffer_.size() + data.size() < kBlock) {
        if (buffer_.capacity() < kBlock)
            buffer_.reserve(kBlock);
        buffer_.append(data);
        return;
    }
    Flush();
    if (data.size() >= kBlock)
        WriteNow(data);
    else
        buffer_.append(data);
}

void AtomicFile::Commit() {
    if (committed_)
        return;
    Flush();
    if (::fsync(fd_) != 0)
        ThrowFileError(errno, target_);
    if (unnamed_)
        LinkUnnamed();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        ThrowFileError(errno, target_);
    if (::rename(tempName_.c_str(), target_.c_str()) != 0)
        ThrowFileError(errno, target_);
    tempName_.clear();
    committed_ = true;

    // Make the rename itself durable; a failure here cannot undo the save any more.
    const int dir = OpenRetrying(ParentFolder(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

} // namespace vedivez

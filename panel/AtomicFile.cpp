#include "panel/AtomicFile.h"

#include "panel/FileAccess.h"
#include "panel/PanelErrors.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string_view>
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

// Fresh hidden names beside the target for the temporary file.
class TempNames {
public:
    explicit TempNames(const std::string& target)
        : target_(target), pid_(long(::getpid())), random_(std::random_device{}()) {}
    std::string Next() {
        return AtomicFile::TemporaryName(target_, pid_, uint32_t(random_() % 100000000u));
    }

private:
    std::string target_;
    long pid_;
    std::mt19937 random_;
};

// A temporary left by a killed writer is older than any save takes.
constexpr time_t kStaleSeconds = 60 * 60;

bool AllDigits(std::string_view s, size_t most) {
    return !s.empty() && s.size() <= most &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

// Whether a folder entry is named as our temporaries are; `pid` receives the writer's
// process id where the name has one.
bool NamedAsOurTemporary(std::string_view name, std::optional<long>& pid) {
    pid.reset();
    constexpr std::string_view kTail = ".tmp", kMark = ".vedivez-";
    if (name.size() < 2 || name.front() != '.' || !name.ends_with(kTail))
        return false;
    std::string_view rest = name.substr(1, name.size() - 1 - kTail.size()); // NAME.<...>
    const size_t mark = rest.rfind(kMark);
    if (mark != std::string_view::npos && mark > 0) {
        const std::string_view numbers = rest.substr(mark + kMark.size()); // PID-N
        const size_t dash = numbers.find('-');
        if (dash == std::string_view::npos || !AllDigits(numbers.substr(0, dash), 9) ||
            !AllDigits(numbers.substr(dash + 1), 8))
            return false;
        pid = std::stol(std::string(numbers.substr(0, dash)));
        return *pid > 0;
    }
    // As earlier versions named them: NAME.N.tmp, for the files our programs write.
    const size_t dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || !AllDigits(rest.substr(dot + 1), 8))
        return false;
    const std::string_view base = rest.substr(0, dot);
    for (std::string_view ours : {".reru", ".png", ".pdf", ".svg"})
        if (base.size() > ours.size() && EndsWithIgnoringCase(base, ours))
            return true;
    return false;
}

// Whether process `pid` may still run here: signalling it is allowed or merely forbidden.
bool MayRun(long pid) {
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
}

constexpr int kMaxNameAttempts = 100;

} // namespace

std::string AtomicFile::TemporaryName(const std::string& target, long pid, uint32_t n) {
    const std::string tail = ".vedivez-" + std::to_string(pid) + "-" + std::to_string(n) + ".tmp";
    // The longest name most file systems take; a long station name is cut rather than the
    // save refused.
    constexpr size_t kNameMax = 255;
    std::string base = BaseName(target);
    if (1 + base.size() + tail.size() > kNameMax)
        base.resize(kNameMax - 1 - tail.size());
    return ParentFolder(target) + "/." + base + tail;
}

int RemoveStaleTemporaries(const std::string& folder) {
    const int fd = OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return 0;
    }
    const time_t now = ::time(nullptr);
    const uid_t me = ::geteuid();
    int removed = 0;
    std::optional<long> pid;
    while (const dirent* entry = ::readdir(dir)) {
        if (!NamedAsOurTemporary(entry->d_name, pid))
            continue;
        struct stat st {};
        if (::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode) ||
            st.st_uid != me || st.st_nlink != 1 || now - st.st_mtime <= kStaleSeconds)
            continue;
        if (pid && MayRun(*pid))
            continue;
        removed += ::unlinkat(fd, entry->d_name, 0) == 0;
    }
    ::closedir(dir);
    return removed;
}

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

bool AtomicFile::LinkUnnamedAsTarget() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target_.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    // Someone made the file meanwhile: it is replaced, as an existing file is.
    if (errno == EEXIST)
        return false;
    ThrowFileError(errno, target_);
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
    // A new file takes its name straight away; a file that is replaced needs the temporary
    // named beside it for the rename, which follows at once, so that a kill finds that name
    // only in the instant between the two calls.
    const bool linked = unnamed_ && !exists_ && LinkUnnamedAsTarget();
    if (unnamed_ && !linked)
        LinkUnnamed();
    if (!linked && ::rename(tempName_.c_str(), target_.c_str()) != 0)
        ThrowFileError(errno, target_);
    tempName_.clear();
    committed_ = true;
    // Every byte reached the disk with the sync above, so closing cannot lose any of them.
    const int fd = fd_;
    fd_ = -1;
    ::close(fd);

    // Make the rename itself durable; a failure here cannot undo the save any more.
    const std::string folder = ParentFolder(target_);
    const int dir = OpenRetrying(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    RemoveStaleTemporaries(folder);
}

} // namespace vedivez

#include "panel/FileAccess.h"

#include "panel/PanelErrors.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vedivez {

namespace {

std::string DirName(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(DirName(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

[[noreturn]] void ThrowOsError(int osError, const std::string& path, int line = 0) {
    const bool missingFolder = osError == ENOENT && !FolderExists(path);
    throw FileErrorFor(osError, missingFolder, line);
}

// open() that starts again when a signal interrupts it before it finished.
int OpenRetrying(const char* path, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::open(path, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
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
            ThrowOsError(errno, current);
        target.resize(size_t(n));
        current = (!target.empty() && target[0] == '/') ? target : DirName(current) + "/" + target;
    }
    throw FileErrorFor(ELOOP);
}

// Deletes the temporary file unless the save got as far as renaming it.
class TempFileGuard {
public:
    ~TempFileGuard() {
        if (fd >= 0)
            ::close(fd);
        if (!name.empty())
            ::unlink(name.c_str());
    }
    int fd = -1;
    std::string name;
};

void WriteAll(int fd, std::string_view data, const std::string& path) {
    const char* p = data.data();
    size_t left = data.size();
    while (left > 0) {
        const size_t chunk = left < (size_t(1) << 30) ? left : (size_t(1) << 30);
        const ssize_t n = ::write(fd, p, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno, path);
        }
        if (n == 0)
            throw FileError(kDiskFull);
        p += n;
        left -= size_t(n);
    }
}

} // namespace

FileError FileErrorFor(int osError, bool missingFolder, int line) {
    switch (osError) {
    case ENOENT:
        return FileError(missingFolder ? kInvalidFilename : kFileNotFound, line);
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP:
        return FileError(kInvalidFilename, line);
    case EMFILE:
    case ENFILE:
        return FileError(kTooManyOpenFiles, line);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return FileError(kAccessDenied, line);
    case ENOSPC:
    case EDQUOT:
        return FileError(kDiskFull, line);
    default:
        return FileError::Io(osError, line);
    }
}

void WriteFileAtomically(const QString& path, std::string_view data) {
    if (path.isEmpty())
        throw FileError(kInvalidFilename);
    const std::string target = ResolveLinks(QFile::encodeName(path).toStdString());

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode))
            throw FileError(kAccessDenied);
        // Renaming over a write-protected file would succeed; the user asked for it to be
        // protected, so a save into it fails as writing into it would.
        if (::access(target.c_str(), W_OK) != 0)
            ThrowOsError(errno, target);
    }

    TempFileGuard temp;
    std::random_device seed;
    std::mt19937 random(seed());
    const std::string prefix = DirName(target) + "/." + BaseName(target) + ".";
    for (int attempt = 0; temp.fd < 0; ++attempt) {
        std::string name = prefix + std::to_string(random() % 100000000u) + ".tmp";
        const int fd = OpenRetrying(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                                    exists ? 0600 : 0666);
        if (fd >= 0) {
            temp.fd = fd;
            temp.name = std::move(name);
        } else if (errno != EEXIST || attempt > 100) {
            // The folder is missing: the path itself is wrong, as for a direct create.
            ThrowOsError(errno, target);
        }
    }

    WriteAll(temp.fd, data, target);
    if (exists) {
        if (::geteuid() == 0)
            (void)::fchown(temp.fd, existing.st_uid, existing.st_gid);
        if (::fchmod(temp.fd, existing.st_mode & 07777) != 0)
            ThrowOsError(errno, target);
    }
    if (::fsync(temp.fd) != 0)
        ThrowOsError(errno, target);
    const int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        ThrowOsError(errno, target);
    if (::rename(temp.name.c_str(), target.c_str()) != 0)
        ThrowOsError(errno, target);
    temp.name.clear();

    // Make the rename itself durable; a failure here cannot undo the save any more.
    const int dir = OpenRetrying(DirName(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
}

void ReadFileChunks(const QString& path, const std::function<bool(std::string_view)>& consume,
                    const std::function<int()>& currentLine) {
    if (path.isEmpty())
        throw FileError(kInvalidFilename);
    const std::string native = QFile::encodeName(path).toStdString();
    const int fd = OpenRetrying(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        ThrowOsError(errno, native);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        throw FileError(kAccessDenied);

    std::string buffer(size_t(1) << 20, '\0');
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowOsError(errno, native, currentLine ? currentLine() : 0);
        }
        if (n == 0)
            return;
        if (!consume(std::string_view(buffer.data(), size_t(n))))
            return;
    }
}

} // namespace vedivez

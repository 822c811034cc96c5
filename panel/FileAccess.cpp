#include "panel/FileAccess.h"

#include "panel/AtomicFile.h"
#include "panel/PanelErrors.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vedivez {

namespace {

bool FolderExists(const std::string& path) {
    struct stat st {};
    return ::stat(ParentFolder(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string NativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString PathForDisplay(const std::string& nativePath) {
    return QString::fromUtf8(nativePath.data(), qsizetype(nativePath.size()));
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

void ThrowFileError(int osError, const std::string& path, int64_t line) {
    const bool missingFolder = osError == ENOENT && !FolderExists(path);
    throw FileErrorFor(osError, missingFolder, line);
}

int OpenRetrying(const char* path, int flags, unsigned mode) {
    int fd;
    do
        fd = ::open(path, flags, mode_t(mode));
    while (fd < 0 && errno == EINTR);
    return fd;
}

FileError FileErrorFor(int osError, bool missingFolder, int64_t line) {
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
    WriteFileAtomically(NativePath(path), data);
}

void WriteFileAtomically(const std::string& nativePath, std::string_view data) {
    AtomicFile file(nativePath);
    file.Write(data);
    file.Commit();
}

void ReadFileChunks(const QString& path, const std::function<bool(std::string_view)>& consume,
                    const std::function<int64_t()>& currentLine,
                    const std::function<void(int64_t)>& onSize) {
    ReadFileChunks(NativePath(path), consume, currentLine, onSize);
}

void ReadFileChunks(const std::string& native, const std::function<bool(std::string_view)>& consume,
                    const std::function<int64_t()>& currentLine,
                    const std::function<void(int64_t)>& onSize) {
    if (native.empty())
        throw FileError(kInvalidFilename);
    // Without O_NONBLOCK, opening a FIFO would wait for a writer, possibly for ever; no
    // regular file behaves differently with it.
    const int fd = OpenRetrying(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        ThrowFileError(errno, native);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    // A station is a regular file. A device such as /dev/zero never ends, a FIFO or a
    // terminal waits for input, and none can be read again as the same content.
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        ThrowFileError(errno, native);
    if (!S_ISREG(st.st_mode))
        throw FileError(kAccessDenied);
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        (void)::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (onSize)
        onSize(int64_t(st.st_size));

    std::string buffer(size_t(1) << 20, '\0');
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowFileError(errno, native, currentLine ? currentLine() : 0);
        }
        if (n == 0)
            return;
        if (!consume(std::string_view(buffer.data(), size_t(n))))
            return;
    }
}

} // namespace vedivez

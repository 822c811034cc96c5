#include "panel/AtomicFileDevice.h"

namespace vedivez {

AtomicFileDevice::AtomicFileDevice(const std::string& nativePath, AtomicFile::Temporary temporary)
    : file_(nativePath, temporary) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

AtomicFileDevice::~AtomicFileDevice() = default;

void AtomicFileDevice::ThrowIfFailed() const {
    if (failure_)
        throw *failure_;
}

void AtomicFileDevice::Commit() {
    ThrowIfFailed();
    file_.Commit();
}

qint64 AtomicFileDevice::readData(char*, qint64) {
    return -1;
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (failure_)
        return -1;
    try {
        file_.Write(std::string_view(data, size_t(size)));
    } catch (const FileError& e) {
        failure_ = e;
        setErrorString(QString::fromLatin1(e.what()));
        return -1;
    }
    return size;
}

} // namespace vedivez

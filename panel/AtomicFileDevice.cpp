#include "panel/AtomicFileDevice.h"

#include <new>

namespace vedivez {

AtomicFileDevice::AtomicFileDevice(const std::string& nativePath, AtomicFile::Temporary temporary)
    : file_(nativePath, temporary) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

AtomicFileDevice::~AtomicFileDevice() = default;

void AtomicFileDevice::ThrowIfFailed() const {
    if (failure_)
        std::rethrow_exception(failure_);
}

void AtomicFileDevice::Commit() {
    ThrowIfFailed();
    file_.Commit();
}

qint64 AtomicFileDevice::readData(char*, qint64) {
    return -1;
}

void AtomicFileDevice::Put(std::string_view data) {
    file_.Write(data);
}

qint64 AtomicFileDevice::writeData(const char* data, qint64 size) {
    if (failure_)
        return -1;
    try {
        Put(std::string_view(data, size_t(size)));
        return size;
    } catch (const std::bad_alloc&) {
        failure_ = std::current_exception();
        setErrorString(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        failure_ = std::current_exception();
        setErrorString(QString::fromLatin1(e.what()));
    } catch (...) {
        failure_ = std::current_exception();
        setErrorString(QStringLiteral("Unknown error"));
    }
    return -1;
}

} // namespace vedivez

#pragma once

#include "panel/AtomicFile.h"

#include <QIODevice>
#include <exception>
#include <string_view>

namespace vedivez {

// A write-only device over an AtomicFile, for Qt's writers (images, PDF, SVG), which report
// a failing device at best as a vague "Unknown error" and at worst not at all. The first
// failing write is kept and Commit() throws it, so the target is replaced only when every
// byte arrived. Whatever a write throws (a file error, running out of memory) stays in the
// device: the writers call it from C libraries such as libpng, which an exception must not
// unwind.
class AtomicFileDevice : public QIODevice {
public:
    explicit AtomicFileDevice(
        const std::string& nativePath,
        AtomicFile::Temporary temporary = AtomicFile::Temporary::UnnamedWherePossible);
    ~AtomicFileDevice() override;

    bool isSequential() const override { return true; }

    // Throws the first write failure, if any.
    void ThrowIfFailed() const;
    // Throws the first write failure, else finishes the file as AtomicFile::Commit does.
    void Commit();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;
    // Hands written bytes to the file.
    virtual void Put(std::string_view data);

private:
    AtomicFile file_;
    std::exception_ptr failure_;
};

} // namespace vedivez

#pragma once

#include "panel/PanelErrors.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vedivez {

// Paths come in two forms: the window's QString, and the file system's own bytes, which the
// command line hands over and which need not be valid UTF-8. Everything below works on the
// bytes; the QString overloads only encode the path first.

// The file system's bytes of a path typed or chosen in the window.
std::string NativePath(const QString& path);

// A path of file-system bytes for showing: bytes that are not UTF-8 show as U+FFFD.
QString PathForDisplay(const std::string& nativePath);

// Replaces the file at the path with `data` through an AtomicFile: either wholly the new
// content or untouched. Throws FileError.
void WriteFileAtomically(const QString& path, std::string_view data);
void WriteFileAtomically(const std::string& nativePath, std::string_view data);

// Reads the file at the path in chunks, handing each to `consume` in order until it returns
// false or the file ends. Anything but a regular file (a folder, a FIFO, a device such as
// /dev/zero) is refused with "File access denied" before a byte is read, and opening never
// waits for a writer. `onSize` learns the file's size once it is open. Throws FileError
// (with the 1-based line reached, as `currentLine` reports it, for a failing read).
void ReadFileChunks(const QString& path, const std::function<bool(std::string_view)>& consume,
                    const std::function<int64_t()>& currentLine = {},
                    const std::function<void(int64_t)>& onSize = {});
void ReadFileChunks(const std::string& nativePath,
                    const std::function<bool(std::string_view)>& consume,
                    const std::function<int64_t()>& currentLine = {},
                    const std::function<void(int64_t)>& onSize = {});

// The file error an operating-system error number shows: the numbers with a message of their
// own map to it, every other number to "I/O error <number>". `missingFolder` tells a missing
// file (in a folder that exists) from a path through a missing folder; `line` is the
// 1-based line a failing read reached.
FileError FileErrorFor(int osError, bool missingFolder = false, int64_t line = 0);

// Throws the file error of `osError` for an operation on `nativePath`.
[[noreturn]] void ThrowFileError(int osError, const std::string& nativePath, int64_t line = 0);

// open() that starts again when a signal interrupts it before it finished.
int OpenRetrying(const char* nativePath, int flags, unsigned mode = 0);

// The folder part of a path ("." for a bare name, "/" for a file in the root).
std::string ParentFolder(const std::string& nativePath);

} // namespace vedivez

#include "panel/PanelErrors.h"

namespace vedivez {

std::string FileError::MessageFor(FileErrorCode code, int ioNumber) {
    switch (code) {
    case kFileNotFound:
        return "File not found";
    case kInvalidFilename:
        return "Invalid filename";
    case kTooManyOpenFiles:
        return "Too many open files";
    case kAccessDenied:
        return "File access denied";
    case kReadBeyondEnd:
        return "Read beyond end of file";
    case kDiskFull:
        return "Disk full";
    case kInvalidNumericInput:
        return "Invalid numeric input";
    case kIoError:
        break;
    }
    return "I/O error " + std::to_string(ioNumber);
}

FileError::FileError(FileErrorCode code, int64_t line) : FileError(code, 0, line) {}

FileError::FileError(FileErrorCode code, int ioNumber, int64_t line)
    : UserError(MessageFor(code, ioNumber)), code_(code), ioNumber_(ioNumber), line_(line) {}

FileError FileError::Io(int number, int64_t line) {
    return FileError(kIoError, number, line);
}

int64_t FailingLine(const std::exception& failure) {
    if (const auto* file = dynamic_cast<const FileError*>(&failure))
        return file->Line();
    if (const auto* conversion = dynamic_cast<const ConversionError*>(&failure))
        return conversion->Line();
    return 0;
}

std::string DisplayMessage(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace vedivez

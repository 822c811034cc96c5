#include "panel/PanelErrors.h"

namespace vedivez {

std::string FileError::MessageFor(int code) {
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
    default:
        return "I/O error " + std::to_string(code);
    }
}

FileError::FileError(int code, int line) : UserError(MessageFor(code)), code_(code), line_(line) {}

std::string DisplayMessage(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + ".";
    return message;
}

} // namespace vedivez

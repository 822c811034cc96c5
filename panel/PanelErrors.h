#pragma once

#include <stdexcept>
#include <string>

namespace vedivez {

// A failure whose message is shown to the user as it stands (Windows-1250 bytes); the
// application's error handler adds the closing full stop.
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

// A file could not be opened, read, written or replaced; carries the error code whose
// message it shows and, for a read, the 1-based line reached (0 when none applies).
class FileError : public UserError {
public:
    FileError(int code, int line = 0);
    int Code() const { return code_; }
    int Line() const { return line_; }

    static std::string MessageFor(int code);

private:
    int code_;
    int line_;
};

// A text of the station file is not a valid value of its type; carries the 1-based line.
class ConversionError : public UserError {
public:
    ConversionError(const std::string& message, int line = 0) : UserError(message), line_(line) {}
    int Line() const { return line_; }
    ConversionError AtLine(int line) const { return ConversionError(what(), line); }

private:
    int line_;
};

// Error codes of the file-error messages.
enum FileErrorCode : int {
    kFileNotFound = 2,
    kInvalidFilename = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kReadBeyondEnd = 100,
    kDiskFull = 101,
    kInvalidNumericInput = 106,
};

// The message an error shows in the editor's error box: a full stop is appended when the
// last character's code lies above that of ".".
std::string DisplayMessage(const std::string& message);

} // namespace vedivez

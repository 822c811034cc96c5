#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vedivez {

// A failure whose message is shown to the user as it stands (Windows-1250 bytes); the
// application's error handler adds the closing full stop.
class UserError : public std::runtime_error {
public:
    explicit UserError(const std::string& message) : std::runtime_error(message) {}
};

// Codes of the file-error messages. kIoError stands for every failure without a message
// of its own, which shows "I/O error <number>" with the operating system's number.
enum FileErrorCode : int {
    kIoError = 0,
    kFileNotFound = 2,
    kInvalidFilename = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kReadBeyondEnd = 100,
    kDiskFull = 101,
    kInvalidNumericInput = 106,
};

// A file could not be opened, read, written or replaced; carries the code of its message
// and, for a read, the 1-based line reached (0 when none applies). The message codes and the
// operating system's error numbers are separate ranges that overlap (5 is "File access
// denied" as a code but EIO as a number), so a number only ever enters through Io.
class FileError : public UserError {
public:
    FileError(FileErrorCode code, int64_t line = 0);
    // "I/O error <number>" for an operating-system error number.
    static FileError Io(int number, int64_t line = 0);

    FileErrorCode Code() const { return code_; }
    // The operating system's number of an I/O error; 0 for the other codes.
    int IoNumber() const { return ioNumber_; }
    int64_t Line() const { return line_; }

private:
    FileError(FileErrorCode code, int ioNumber, int64_t line);
    static std::string MessageFor(FileErrorCode code, int ioNumber);

    FileErrorCode code_;
    int ioNumber_;
    int64_t line_;
};

// A text of the station file is not a valid value of its type; carries the 1-based line.
// Line numbers are 64-bit: a file of a few gigabytes can hold more lines than an int counts.
class ConversionError : public UserError {
public:
    ConversionError(const std::string& message, int64_t line = 0)
        : UserError(message), line_(line) {}
    int64_t Line() const { return line_; }
    ConversionError AtLine(int64_t line) const { return ConversionError(what(), line); }

private:
    int64_t line_;
};

// The line of the station file a failure names (a file or conversion error of a load); 0
// when it names none.
int64_t FailingLine(const std::exception& failure);

// The message an error shows in the editor's error box: a full stop is appended when the
// last character's code lies above that of ".".
std::string DisplayMessage(const std::string& message);

} // namespace vedivez

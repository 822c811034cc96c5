#pragma once

#include <string>
#include <string_view>

namespace vedivez {

// Replaces one file so that it is either wholly the new content or untouched. The content
// goes to a temporary file beside the target; Commit() checks that every write and the
// flush reached the disk, then swaps the temporary in by a rename. Where the file system
// allows it the temporary has no name until that moment (O_TMPFILE), so a process killed
// mid-save leaves nothing behind; elsewhere it is a hidden file beside the target that the
// destructor removes. A symbolic link keeps pointing where it did (its target is replaced),
// an existing file keeps its permission bits, and anything that is not a regular file (a
// folder, a device, a FIFO) is refused rather than replaced. Paths are the file system's
// bytes. All failures throw FileError.
class AtomicFile {
public:
    // How the temporary file is made: unnamed where possible, or always named (for tests of
    // the fallback path on file systems without unnamed files).
    enum class Temporary { UnnamedWherePossible, Named };

    explicit AtomicFile(const std::string& nativePath,
                        Temporary temporary = Temporary::UnnamedWherePossible);
    // Discards the temporary file unless Commit() succeeded.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Appends to the new content. Small pieces are gathered and written in large blocks.
    void Write(std::string_view data);
    // Writes what is gathered, syncs the file and renames it over the target.
    void Commit();

    // Whether the temporary file has no name (false on the fallback path).
    bool Unnamed() const { return unnamed_; }
    // The file that gets replaced: the path with its symbolic links followed.
    const std::string& Target() const { return target_; }

private:
    void Flush();
    void WriteNow(std::string_view data);
    void OpenUnnamed(bool& supported);
    void OpenNamed();
    // Gives the unnamed temporary a name beside the target, so that it can be renamed.
    void LinkUnnamed();

    std::string target_;
    bool exists_ = false;
    unsigned existingMode_ = 0;
    unsigned existingUid_ = 0;
    unsigned existingGid_ = 0;
    int fd_ = -1;
    bool unnamed_ = false;
    std::string tempName_; // empty while the temporary has no name
    std::string buffer_;
    bool committed_ = false;
};

} // namespace vedivez

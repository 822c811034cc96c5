#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vedivez {

// Replaces one file so that it is either wholly the new content or untouched. The content
// goes to a temporary file beside the target; Commit() checks that every write and the
// flush reached the disk, then swaps the temporary in by a rename. Where the file system
// allows it the temporary has no name until that moment (O_TMPFILE): a new file is linked
// in under its own name directly, and a file that is replaced gets the temporary's name
// only for the instant between the link and the rename, so a process killed mid-save
// leaves nothing behind; elsewhere it is a hidden file beside the target that the
// destructor removes. A temporary's name carries the writer's process id, and every save
// removes the temporaries of earlier saves into its folder whose writer is gone
// (RemoveStaleTemporaries). A symbolic link keeps pointing where it did (its target is
// replaced), an existing file keeps its permission bits, and anything that is not a regular
// file (a folder, a device, a FIFO) is refused rather than replaced. Paths are the file
// system's bytes. All failures throw FileError.
//
// Qt's QSaveFile works in the same way in outline but does not serve: it takes the path as
// a QString, so a name whose bytes are not valid in the file-name encoding cannot be written
// back exactly where it came from; it replaces whatever the path names, a FIFO or a device
// too; it does not sync the folder after the rename, so the new name may not survive a
// crash; and it fails with Qt's texts, where a save must show the editor's own messages.
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

    // The hidden name a temporary of a save to `target` gets: ".NAME.vedivez-PID-N.tmp",
    // NAME cut where the whole would be longer than a file name may be.
    static std::string TemporaryName(const std::string& target, long pid, uint32_t n);

private:
    void Flush();
    void WriteNow(std::string_view data);
    void OpenUnnamed(bool& supported);
    void OpenNamed();
    // Gives the unnamed temporary a name beside the target, so that it can be renamed.
    void LinkUnnamed();
    // Gives the unnamed temporary the target's name, where no file has it; false when one
    // has it after all.
    bool LinkUnnamedAsTarget();

    std::string target_; // the file that gets replaced: the path with its links followed
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

// Removes the hidden temporaries our saves left in `folder` when their writer was killed
// between naming the temporary and renaming it: regular files of the current user with a
// single link, named as TemporaryName() names them (or ".NAME.N.tmp" for a NAME ending in
// .reru, .png, .pdf or .svg, as earlier versions named them), unchanged for more than an
// hour, and whose writer, where the name gives its process id, no longer runs. Anything else
// is left alone; failures are ignored. Returns how many files it removed.
int RemoveStaleTemporaries(const std::string& folder);

} // namespace vedivez

#pragma once

#include "panel/PanelErrors.h"

#include <QString>
#include <functional>
#include <string_view>

namespace vedivez {

// Replaces the file at `path` with `data` so that it is either wholly the new content or
// untouched: the data goes to a temporary file beside the target, is flushed to disk and
// then renamed over the target. A symbolic link keeps pointing where it did (its target is
// replaced) and an existing file keeps its permission bits. Throws FileError; on failure the
// temporary file is gone and the target is as before.
void WriteFileAtomically(const QString& path, std::string_view data);

// Reads the file at `path` in chunks, handing each to `consume` in order until it returns
// false or the file ends. Throws FileError
// (with the 1-based line reached, as `currentLine` reports it, for a failing read).
void ReadFileChunks(const QString& path, const std::function<bool(std::string_view)>& consume,
                    const std::function<int()>& currentLine = {});

// The file error an operating-system error number shows: the numbers with a message of their
// own map to it, every other number to "I/O error <number>". `missingFolder` tells a missing
// file (in a folder that exists) from a path through a missing folder; `line` is the
// 1-based line a failing read reached.
FileError FileErrorFor(int osError, bool missingFolder = false, int line = 0);

} // namespace vedivez

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vedivez {

// Cuts a text at every occurrence of a delimiter. Consecutive delimiters give empty pieces,
// a trailing delimiter gives no empty last piece, an empty text gives no piece, an empty
// delimiter gives the whole text; with maxCount above 0 the last of at most maxCount pieces
// keeps the rest of the text; a negative maxCount gives nothing. Both strings end at their
// first NUL byte.
std::vector<std::string> SplitString(std::string_view delimiter, std::string_view text,
                                     int32_t maxCount);

// The same cut without copying: the pieces view into `text`. `out` is cleared first and
// reused so a reader can split millions of lines without allocating per line.
void SplitStringViews(std::string_view delimiter, std::string_view text, int32_t maxCount,
                      std::vector<std::string_view>& out);

// Fast cut of one station-file line at a one-byte delimiter, with SplitString's result for
// an unlimited count, in a single pass. Returns false, leaving `out` unspecified, when the
// line holds a NUL or CR byte: those lines need the general path.
bool SplitPlainLine(std::string_view line, char delimiter, std::vector<std::string_view>& out);

} // namespace vedivez

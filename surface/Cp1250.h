#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace vedivez {

// Longest text of a file a message quotes whole.
constexpr size_t kMessageExcerptLimit = 40;

// The one conversion between the model's 8-bit Windows-1250 strings and Qt's UTF-16 text,
// used wherever a model string reaches the user interface and back.
QString FromCp1250(std::string_view bytes);

// Characters without a Windows-1250 byte become "?".
std::string ToCp1250(const QString& text);

// A text as a message quotes it: whole when it has at most `limit` characters, else its
// first limit - 1 characters and "…" (the code page's byte 0x85). A message built from a
// file's content stays short however long the content is.
std::string MessageExcerpt(std::string_view text, size_t limit = kMessageExcerptLimit);

} // namespace vedivez

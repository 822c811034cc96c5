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

// The one case folding of Windows-1250 text, the same in every locale: the small and capital
// letters of the code page (ASCII's and the accented ones, "č" and "Č" as "a" and "A") are
// folded to one another; every other byte stays as it is.
char Cp1250Lower(char c);
char Cp1250Upper(char c);
std::string Cp1250LowerCase(std::string_view text);
std::string Cp1250UpperCase(std::string_view text);

} // namespace vedivez

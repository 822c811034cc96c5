#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vedivez {

// Integer as the station reader accepts it: optional leading spaces, an optional sign, then
// decimal digits (-2147483648..2147483647) or a hexadecimal number introduced by "$", "x",
// "X", "0x" or "0X" (at most FFFFFFFF, read as a signed 32-bit value); nothing may follow.
std::optional<int32_t> TryParseInteger(std::string_view text);

// Boolean as the station reader accepts it: a decimal floating-point number (zero is false,
// any other value true), else "True" or "False" in any letter case. `decimalSeparator` is
// the user's decimal separator.
std::optional<bool> TryParseBoolean(std::string_view text, char decimalSeparator = '.');

// Whether a text that begins with `prefix` can still be a valid integer or boolean, for a
// reader that sees a value arrive in pieces: false once no continuation (the empty one
// included) can convert, for example after the eleventh decimal digit or a letter among
// digits. Linear in the prefix.
bool IntegerStillPossible(std::string_view prefix);
bool BooleanStillPossible(std::string_view prefix, char decimalSeparator = '.');

// The same, throwing ConversionError with the reader's message on failure.
int32_t ParseInteger(std::string_view text);
bool ParseBoolean(std::string_view text, char decimalSeparator = '.');

// The conversion messages; a long text is quoted cut short (MessageExcerpt).
std::string IntegerErrorMessage(std::string_view text);
std::string BooleanErrorMessage(std::string_view text);

// Decimal form used by the writer: no leading zeros or plus sign, "-" when negative.
void AppendInteger(std::string& out, int32_t value);

// The user's decimal separator (from the system locale).
char SystemDecimalSeparator();

} // namespace vedivez
